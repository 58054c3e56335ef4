#include "live/live_samples.h"

#include <algorithm>
#include <cstring>

namespace velorin {

int LiveCapacity(int plotWidth) {
    const int c = plotWidth / kLivePixelsPerSample;
    return std::clamp(c, 2, kLiveBufferSamples);
}

bool LiveWindow::Append(const LiveSample& sample, int64_t time, int capacity) {
    const bool first = count_ == 0;
    const int keep = std::clamp(capacity, 2, kLiveBufferSamples) - 1;
    if (count_ >= keep) {
        // Full (or fuller than a narrowed plot allows): drop the oldest so the newest fits.
        const int drop = count_ - keep + 1;
        std::memmove(samples_, samples_ + drop, sizeof(LiveSample) * static_cast<size_t>(count_ - drop));
        std::memmove(times_, times_ + drop, sizeof(int64_t) * static_cast<size_t>(count_ - drop));
        count_ -= drop;
    }
    samples_[count_] = sample;
    times_[count_] = time;
    ++count_;
    return first;
}

void LiveSeries::Apply(const LiveSample& sample, const ChannelInfo (&channels)[kChannelCount], int64_t time,
                       int capacity) {
    for (int k = 0; k < kChannelCount; ++k) {
        if (channels[k].channelEnabled == 1) current.value[k] = sample.value[k];
    }
    lastPollTime = time;
    polled = true;
    if (window.Append(current, time, capacity)) {
        // Only channels 1–6 are ever drawn; their first values are the centre line.
        for (int k = 0; k < kLiveShownChannels; ++k) reference.value[k] = current.value[k];
    }
}

void LiveSeries::Reset() {
    window.Clear();
    current = LiveSample();
    reference = LiveSample();
    lastPollTime = 0;
    polled = false;
}

}  // namespace velorin
