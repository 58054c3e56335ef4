#include "view/parallel_parts.h"

#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace velorin {

namespace {

// Shared by the caller and its helpers; a helper keeps it alive after the caller returned.
struct Parts {
    int count = 0;
    std::function<void(int)> part;
    std::atomic<int> next{0};
    std::mutex mutex;
    std::condition_variable allDone;
    int done = 0;  // under mutex

    // Runs `claimed` (a part this thread holds already; −1: none), then claims and runs parts
    // until none is left.
    void Work(int claimed) {
        int ran = 0;
        for (int i = claimed >= 0 ? claimed : next.fetch_add(1); i < count; i = next.fetch_add(1)) {
            part(i);
            ++ran;
        }
        if (ran == 0) return;
        const std::lock_guard<std::mutex> lock(mutex);
        done += ran;
        if (done == count) allDone.notify_all();
    }
};

}  // namespace

void RunParts(int count, const std::function<void(int)>& part, int threads) {
    if (count <= 0) return;
    const int helpers = std::min({count, threads, std::max(QThread::idealThreadCount(), 1)}) - 1;
    if (helpers <= 0) {
        for (int i = 0; i < count; ++i) part(i);
        return;
    }
    auto parts = std::make_shared<Parts>();
    parts->count = count;
    parts->part = part;
    parts->next = 1;  // part 0 is the caller's
    // A helper that starts after the last part was claimed only touches `parts`, never `part`'s
    // captures (which may be gone by then).
    for (int h = 0; h < helpers; ++h) QThreadPool::globalInstance()->start([parts] { parts->Work(-1); });
    parts->Work(0);
    std::unique_lock<std::mutex> lock(parts->mutex);
    parts->allDone.wait(lock, [&parts] { return parts->done == parts->count; });
}

}  // namespace velorin
