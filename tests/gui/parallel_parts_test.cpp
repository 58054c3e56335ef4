// Parts of a drawing shared with the global thread pool: each runs once, they do run at once
// where the machine has the cores, and a pool busy with other work never holds the caller up.
#include <gtest/gtest.h>

#include <QThread>
#include <QThreadPool>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "view/parallel_parts.h"

namespace velorin {
namespace {

using namespace std::chrono_literals;

TEST(RunParts, EveryPartRunsExactlyOnceWhateverTheCountAndThreads) {
    for (const int threads : {1, 2, 8}) {
        for (const int count : {0, 1, 2, 3, 17, 200}) {
            std::vector<std::atomic<int>> runs(static_cast<size_t>(count));
            RunParts(
                count, [&runs](int i) { runs[static_cast<size_t>(i)].fetch_add(1); }, threads);
            for (int i = 0; i < count; ++i) {
                EXPECT_EQ(runs[static_cast<size_t>(i)].load(), 1)
                    << "part " << i << " of " << count << ", " << threads << " threads";
            }
        }
    }
}

TEST(RunParts, TheFirstPartRunsOnTheCallingThread) {
    const std::thread::id caller = std::this_thread::get_id();
    for (int round = 0; round < 200; ++round) {
        std::atomic<bool> firstHere{false};
        RunParts(3, [&](int i) {
            if (i == 0) firstHere = std::this_thread::get_id() == caller;
        });
        ASSERT_TRUE(firstHere.load()) << "round " << round;
    }
}

TEST(RunParts, TwoPartsRunAtOnceOnTwoCores) {
    if (QThread::idealThreadCount() < 2) GTEST_SKIP() << "one core";
    // Each part waits (at most a few seconds) for the other to start: they overlap only when
    // they run on two threads.
    std::mutex mutex;
    std::condition_variable cv;
    int started = 0;
    bool overlapped = true;
    std::set<std::thread::id> threads;
    RunParts(2, [&](int) {
        std::unique_lock<std::mutex> lock(mutex);
        threads.insert(std::this_thread::get_id());
        ++started;
        cv.notify_all();
        if (!cv.wait_for(lock, 5s, [&] { return started == 2; })) overlapped = false;
    });
    EXPECT_TRUE(overlapped);
    EXPECT_EQ(threads.size(), 2u);
}

TEST(RunParts, ABusyPoolLeavesTheWorkToTheCaller) {
    // Every thread of the global pool held by a task that waits for the parts to be done: the
    // caller has to run them all itself, and must not wait for a helper.
    QThreadPool* pool = QThreadPool::globalInstance();
    std::mutex mutex;
    std::condition_variable cv;
    bool released = false;
    std::atomic<int> holding{0};
    const int held = pool->maxThreadCount();
    for (int i = 0; i < held; ++i) {
        pool->start([&] {
            holding.fetch_add(1);
            std::unique_lock<std::mutex> lock(mutex);
            cv.wait(lock, [&] { return released; });
        });
    }
    while (holding.load() < held) std::this_thread::sleep_for(1ms);

    const std::thread::id caller = std::this_thread::get_id();
    std::atomic<int> elsewhere{0}, ran{0};
    RunParts(6, [&](int) {
        ran.fetch_add(1);
        if (std::this_thread::get_id() != caller) elsewhere.fetch_add(1);
    });
    EXPECT_EQ(ran.load(), 6);
    EXPECT_EQ(elsewhere.load(), 0);
    {
        const std::lock_guard<std::mutex> lock(mutex);
        released = true;
    }
    cv.notify_all();
    // The helper queued behind the held tasks starts late, finds nothing left and ends.
    EXPECT_TRUE(pool->waitForDone(5000));
}

TEST(RunParts, PartsMayShareTheirOwnWorkAgain) {
    // A part on a pool thread that splits its work in turn (nothing waits for a pool thread
    // that never comes).
    std::vector<std::atomic<int>> runs(16);
    RunParts(4, [&runs](int outer) {
        RunParts(4, [&runs, outer](int inner) { runs[static_cast<size_t>(outer * 4 + inner)].fetch_add(1); });
    });
    for (size_t i = 0; i < runs.size(); ++i) EXPECT_EQ(runs[i].load(), 1) << "part " << i;
}

}  // namespace
}  // namespace velorin
