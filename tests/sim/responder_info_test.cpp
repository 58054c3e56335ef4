// Information, identity, channel and live replies as the program decodes them.
#include <gtest/gtest.h>

#include <cstring>

#include "civil_time.h"
#include "kvusb.h"
#include "logger_state.h"
#include "responder.h"
#include "sim_test_support.h"

namespace {

using simtest::Bytes;
using simtest::Request;
using namespace velorin::sim;

class sim_InfoReplies : public ::testing::Test {
protected:
    void SetUp() override {
        state = DefaultLoggerState(simtest::FixedNow());
        state.recordCount = 1234;
        state.intervalSeconds = 3725;
        state.overflowByte = 7;
        state.powerMode = 0x80;
        state.recordMode = 0;
        state.workState = 1;
        state.startMode = 2;
        state.stopMode = 3;
        ASSERT_TRUE(ParseCivil("2024-03-07 08:05:00", &state.startTime));
        ASSERT_TRUE(ParseCivil("2025-12-31 23:59:58", &state.timedStart));
        ASSERT_TRUE(ParseCivil("2099-01-02 03:04:05", &state.timedStop));
        // GBK bytes for "冷库" in the title must travel unchanged.
        SetFixedText(state.title, kTextFieldBytes, "\xC0\xE4\xBF\xE2 3");
    }

    Bytes Serial(const Bytes& request) {
        return RespondSerial(state, request.data(), request.size(), simtest::FixedNow());
    }

