// The statistics of the PDF report over the chosen range of a data set: per channel maximum,
// minimum, average and mean kinetic temperature, and the alarm counts, durations and first
// alarm times.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "history/record_set.h"

namespace velorin {

// The records a report covers: `first` … `first + length − 1`, always inside the records that
// exist. `length` is endIndex − firstIndex, or the record count when that is 0 or less.
struct ReportRange {
    int32_t first = 0;
    int32_t length = 0;
    // `length` limited to the logger's capacity (when the set names one): what the alarm
    // statistics, the curve and the data table cover.
    int32_t limited = 0;
};
ReportRange RangeOf(const RecordSet& set, int32_t firstIndex, int32_t endIndex);

// A value the statistics and the curve can use: not a missing sample of either width, and
// finite (a damaged file may hold NaN or infinity, which would poison every sum and coordinate).
inline bool IsUsableValue(float v) { return !IsMissingSample(v) && std::isfinite(v); }

// The six time fields of a record.
inline RecordTime TimeOfRecord(const SampleRecord& r) {
    RecordTime t;
    t.year = r.year;
    t.month = r.month;
    t.day = r.day;
    t.hour = r.hour;
    t.minute = r.minute;
    t.second = r.second;
    return t;
}

// The mean kinetic temperature (ΔH/R = 10000 K, 273.1 as the Celsius offset) is built from one
// term per value: the report and the range statistics share these two pieces.
inline double KineticTerm(double celsius) { return std::exp(-10000.0 / (celsius + 273.1)); }
// `termSum` over `count` (≥ 1) values, in °C.
inline double MeanKineticTemperature(double termSum, int64_t count) {
    return -10000.0 / std::log(termSum / static_cast<double>(count)) - 273.1;
}

// The quantity texts (GBK bytes as stored) whose channels have a mean kinetic temperature:
// "温度" and "TEMP".
bool IsTemperatureQuantity(const std::string& quantity);

// The value's tenths truncated toward zero, computed in float as the logger's own tools do, and
// kept as a double so that no value (a 4-byte sample may be huge) can overflow an integer. The
// alarm statistics compare this with upperAlarmX10 / lowerAlarmX10.
inline double TruncatedTenths(float v) { return std::trunc(static_cast<double>(v * 10.0f)); }

// One channel's figures over the report's range. The report computes them for itself: the data
// set's own statistics (what the lists show and a later save writes) are never touched.
struct ChannelStatistics {
    bool valid = false;  // at least one usable value in the range; the figures below need it
    int32_t count = 0;
    float max = 0, min = 0, avg = 0;
    RecordTime maxTime, minTime;  // first record holding the maximum / the minimum
    double mkt = 0;               // mean kinetic temperature, °C
};

// Maximum, minimum, average (with the times of the first maximum and minimum) and the mean
// kinetic temperature (ΔH/R = 10000 K, 273.1 as the Celsius offset) of channel `channel`
// (0-based) over the range. Only usable values count.
ChannelStatistics ReportStatistics(const RecordSet& set, const ReportRange& range, int channel);

// Alarm statistics of the eight channels over the first range.limited records; the members
// keep the order of the report's 144-value table (counts, flags, durations, first times —
// upper first, then lower), durations widened to 64 bits so that long recordings never overflow.
struct AlarmStats {
    int32_t upperCount[kRecordSetChannels] = {};
    int32_t upperFlag[kRecordSetChannels] = {};
    int64_t upperSeconds[kRecordSetChannels] = {};
    RecordTime upperFirst[kRecordSetChannels];
    int32_t lowerCount[kRecordSetChannels] = {};
    int32_t lowerFlag[kRecordSetChannels] = {};
    int64_t lowerSeconds[kRecordSetChannels] = {};
    RecordTime lowerFirst[kRecordSetChannels];
};

// A value counts as above the upper limit when its tenths, truncated toward zero, exceed
// upperAlarmX10; the same for the lower limit. A missing sample (either marker) or a value that
// is not a number is no alarm: a sensor dropout must not be reported as a limit violation.
AlarmStats AlarmStatistics(const RecordSet& set, const ReportRange& range);

}  // namespace velorin
