// Small data sets of the analysis tests: records at a fixed interval from a clock time, with
// the values each test names.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "analysis/clock_time.h"
#include "history/record_set.h"

namespace velorin::test {

// A record set whose records start at `start` ("YYYY-MM-DD hh:mm:ss") and follow each other
// after `interval` seconds; channel c (1-based) of record i holds columns[c-1][i]. The named
// channels are enabled with quantity "TEMP", unit "C" and limits 30.0 / 10.0.
inline RecordSet AnalysisSet(const char* serial, const std::string& start, int32_t interval,
                             std::initializer_list<int> channels, const std::vector<std::vector<float>>& columns) {
    RecordSet set;
    int64_t t0 = 0;
    ParseClockTime(start, t0);
    const size_t count = columns.empty() ? 0 : columns.front().size();
    set.records.resize(count);
    set.recordCount = static_cast<int32_t>(count);
    set.intervalSeconds = interval;
    for (size_t i = 0; i < count; ++i) {
        SetRecordClock(set.records[i], t0 + static_cast<int64_t>(i) * interval);
    }
    size_t column = 0;
    for (int channel : channels) {
        const int c = channel - 1;
        set.channelEnabled[c] = 1;
        set.upperAlarmX10[c] = 300;
        set.lowerAlarmX10[c] = 100;
        SetQuantityText(set, c, "TEMP");
        SetUnitText(set, c, "C");
        if (column < columns.size()) {
            for (size_t i = 0; i < count && i < columns[column].size(); ++i)
                set.records[i].value[c] = columns[column][i];
        }
        ++column;
    }
    std::strncpy(set.serialNumber, serial, sizeof(set.serialNumber) - 1);
    return set;
}

inline int64_t Clock(const std::string& text) {
    int64_t s = -1;
    ParseClockTime(text, s);
    return s;
}

}  // namespace velorin::test
