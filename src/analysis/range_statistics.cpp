#include "analysis/range_statistics.h"

#include <cmath>
#include <utility>

#include "analysis/clock_time.h"
#include "report/report_statistics.h"

namespace velorin {

namespace {

RecordTime TimeOf(const SampleRecord& r) {
    RecordTime t;
    t.year = r.year;
    t.month = r.month;
    t.day = r.day;
    t.hour = r.hour;
    t.minute = r.minute;
    t.second = r.second;
    return t;
}

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

ChannelRangeStatistics ChannelStatisticsOf(const RecordSet& set, const Runs& runs, int c) {
    ChannelRangeStatistics s;
    s.channel = c;
    s.quantity = QuantityTextOf(set, c);
    s.unit = UnitTextOf(set, c);
    s.temperature = IsTemperatureQuantity(s.quantity);
    s.upperX10 = set.upperAlarmX10[c];
    s.lowerX10 = set.lowerAlarmX10[c];
    const double upper = s.upperX10;
    const double lower = s.lowerX10;
    const int64_t interval = set.intervalSeconds;
    double sum = 0, termSum = 0;
    float min = 0, max = 0;
    int32_t minIndex = -1, maxIndex = -1, aboveIndex = -1, belowIndex = -1;
    int64_t aboveCount = 0, belowCount = 0;
    for (const auto& run : runs) {
        for (int32_t i = run.first; i < run.second; ++i) {
            const float v = set.records[static_cast<size_t>(i)].value[c];
            if (IsMissingSample(v) || !std::isfinite(v)) {
                ++s.missing;
                continue;
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
            if (s.temperature) termSum += KineticTerm(v);
            const double tenths = TruncatedTenths(v);
            if (tenths > upper && aboveCount++ == 0) aboveIndex = i;
            if (tenths < lower && belowCount++ == 0) belowIndex = i;
        }
    }
    s.aboveUpperSeconds = aboveCount * interval;
    s.belowLowerSeconds = belowCount * interval;
    if (aboveIndex >= 0) {
        s.crossedUpper = true;
        s.firstAbove = TimeOf(set.records[static_cast<size_t>(aboveIndex)]);
    }
    if (belowIndex >= 0) {
        s.crossedLower = true;
        s.firstBelow = TimeOf(set.records[static_cast<size_t>(belowIndex)]);
    }
    if (s.count == 0) return s;
    s.min = min;
    s.max = max;
    s.minTime = TimeOf(set.records[static_cast<size_t>(minIndex)]);
    s.maxTime = TimeOf(set.records[static_cast<size_t>(maxIndex)]);
    s.avg = sum / s.count;
    if (s.temperature) {
        s.hasMkt = true;
        s.mkt = MeanKineticTemperature(termSum, s.count);
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
        result.firstTime = TimeOf(set.records[static_cast<size_t>(result.firstIndex)]);
        result.lastTime = TimeOf(set.records[static_cast<size_t>(result.lastIndex)]);
    }
    for (int c = 0; c < kRecordSetChannels; ++c) {
        if (set.channelEnabled[c] != 1) continue;
        result.channels.push_back(ChannelStatisticsOf(set, runs, c));
    }
    return result;
}

}  // namespace velorin
