// DeviceInfo: what the program knows about the connected logger, and the pure decoders that
// fill it from reply bytes.
//
// Text fields are fixed-width GBK byte strings. The labels of the mode and state fields are
// stored in the interface language current at decoding time, cut to their field (8 bytes in
// the 9-byte fields, 12 in the stop-mode field). Limits are signed tenths of the channel's unit.
// DeviceInfo keeps the values of the last successful read; each decoder changes only what its
// reply carries.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velorin {

struct Texts;

constexpr int kChannelCount = 8;

// Data bytes each reply must carry before it is decoded (over the serial link data byte k is
// reply byte 5 + k; over the USB link it is report byte 1 + k).
constexpr size_t kInfoDataBytes = 103;
constexpr size_t kIdentityDataBytes = 24;
constexpr size_t kChannelDataBytes = 20;  // channel data bytes 1..20 (byte 0 is not used)

// ChannelType: low nibble = bytes per sample (2 or 4), high nibble 2 = hundredths, else tenths.
inline int SampleWidth(uint8_t channelType) { return channelType & 0x0F; }
inline bool HasHundredths(uint8_t channelType) { return (channelType >> 4) == 2; }

struct ChannelInfo {
    int32_t channelEnabled = 0;  // 1 = recorded
    uint8_t quantityCode = 0;
    uint8_t unitCode = 0;
    uint8_t channelType = 0;  // ChannelType
    uint8_t alarmEnabled = 0;
    int16_t upperAlarmX10 = 0;
    int16_t lowerAlarmX10 = 0;
    int16_t rangeLowX10 = 0;
    int16_t rangeHighX10 = 0;
};

struct DeviceInfo {
    char timedStartTime[25] = {};
    char timedStopTime[25] = {};
    char startTime[25] = {};
    char userName[31] = {};
    char title[31] = {};
    int32_t storedRecordCount = 0;
    int32_t overflowCount = 0;
    int32_t recordIntervalSeconds = 0;
    uint8_t overLimitIntervalIndex = 0;
    int32_t intervalHours = 0;
    int32_t intervalMinutes = 0;
    int32_t intervalSeconds = 0;
    int32_t storageCapacity = 0;
    char recordMode[9] = {};
    char workState[9] = {};
    char startMode[9] = {};
    char stopMode[13] = {};
    char serialNumber[9] = {};
    char model[8] = {};           // not terminated within the field
    uint8_t firmwareVersion = 0;  // version × 10
    uint8_t powerMode = 0;        // 0x80 = power saving
    ChannelInfo channel[kChannelCount];
};

// Sets flags[i] to bit i of `mask`.
void UnpackChannelMask(uint8_t mask, int32_t (&flags)[kChannelCount]);

// Fills every field that the information block carries, and channelEnabled. `data` must hold
// at least kInfoDataBytes bytes (callers check). Labels come from `texts`.
void DecodeInfoBlock(DeviceInfo& info, const uint8_t* data, const Texts& texts);

// Model, serial number, firmware, capacity; then overflowCount = max(0, stored − capacity).
// `data` must hold at least kIdentityDataBytes bytes.
void ApplyIdentity(DeviceInfo& info, const uint8_t* data);

// Stores a channel's settings from channel data bytes 1..20. Over the USB link the range limits
// arrive in whole units and are multiplied by 10 (as int16).
enum class LinkKind { Serial, Hid };
void ApplyChannel(DeviceInfo& info, int channelIndex, const uint8_t (&channelData)[kChannelDataBytes], LinkKind link);

// The label decoders, exposed for the panel and the wizard that read them back.
// Start mode: code 1..4 → index 0..3; anything else → index 3. Stop mode: 1..4 → 0..3; else 3.
int StartModeLabelIndex(int code);
int StopModeLabelIndex(int code);

}  // namespace velorin
