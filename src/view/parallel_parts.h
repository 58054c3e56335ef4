// Splits a drawing's independent parts over the processor's cores: the calling thread and
// helpers from Qt's global thread pool claim the parts one at a time until none is left.
//
// Threading: RunParts returns once every part has run, each exactly once: part 0 on the calling
// thread (a part that needs it, such as painting text with the caller's fonts, goes there), the
// others on whichever thread claimed them; parts must not touch the same data. A helper that the pool starts late finds
// nothing left and ends at once, so the caller never waits for a busy pool (it runs the parts
// itself) and never for a part that has not started.
#pragma once

#include <functional>

namespace velorin {

// part(0) … part(count − 1), at most `threads` of them at a time (the caller included; fewer
// when the machine has fewer cores).
void RunParts(int count, const std::function<void(int)>& part, int threads = 2);

}  // namespace velorin
