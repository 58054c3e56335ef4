// Data sets for the curve view's tests and benchmarks: every kind of stretch a curve must draw
// right — flat runs, steep edges, noise, missing 2-byte and 4-byte samples, gaps in time — over
// any number of records. Header-only so the benchmarks can use it without the test library.
#pragma once

#include <cmath>
#include <cstdint>

#include "common/text_codec.h"
#include "history/record_set.h"

namespace velorin::test {

// Record times from 2025-03-01 08:00:00 in steps of `interval` seconds; every `gapEvery`-th
// record (0: never) comes `interval` + 3600 seconds after its predecessor instead.
inline void SetCurveTimes(RecordSet& set, int32_t interval, int32_t gapEvery) {
    int64_t t = 8 * 3600;
    for (size_t i = 0; i < set.records.size(); ++i) {
        if (i > 0) t += interval + (gapEvery > 0 && i % static_cast<size_t>(gapEvery) == 0 ? 3600 : 0);
        SampleRecord& r = set.records[i];
        const int64_t day = t / 86400;
        r.year = 25 + static_cast<int32_t>(day / 336);
        r.month = 3 + static_cast<int32_t>(day / 28 % 12) % 10;
        r.day = 1 + static_cast<int32_t>(day % 28);
        r.hour = static_cast<int32_t>(t / 3600 % 24);
        r.minute = static_cast<int32_t>(t / 60 % 60);
        r.second = static_cast<int32_t>(t % 60);
    }
}

// `records` records of `channels` enabled channels (1..8) with the statistics of the data.
// `dense`: channels 3, 5, 7 and 8 change from full scale to full scale within a few records and
// channel 8 misses every 50th sample, so on a full data set nearly every pixel column of those
// curves spans the whole height several times (the worst case for drawing); otherwise they
// change as slowly as measured quantities usually do and channel 8 misses every 5000th sample.
inline RecordSet MakeCurveSet(int32_t records, int channels = 8, int32_t interval = 60, int32_t gapEvery = 5000,
                              bool dense = true) {
    const float slow = dense ? 1.0f : 100.0f;
    const int32_t period = dense ? 1 : 100;
    RecordSet set;
    set.records.resize(static_cast<size_t>(records));
    set.recordCount = records;
    set.intervalSeconds = interval;
    SetCurveTimes(set, interval, gapEvery);
    uint32_t noise = 12345;
    for (int32_t i = 0; i < records; ++i) {
        float* v = set.records[static_cast<size_t>(i)].value;
        noise = noise * 1103515245u + 12345u;
        const float jitter = static_cast<float>((noise >> 16) % 100) / 100.0f;
        v[0] = 20.0f + 10.0f * std::sin(static_cast<float>(i) / 700.0f) + jitter;  // smooth + noise
        v[1] = (i / 1500) % 2 ? 121.0f : 25.0f;                                    // steep square wave
        v[2] = static_cast<float>((i / (37 * period)) % 11);                       // stairs, flat runs
        v[3] = i % 4000 < 150
                   ? kMissingValue2Byte  // missing bursts
                   : 55.0f + 3.0f * jitter / slow + (dense ? 0.0f : 10.0f * std::sin(static_cast<float>(i) / 20000.0f));
        v[4] = i % 997 == 0 ? kMissingValue4Byte : 1000.0f * std::cos(static_cast<float>(i) / (90.0f * slow));
        v[5] = 7.5f;                                       // constant
        v[6] = (i % (300 * period)) < 2 ? 80.0f : -20.0f;  // spikes
        v[7] = i % (50 * period) == 0
                   ? kMissingValue2Byte
                   : static_cast<float>(i % (613 * period)) / (6.13f * static_cast<float>(period));  // saw + holes
    }
    for (int c = 0; c < kRecordSetChannels; ++c) {
        set.channelEnabled[c] = c < channels ? 1 : 0;
        float hi = -10000.0f, lo = 10000.0f;
        double sum = 0;
        int n = 0;
        for (const SampleRecord& r : set.records) {
            const float x = r.value[c];
            if (std::fabs(x - kMissingValue2Byte) < 0.1f) continue;
            hi = x > hi ? x : hi;
            lo = x < lo ? x : lo;
            sum += x;
            ++n;
        }
        set.maxValue[c] = hi;
        set.minValue[c] = lo;
        set.avgValue[c] = n > 0 ? static_cast<float>(sum / n) : 0.0f;
        SetUnitText(set, c, Utf8ToGbk(c % 2 ? "%RH" : "℃"));
        SetQuantityText(set, c, Utf8ToGbk(c % 2 ? "湿度" : "温度"));
    }
    return set;
}

}  // namespace velorin::test
