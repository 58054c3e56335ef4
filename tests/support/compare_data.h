// Data sets for the comparison window's tests and benchmark: loggers recorded at chosen clock
// times and intervals, with chosen channels. Header-only so the benchmark can use it without the
// test library.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>

#include "analysis/clock_time.h"
#include "analysis/compare_files.h"
#include "history/record_set.h"

namespace velorin::test {

// `count` records from clock time `start` (ClockSeconds) every `interval` seconds; `value(i, c)`
// gives channel c (0-based) of record i for each channel in `channels` (1-based numbers).
inline RecordSet MakeLoggerSet(const std::string& serial, const std::string& title, int64_t start, int32_t interval,
                               int32_t count, std::initializer_list<int> channels,
                               const std::function<float(int32_t, int)>& value) {
    RecordSet set;
    set.records.resize(static_cast<size_t>(count));
    set.recordCount = count;
    set.intervalSeconds = interval;
    std::strncpy(set.serialNumber, serial.c_str(), sizeof set.serialNumber - 1);
    std::strncpy(set.title, title.c_str(), sizeof set.title - 1);
    for (int ch : channels) {
        const int c = ch - 1;
        set.channelEnabled[c] = 1;
        std::memcpy(set.quantityText[c], "TEMP", 4);
        set.quantityLength[c] = 4;
        std::memcpy(set.unitText[c], "C", 1);
        set.unitLength[c] = 1;
    }
    for (int32_t i = 0; i < count; ++i) {
        const RecordTime t = RecordTimeOfSeconds(start + static_cast<int64_t>(i) * interval);
        SampleRecord& r = set.records[static_cast<size_t>(i)];
        r.year = t.year;
        r.month = t.month;
        r.day = t.day;
        r.hour = t.hour;
        r.minute = t.minute;
        r.second = t.second;
        for (int ch : channels) r.value[ch - 1] = value(i, ch - 1);
    }
    return set;
}

// 2025-06-02 08:00:00.
inline int64_t Morning() { return ClockSecondsOf(25, 6, 2, 8, 0, 0); }

// A file of the comparison holding `set` (PrepareCompareFiles then orders and names the files).
inline CompareFile FileOf(RecordSet set, const std::string& path) {
    CompareFile file;
    file.path = path;
    file.set = std::move(set);
    return file;
}

}  // namespace velorin::test
