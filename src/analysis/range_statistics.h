// Statistics of a range of one data set: per enabled channel the valid and missing samples,
// MIN and MAX with the first record holding each, the average, the mean kinetic temperature of a
// temperature channel, and the time spent above the upper and below the lower alarm limit with
// the first record beyond each.
//
// A sample is missing when IsMissingSample says so (either marker) or when it is not a finite
// number (a damaged file); missing samples take part in nothing but `missing`. A valid sample is
// above the upper limit when TruncatedTenths(value) > upperAlarmX10 (below: < lowerAlarmX10), the
// comparison the report's alarm statistics make; each such sample adds the set's record
// interval (seconds) to the time above / below.
//
// Plain functions on const data: any thread, several at once on the same set.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "history/record_set.h"

namespace velorin {

// The records a range covers: indices first … end − 1 (end < 0: through the last record),
// and of those only the ones whose clock time (ClockSeconds) lies within [from, to] when
// hasFrom / hasTo are set. Both ends are inclusive.
struct StatisticsRange {
    int32_t first = 0;
    int32_t end = -1;
    bool hasFrom = false;
    int64_t from = 0;
    bool hasTo = false;
    int64_t to = 0;
};

struct ChannelRangeStatistics {
    int channel = 0;           // 0-based; shown as CH<channel + 1>
    std::string quantity;      // GBK bytes as stored
    std::string unit;          // GBK bytes as stored
    bool temperature = false;  // the quantity is "温度" or "TEMP"
    int32_t count = 0;         // valid samples
    int32_t missing = 0;       // missing samples
    // MIN, MAX and the average exist when count > 0; times are of the first record holding each.
    float min = 0;
    RecordTime minTime;
    float max = 0;
    RecordTime maxTime;
    double avg = 0;
    // Mean kinetic temperature (°C) of a temperature channel with count > 0.
    bool hasMkt = false;
    double mkt = 0;
    int16_t upperX10 = 0;  // the alarm limits in tenths, as the set holds them
    int16_t lowerX10 = 0;
    int64_t aboveUpperSeconds = 0;
    int64_t belowLowerSeconds = 0;
    bool crossedUpper = false;
    RecordTime firstAbove;  // meaningful when crossedUpper
    bool crossedLower = false;
    RecordTime firstBelow;  // meaningful when crossedLower

    bool HasValues() const { return count > 0; }
};

struct RangeStatistics {
    int32_t records = 0;  // records in the range
    // Index and time of the first and last record in the range (records > 0).
    int32_t firstIndex = 0;
    int32_t lastIndex = 0;
    RecordTime firstTime;
    RecordTime lastTime;
    int32_t intervalSeconds = 0;                   // the set's record interval
    std::vector<ChannelRangeStatistics> channels;  // enabled channels in ascending order

    bool Empty() const { return records == 0; }
};

// Sums and counts are taken per block of kStatisticsBlock records (record index k × 64 …) and the
// blocks' added up in order, which RangeStatisticsIndex repeats exactly.
constexpr int32_t kStatisticsBlock = 64;

RangeStatistics ComputeRangeStatistics(const RecordSet& set, const StatisticsRange& range = StatisticsRange());

// The figures of every whole block of a set, for the statistics of many index ranges of it (a
// data window's zoom and pan): a range reads its whole blocks here and only its partial blocks at
// either end record by record. Compute(set, first, end) equals ComputeRangeStatistics(set,
// {first, end}) exactly. `set` must be the set the index was built from, unchanged since.
class RangeStatisticsIndex {
public:
    explicit RangeStatisticsIndex(const RecordSet& set);
    ~RangeStatisticsIndex();
    RangeStatisticsIndex(const RangeStatisticsIndex&) = delete;
    RangeStatisticsIndex& operator=(const RangeStatisticsIndex&) = delete;

    RangeStatistics Compute(const RecordSet& set, int32_t first, int32_t end) const;

private:
    struct Blocks;
    std::unique_ptr<Blocks> blocks_;
};

}  // namespace velorin
