#include "report/report_statistics.h"

#include <cmath>

#include "common/text_codec.h"

namespace velorin {

bool IsTemperatureQuantity(const std::string& quantity) {
    static const std::string chinese = Utf8ToGbk("温度");
    return quantity == chinese || quantity == "TEMP";
}

ReportRange RangeOf(const RecordSet& set, int32_t firstIndex, int32_t endIndex) {
    const int32_t usable = UsableRecordCount(set);
    ReportRange range;
    range.first = firstIndex < 0 ? 0 : (firstIndex > usable ? usable : firstIndex);
    int64_t length = static_cast<int64_t>(endIndex) - firstIndex;
    if (length <= 0) length = set.recordCount;
    if (length > usable - range.first) length = usable - range.first;
    if (length < 0) length = 0;
    range.length = static_cast<int32_t>(length);
    // A set that names no capacity (0) is not limited by it.
    range.limited = set.storageCapacity > 0 && set.storageCapacity < range.length ? set.storageCapacity : range.length;
    return range;
}

ChannelStatistics ReportStatistics(const RecordSet& set, const ReportRange& range, int channel) {
    ChannelStatistics stats;
    if (channel < 0 || channel >= kRecordSetChannels) return stats;
    float max = -100000.0f, min = 10000000.0f;
    double expSum = 0, sum = 0;
    RecordTime maxTime, minTime;
    for (int32_t i = range.first; i < range.first + range.length; ++i) {
        const SampleRecord& r = set.records[static_cast<size_t>(i)];
        const float v = r.value[channel];
        if (!IsUsableValue(v)) continue;
        expSum += KineticTerm(v);
        sum += v;
        ++stats.count;
        if (v > max) {
            max = v;
            maxTime = TimeOfRecord(r);
        }
        if (v < min) {
            min = v;
            minTime = TimeOfRecord(r);
        }
    }
    if (stats.count == 0) return stats;
    stats.valid = true;
    stats.max = max;
    stats.min = min;
    stats.avg = static_cast<float>(sum / stats.count);
    stats.maxTime = maxTime;
    stats.minTime = minTime;
    stats.mkt = MeanKineticTemperature(expSum, stats.count);
    return stats;
}

AlarmStats AlarmStatistics(const RecordSet& set, const ReportRange& range) {
    AlarmStats a;
    for (int c = 0; c < kRecordSetChannels; ++c) {
        if (set.channelEnabled[c] != 1) continue;
        const double upper = set.upperAlarmX10[c];
        const double lower = set.lowerAlarmX10[c];
        for (int32_t i = range.first; i < range.first + range.limited; ++i) {
            const SampleRecord& r = set.records[static_cast<size_t>(i)];
            if (!IsUsableValue(r.value[c])) continue;
            const double x = TruncatedTenths(r.value[c]);
            if (x > upper) {
                // The first time is the first record counted: a record of the year 2000
                // (stored year 0) must not let a later record take its place.
                if (a.upperCount[c]++ == 0) a.upperFirst[c] = TimeOfRecord(r);
                a.upperFlag[c] = 1;
                a.upperSeconds[c] += set.intervalSeconds;
            }
            if (x < lower) {
                if (a.lowerCount[c]++ == 0) a.lowerFirst[c] = TimeOfRecord(r);
                a.lowerFlag[c] = 1;
                a.lowerSeconds[c] += set.intervalSeconds;
            }
        }
    }
    return a;
}

}  // namespace velorin
