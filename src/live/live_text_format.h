// The texts the live view and `velorin-cli live` make from a reading: times, values and the
// channel list's rows. GBK bytes, like the quantity and unit names they are joined with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "device/device_info.h"

namespace velorin {

struct LiveTexts;

// "%Y-%m-%d %H:%M:%S" in local time (the time of the last poll, of the window's first sample).
std::string FormatLiveTime(int64_t time);
// The pointer readout's time in the readout format of the live texts.
std::string FormatReadoutTime(int64_t time, const LiveTexts& texts);

// A channel's value as its value static shows it: the missing text, otherwise two decimals for a
// hundredths channel and one for the others.
std::string FormatLiveValue(float value, uint8_t channelType, const LiveTexts& texts);
// The value of the sample under the pointer in the list: the missing text or two decimals.
std::string FormatSelectedValue(float value, const LiveTexts& texts);

// The channel list's rows: one per enabled channel 1–6, in channel order.
struct LiveListRow {
    int channel = 0;  // 0-based
    std::string name, quantity, unit;
};
std::vector<LiveListRow> LiveListRows(const ChannelInfo (&channels)[kChannelCount], const LiveTexts& texts);

}  // namespace velorin
