// Decoding the information block, the identity and a channel's settings into DeviceInfo.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "device/device_info.h"
#include "support/logger_data.h"

namespace velorin {
namespace {

using test::ChannelData;
using test::IdentityData;
using test::InfoData;

const Texts& English() { return TextsFor(Language::English); }
const Texts& Chinese() { return TextsFor(Language::Chinese); }

DeviceInfo Decoded(const InfoData& block, const Texts& texts) {
    DeviceInfo info;
    DecodeInfoBlock(info, block.Bytes().data(), texts);
    return info;
}

// The whole field after the text is zero.
template <size_t N>
bool ZeroAfter(const char (&field)[N], size_t used) {
    for (size_t i = used; i < N; ++i) {
        if (field[i] != 0) return false;
    }
    return true;
}

TEST(InfoBlockDecoding, ChannelMaskFiveEnablesChannelsOneAndThree) {
    InfoData block;
    block.channelMask = 0x05;
    const DeviceInfo info = Decoded(block, English());
    const int32_t expected[kChannelCount] = {1, 0, 1, 0, 0, 0, 0, 0};
    for (int i = 0; i < kChannelCount; ++i) EXPECT_EQ(info.channel[i].channelEnabled, expected[i]) << i;

    int32_t flags[kChannelCount];
    UnpackChannelMask(0x80, flags);
    for (int i = 0; i < kChannelCount; ++i) EXPECT_EQ(flags[i], i == 7 ? 1 : 0) << i;
}

TEST(InfoBlockDecoding, StartModeZeroIsPcStart) {
    InfoData block;
    block.startMode = 0;
    EXPECT_EQ(ReadField(Decoded(block, Chinese()).startMode), Utf8ToGbk("PC启动"));
    EXPECT_EQ(ReadField(Decoded(block, English()).startMode), "PCStart");
    block.startMode = 5;
    EXPECT_EQ(ReadField(Decoded(block, English()).startMode), "PCStart");
    block.startMode = 4;
    EXPECT_EQ(ReadField(Decoded(block, English()).startMode), "PCStart");
}

TEST(InfoBlockDecoding, StopModesZeroNineAndManualStopAreRecordCountStop) {
    for (uint8_t code : {0, 9, 4}) {
        InfoData block;
        block.stopMode = code;
        EXPECT_EQ(ReadField(Decoded(block, Chinese()).stopMode), Utf8ToGbk("记录次数停止")) << int(code);
        EXPECT_EQ(ReadField(Decoded(block, English()).stopMode), "REC num stop") << int(code);
    }
}

TEST(InfoBlockDecoding, EnglishLabelsAreCutToTheirFields) {
    InfoData block;
    block.workState = 1;
    block.startMode = 2;
    block.stopMode = 1;
    DeviceInfo info = Decoded(block, English());
    EXPECT_EQ(ReadField(info.workState), "Recordin");
    EXPECT_EQ(ReadField(info.startMode), "TimedSta");
    EXPECT_EQ(ReadField(info.stopMode), "Memory full ");
    EXPECT_TRUE(ZeroAfter(info.startMode, 8));
    EXPECT_TRUE(ZeroAfter(info.stopMode, 12));

    block.startMode = 1;
    EXPECT_EQ(ReadField(Decoded(block, English()).startMode), "RestartN");
    block.startMode = 3;
    EXPECT_EQ(ReadField(Decoded(block, English()).startMode), "HandStar");
}

TEST(InfoBlockDecoding, ChineseLabelsFitWhole) {
    InfoData block;
    block.recordMode = 0;
    block.workState = 0;
    block.startMode = 2;
    block.stopMode = 1;
    const DeviceInfo info = Decoded(block, Chinese());
    EXPECT_EQ(ReadField(info.recordMode), Utf8ToGbk("手动模式"));
    EXPECT_EQ(ReadField(info.workState), Utf8ToGbk("停止状态"));
    EXPECT_EQ(ReadField(info.startMode), Utf8ToGbk("定时启动"));
    EXPECT_EQ(ReadField(info.stopMode), Utf8ToGbk("存储器满停止"));  // 12 bytes in 13
}

TEST(InfoBlockDecoding, AShorterLabelLeavesNothingOfTheLongerOne) {
    InfoData block;
    block.workState = 1;
    block.stopMode = 1;
    DeviceInfo info = Decoded(block, English());
    block.workState = 0;
    block.stopMode = 3;
    DecodeInfoBlock(info, block.Bytes().data(), English());
    EXPECT_EQ(ReadField(info.workState), "STOP");
    EXPECT_TRUE(ZeroAfter(info.workState, 4));
    EXPECT_EQ(ReadField(info.stopMode), "fifo");
    EXPECT_TRUE(ZeroAfter(info.stopMode, 4));
}

TEST(InfoBlockDecoding, IntervalIsSplitIntoHoursMinutesSeconds) {
    InfoData block;
    block.intervalSeconds = 3725;
    DeviceInfo info = Decoded(block, English());
    EXPECT_EQ(info.recordIntervalSeconds, 3725);
    EXPECT_EQ(info.intervalHours, 1);
    EXPECT_EQ(info.intervalMinutes, 2);
    EXPECT_EQ(info.intervalSeconds, 5);

    block.intervalSeconds = 0x00015F90;  // 90000 s: all four bytes count
    info = Decoded(block, English());
    EXPECT_EQ(info.intervalHours, 25);
    EXPECT_EQ(info.intervalMinutes, 0);
    EXPECT_EQ(info.intervalSeconds, 0);
}

TEST(InfoBlockDecoding, TimesAreFormattedAsDateAndClock) {
    const DeviceInfo info = Decoded(InfoData{}, English());
    EXPECT_STREQ(info.startTime, "2024-03-07 08:05:00");
    EXPECT_STREQ(info.timedStartTime, "2025-01-02 03:04:05");
    EXPECT_STREQ(info.timedStopTime, "2025-12-31 23:59:59");
}

TEST(InfoBlockDecoding, OutOfRangeTimeBytesStillGiveATerminatedText) {
    InfoData block;
    std::memset(block.startTime, 0xFF, sizeof block.startTime);
    const DeviceInfo info = Decoded(block, English());
    EXPECT_STREQ(info.startTime, "2255-255-255 255:255:255");
}

TEST(InfoBlockDecoding, CountsPowerModeAndTextFields) {
    InfoData block;
    block.userName = std::string(30, 'N');
    block.title = "T";
    const DeviceInfo info = Decoded(block, English());
    EXPECT_EQ(info.storedRecordCount, 5000);
    EXPECT_EQ(info.overflowCount, 7);  // the logger's own byte until the identity is applied
    EXPECT_EQ(info.powerMode, 0x80);
    EXPECT_EQ(std::string(info.userName, 30), std::string(30, 'N'));
    EXPECT_EQ(info.userName[30], '\0');
    EXPECT_STREQ(info.title, "T");
}

TEST(InfoBlockDecoding, AFullUserNameDoesNotRunIntoTheTitle) {
    DeviceInfo info;
    std::memset(info.userName, 'x', sizeof info.userName);  // garbage from an earlier life
    InfoData block;
    block.userName = std::string(30, 'U');
    DecodeInfoBlock(info, block.Bytes().data(), English());
    EXPECT_EQ(ReadField(info.userName), std::string(30, 'U'));
}

TEST(IdentityApplication, CopiesModelSerialFirmwareAndCapacity) {
    DeviceInfo info;
    std::memset(info.serialNumber, 'z', sizeof info.serialNumber);
    ApplyIdentity(info, IdentityData{}.Bytes().data());
    EXPECT_EQ(std::memcmp(info.model, "KV-T8CH1", 8), 0);  // fills its field, no terminator
    EXPECT_EQ(ReadField(info.model), "KV-T8CH1");
    EXPECT_STREQ(info.serialNumber, "SN123456");
    EXPECT_EQ(info.firmwareVersion, 11);
    EXPECT_EQ(info.storageCapacity, 4000);
}

TEST(IdentityApplication, OverflowIsWhatExceedsTheCapacity) {
    DeviceInfo info = Decoded(InfoData{}, English());  // 5000 records, logger says 7
    IdentityData identity;
    identity.capacity = 4000;
    ApplyIdentity(info, identity.Bytes().data());
    EXPECT_EQ(info.overflowCount, 1000);

    info.storedRecordCount = 3999;
    ApplyIdentity(info, identity.Bytes().data());
    EXPECT_EQ(info.overflowCount, 0);
    info.storedRecordCount = 4000;
    ApplyIdentity(info, identity.Bytes().data());
    EXPECT_EQ(info.overflowCount, 0);
}

uint8_t (&Settings(const ChannelData& c, uint8_t (&out)[kChannelDataBytes]))[kChannelDataBytes] {
    const std::vector<uint8_t> bytes = c.Bytes();
    std::memcpy(out, bytes.data() + 1, kChannelDataBytes);
    return out;
}

TEST(ChannelApplication, SerialLimitsAreStoredAsSent) {
    DeviceInfo info;
    uint8_t data[kChannelDataBytes];
    ApplyChannel(info, 2, Settings(ChannelData{}, data), LinkKind::Serial);
    const ChannelInfo& c = info.channel[2];
    EXPECT_EQ(c.quantityCode, 1);
    EXPECT_EQ(c.unitCode, 1);
    EXPECT_EQ(c.channelType, 0x12);
    EXPECT_EQ(c.rangeLowX10, -400);
    EXPECT_EQ(c.rangeHighX10, 850);
    EXPECT_EQ(c.alarmEnabled, 1);
    EXPECT_EQ(c.lowerAlarmX10, -125);
    EXPECT_EQ(c.upperAlarmX10, 300);
}

TEST(ChannelApplication, HidRangeLimitsAreWholeUnitsAndBecomeTenths) {
    DeviceInfo info;
    ChannelData c;
    c.rangeLow = -40;
    c.rangeHigh = 85;
    uint8_t data[kChannelDataBytes];
    ApplyChannel(info, 0, Settings(c, data), LinkKind::Hid);
    EXPECT_EQ(info.channel[0].rangeLowX10, -400);
    EXPECT_EQ(info.channel[0].rangeHighX10, 850);
    EXPECT_EQ(info.channel[0].lowerAlarmX10, -125);  // alarm limits are tenths on both links
    EXPECT_EQ(info.channel[0].upperAlarmX10, 300);
}

TEST(ChannelApplication, AnIndexOutsideTheEightChannelsChangesNothing) {
    DeviceInfo info;
    uint8_t data[kChannelDataBytes];
    ApplyChannel(info, -1, Settings(ChannelData{}, data), LinkKind::Serial);
    ApplyChannel(info, kChannelCount, data, LinkKind::Serial);
    for (const ChannelInfo& c : info.channel) EXPECT_EQ(c.rangeLowX10, 0);
}

}  // namespace
}  // namespace velorin
