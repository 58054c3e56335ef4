// Configuration requests: acknowledgements the program accepts and their effect on the next reads.
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

class sim_Config : public ::testing::Test {
protected:
    void SetUp() override { state = DefaultLoggerState(simtest::FixedNow()); }

    Bytes Serial(const Bytes& request, int64_t now = simtest::FixedNow()) {
        return RespondSerial(state, request.data(), request.size(), now);
    }
    Bytes InfoData() {
        const Bytes reply = Serial(Request(0x01));
        EXPECT_TRUE(simtest::IsFullReply(reply));
        return Bytes(reply.begin() + 5, reply.end() - 2);
    }
    Bytes ChannelData(uint8_t channel) {
        const Bytes reply = Serial(Request(0x02, {channel}));
        EXPECT_TRUE(simtest::IsFullReply(reply));
        return Bytes(reply.begin() + 5, reply.end() - 2);
    }
    bool UsbWrite(const uint8_t report[64], uint8_t command) {
        return WriteUsbReport(state, KVUSB_SELECTOR_WRITE, static_cast<uint32_t>(command) << 16, report,
                              simtest::FixedNow());
    }
    bool UsbWriteFrame(const Bytes& frame) {
        uint8_t report[64] = {};
        std::memcpy(report, frame.data(), frame.size());
        return UsbWrite(report, frame[2]);
    }

    static bool IsSevenByteAck(const Bytes& reply, uint8_t command) {
        return reply.size() == 7 && reply[0] == 0x28 && reply[2] == command && reply[6] == 0x29 &&
               simtest::IsFullReply(reply);
    }

    LoggerState state;
};

TEST_F(sim_Config, UserTitleIsAcknowledgedAndReadBack) {
    Bytes data(60, 0);
    std::memcpy(data.data(), "Ops", 3);
    std::memcpy(data.data() + 30, "\xB1\xF9\xCF\xE4", 4);  // GBK
    const Bytes request = Request(0x11, data);
    ASSERT_EQ(request.size(), 67u);
    EXPECT_TRUE(IsSevenByteAck(Serial(request), 0x11));
    const Bytes info = InfoData();
    EXPECT_EQ(0, std::memcmp(info.data(), data.data(), 60));
}

TEST_F(sim_Config, StartModeImmediateAndTimedAckWithEightBytesManualWithSeven) {
    const Bytes immediate = Serial(Request(0x14, {0x01}));
    ASSERT_EQ(immediate.size(), 8u);
    EXPECT_TRUE(simtest::IsFullReply(immediate));
    EXPECT_EQ(InfoData()[65], 1);

    const Bytes timed = Serial(Request(0x14, {0x02, 26, 4, 1, 6, 30, 0}));
    ASSERT_EQ(timed.size(), 8u);
    Bytes info = InfoData();
    EXPECT_EQ(info[65], 2);
    const uint8_t when[6] = {26, 4, 1, 6, 30, 0};
    EXPECT_EQ(0, std::memcmp(info.data() + 81, when, 6));

    EXPECT_TRUE(IsSevenByteAck(Serial(Request(0x14, {0x03})), 0x14));
    EXPECT_EQ(InfoData()[65], 3);
}

TEST_F(sim_Config, InvalidStartAndStopRequestsChangeNothing) {
    EXPECT_TRUE(Serial(Request(0x14, {0x02})).empty());                      // no time
    EXPECT_TRUE(Serial(Request(0x14, {0x02, 26, 13, 1, 0, 0, 0})).empty());  // month 13
    EXPECT_TRUE(Serial(Request(0x14, {0x07})).empty());
    EXPECT_TRUE(Serial(Request(0x15, {0x02, 26, 2, 30, 0, 0, 0})).empty());  // 30 February
    EXPECT_TRUE(Serial(Request(0x15, {0x00})).empty());
    const Bytes info = InfoData();
    EXPECT_EQ(info[65], 1);
    EXPECT_EQ(info[66], 1);
}

