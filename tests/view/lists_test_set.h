// A data set recorded with channels 1, 2 and 5, for the tests of the lists, the panel refill and
// F0 mode: channel 1 temperature in hundredths, channel 2 humidity, channel 5 pressure with a
// missing sample in record 3. Records are one minute apart from 2026-03-04 05:06:00.
#pragma once

#include "common/language.h"
#include "common/text_codec.h"
#include "device/display_options.h"
#include "history/record_set.h"

namespace velorin::test {

// The display of such a set: channel 1 shows two decimals (type high nibble 2), the others one.
inline DisplayOptions ChannelOneInHundredths(Language language) {
    DisplayOptions display;
    display.language = language;
    for (uint8_t& type : display.channelType) type = 0x02;
    display.channelType[0] = 0x22;
    return display;
}

inline RecordSet ChannelsOneTwoFive(int records) {
    RecordSet set;
    for (int c : {0, 1, 4}) set.channelEnabled[c] = 1;
    SetUnitText(set, 0, Utf8ToGbk("℃"));
    SetQuantityText(set, 0, Utf8ToGbk("温度"));
    SetUnitText(set, 1, "%RH");
    SetQuantityText(set, 1, Utf8ToGbk("湿度"));
    SetUnitText(set, 4, "kPa");
    SetQuantityText(set, 4, Utf8ToGbk("压力"));
    set.intervalSeconds = 60;
    set.intervalMinutes = 1;
    set.records.resize(static_cast<size_t>(records));
    for (int i = 0; i < records; ++i) {
        SampleRecord& r = set.records[static_cast<size_t>(i)];
        const int minutes = 5 * 60 + 6 + i;
        r.year = 26;
        r.month = 3;
        r.day = 4;
        r.hour = minutes / 60 % 24;
        r.minute = minutes % 60;
        r.second = 0;
        r.value[0] = 20.0f + 0.25f * static_cast<float>(i);
        r.value[1] = 40.0f + static_cast<float>(i);
        r.value[4] = i == 3 ? kMissingValue2Byte : 100.0f + 0.5f * static_cast<float>(i);
    }
    set.recordCount = records;
    set.maxValue[0] = 30.5f;
    set.minValue[0] = 20.0f;
    set.avgValue[0] = 25.126f;
    set.maxValue[1] = 80.0f;
    set.minValue[1] = 40.0f;
    set.avgValue[1] = 60.0f;
    set.maxValue[4] = -10000.0f;
    set.minValue[4] = 10000.0f;
    set.avgValue[4] = 0.0f;
    return set;
}

}  // namespace velorin::test
