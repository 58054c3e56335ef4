// The configuration requests on a link: attempts and acceptance over a scripted serial logger,
// what each success changes in DeviceInfo and what each failure says, and the USB link with its
// special buffers and the rules for a missing device.
#include <gtest/gtest.h>

#include <string>

#include "common/date_time.h"
#include "common/language.h"
#include "config/config_requests.h"
#include "config/config_test_support.h"
#include "config/config_texts.h"
#include "support/fake_kvusb.h"
#include "support/recorded_messages.h"

namespace velorin {
namespace {

using test::Ack;
using test::Bytes;
using test::LoggerAck;
using test::ScriptedLogger;

using test::BoxTexts;
using test::T;

Bytes Silence(const test::PtyPeer::Request&, size_t) { return {}; }

TEST(ConfigRequestsSerial, SendConfigRequestStopsAtTheFirstAcceptedReplyOrAfterItsAttempts) {
    ScriptedLogger logger([](const test::PtyPeer::Request& r, size_t i) { return i < 2 ? Bytes(7, 0x5A) : Ack(r); });
    ASSERT_TRUE(logger.Ok());
    Link& link = logger.link;
    const AngleFrame request = BuildPowerModeRequest(0, 0x80);
    EXPECT_TRUE(SendConfigRequest(link, request, 5, AcceptFramed7));
    EXPECT_EQ(logger.Requests().size(), 3u);
    EXPECT_FALSE(SendConfigRequest(link, request, 2, [](const ReplySeen&) { return false; }));
    EXPECT_EQ(logger.Requests().size(), 5u);
}

TEST(ConfigRequestsSerial, UserAndTitleAreTakenIntoDeviceInfoBeforeSending) {
    ScriptedLogger logger(Silence);
    ASSERT_TRUE(logger.Ok());
    Link& link = logger.link;
    DeviceInfo info = test::ConnectedInfo();
    test::RecordedMessages messages;

    EXPECT_FALSE(SetUserTitle(link, info, std::string(35, 'n'), "new title", messages));
    ASSERT_EQ(logger.Requests().size(), 5u);
    EXPECT_EQ(logger.Requests()[0], test::Of(BuildUserTitleRequest(0, std::string(30, 'n'), "new title")));
    EXPECT_EQ(BoxTexts(messages), std::vector<std::string>{Utf8ToGbk(T().userTitleFailed)});
    // Not undone by the failure.
    EXPECT_EQ(ReadField(info.userName), std::string(30, 'n'));
    EXPECT_EQ(ReadField(info.title), "new title");
}

TEST(ConfigRequestsSerial, IntervalChangesOnlyTheSplitAndFailsWithItsText) {
    ScriptedLogger logger([](const test::PtyPeer::Request& r, size_t i) { return i == 0 ? Ack(r) : Bytes{}; });
    ASSERT_TRUE(logger.Ok());
    Link& link = logger.link;
    DeviceInfo info = test::ConnectedInfo();
    test::RecordedMessages messages;

    EXPECT_TRUE(SetRecordInterval(link, info, 1, 2, 5, 3, messages));
    EXPECT_EQ(info.intervalHours, 1);
    EXPECT_EQ(info.intervalMinutes, 2);
    EXPECT_EQ(info.intervalSeconds, 5);
    EXPECT_EQ(info.recordIntervalSeconds, 60);
    EXPECT_EQ(logger.Requests()[0], test::Of(BuildIntervalRequest(0, 3725)));

    EXPECT_FALSE(SetRecordInterval(link, info, 0, 0, 30, 0, messages));
    EXPECT_EQ(logger.Requests().size(), 6u);
    EXPECT_EQ(info.intervalSeconds, 5);
    EXPECT_EQ(BoxTexts(messages), std::vector<std::string>{Utf8ToGbk(T().intervalFailed)});
}

TEST(ConfigRequestsSerial, StartModeAcceptsAFramedSevenByteAckAndFailsWhenNothingFits) {
    RecordModeSetting immediate;
    immediate.start = StartChoice::Immediate;
    {
        ScriptedLogger logger([](const test::PtyPeer::Request& r, size_t) { return Ack(r); });
        ASSERT_TRUE(logger.Ok());
        Link& link = logger.link;
        DeviceInfo info = test::ConnectedInfo(Language::English);
        test::RecordedMessages messages;
        EXPECT_TRUE(SetStartMode(link, info, immediate, messages));
        EXPECT_EQ(logger.Requests().size(), 1u);
        EXPECT_EQ(ReadField(info.startMode), Utf8ToGbk(T().startImmediate));
    }
    {
        // Seven bytes that are no acknowledgement: tried five times, then a failure.
        ScriptedLogger logger([](const test::PtyPeer::Request&, size_t) { return Bytes(7, 0x5A); });
        ASSERT_TRUE(logger.Ok());
        Link& link = logger.link;
        DeviceInfo info = test::ConnectedInfo(Language::English);
        const std::string before = ReadField(info.startMode);
        test::RecordedMessages messages;
        EXPECT_FALSE(SetStartMode(link, info, immediate, messages));
        EXPECT_EQ(logger.Requests().size(), 5u);
        EXPECT_EQ(BoxTexts(messages), std::vector<std::string>{Utf8ToGbk(T().startModeFailed)});
        EXPECT_EQ(ReadField(info.startMode), before);
    }
}

TEST(ConfigRequestsSerial, ManualRecordModeSendsStartThreeAndStopFour) {
    ScriptedLogger logger([](const test::PtyPeer::Request& r, size_t) { return LoggerAck(r); });
    ASSERT_TRUE(logger.Ok());
    Link& link = logger.link;
    DeviceInfo info = test::ConnectedInfo();
    test::RecordedMessages messages;
    RecordModeSetting manual;
    manual.automatic = false;
    manual.start = StartChoice::Timed;  // not read in manual mode
    manual.stop = StopChoice::Timed;

    EXPECT_TRUE(SetRecordMode(link, info, manual, messages));
    const auto requests = logger.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0], test::Of(BuildRecordModeRequest(0, 0)));
    EXPECT_EQ(requests[1][2], cmd::SetStartMode);
    EXPECT_EQ(requests[1][5], 0x03);
    EXPECT_EQ(requests[1].size(), 8u);
    EXPECT_EQ(requests[2][2], cmd::SetStopMode);
    EXPECT_EQ(requests[2][5], 0x04);
    EXPECT_EQ(requests[2].size(), 8u);
    EXPECT_EQ(ReadField(info.recordMode), Utf8ToGbk(T().recordManual));
    EXPECT_EQ(ReadField(info.startMode), Utf8ToGbk(T().startManual));
    EXPECT_EQ(ReadField(info.stopMode), Utf8ToGbk(T().stopManual));
    EXPECT_TRUE(BoxTexts(messages).empty());
}

