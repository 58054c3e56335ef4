// Feeds arbitrary bytes to the live reading's acceptance and decoding, as a serial reply and as
// a USB report, and to the texts made from the decoded values.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "common/language.h"
#include "device/device_info.h"
#include "live/live_reading.h"
#include "live/live_text_format.h"
#include "live/live_texts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velorin;
    ChannelInfo channels[kChannelCount];
    for (int k = 0; k < kChannelCount; ++k) {
        channels[k].channelEnabled = 1;
        channels[k].channelType = size > 0 ? static_cast<uint8_t>(data[0] << k) : 0;
    }
    const LiveTexts& texts = LiveTextsFor(size % 2 ? Language::English : Language::Chinese);
    LiveSample sample;
    if (LiveReplyAccepted(data, size, size > 1 ? data[1] : 0)) DecodeLiveValues(data, channels, sample);

    uint8_t report[64] = {};
    std::memcpy(report, data, std::min(size, sizeof report));
    if (LiveReportAccepted(report, sizeof report, report[1])) DecodeLiveValues(report, channels, sample);

    for (int k = 0; k < kChannelCount; ++k) {
        FormatLiveValue(sample.value[k], channels[k].channelType, texts);
        FormatSelectedValue(sample.value[k], texts);
    }
    return 0;
}