TEST_F(sim_Config, StopModesIncludingTimedAndManual) {
    EXPECT_TRUE(IsSevenByteAck(Serial(Request(0x15, {0x02, 99, 12, 31, 23, 59, 59})), 0x15));
    Bytes info = InfoData();
    EXPECT_EQ(info[66], 2);
    const uint8_t when[6] = {99, 12, 31, 23, 59, 59};
    EXPECT_EQ(0, std::memcmp(info.data() + 87, when, 6));
    EXPECT_TRUE(IsSevenByteAck(Serial(Request(0x15, {0x04})), 0x15));
    EXPECT_EQ(InfoData()[66], 4);
}

TEST_F(sim_Config, RecordIntervalPowerAndRecordMode) {
    const Bytes interval = Serial(Request(0x16, {0x00, 0x00, 0x0E, 0x10}));
    ASSERT_GE(interval.size(), 7u);
    EXPECT_EQ(interval[0], 0x28);
    EXPECT_EQ(interval[6], 0x29);
    EXPECT_TRUE(IsSevenByteAck(Serial(Request(0x20, {0x80})), 0x20));
    EXPECT_TRUE(IsSevenByteAck(Serial(Request(0x21, {0x00})), 0x21));
    const Bytes info = InfoData();
    EXPECT_EQ(simtest::U32(info.data() + 69), 3600u);
    EXPECT_EQ(info[68], 0x80);
    EXPECT_EQ(info[63], 0);

    EXPECT_TRUE(Serial(Request(0x16, {0, 0, 0, 0})).empty());  // a zero interval cannot record
    EXPECT_TRUE(Serial(Request(0x20, {0x05})).empty());
    EXPECT_TRUE(Serial(Request(0x21, {0x02})).empty());
    EXPECT_EQ(simtest::U32(InfoData().data() + 69), 3600u);
}

TEST_F(sim_Config, AlarmLimitsCoverEnabledChannelsOneToSixInOrder) {
    state.channels[1].enabled = false;               // enabled among 1..6: channels 1, 3, 4
    const Bytes data = {1, 0xFF, 0xFB, 0x00, 0x7B,   // channel 1: −0.5 .. 12.3
                        0, 0x00, 0x0A, 0x01, 0x2C,   // channel 3: 1.0 .. 30.0, off
                        1, 0x80, 0x00, 0x7F, 0xFF};  // channel 4: extremes
    EXPECT_TRUE(IsSevenByteAck(Serial(Request(0x1F, data)), 0x1F));
    Bytes c1 = ChannelData(1);
    EXPECT_EQ(c1[13], 1);
    EXPECT_EQ(simtest::S16(c1.data() + 15), -5);
    EXPECT_EQ(simtest::S16(c1.data() + 17), 123);
    Bytes c3 = ChannelData(3);
    EXPECT_EQ(c3[13], 0);
    EXPECT_EQ(simtest::S16(c3.data() + 15), 10);
    EXPECT_EQ(simtest::S16(c3.data() + 17), 300);
    Bytes c4 = ChannelData(4);
    EXPECT_EQ(simtest::S16(c4.data() + 15), -32768);
    EXPECT_EQ(simtest::S16(c4.data() + 17), 32767);
}

TEST_F(sim_Config, AlarmLimitsForAnotherChannelSetAreRefused) {
    const Bytes before = ChannelData(1);
    EXPECT_TRUE(Serial(Request(0x1F, {1, 0, 1, 0, 2})).empty());  // four channels are enabled
    EXPECT_EQ(ChannelData(1), before);
    for (ChannelConfig& c : state.channels) c.enabled = false;
    const Bytes empty = Serial({0x3C, 0x00, 0x1F, 0x00, 0x02, 0x5D, 0x3E});
    EXPECT_TRUE(IsSevenByteAck(empty, 0x1F));
}

