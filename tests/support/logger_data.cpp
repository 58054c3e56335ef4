#include "support/logger_data.h"

#include <cstring>

#include "device/frame.h"

namespace velorin::test {

namespace {
void PutText(std::vector<uint8_t>& out, size_t offset, const std::string& text, size_t width) {
    std::memcpy(out.data() + offset, text.data(), text.size() < width ? text.size() : width);
}
}  // namespace

std::vector<uint8_t> InfoData::Bytes() const {
    std::vector<uint8_t> d(totalBytes < 103 ? 103 : totalBytes, 0);
    PutText(d, 0, userName, 30);
    PutText(d, 30, title, 30);
    d[63] = recordMode;
    d[64] = workState;
    d[65] = startMode;
    d[66] = stopMode;
    d[68] = powerMode;
    WriteU32BE(d.data() + 69, intervalSeconds);
    d[73] = overflowByte;
    d[74] = channelMask;
    std::memcpy(d.data() + 75, startTime, 6);
    std::memcpy(d.data() + 81, timedStart, 6);
    std::memcpy(d.data() + 87, timedStop, 6);
    WriteU32BE(d.data() + 99, recordCount);
    return d;
}

std::vector<uint8_t> IdentityData::Bytes() const {
    std::vector<uint8_t> d(24, 0);
    PutText(d, 0, model, 8);
    d[8] = 0xAA;  // not interpreted
    PutText(d, 9, serial, 8);
    d[17] = 0xBB;
    d[18] = 0xCC;
    d[19] = firmware;
    WriteU32BE(d.data() + 20, capacity);
    return d;
}

std::vector<uint8_t> ChannelData::Bytes() const {
    std::vector<uint8_t> d(21, 0);
    d[0] = channelNumber;
    d[1] = quantity;
    d[2] = unit;
    d[3] = type;
    d[4] = 0xEE;  // not interpreted
    WriteU16BE(d.data() + 5, static_cast<uint16_t>(rangeLow));
    WriteU16BE(d.data() + 7, static_cast<uint16_t>(rangeHigh));
    d[13] = alarmEnabled;
    WriteU16BE(d.data() + 15, static_cast<uint16_t>(lowerAlarm));
    WriteU16BE(d.data() + 17, static_cast<uint16_t>(upperAlarm));
    return d;
}

std::vector<uint8_t> ReplyFrame(uint8_t command, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> out(data.size() + kFrameOverheadBytes);
    out.resize(EncodeReply(0, command, data.data(), data.size(), out.data(), out.size()));
    return out;
}

DeviceInfo Sentinel() {
    DeviceInfo info;
    std::memset(static_cast<void*>(&info), 0x5A, sizeof info);
    return info;
}

bool SameBytes(const DeviceInfo& a, const DeviceInfo& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace velorin::test