TEST(ConfigRequestsSerial, RecordModeStopsAtItsFirstFailure) {
    // The record mode fails: neither start nor stop is sent.
    ScriptedLogger logger(Silence);
    ASSERT_TRUE(logger.Ok());
    Link& link = logger.link;
    DeviceInfo info = test::ConnectedInfo();
    test::RecordedMessages messages;
    EXPECT_FALSE(SetRecordMode(link, info, RecordModeSetting{}, messages));
    EXPECT_EQ(logger.Commands(), Bytes(5, cmd::SetRecordMode));
    EXPECT_EQ(BoxTexts(messages), std::vector<std::string>{Utf8ToGbk(T().recordModeFailed)});
}

TEST(ConfigRequestsSerial, TimedModesCarryTheirTimeAndOtherChoicesSendNothing) {
    ScriptedLogger logger([](const test::PtyPeer::Request& r, size_t) { return LoggerAck(r); });
    ASSERT_TRUE(logger.Ok());
    Link& link = logger.link;
    DeviceInfo info = test::ConnectedInfo();
    test::RecordedMessages messages;
    RecordModeSetting s;
    s.start = StartChoice::Timed;
    s.stop = StopChoice::Timed;
    s.startTime = BcdTimeOf(CDealTime(2027, 3, 4, 5, 6, 7));
    s.stopTime = BcdTimeOf(CDealTime(2027, 3, 5, 18, 0, 0));
    EXPECT_TRUE(SetStartMode(link, info, s, messages));
    EXPECT_TRUE(SetStopMode(link, info, s, messages));
    const auto requests = logger.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(test::Slice(requests[0], 5, 12), (Bytes{2, 27, 3, 4, 5, 6, 7}));
    EXPECT_EQ(test::Slice(requests[1], 5, 12), (Bytes{2, 27, 3, 5, 18, 0, 0}));
    EXPECT_EQ(ReadField(info.timedStartTime), "2027-03-04 05:06:07");
    EXPECT_EQ(ReadField(info.timedStopTime), "2027-03-05 18:00:00");
    EXPECT_EQ(ReadField(info.stopMode), Utf8ToGbk(T().stopTimed));

    s.start = StartChoice::Other;
    s.stop = StopChoice::Other;
    EXPECT_TRUE(SetStartMode(link, info, s, messages));
    EXPECT_TRUE(SetStopMode(link, info, s, messages));
    EXPECT_EQ(logger.Requests().size(), 2u);
}