TEST_F(sim_Config, ClearAndRestartEmptiesTheHistoryAndRestartsNow) {
    state.workState = 0;
    state.overflowByte = 9;
    const int64_t now = simtest::FixedNow() + 3600;
    EXPECT_TRUE(IsSevenByteAck(Serial(Request(0x1E), now), 0x1E));
    const Bytes info = InfoData();
    EXPECT_EQ(simtest::U32(info.data() + 99), 0u);
    EXPECT_EQ(info[73], 0);
    EXPECT_EQ(info[64], 1);
    uint8_t expected[6];
    WriteTimeBytes(now, expected);
    EXPECT_EQ(0, std::memcmp(info.data() + 75, expected, 6));
    const Bytes count = Serial(Request(0x19));
    ASSERT_EQ(count.size(), 9u);
    EXPECT_EQ(count[5], 0);
    EXPECT_EQ(count[6], 0);
}

TEST_F(sim_Config, StopRecordingSetsWorkStateZero) {
    const Bytes reply = Serial({0x3C, 0x00, 0x1D, 0x00, 0x02, 0x5B, 0x3E});
    EXPECT_TRUE(IsSevenByteAck(reply, 0x1D));
    EXPECT_EQ(InfoData()[64], 0);
}

TEST_F(sim_Config, SetClockMovesTheLoggerClock) {
    EXPECT_TRUE(IsSevenByteAck(Serial(Request(0x1E)), 0x1E));
    // Set the clock one day ahead of the host: a restart afterwards starts on the logger's clock.
    uint8_t when[6];
    WriteTimeBytes(simtest::FixedNow() + 86400, when);
    EXPECT_TRUE(IsSevenByteAck(Serial(Request(0x13, Bytes(when, when + 6))), 0x13));
    EXPECT_EQ(0, std::memcmp(InfoData().data() + 75, when, 6));
    EXPECT_TRUE(Serial(Request(0x13, {26, 2, 29, 0, 0, 0})).empty());  // 2026 is no leap year
}

TEST_F(sim_Config, UsbWritesCarryTheFrameAndTheTwoSpecialBuffers) {
    EXPECT_TRUE(UsbWriteFrame(Request(0x20, {0x80})));
    EXPECT_TRUE(UsbWriteFrame({0x3C, 0x00, 0x1D, 0x00, 0x02, 0x5B, 0x3E}));
    const Bytes info = InfoData();
    EXPECT_EQ(info[68], 0x80);
    EXPECT_EQ(info[64], 0);

    uint8_t title[64] = {};
    title[0] = '<';
    std::memcpy(title + 1, "USB user", 8);
    std::memcpy(title + 31, "USB title", 9);
    EXPECT_TRUE(UsbWrite(title, 0x11));
    uint8_t interval[64] = {};
    const uint8_t layout[11] = {'<', 0x00, 0x00, 0x0E, 0x10, 8, 0, 0, 0, 255, '>'};
    std::memcpy(interval, layout, sizeof layout);
    EXPECT_TRUE(UsbWrite(interval, 0x16));
    const Bytes after = InfoData();
    EXPECT_EQ(0, std::memcmp(after.data(), "USB user\0", 9));
    EXPECT_EQ(0, std::memcmp(after.data() + 30, "USB title\0", 10));
    EXPECT_EQ(simtest::U32(after.data() + 69), 3600u);
    EXPECT_EQ(state.overLimitIndex, 8);
}

TEST_F(sim_Config, UsbWritesThatDoNotMatchTheirCallCodeAreRefused) {
    uint8_t report[64] = {};
    const Bytes power = Request(0x20, {0x80});
    std::memcpy(report, power.data(), power.size());
    EXPECT_FALSE(UsbWrite(report, 0x21));  // call code names another command
    report[power.size() - 2] ^= 1;
    EXPECT_FALSE(UsbWrite(report, 0x20));  // bad checksum
    EXPECT_FALSE(WriteUsbReport(state, KVUSB_SELECTOR_READ, 0x20u << 16, report, 0));
    uint8_t interval[64] = {'<', 0, 0, 0x0E, 0x10, 14, 0, 0, 0, 255, '>'};
    EXPECT_FALSE(UsbWrite(interval, 0x16));  // index beyond the 14 choices
    interval[5] = 2;
    interval[9] = 0;
    EXPECT_FALSE(UsbWrite(interval, 0x16));  // marker byte missing
    EXPECT_EQ(InfoData()[68], 1);
    EXPECT_EQ(simtest::U32(InfoData().data() + 69), 60u);
}

}  // namespace
