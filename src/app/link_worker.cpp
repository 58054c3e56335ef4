#include "app/link_worker.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>

#include "common/cancel_token.h"
#include "device/link.h"

namespace velorin {

struct LinkWorker::Job {
    LinkJobKind kind = LinkJobKind::Other;
    Work work;
    Done done;
    std::shared_ptr<CancelToken> token = std::make_shared<CancelToken>();
};

// What the GUI thread and the link thread share; guarded by `mutex`.
struct LinkWorker::Queue {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::shared_ptr<Job>> waiting;
    std::shared_ptr<Job> running;
    bool stop = false;
    std::atomic<bool> ended{false};  // the link thread has closed the link and returns
};

LinkWorker::LinkWorker(Link& link, QObject* parent) : QObject(parent), link_(link), queue_(std::make_shared<Queue>()) {
    try {
        thread_ = std::thread([this] { Loop(); });
        threadStarted_ = true;
    } catch (const std::system_error&) {
        // No link thread: every job is handed back as not run, and the link stays untouched.
        queue_->ended = true;
    }
}

LinkWorker::~LinkWorker() { Shutdown(); }

std::shared_ptr<CancelToken> LinkWorker::Submit(LinkJobKind kind, Work work, Done done) {
    auto job = std::make_shared<Job>();
    job->kind = kind;
    job->work = std::move(work);
    job->done = std::move(done);
    if (closing_) {
        job->token->Cancel();
        return job->token;
    }
    ++outstanding_;
    outstandingKinds_.push_back(kind);
    if (!threadStarted_) {
        QMetaObject::invokeMethod(
            this, [this, job] { Finished(job, false); }, Qt::QueuedConnection);
    } else {
        {
            std::lock_guard<std::mutex> lock(queue_->mutex);
            queue_->waiting.push_back(job);
        }
        queue_->wake.notify_all();
    }
    if (outstanding_ == 1) emit BusyChanged();
    return job->token;
}

void LinkWorker::Loop() {
    Queue& q = *queue_;
    for (;;) {
        std::shared_ptr<Job> job;
        {
            std::unique_lock<std::mutex> lock(q.mutex);
            q.wake.wait(lock, [&q] { return q.stop || !q.waiting.empty(); });
            if (q.stop) break;
            job = q.waiting.front();
            q.waiting.pop_front();
            q.running = job;
        }
        const bool ran = !job->token->Cancelled();
        if (ran && job->work) job->work(link_, *job->token);
        {
            std::lock_guard<std::mutex> lock(q.mutex);
            q.running.reset();
        }
        QMetaObject::invokeMethod(
            this, [this, job, ran] { Finished(job, ran); }, Qt::QueuedConnection);
    }
    // The last user of the link: nothing can run after this.
    link_.serial.ClosePort();
    link_.CloseHidHandle();
    q.ended = true;
}

void LinkWorker::Finished(const std::shared_ptr<Job>& job, bool ran) {
    if (closing_) return;
    --outstanding_;
    const auto it = std::find(outstandingKinds_.begin(), outstandingKinds_.end(), job->kind);
    if (it != outstandingKinds_.end()) outstandingKinds_.erase(it);
    // The flags follow first, so a command the job's end posts finds them current.
    if (outstanding_ == 0) emit BusyChanged();
    if (job->done) job->done(ran);
    RunIdleSteps();
}

bool LinkWorker::Pending(LinkJobKind kind) const {
    return std::find(outstandingKinds_.begin(), outstandingKinds_.end(), kind) != outstandingKinds_.end();
}

void LinkWorker::WhenIdle(std::function<void()> step) {
    if (closing_) return;
    idleSteps_.push_back(std::move(step));
    RunIdleSteps();
}

void LinkWorker::RunIdleSteps() {
    // One step at a time: a step that submits a job makes the rest wait for that job too.
    while (!closing_ && !Busy() && !idleSteps_.empty()) {
        std::function<void()> step = std::move(idleSteps_.front());
        idleSteps_.pop_front();
        step();
    }
}

bool LinkWorker::RunAndWait(LinkJobKind kind, Work work) {
    if (closing_) return false;
    auto state = std::make_shared<std::pair<bool, bool>>(false, false);  // ended, ran
    QEventLoop loop;
    QObject::connect(this, &LinkWorker::ShutDown, &loop, &QEventLoop::quit);
    QPointer<QEventLoop> guard(&loop);
    Submit(kind, std::move(work), [state, guard](bool ran) {
        state->first = true;
        state->second = ran;
        if (guard) guard->quit();
    });
    if (!state->first && !closing_) loop.exec();
    return state->second;
}

void LinkWorker::Shutdown() {
    if (closing_) return;
    closing_ = true;
    idleSteps_.clear();
    emit ShutDown();
    Queue& q = *queue_;
    {
        std::lock_guard<std::mutex> lock(q.mutex);
        for (const auto& job : q.waiting) job->token->Cancel();
        q.waiting.clear();
        if (q.running) q.running->token->Cancel();
        q.stop = true;
    }
    q.wake.notify_all();
    // The running job may wait for the GUI thread (a message box, a question): keep serving
    // events until the link thread has closed the link.
    while (!q.ended.load()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (thread_.joinable()) thread_.join();
    outstanding_ = 0;
    outstandingKinds_.clear();
}

}  // namespace velorin
