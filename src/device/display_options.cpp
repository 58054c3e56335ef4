#include "device/display_options.h"

#include "device/device_info.h"

namespace velorin {

static_assert(sizeof DisplayOptions::channelType == kChannelCount, "one type per channel of a logger");

void ChannelTypesOf(const DeviceInfo& info, uint8_t (&types)[8]) {
    for (int c = 0; c < kChannelCount; ++c) types[c] = info.channel[c].channelType;
}

DisplayOptions DisplayOptionsOf(const DeviceInfo& info, Language language) {
    DisplayOptions display;
    display.language = language;
    ChannelTypesOf(info, display.channelType);
    return display;
}

}  // namespace velorin
