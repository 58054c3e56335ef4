// Data sets and file helpers shared by the export tests.
#pragma once

#include <cstddef>
#include <fstream>
#include <iterator>
#include <string>

#include "common/text_codec.h"
#include "history/record_set.h"
#include "support/temp_dir.h"

namespace velorin::test {

// GBK bytes of a UTF-8 literal.
inline std::string G(const char* utf8) { return Utf8ToGbk(utf8); }

// The text between the start of line `line` (0-based, lines end with "\r\n") and its end.
inline std::string Line(const std::string& text, size_t line) {
    size_t start = 0;
    for (size_t i = 0; i < line; ++i) {
        start = text.find("\r\n", start);
        if (start == std::string::npos) return "<no such line>";
        start += 2;
    }
    const size_t end = text.find("\r\n", start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

inline size_t LineCount(const std::string& text) {
    size_t n = 0;
    for (size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n", p + 2)) ++n;
    return n;
}

// Record i is one second after record i − 1, from 2025-03-09 07:05:00 on.
inline void SetTime(SampleRecord& r, int i) {
    const int s = 7 * 3600 + 5 * 60 + i;
    r.year = 25;
    r.month = 3;
    r.day = 9 + s / 86400;
    r.hour = s / 3600 % 24;
    r.minute = s / 60 % 60;
    r.second = s % 60;
}

// `records` records; channels 1 and 3 enabled (℃ / TEMP, %RH / HUM). Channel 1 holds 25.3,
// channel 3 the missing-value marker; the disabled channels hold values that must never show.
inline RecordSet SmallSet(int records) {
    RecordSet set;
    set.records.resize(static_cast<size_t>(records));
    set.recordCount = records;
    for (int i = 0; i < records; ++i) {
        SampleRecord& r = set.records[static_cast<size_t>(i)];
        SetTime(r, i * 60);
        for (float& v : r.value) v = 99.9f;
        r.value[0] = 25.3f;
        r.value[2] = kMissingValue2Byte;
    }
    set.channelEnabled[0] = 1;
    set.channelEnabled[2] = 1;
    set.maxValue[0] = 26.5f;
    set.minValue[0] = -1.25f;  // an exact tie: rounds to even, "-1.2"
    set.avgValue[0] = 12.25f;
    set.maxValue[2] = 80.0f;
    set.minValue[2] = 30.05f;
    set.avgValue[2] = 55.125f;  // exact tie at two decimals: "55.12"
    SetUnitText(set, 0, G("℃"));
    SetQuantityText(set, 0, "TEMP");
    SetUnitText(set, 2, "%RH");
    SetQuantityText(set, 2, G("湿度"));
    StoreInField(set.userName, "Lab 3");
    StoreInField(set.title, "Run 7");
    StoreInField(set.recordModeText, "AutoMode");
    set.intervalSeconds = 90;
    set.intervalHours = 0;
    set.intervalMinutes = 1;
    set.intervalSecondsPart = 30;
    return set;
}

}  // namespace velorin::test
