// What every display of a data set needs besides the data itself: the interface language and
// the channel types of the logger read last. Lists, views, printing, the text exports, the PDF
// report and Save As take this one value; what needs only the language takes a Language.
#pragma once

#include <cstdint>

#include "common/language.h"

namespace velorin {

struct DeviceInfo;

struct DisplayOptions {
    Language language = Language::Chinese;
    // ChannelType of each channel in the DeviceInfo read last (0 where none was read): a high
    // nibble of 2 shows a channel's values with two decimals, anything else with one.
    uint8_t channelType[8] = {};
};

// The channel types of `info`.
void ChannelTypesOf(const DeviceInfo& info, uint8_t (&types)[8]);

// `language` with the channel types of `info`.
DisplayOptions DisplayOptionsOf(const DeviceInfo& info, Language language);

}  // namespace velorin
