// The cancel token of one link job: set once from any thread, read by the job between its
// exchanges. Waits inside a job go through WaitFor so that a cancel cuts them short.
//
// Threading: every member may be called from any thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace velorin {

class CancelToken {
public:
    void Cancel();
    bool Cancelled() const { return cancelled_.load(); }
    // Waits `milliseconds` or until cancelled; true when cancelled.
    bool WaitFor(int milliseconds);
    // The flag itself, for core loops that take an atomic cancel flag.
    const std::atomic<bool>* Flag() const { return &cancelled_; }

private:
    std::atomic<bool> cancelled_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
};

}  // namespace velorin
