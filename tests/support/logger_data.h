// Reply data of a logger as the device tests feed it to the decoders and readers: an information
// block, an identity and a channel's settings with known values, laid out byte by byte as the
// logger sends them (data byte 0 first; big-endian numbers).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "device/device_info.h"

namespace velorin::test {

// Information block data with offsets as the logger lays them out.
struct InfoData {
    std::string userName = "Alice";
    std::string title = "Cold room 3";
    uint8_t recordMode = 1;
    uint8_t workState = 1;
    uint8_t startMode = 2;
    uint8_t stopMode = 1;
    uint8_t powerMode = 0x80;
    uint32_t intervalSeconds = 3725;
    uint8_t overflowByte = 7;
    uint8_t channelMask = 0x05;
    uint8_t startTime[6] = {24, 3, 7, 8, 5, 0};
    uint8_t timedStart[6] = {25, 1, 2, 3, 4, 5};
    uint8_t timedStop[6] = {25, 12, 31, 23, 59, 59};
    uint32_t recordCount = 5000;
    size_t totalBytes = 110;  // the serial reply carries a few bytes beyond the 103 decoded

    std::vector<uint8_t> Bytes() const;
};

struct IdentityData {
    std::string model = "KV-T8CH1";  // exactly 8 characters
    std::string serial = "SN123456";
    uint8_t firmware = 11;
    uint32_t capacity = 4000;

    std::vector<uint8_t> Bytes() const;  // 24 bytes
};

struct ChannelData {
    uint8_t channelNumber = 1;
    uint8_t quantity = 1;
    uint8_t unit = 1;
    uint8_t type = 0x12;
    int16_t rangeLow = -400;
    int16_t rangeHigh = 850;
    uint8_t alarmEnabled = 1;
    int16_t lowerAlarm = -125;
    int16_t upperAlarm = 300;

    std::vector<uint8_t> Bytes() const;  // channel data bytes 0..20 (byte 0: channel number)
};

// A complete serial reply frame ('(' addr cmd N data CS ')') around `data`.
std::vector<uint8_t> ReplyFrame(uint8_t command, const std::vector<uint8_t>& data);

// A DeviceInfo whose every byte (padding included) is 0x5A, and a byte-wise comparison: a read
// that fails must leave such a record exactly as it was.
DeviceInfo Sentinel();
bool SameBytes(const DeviceInfo& a, const DeviceInfo& b);

}  // namespace velorin::test
