#include "live/live_reading.h"

namespace velorin {

AngleFrame BuildLiveRequest(uint8_t address) {
    const uint8_t data[1] = {0x00};
    return BuildRequest(address, cmd::LiveReading, data, sizeof data);
}

bool LiveReplyAccepted(const uint8_t* reply, size_t count, uint8_t address) {
    if (count < kLiveReplyMinBytes) return false;
    if (reply[0] != kReplyStart || reply[1] != address || reply[2] != cmd::LiveReading) return false;
    return count == FrameLengthField(reply, count) + kFrameHeaderBytes && reply[count - 1] == kReplyEnd;
}

bool LiveReportAccepted(const uint8_t* report, size_t reportBytes, uint8_t address) {
    const size_t frameBytes = FrameLengthField(report, reportBytes) + kFrameHeaderBytes;
    if (reportBytes < kFrameHeaderBytes || frameBytes > reportBytes) return false;
    return LiveReplyAccepted(report, frameBytes, address);
}

void DecodeLiveValues(const uint8_t* reply, const ChannelInfo (&channels)[kChannelCount], LiveSample& sample) {
    for (int k = 0; k < kChannelCount; ++k) {
        if (channels[k].channelEnabled != 1) continue;
        const int16_t raw = ReadS16BE(reply + kLiveValueOffset + 2 * k);
        if (raw == kLiveMissingRaw) {
            sample.value[k] = kLiveMissingValue;
        } else {
            sample.value[k] = static_cast<float>(raw) / (HasHundredths(channels[k].channelType) ? 100.0f : 10.0f);
        }
    }
}

}  // namespace velorin
