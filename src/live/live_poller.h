// LivePoller: the live view's poll as LivePoll jobs of the LinkWorker, one poll at a time.
//
// Threading: Start() and the destructor are called on the GUI thread. Each poll is a LivePoll
// job over a Job shared with the poller, so nothing the job touches goes away with the view. The
// result comes back to the GUI thread in the job's done call, which checks a QPointer to the
// poller first. While a poll runs or waits, Start() refuses another (the tick is skipped). The
// destructor cancels the serial attempts still to come (and the job, if it has not started).
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>

#include "device/device_info.h"
#include "live/live_poll.h"

namespace velorin {

class CancelToken;
class LinkWorker;

class LivePoller : public QObject {
    Q_OBJECT
public:
    // `done` runs on the GUI thread with the result and the time (seconds since 1970) the
    // exchange ended.
    using Done = std::function<void(const LivePollResult& result, int64_t time)>;
    LivePoller(LinkWorker& worker, Done done, QObject* parent = nullptr);
    ~LivePoller() override;

    // Starts a poll with these channel settings. False (nothing started) while a poll runs.
    bool Start(const ChannelInfo (&channels)[kChannelCount]);
    bool InFlight() const { return inFlight_; }

private:
    struct Job;
    void Finished(const std::shared_ptr<Job>& job, bool ran);

    LinkWorker& worker_;
    Done done_;
    std::shared_ptr<Job> job_;
    std::shared_ptr<CancelToken> token_;
    bool inFlight_ = false;
};

}  // namespace velorin