TEST(ConfigRequestsSerial, AlarmLimitsCoverRecordedChannelsOneToSix) {
    ScriptedLogger logger([](const test::PtyPeer::Request& r, size_t i) { return i == 0 ? Ack(r) : Bytes{}; });
    ASSERT_TRUE(logger.Ok());
    Link& link = logger.link;
    DeviceInfo info = test::ConnectedInfo();
    info.channel[6].channelEnabled = 1;  // channel 7 never takes part
    test::RecordedMessages messages;
    AlarmSetting s[6];
    for (int c = 0; c < 6; ++c) s[c] = {c % 2 == 0, static_cast<int16_t>(-10 * c), static_cast<int16_t>(100 + c)};

    EXPECT_TRUE(SetAlarmLimits(link, info, s, messages));
    const Bytes first = logger.Requests()[0];
    const Bytes data = test::Slice(first, 5, first.size() - 2);
    EXPECT_EQ(data, (Bytes{1, 0x00, 0x00, 0x00, 100, 0, 0xFF, 0xF6, 0x00, 101, 0, 0xFF, 0xE2, 0x00, 103}));
    EXPECT_EQ(info.channel[1].alarmEnabled, 0);
    EXPECT_EQ(info.channel[3].upperAlarmX10, 103);
    EXPECT_EQ(info.channel[2].upperAlarmX10, 0);  // not recorded: untouched

    // A failure keeps the switches that were taken over, but not the limits.
    s[0] = {false, -50, 50};
    EXPECT_FALSE(SetAlarmLimits(link, info, s, messages));
    EXPECT_EQ(info.channel[0].alarmEnabled, 0);
    EXPECT_EQ(info.channel[0].upperAlarmX10, 100);
    EXPECT_EQ(BoxTexts(messages), std::vector<std::string>{Utf8ToGbk(T().alarmFailed)});
}

TEST(ConfigRequestsSerial, ClockAndRestartAreSentOnceAndJudgedBySender) {
    ScriptedLogger logger([](const test::PtyPeer::Request&, size_t) { return Bytes{0x28, 0x00, 0x1E}; });
    ASSERT_TRUE(logger.Ok());
    Link& link = logger.link;
    DeviceInfo info = test::ConnectedInfo();
    info.overflowCount = 4;

    // The clock dialog wants seven bytes: the records are still there.
    EXPECT_FALSE(ClearAndRestart(link, info, ConfigSender::ClockDialog).accepted);
    EXPECT_EQ(info.storedRecordCount, 1000);
    // The wizard takes a first byte '(' whatever the length.
    EXPECT_TRUE(ClearAndRestart(link, info, ConfigSender::Wizard).accepted);
    EXPECT_EQ(info.storedRecordCount, 0);
    EXPECT_EQ(info.overflowCount, 0);

    const OnceResult clock = SetClock(link, ClockBytesOf(2031, 2, 3, 4, 5, 6), ConfigSender::ClockDialog);
    EXPECT_FALSE(clock.accepted);
    EXPECT_EQ(clock.clockFailureTexts, 1);
    EXPECT_EQ(logger.Commands(), (Bytes{0x1E, 0x1E, 0x13}));
}

// --- the USB link ------------------------------------------------------------------------------

