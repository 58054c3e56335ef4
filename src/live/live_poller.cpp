#include "live/live_poller.h"

#include <QCoreApplication>
#include <QPointer>
#include <atomic>
#include <system_error>

#include "config/deal_time.h"

namespace velorin {

// What the poller and its worker share; it outlives whichever of them ends last.
struct LivePoller::Job {
    ChannelInfo channels[kChannelCount];
    LivePollResult result;
    int64_t time = 0;
    std::atomic<bool> cancel{false};
};

LivePoller::LivePoller(Link& link, Done done, QObject* parent)
    : QObject(parent), link_(link), done_(std::move(done)) {}

LivePoller::~LivePoller() {
    if (job_) job_->cancel = true;
    if (worker_.joinable()) worker_.join();
}

bool LivePoller::Start(const ChannelInfo (&channels)[kChannelCount]) {
    if (inFlight_) return false;
    if (worker_.joinable()) worker_.join();  // ended already; its result was handed over
    auto job = std::make_shared<Job>();
    for (int k = 0; k < kChannelCount; ++k) job->channels[k] = channels[k];
    QPointer<LivePoller> guard(this);
    try {
        worker_ = std::thread([job, guard, link = &link_] {
            job->result = PollLive(*link, job->channels, &job->cancel);
            job->time = CDealTime().GetTime();
            QMetaObject::invokeMethod(
                qApp, [guard] { if (guard) guard->Finished(); }, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        return false;  // no thread: this tick is lost like a poll without a reply
    }
    job_ = job;
    inFlight_ = true;
    return true;
}

void LivePoller::Finished() {
    if (worker_.joinable()) worker_.join();
    inFlight_ = false;
    const std::shared_ptr<Job> job = std::move(job_);
    if (job && done_) done_(job->result, job->time);
}

}  // namespace velorin
