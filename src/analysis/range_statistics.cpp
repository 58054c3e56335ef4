#include "analysis/range_statistics.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <utility>

#include "analysis/clock_time.h"
#include "report/report_statistics.h"

namespace velorin {

namespace {

// Runs of consecutive record indices [first, end) inside the range. Records of one recording
// come in time order, so a clock-time range is nearly always one run; a set whose clock was
// moved back gives several, and every record is still counted once.
using Runs = std::vector<std::pair<int32_t, int32_t>>;

Runs RunsOf(const RecordSet& set, const StatisticsRange& range) {
    const int32_t usable = UsableRecordCount(set);
    const int32_t first = range.first < 0 ? 0 : (range.first > usable ? usable : range.first);
    const int32_t end = range.end < 0 || range.end > usable ? usable : (range.end < first ? first : range.end);
    Runs runs;
    if (!range.hasFrom && !range.hasTo) {
        if (end > first) runs.emplace_back(first, end);
        return runs;
    }
    int32_t runStart = -1;
    for (int32_t i = first; i < end; ++i) {
        const int64_t t = ClockSeconds(set.records[static_cast<size_t>(i)]);
        const bool inside = (!range.hasFrom || t >= range.from) && (!range.hasTo || t <= range.to);
        if (inside && runStart < 0) runStart = i;
        if (!inside && runStart >= 0) {
            runs.emplace_back(runStart, i);
            runStart = -1;
        }
    }
    if (runStart >= 0) runs.emplace_back(runStart, end);
    return runs;
}

// The kinetic terms of the values met last. A data set holds few distinct values (tenths or
// hundredths of a slowly changing quantity), so most samples find their term here instead of
// computing exp(); a float always gives the same term, so the sum is exactly the one computed
// sample by sample.
class KineticTermCache {
public:
    KineticTermCache() {
        // A NaN pattern: never looked up, non-finite values are missing samples.
        for (uint32_t& k : key_) k = 0x7FC00001u;
    }
    double Term(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        const uint32_t slot = (bits * 2654435761u) >> (32 - kSlotBits);
        if (key_[slot] != bits) {
            key_[slot] = bits;
            term_[slot] = KineticTerm(v);
        }
        return term_[slot];
    }

private:
    static constexpr int kSlotBits = 12;
    uint32_t key_[1u << kSlotBits];
    double term_[1u << kSlotBits];
};

// One channel's running figures while the records pass once.
struct Accumulator {
    ChannelRangeStatistics s;
    double upper = 0, lower = 0;
    double sum = 0, termSum = 0;
    float min = 0, max = 0;
    int32_t minIndex = -1, maxIndex = -1, aboveIndex = -1, belowIndex = -1;
    int64_t aboveCount = 0, belowCount = 0;
    std::unique_ptr<KineticTermCache> terms;  // temperature channels only

    void Add(float v, int32_t i) {
        if (IsMissingSample(v) || !std::isfinite(v)) {
            ++s.missing;
            return;
        }
        if (s.count++ == 0) {
            min = max = v;
            minIndex = maxIndex = i;
        } else if (v < min) {
            min = v;
            minIndex = i;
        } else if (v > max) {
            max = v;
            maxIndex = i;
        }
        sum += v;
        if (terms) termSum += terms->Term(v);
        const double tenths = TruncatedTenths(v);
        if (tenths > upper && aboveCount++ == 0) aboveIndex = i;
        if (tenths < lower && belowCount++ == 0) belowIndex = i;
    }
};

Accumulator StartChannel(const RecordSet& set, int c) {
    Accumulator a;
    a.s.channel = c;
    a.s.quantity = QuantityTextOf(set, c);
    a.s.unit = UnitTextOf(set, c);
    a.s.temperature = IsTemperatureQuantity(a.s.quantity);
    a.s.upperX10 = set.upperAlarmX10[c];
    a.s.lowerX10 = set.lowerAlarmX10[c];
    a.upper = a.s.upperX10;
    a.lower = a.s.lowerX10;
    if (a.s.temperature) a.terms = std::make_unique<KineticTermCache>();
    return a;
}

ChannelRangeStatistics FinishChannel(const RecordSet& set, Accumulator& a) {
    ChannelRangeStatistics& s = a.s;
    const int64_t interval = set.intervalSeconds;
    s.aboveUpperSeconds = a.aboveCount * interval;
    s.belowLowerSeconds = a.belowCount * interval;
    if (a.aboveIndex >= 0) {
        s.crossedUpper = true;
        s.firstAbove = TimeOfRecord(set.records[static_cast<size_t>(a.aboveIndex)]);
    }
    if (a.belowIndex >= 0) {
        s.crossedLower = true;
        s.firstBelow = TimeOfRecord(set.records[static_cast<size_t>(a.belowIndex)]);
    }
    if (s.count == 0) return s;
    s.min = a.min;
    s.max = a.max;
    s.minTime = TimeOfRecord(set.records[static_cast<size_t>(a.minIndex)]);
    s.maxTime = TimeOfRecord(set.records[static_cast<size_t>(a.maxIndex)]);
    s.avg = a.sum / s.count;
    if (s.temperature) {
        s.hasMkt = true;
        s.mkt = MeanKineticTemperature(a.termSum, s.count);
    }
    return s;
}

}  // namespace

RangeStatistics ComputeRangeStatistics(const RecordSet& set, const StatisticsRange& range) {
    RangeStatistics result;
    result.intervalSeconds = set.intervalSeconds;
    const Runs runs = RunsOf(set, range);
    for (const auto& run : runs) result.records += run.second - run.first;
    if (!runs.empty()) {
        result.firstIndex = runs.front().first;
        result.lastIndex = runs.back().second - 1;
        result.firstTime = TimeOfRecord(set.records[static_cast<size_t>(result.firstIndex)]);
        result.lastTime = TimeOfRecord(set.records[static_cast<size_t>(result.lastIndex)]);
    }
    // One pass over the records for all channels: a full set is 15 MB, read once rather than
    // once per channel.
    std::vector<Accumulator> channels;
    for (int c = 0; c < kRecordSetChannels; ++c) {
        if (set.channelEnabled[c] == 1) channels.push_back(StartChannel(set, c));
    }
    for (const auto& run : runs) {
        for (int32_t i = run.first; i < run.second; ++i) {
            const SampleRecord& r = set.records[static_cast<size_t>(i)];
            for (Accumulator& a : channels) a.Add(r.value[a.s.channel], i);
        }
    }
    for (Accumulator& a : channels) result.channels.push_back(FinishChannel(set, a));
    return result;
}

}  // namespace velorin