class ConfigRequestsUsb : public ::testing::Test {
protected:
    void SetUp() override {
        link_.currentPort = HID_LINK_PORT;
        link_.hidHandle = test::FakeUsb::Handle();
    }
    std::vector<test::FakeUsbCall> Writes() const {
        std::vector<test::FakeUsbCall> out;
        for (const auto& c : usb_.Calls()) {
            if (c.kind == test::FakeUsbCall::Write) out.push_back(c);
        }
        return out;
    }
    Link link_;
    test::FakeUsb usb_{link_.usb};
    DeviceInfo info_ = test::ConnectedInfo();
    test::RecordedMessages messages_;
};

TEST_F(ConfigRequestsUsb, SpecialBuffersFramesAndCallCodes) {
    EXPECT_TRUE(SetUserTitle(link_, info_, "usb user", "usb title", messages_));
    EXPECT_TRUE(SetRecordInterval(link_, info_, 1, 0, 0, 8, messages_));
    EXPECT_TRUE(SetPowerMode(link_, info_, 0x80, messages_));
    const auto writes = Writes();
    ASSERT_EQ(writes.size(), 3u);
    for (const auto& w : writes) {
        EXPECT_EQ(w.selector, 0xED);
        EXPECT_EQ(w.length, 64);
    }
    uint8_t expected[64];
    BuildUsbUserTitle("usb user", "usb title", expected);
    EXPECT_EQ(writes[0].report, Bytes(expected, expected + 64));
    EXPECT_EQ(writes[0].callCode, 0x11u << 16);
    BuildUsbInterval(3600, 8, expected);
    EXPECT_EQ(writes[1].report, Bytes(expected, expected + 64));
    EXPECT_EQ(writes[1].callCode, 0x16u << 16);
    const AngleFrame power = BuildPowerModeRequest(0, 0x80);
    Bytes framed(power.bytes, power.bytes + power.length);
    framed.resize(64, 0);
    EXPECT_EQ(writes[2].report, framed);
    EXPECT_EQ(writes[2].callCode, 0x20u << 16);
    // Over USB, user name, title and interval stay as they were read; the power mode is taken.
    EXPECT_EQ(ReadField(info_.userName), "old user");
    EXPECT_EQ(info_.intervalMinutes, 1);
    EXPECT_EQ(info_.powerMode, 0x80);
}

TEST_F(ConfigRequestsUsb, RefusedWritesFailExceptTheInterval) {
    usb_.writeResult = 0;
    RecordModeSetting s;
    EXPECT_TRUE(SetRecordInterval(link_, info_, 0, 0, 30, 0, messages_));
    EXPECT_FALSE(SetStartMode(link_, info_, s, messages_));
    EXPECT_FALSE(SetUserTitle(link_, info_, "a", "b", messages_));
    EXPECT_FALSE(SetClock(link_, ClockBytesOf(2030, 1, 1, 0, 0, 0), ConfigSender::Wizard).accepted);
    EXPECT_EQ(BoxTexts(messages_),
              (std::vector<std::string>{Utf8ToGbk(T().startModeFailed), Utf8ToGbk(T().userTitleFailed)}));
}

TEST_F(ConfigRequestsUsb, WithoutADeviceModesPassAndTheRestFails) {
    link_.hidHandle = nullptr;
    RecordModeSetting manual;
    manual.automatic = false;
    AlarmSetting alarms[6];
    EXPECT_TRUE(SetPowerMode(link_, info_, 0x80, messages_));
    EXPECT_TRUE(SetRecordMode(link_, info_, manual, messages_));
    EXPECT_TRUE(SetRecordInterval(link_, info_, 0, 0, 30, 0, messages_));
    EXPECT_FALSE(SetAlarmLimits(link_, info_, alarms, messages_));
    EXPECT_FALSE(SetUserTitle(link_, info_, "a", "b", messages_));
    const OnceResult clock = SetClock(link_, ClockBytesOf(2030, 1, 1, 0, 0, 0), ConfigSender::ClockDialog);
    EXPECT_FALSE(clock.sent);
    EXPECT_EQ(clock.clockFailureTexts, 1);
    EXPECT_FALSE(ClearAndRestart(link_, info_, ConfigSender::Wizard).accepted);
    EXPECT_TRUE(usb_.Calls().empty());
    EXPECT_EQ(ReadField(info_.recordMode), Utf8ToGbk(T().recordManual));
    EXPECT_EQ(info_.storedRecordCount, 1000);
}

}  // namespace
}  // namespace velorin
