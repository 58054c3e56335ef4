// A Unix signal turned into a call on the GUI thread (the demo logger's SIGUSR1 plug toggle).
//
// Threading: the handler only writes a byte to a pipe; a QSocketNotifier of the GUI thread reads
// it and calls `action` there. One watcher per signal number, for the whole run.
#pragma once

#include <functional>

class QObject;

namespace velorin {

// False when the pipe or the handler could not be set up (the signal then keeps its default).
bool WatchSignal(int signalNumber, QObject* parent, std::function<void()> action);

}  // namespace velorin
