// The window of live samples: it fills until it holds C − 1 samples (C = plot width ÷ 4, one
// sample every 4 pixels) and from then on every new sample pushes the oldest out, so the curve
// scrolls left by one sample per poll. Every sample keeps the time it was taken, so the window's
// start time and the time under the pointer are the real ones even after skipped polls.
//
// Fixed storage: nothing is allocated per sample. Not thread-safe (the view's GUI thread owns it).
#pragma once

#include <cstdint>

#include "live/live_reading.h"

namespace velorin {

// Samples the window can ever hold; a wider plot still holds no more (it would otherwise stop
// at the end of the buffer).
constexpr int kLiveBufferSamples = 1000;
constexpr int kLivePixelsPerSample = 4;
// Channels 7 and 8 are neither drawn nor listed (they still get value statics).
constexpr int kLiveShownChannels = 6;

// C for a plot width: width ÷ 4, at most the buffer, at least 2 (so one sample always fits).
int LiveCapacity(int plotWidth);

class LiveWindow {
public:
    // Appends a sample taken at `time` (seconds since 1970) to a window of capacity `capacity`
    // (C). When the window already holds C − 1 samples (or more, after the plot became
    // narrower) the oldest samples go first. Returns true for the first sample ever appended
    // since the last Clear.
    bool Append(const LiveSample& sample, int64_t time, int capacity);
    void Clear() { count_ = 0; }

    // Samples in the window (the view's sampleCount: the next sample is written at this index).
    int Count() const { return count_; }
    const LiveSample& At(int index) const { return samples_[index]; }
    int64_t TimeAt(int index) const { return times_[index]; }

private:
    LiveSample samples_[kLiveBufferSamples];
    int64_t times_[kLiveBufferSamples] = {};
    int count_ = 0;
};

// What the view shows besides the curves: the channel values of the last poll, the reference
// values (the first sample: the curves' centre line) and the time of the last poll.
struct LiveSeries {
    LiveWindow window;
    LiveSample current;
    LiveSample reference;
    int64_t lastPollTime = 0;
    bool polled = false;  // at least one poll succeeded

    // One successful poll: decoded `sample` taken at `time`. Channels not enabled keep their
    // current values; the first sample becomes the reference of channels 1–6.
    void Apply(const LiveSample& sample, const ChannelInfo (&channels)[kChannelCount], int64_t time, int capacity);
    void Reset();
};

}  // namespace velorin
