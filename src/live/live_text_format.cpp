#include "live/live_text_format.h"

#include "common/date_time.h"
#include "common/format.h"
#include "common/language.h"
#include "common/text_codec.h"
#include "device/name_tables.h"
#include "live/live_reading.h"
#include "live/live_samples.h"
#include "live/live_texts.h"

namespace velorin {

std::string FormatLiveTime(int64_t time) {
    const CDealTime t(time);
    return FormatC("%04d-%02d-%02d %02d:%02d:%02d", t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(), t.GetMinute(),
                   t.GetSecond());
}

std::string FormatReadoutTime(int64_t time, const LiveTexts& texts) {
    const CDealTime t(time);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    return Utf8ToGbk(FormatC(texts.readoutTimeFormat.c_str(), t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(),
                             t.GetMinute(), t.GetSecond()));
#pragma GCC diagnostic pop
}

std::string FormatLiveValue(float value, uint8_t channelType, const LiveTexts& texts) {
    if (IsMissingLiveValue(value)) return Utf8ToGbk(texts.missingValue);
    return HasHundredths(channelType) ? FormatC("%.2f", value) : FormatC("%.1f", value);
}

std::string FormatSelectedValue(float value, const LiveTexts& texts) {
    if (IsMissingLiveValue(value)) return Utf8ToGbk(texts.missingValue);
    return FormatC("%.2f", value);
}

std::vector<LiveListRow> LiveListRows(const ChannelInfo (&channels)[kChannelCount], const LiveTexts& texts) {
    std::vector<LiveListRow> rows;
    for (int k = 0; k < kLiveShownChannels; ++k) {
        const ChannelInfo& c = channels[k];
        if (c.channelEnabled == 0) continue;
        LiveListRow row;
        row.channel = k;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
        row.name = Utf8ToGbk(FormatC(texts.listChannelFormat.c_str(), k + 1));
#pragma GCC diagnostic pop
        // The quantity is named in Chinese in both languages.
        row.quantity = QuantityName(c.quantityCode, Language::Chinese);
        // AC voltage and current count their units from 32; a code below that names no unit.
        const bool ac = c.quantityCode == kQuantityVoltageAc || c.quantityCode == kQuantityCurrentAc;
        row.unit = UnitName(ac ? c.unitCode - 32 : c.unitCode);
        rows.push_back(row);
    }
    return rows;
}

}  // namespace velorin
