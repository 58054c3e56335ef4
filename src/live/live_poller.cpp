#include "live/live_poller.h"

#include <QPointer>
#include <atomic>

#include "app/link_worker.h"
#include "common/cancel_token.h"
#include "common/date_time.h"

namespace velorin {

// What the poller and its job share; it outlives whichever of them ends last.
struct LivePoller::Job {
    ChannelInfo channels[kChannelCount];
    LivePollResult result;
    int64_t time = 0;
    std::atomic<bool> cancel{false};
};

LivePoller::LivePoller(LinkWorker& worker, Done done, QObject* parent)
    : QObject(parent), worker_(worker), done_(std::move(done)) {}

LivePoller::~LivePoller() {
    if (job_) job_->cancel = true;
    if (token_) token_->Cancel();
}

bool LivePoller::Start(const ChannelInfo (&channels)[kChannelCount]) {
    if (inFlight_) return false;
    auto job = std::make_shared<Job>();
    for (int k = 0; k < kChannelCount; ++k) job->channels[k] = channels[k];
    QPointer<LivePoller> guard(this);
    job_ = job;
    inFlight_ = true;
    token_ = worker_.Submit(
        LinkJobKind::LivePoll,
        [job](Link& link, CancelToken&) {
            job->result = PollLive(link, job->channels, &job->cancel);
            job->time = CDealTime().GetTime();
        },
        [guard, job](bool ran) {
            if (guard) guard->Finished(job, ran);
        });
    return true;
}

void LivePoller::Finished(const std::shared_ptr<Job>& job, bool ran) {
    if (job != job_) return;
    inFlight_ = false;
    job_.reset();
    token_.reset();
    // A poll that never ran is lost like a poll without a reply.
    if (ran && done_) done_(job->result, job->time);
}

}  // namespace velorin
