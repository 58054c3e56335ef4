#include "live/live_text_format.h"

#include <ctime>

#include "common/format.h"
#include "device/name_tables.h"
#include "live/live_reading.h"
#include "live/live_texts.h"
#include "live/live_window.h"

namespace velorin {

namespace {
bool LocalFields(int64_t time, std::tm& out) {
    const std::time_t t = static_cast<std::time_t>(time);
    return localtime_r(&t, &out) != nullptr;
}
}  // namespace

std::string FormatLiveTime(int64_t time) {
    std::tm tm = {};
    if (!LocalFields(time, tm)) return std::string();
    char text[64];
    const size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
    return std::string(text, n);
}

std::string FormatReadoutTime(int64_t time, const LiveTexts& texts) {
    std::tm tm = {};
    if (!LocalFields(time, tm)) return std::string();
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    return FormatC(texts.readoutTimeFormat.c_str(), tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                   tm.tm_hour, tm.tm_min, tm.tm_sec);
#pragma GCC diagnostic pop
}

std::string FormatLiveValue(float value, uint8_t channelType, const LiveTexts& texts) {
    if (IsMissingLiveValue(value)) return texts.missingValue;
    return HasHundredths(channelType) ? FormatC("%.2f", value) : FormatC("%.1f", value);
}

std::string FormatSelectedValue(float value, const LiveTexts& texts) {
    if (IsMissingLiveValue(value)) return texts.missingValue;
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
        row.name = FormatC(texts.listChannelFormat.c_str(), k + 1);
#pragma GCC diagnostic pop
        // The quantity is named in Chinese in both languages.
        row.quantity = QuantityName(c.quantityCode, false);
        // AC voltage and current count their units from 32; a code below that names no unit.
        const bool ac = c.quantityCode == kQuantityVoltageAc || c.quantityCode == kQuantityCurrentAc;
        row.unit = UnitName(ac ? c.unitCode - 32 : c.unitCode);
        rows.push_back(row);
    }
    return rows;
}

}  // namespace velorin