    LoggerState state;
};

TEST_F(sim_InfoReplies, InfoQueryReplyHoldsTheStateAtTheDocumentedOffsets) {
    const Bytes request = {0x3C, 0x00, 0x01, 0x00, 0x02, 0x3F, 0x3E};
    const Bytes reply = Serial(request);
    ASSERT_TRUE(simtest::IsFullReply(reply));
    ASSERT_GE(reply.size(), 113u);
    EXPECT_EQ(reply[1], 0x00);
    EXPECT_EQ(reply[2], 0x01);
    const uint8_t* d = reply.data() + 5;
    EXPECT_EQ(0, std::memcmp(d + 0, "Velorin demo\0\0", 14));
    EXPECT_EQ(0, std::memcmp(d + 30, "\xC0\xE4\xBF\xE2 3\0", 7));
    EXPECT_EQ(d[63], 0);     // record mode
    EXPECT_EQ(d[64], 1);     // work state
    EXPECT_EQ(d[65], 2);     // start mode
    EXPECT_EQ(d[66], 3);     // stop mode
    EXPECT_EQ(d[68], 0x80);  // power mode
    EXPECT_EQ(simtest::U32(d + 69), 3725u);
    EXPECT_EQ(d[73], 7);
    EXPECT_EQ(d[74], 0x0F);  // channels 1–4
    const uint8_t start[6] = {24, 3, 7, 8, 5, 0};
    const uint8_t timedStart[6] = {25, 12, 31, 23, 59, 58};
    const uint8_t timedStop[6] = {99, 1, 2, 3, 4, 5};
    EXPECT_EQ(0, std::memcmp(d + 75, start, 6));
    EXPECT_EQ(0, std::memcmp(d + 81, timedStart, 6));
    EXPECT_EQ(0, std::memcmp(d + 87, timedStop, 6));
    EXPECT_EQ(simtest::U32(d + 99), 1234u);
}

TEST_F(sim_InfoReplies, ReplyRepeatsTheRequestAddress) {
    const Bytes reply = Serial(Request(0x06, {}, 0x5A));
    ASSERT_TRUE(simtest::IsFullReply(reply));
    EXPECT_EQ(reply[1], 0x5A);
}

TEST_F(sim_InfoReplies, ChannelMaskFollowsEnabledChannels) {
    for (ChannelConfig& c : state.channels) c.enabled = false;
    state.channels[0].enabled = true;
    state.channels[2].enabled = true;
    const Bytes reply = Serial(Request(0x01));
    ASSERT_TRUE(simtest::IsFullReply(reply));
    EXPECT_EQ(reply[5 + 74], 0x05);
}

TEST_F(sim_InfoReplies, IdentityQueryCarriesModelSerialFirmwareAndCapacity) {
    const Bytes reply = Serial(Request(0x06));
    ASSERT_TRUE(simtest::IsFullReply(reply));
    const uint8_t* d = reply.data() + 5;
    EXPECT_EQ(0, std::memcmp(d + 0, "VLR-T810", 8));
    EXPECT_EQ(0, std::memcmp(d + 9, "20261209", 8));
    EXPECT_EQ(d[19], 11);
    EXPECT_EQ(simtest::U32(d + 20), 32000u);
}

TEST_F(sim_InfoReplies, ChannelQueryGivesRangeInTenthsOverSerialAndUnitsOverUsb) {
    ChannelConfig& c = state.channels[2];
    c.quantity = 1;
    c.unit = 1;
    c.type = 0x22;
    c.alarm = true;
    c.rangeLowX10 = -400;
    c.rangeHighX10 = 855;
    c.lowerAlarmX10 = -105;
    c.upperAlarmX10 = 400;

    const Bytes reply = Serial(Request(0x02, {3}));
    ASSERT_TRUE(simtest::IsFullReply(reply));
    // The program copies channel data 1..20.
    ASSERT_GE(reply.size(), 6u + 20u + 2u);
    const uint8_t* d = reply.data() + 5;
    EXPECT_EQ(d[1], 1);
    EXPECT_EQ(d[2], 1);
    EXPECT_EQ(d[3], 0x22);
    EXPECT_EQ(simtest::S16(d + 5), -400);
    EXPECT_EQ(simtest::S16(d + 7), 855);
    EXPECT_EQ(d[13], 1);
    EXPECT_EQ(simtest::S16(d + 15), -105);
    EXPECT_EQ(simtest::S16(d + 17), 400);

    uint8_t report[64];
    ASSERT_TRUE(ReadUsbReport(state, KVUSB_SELECTOR_READ, (0x02u << 16) | 2, simtest::FixedNow(), report));
    ASSERT_GE(report[0], 21);
    const uint8_t* u = report + 1;
    EXPECT_EQ(u[3], 0x22);
    EXPECT_EQ(simtest::S16(u + 5), -40);
    EXPECT_EQ(simtest::S16(u + 7), 85);
    EXPECT_EQ(simtest::S16(u + 15), -105);  // alarm limits stay in tenths
    EXPECT_EQ(simtest::S16(u + 17), 400);
}

TEST_F(sim_InfoReplies, ChannelQueryOutsideOneToEightIsIgnored) {
    EXPECT_TRUE(Serial(Request(0x02, {0})).empty());
    EXPECT_TRUE(Serial(Request(0x02, {9})).empty());
    uint8_t report[64];
    EXPECT_FALSE(ReadUsbReport(state, KVUSB_SELECTOR_READ, (0x02u << 16) | 8, 0, report));
}

TEST_F(sim_InfoReplies, UsbInfoPartsReassembleIntoTheSerialInfoData) {
    const Bytes serial = Serial(Request(0x01));
    ASSERT_TRUE(simtest::IsFullReply(serial));
    const Bytes infoData(serial.begin() + 5, serial.end() - 2);

    uint8_t part0[64];
    uint8_t part1[64];
    ASSERT_TRUE(ReadUsbReport(state, KVUSB_SELECTOR_READ, 0x01u << 16, simtest::FixedNow(), part0));
    ASSERT_TRUE(ReadUsbReport(state, KVUSB_SELECTOR_READ, (0x01u << 16) | (1u << 8), simtest::FixedNow(), part1));
    EXPECT_EQ(part0[0], 63);
    ASSERT_LE(part1[0], 63);
    Bytes block(part0 + 1, part0 + 1 + part0[0]);
    block.insert(block.end(), part1 + 1, part1 + 1 + part1[0]);
    ASSERT_GE(block.size(), 103u);
    EXPECT_EQ(block, infoData);

    uint8_t part2[64];
    EXPECT_FALSE(ReadUsbReport(state, KVUSB_SELECTOR_READ, (0x01u << 16) | (2u << 8), 0, part2));
}

TEST_F(sim_InfoReplies, SecondaryReportCarriesOverLimitIndexAtByte13) {
    state.overLimitIndex = 9;
    uint8_t report[64];
    ASSERT_TRUE(ReadUsbReport(state, KVUSB_SELECTOR_SECONDARY, 0x01u << 16, 0, report));
    EXPECT_EQ(report[13], 9);
}

TEST_F(sim_InfoReplies, UsbIdentityIsThePayloadOfTheSerialReply) {
    const Bytes serial = Serial(Request(0x06));
    uint8_t report[64];
    ASSERT_TRUE(ReadUsbReport(state, KVUSB_SELECTOR_READ, 0x06u << 16, 0, report));
    ASSERT_EQ(report[0], serial.size() - 7);
    EXPECT_EQ(0, std::memcmp(report + 1, serial.data() + 5, report[0]));
}

TEST_F(sim_InfoReplies, LiveReadingIs24BytesWithScaledValuesOfEnabledChannels) {
    state.channels[5].enabled = false;
    const Bytes request = {0x3C, 0x00, 0x05, 0x00, 0x03, 0x00, 0x44, 0x3E};
    const Bytes reply = Serial(request);
    ASSERT_EQ(reply.size(), 24u);
    ASSERT_TRUE(simtest::IsFullReply(reply));
    EXPECT_EQ(reply[2], 0x05);
    const double temperature = simtest::S16(reply.data() + 6) / 10.0;       // type 0x02
    const double humidity = simtest::S16(reply.data() + 8) / 10.0;          // type 0x02
    const double temperature100 = simtest::S16(reply.data() + 10) / 100.0;  // type 0x22
    const double pressure = simtest::S16(reply.data() + 12) / 10.0;         // 4-byte channel, tenths
    EXPECT_NEAR(temperature, 22.5, 3.5);
    EXPECT_NEAR(humidity, 50.0, 12.0);
    EXPECT_NEAR(temperature100, 22.5, 3.5);
    EXPECT_NEAR(pressure, 101.3, 1.0);
    EXPECT_EQ(simtest::S16(reply.data() + 16), 0);  // channel 6 disabled

    uint8_t report[64];
    ASSERT_TRUE(ReadUsbReport(state, KVUSB_SELECTOR_READ, 0x50000, simtest::FixedNow(), report));
    EXPECT_EQ(0, std::memcmp(report, reply.data(), reply.size()));  // same layout, same offsets
}

TEST_F(sim_InfoReplies, MalformedRequestsGetNoReply) {
    Bytes bad = Request(0x01);
    bad[5] ^= 0x01;  // checksum
    EXPECT_TRUE(Serial(bad).empty());
    Bytes wrongEnd = Request(0x01);
    wrongEnd.back() = 0x29;
    EXPECT_TRUE(Serial(wrongEnd).empty());
    EXPECT_TRUE(Serial(Request(0x42)).empty());       // unknown command
    EXPECT_TRUE(Serial(Request(0x01, {0})).empty());  // data where none belongs
    const Bytes truncated = {0x3C, 0x00, 0x01};
    EXPECT_TRUE(Serial(truncated).empty());
    uint8_t report[64];
    EXPECT_FALSE(ReadUsbReport(state, KVUSB_SELECTOR_READ, 0x42u << 16, 0, report));
    EXPECT_FALSE(ReadUsbReport(state, KVUSB_SELECTOR_WRITE, 0x01u << 16, 0, report));
}

}  // namespace
