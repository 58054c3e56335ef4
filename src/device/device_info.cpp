#include "device/device_info.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "common/text_codec.h"
#include "common/texts.h"
#include "device/frame.h"

namespace velorin {

namespace {

// Information block offsets (data bytes).
constexpr size_t kUserName = 0;
constexpr size_t kTitle = 30;
constexpr size_t kTextBytes = 30;
constexpr size_t kRecordMode = 63;
constexpr size_t kWorkState = 64;
constexpr size_t kStartMode = 65;
constexpr size_t kStopMode = 66;
constexpr size_t kPowerMode = 68;
constexpr size_t kInterval = 69;
constexpr size_t kOverflow = 73;
constexpr size_t kChannelMask = 74;
constexpr size_t kStartTime = 75;
constexpr size_t kTimedStart = 81;
constexpr size_t kTimedStop = 87;
constexpr size_t kRecordCount = 99;

// Identity offsets.
constexpr size_t kModel = 0;
constexpr size_t kSerial = 9;
constexpr size_t kFirmware = 19;
constexpr size_t kCapacity = 20;

void FormatTime(char (&field)[25], const uint8_t* t) {
    std::memset(field, 0, sizeof field);
    std::snprintf(field, sizeof field, "%d-%.2d-%.2d %.2d:%.2d:%.2d", t[0] + 2000, t[1], t[2], t[3], t[4], t[5]);
}

}  // namespace

int StartModeLabelIndex(int code) {
    const int index = code - 1;
    return (index < 0 || index > 3) ? 3 : index;
}

int StopModeLabelIndex(int code) { return (code < 1 || code > 4) ? 3 : code - 1; }

void UnpackChannelMask(uint8_t mask, int32_t (&flags)[kChannelCount]) {
    for (int i = 0; i < kChannelCount; ++i) flags[i] = (mask >> i) & 1;
}

void DecodeInfoBlock(DeviceInfo& info, const uint8_t* data, const Texts& texts) {
    std::memset(info.userName, 0, sizeof info.userName);
    std::memcpy(info.userName, data + kUserName, kTextBytes);
    std::memset(info.title, 0, sizeof info.title);
    std::memcpy(info.title, data + kTitle, kTextBytes);

    // DeviceInfo keeps its labels in the logger's code page, like the texts beside them.
    StoreInField(info.recordMode, Utf8ToGbk(data[kRecordMode] == 0 ? texts.recordModeManual : texts.recordModeAuto));
    StoreInField(info.workState, Utf8ToGbk(data[kWorkState] == 0 ? texts.workStateStopped : texts.workStateRecording));
    StoreInField(info.startMode, Utf8ToGbk(texts.startModeLabel[StartModeLabelIndex(data[kStartMode])]));
    StoreInField(info.stopMode, Utf8ToGbk(texts.stopModeLabel[StopModeLabelIndex(data[kStopMode])]));

    info.powerMode = data[kPowerMode];
    const uint32_t seconds = ReadU32BE(data + kInterval);
    info.recordIntervalSeconds = static_cast<int32_t>(seconds);
    info.intervalHours = static_cast<int32_t>(seconds / 3600);
    info.intervalMinutes = static_cast<int32_t>((seconds / 60) % 60);
    info.intervalSeconds = static_cast<int32_t>(seconds % 60);
    info.overflowCount = data[kOverflow];

    int32_t enabled[kChannelCount];
    UnpackChannelMask(data[kChannelMask], enabled);
    for (int i = 0; i < kChannelCount; ++i) info.channel[i].channelEnabled = enabled[i];

    FormatTime(info.startTime, data + kStartTime);
    FormatTime(info.timedStartTime, data + kTimedStart);
    FormatTime(info.timedStopTime, data + kTimedStop);
    info.storedRecordCount = static_cast<int32_t>(ReadU32BE(data + kRecordCount));
}

void ApplyIdentity(DeviceInfo& info, const uint8_t* data) {
    std::memset(info.serialNumber, 0, sizeof info.serialNumber);
    std::memcpy(info.serialNumber, data + kSerial, 8);
    std::memset(info.model, 0, sizeof info.model);
    info.firmwareVersion = 0;
    std::memcpy(info.model, data + kModel, 8);
    info.firmwareVersion = data[kFirmware];
    info.storageCapacity = static_cast<int32_t>(ReadU32BE(data + kCapacity));
    const int64_t beyond = static_cast<int64_t>(info.storedRecordCount) - info.storageCapacity;
    info.overflowCount = beyond > 0 ? static_cast<int32_t>(beyond) : 0;
}

void ApplyChannel(DeviceInfo& info, int channelIndex, const uint8_t (&d)[kChannelDataBytes], LinkKind link) {
    if (channelIndex < 0 || channelIndex >= kChannelCount) return;
    ChannelInfo& c = info.channel[channelIndex];
    // d[k - 1] is channel data byte k.
    c.quantityCode = d[0];
    c.unitCode = d[1];
    c.channelType = d[2];
    int16_t low = ReadS16BE(d + 4);
    int16_t high = ReadS16BE(d + 6);
    if (link == LinkKind::Hid) {
        low = static_cast<int16_t>(low * 10);
        high = static_cast<int16_t>(high * 10);
    }
    c.rangeLowX10 = low;
    c.rangeHighX10 = high;
    c.alarmEnabled = d[12];
    c.lowerAlarmX10 = ReadS16BE(d + 14);
    c.upperAlarmX10 = ReadS16BE(d + 16);
}

}  // namespace velorin
