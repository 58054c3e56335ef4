// The link owner's queue: jobs run one at a time in the order they were submitted, a job
// cancelled while it waits never runs (and so never touches the link), and work that waits for
// an idle link (device notices) runs after the job that was running when it arrived.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "app/link_worker.h"
#include "common/cancel_token.h"
#include "device/link.h"
#include "gui/frame_fixture.h"

namespace velorin {
namespace {

using test::WaitFor;

// A gate a job waits at until the test opens it (bounded, so a broken test cannot hang).
struct Gate {
    CancelToken open;
    void Wait() { open.WaitFor(20000); }
};

TEST(LinkWorkerQueue, JobsRunOneAtATimeInTheOrderTheyWereSubmitted) {
    Link link;
    LinkWorker worker(link);
    std::mutex mutex;
    std::vector<int> started, handedBack;
    std::atomic<int> running{0}, mostAtOnce{0};
    Gate gate;
    for (int i = 0; i < 6; ++i) {
        worker.Submit(
            LinkJobKind::Other,
            [&, i](Link&, CancelToken&) {
                const int now = ++running;
                if (now > mostAtOnce) mostAtOnce = now;
                if (i == 0) gate.Wait();  // the others queue up behind the first
                {
                    std::lock_guard<std::mutex> lock(mutex);
                    started.push_back(i);
                }
                --running;
            },
            [&, i](bool ran) {
                EXPECT_TRUE(ran);
                handedBack.push_back(i);
            });
    }
    EXPECT_TRUE(worker.Busy());
    EXPECT_TRUE(worker.Pending(LinkJobKind::Other));
    gate.open.Cancel();
    ASSERT_TRUE(WaitFor([&] { return handedBack.size() == 6u; }));
    EXPECT_EQ(started, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(handedBack, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(mostAtOnce.load(), 1);
    EXPECT_FALSE(worker.Busy());
}

TEST(LinkWorkerQueue, AJobCancelledWhileWaitingNeverTouchesTheLink) {
    Link link;
    link.currentPort = 3;
    LinkWorker worker(link);
    Gate gate;
    bool firstDone = false, secondRan = true, thirdRan = false;
    worker.Submit(
        LinkJobKind::Other, [&](Link&, CancelToken&) { gate.Wait(); }, [&](bool) { firstDone = true; });
    std::shared_ptr<CancelToken> second = worker.Submit(
        LinkJobKind::Connect, [](Link& l, CancelToken&) { l.currentPort = 99; }, [&](bool ran) { secondRan = ran; });
    worker.Submit(
        LinkJobKind::Other, [](Link&, CancelToken&) {}, [&](bool ran) { thirdRan = ran; });
    second->Cancel();
    EXPECT_TRUE(worker.Pending(LinkJobKind::Connect)) << "handed back only in its turn";
    gate.open.Cancel();
    ASSERT_TRUE(WaitFor([&] { return thirdRan; }));
    EXPECT_TRUE(firstDone);
    EXPECT_FALSE(secondRan);
    EXPECT_EQ(link.currentPort, 3);
    EXPECT_FALSE(worker.Pending(LinkJobKind::Connect));
}

TEST(LinkWorkerQueue, WorkForAnIdleLinkRunsAfterTheRunningJob) {
    Link link;
    LinkWorker worker(link);
    std::vector<std::string> events;
    // Idle: at once.
    worker.WhenIdle([&] { events.push_back("notice while idle"); });
    EXPECT_EQ(events, std::vector<std::string>{"notice while idle"});

    Gate gate;
    worker.Submit(
        LinkJobKind::Download, [&](Link&, CancelToken&) { gate.Wait(); },
        [&](bool) { events.push_back("download ended"); });
    worker.WhenIdle([&] { events.push_back("removal"); });
    worker.WhenIdle([&] { events.push_back("arrival"); });
    WaitFor([] { return false; }, 100);
    EXPECT_EQ(events.size(), 1u) << "nothing runs while the job does";
    gate.open.Cancel();
    ASSERT_TRUE(WaitFor([&] { return events.size() == 4u; }));
    EXPECT_EQ(events, (std::vector<std::string>{"notice while idle", "download ended", "removal", "arrival"}));
}

TEST(LinkWorkerQueue, ANoticeThatSubmitsAJobHoldsTheNextNoticeBack) {
    Link link;
    LinkWorker worker(link);
    std::vector<std::string> events;
    Gate gate;
    worker.Submit(LinkJobKind::Other, [&](Link&, CancelToken&) { gate.Wait(); }, {});
    worker.WhenIdle([&] {
        events.push_back("first notice");
        worker.Submit(
            LinkJobKind::Removal, [](Link&, CancelToken&) {}, [&](bool) { events.push_back("its job ended"); });
    });
    worker.WhenIdle([&] { events.push_back("second notice"); });
    gate.open.Cancel();
    ASSERT_TRUE(WaitFor([&] { return events.size() == 3u; }));
    EXPECT_EQ(events, (std::vector<std::string>{"first notice", "its job ended", "second notice"}));
}

TEST(LinkWorkerQueue, ShutdownCancelsTheRunningJobDropsTheWaitingOnesAndClosesTheLink) {
    Link link;
    auto worker = std::make_unique<LinkWorker>(link);
    std::atomic<bool> started{false}, sawCancel{false};
    bool laterRan = false, doneAfterShutdown = false;
    worker->Submit(
        LinkJobKind::LivePoll,
        [&](Link&, CancelToken& cancel) {
            started = true;
            sawCancel = cancel.WaitFor(20000);
        },
        [&](bool) { doneAfterShutdown = true; });
    worker->Submit(LinkJobKind::Other, [&](Link&, CancelToken&) { laterRan = true; });
    ASSERT_TRUE(WaitFor([&] { return started.load(); }));
    worker->Shutdown();
    EXPECT_TRUE(sawCancel.load());
    EXPECT_FALSE(laterRan);
    std::shared_ptr<CancelToken> late =
        worker->Submit(LinkJobKind::Other, [&](Link&, CancelToken&) { laterRan = true; });
    EXPECT_TRUE(late->Cancelled());
    worker.reset();
    QCoreApplication::processEvents();
    EXPECT_FALSE(laterRan);
    EXPECT_FALSE(doneAfterShutdown);
    EXPECT_FALSE(link.serial.IsOpen());
}

}  // namespace
}  // namespace velorin
