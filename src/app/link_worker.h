// LinkWorker: the one owner of the link to the logger (the serial port and the USB handle).
// Connect, detection, removal, the automatic-download check, Stop, the history download, the
// wizard's port and finish sequence, clock calibration and the live view's poll are jobs
// submitted here; nothing else opens, uses or closes the port or the handle.
//
// Threading rule of the link (the one rule; every other piece follows it):
// - The port and the handle are used on the link thread only, and only inside a job.
// - Jobs are submitted on the GUI thread, wait in a first-in first-out queue and run one at a
//   time in the order they were submitted. Each job has its own cancel token; a job cancelled
//   while it waits never runs and never touches the link.
// - A job never touches GUI objects. It works on copies of what it needs; progress goes back
//   through queued calls the job makes itself, and its `done` runs on the GUI thread (queued)
//   after it ended, with `ran` false when it was cancelled before it started.
// - Hot-plug work waits for the link to be idle: WhenIdle runs a step at once when no job runs
//   or waits, otherwise after the last one has ended. So a device notice that arrives during a
//   job is handled after it, one notice at a time.
// - Busy() (a job runs or waits) is what greys the device commands; it is never a lock.
// - Shutdown (also the destructor) drops the waiting jobs, cancels the running one, serves the
//   GUI thread's events until it has ended (it may wait for a message box), closes the port and
//   the handle on the link thread and joins it. Done callbacks no longer run after that.
#pragma once

#include <QObject>
#include <deque>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "app/link_job_kind.h"

namespace velorin {

class CancelToken;
class Link;

class LinkWorker : public QObject {
    Q_OBJECT
public:
    using Work = std::function<void(Link& link, CancelToken& cancel)>;
    using Done = std::function<void(bool ran)>;

    explicit LinkWorker(Link& link, QObject* parent = nullptr);
    ~LinkWorker() override;
    LinkWorker(const LinkWorker&) = delete;
    LinkWorker& operator=(const LinkWorker&) = delete;

    // GUI thread. The token cancels the job (before it starts: it never runs).
    std::shared_ptr<CancelToken> Submit(LinkJobKind kind, Work work, Done done = Done());
    // GUI thread: submits and serves the GUI thread's events until the job has ended, so the
    // windows keep painting. False when the job did not run (cancelled, or shut down).
    bool RunAndWait(LinkJobKind kind, Work work);
    // GUI thread: runs `step` now when the link is idle, otherwise once it is.
    void WhenIdle(std::function<void()> step);

    bool Busy() const { return outstanding_ > 0; }
    // A job of this kind runs or waits (GUI thread).
    bool Pending(LinkJobKind kind) const;
    void Shutdown();

signals:
    void BusyChanged();  // Busy() changed (GUI thread)
    void ShutDown();

private:
    struct Job;
    void Loop();
    void Finished(const std::shared_ptr<Job>& job, bool ran);
    void RunIdleSteps();

    Link& link_;
    std::thread thread_;
    bool threadStarted_ = false;
    bool closing_ = false;
    int outstanding_ = 0;                          // GUI thread: submitted, not handed back
    std::vector<LinkJobKind> outstandingKinds_;    // GUI thread, in submission order
    std::deque<std::function<void()>> idleSteps_;  // GUI thread

    struct Queue;
    std::shared_ptr<Queue> queue_;  // shared with the link thread
};

}  // namespace velorin
