// Threading: a pure function without state; callable from any thread.
#include "device/hotplug_event.h"

#include <cstring>

namespace velorin {

namespace {

bool Is(const char* value, const char* expected) { return value != nullptr && std::strcmp(value, expected) == 0; }

// sysfs attributes end in a newline when read raw; udev strips it, a raw read would not.
bool IsOne(const char* value) { return Is(value, "1") || Is(value, "1\n"); }

}  // namespace

HotplugVerdict ClassifyHotplugEvent(const char* action, const char* subsystem, const char* devtype,
                                    const char* diskRemovable) {
    HotplugVerdict verdict;
    const bool add = Is(action, "add");
    const bool remove = Is(action, "remove");
    if (!add && !remove) return verdict;
    if (Is(subsystem, "block")) {
        if (!Is(devtype, "disk") && !Is(devtype, "partition")) return verdict;
        if (add) {
            verdict.notice = HotplugNotice::VolumeArrived;
            verdict.removableMedia = IsOne(diskRemovable);
        } else {
            verdict.notice = HotplugNotice::VolumeRemoved;
        }
    } else if (Is(subsystem, "hidraw")) {
        verdict.notice = add ? HotplugNotice::HidInterfaceArrived : HotplugNotice::HidInterfaceRemoved;
    }
    return verdict;
}

}  // namespace velorin
