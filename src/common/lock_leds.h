// The keyboard's lock-key lights as the kernel shows them: /sys/class/leds/<name>::capslock,
// ::numlock and ::scrolllock, each with a "brightness" file (nonzero = lit). With several
// keyboards a lock counts as on when any keyboard's light is lit. This is how the status bar
// learns the lock state that was set before the program started or in another program.
#pragma once

#include <string>

namespace velorin {

struct LockLeds {
    bool found = false;  // at least one lock light exists in the folder
    bool capsLock = false, numLock = false, scrollLock = false;
};

// `folder` is normally "/sys/class/leds"; tests pass their own.
LockLeds ReadLockLeds(const std::string& folder = "/sys/class/leds");

}  // namespace velorin
