// LivePoller: runs the live view's poll exchange off the GUI thread, one poll at a time.
//
// Threading: Start() and the destructor are called on the GUI thread. Each poll runs on its own
// worker thread over a Job shared with the poller, so nothing the worker touches goes away with
// the view. The result comes back to the GUI thread as a queued call that checks a QPointer to
// the poller first. While a poll runs, Start() refuses another (the tick is skipped). The
// destructor cancels the serial attempts still to come and joins the worker (at most one
// exchange). The worker uses the link without a lock: the view holds the link (the connection
// manager defers everything else) and starts no second poll.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "device/device_info.h"
#include "live/live_poll.h"

namespace velorin {

class Link;

class LivePoller : public QObject {
    Q_OBJECT
public:
    // `done` runs on the GUI thread with the result and the time (seconds since 1970) the
    // exchange ended.
    using Done = std::function<void(const LivePollResult& result, int64_t time)>;
    LivePoller(Link& link, Done done, QObject* parent = nullptr);
    ~LivePoller() override;

    // Starts a poll with these channel settings. False (nothing started) while a poll runs.
    bool Start(const ChannelInfo (&channels)[kChannelCount]);
    bool InFlight() const { return inFlight_; }

private:
    struct Job;
    void Finished();

    Link& link_;
    Done done_;
    std::shared_ptr<Job> job_;
    std::thread worker_;
    bool inFlight_ = false;
};

}  // namespace velorin
