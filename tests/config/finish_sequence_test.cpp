// The wizard's finish sequence and the clock calibration against the simulated logger (its
// settings, clock and history change) and against scripted loggers (the questions, the order of
// the requests, a failure in the middle, a silent logger).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "civil_time.h"
#include "common/language.h"
#include "config/clock_calibration.h"
#include "config/config_test_support.h"
#include "config/config_texts.h"
#include "config/finish_sequence.h"
#include "support/fake_kvusb.h"
#include "logger_state.h"
#include "server.h"
#include "support/recorded_messages.h"
#include "support/temp_dir.h"

namespace velorin {
namespace {

using test::Bytes;
using test::LoggerAck;
using test::ScriptedLogger;

using test::BoxTexts;
using test::T;

struct Answers {
    std::vector<std::string> asked;
    std::vector<bool> replies;  // OK when used up
    FinishHooks Hooks(CDealTime now) {
        FinishHooks h;
        h.ask = [this](const std::string& text, const std::string&) {
            const size_t i = asked.size();
            asked.push_back(text);
            return i < replies.size() ? replies[i] : true;
        };
        h.now = [now] { return now; };
        return h;
    }
};

// --- scripted loggers ------------------------------------------------------------------------

TEST(FinishSequence, RefusedEntriesAndAnUnconfirmedQuestionSendNothing) {
    ScriptedLogger logger([](const test::PtyPeer::Request& r, size_t) { return LoggerAck(r); });
    ASSERT_TRUE(logger.Ok());
    Link& link = logger.link;
    DeviceInfo info = test::ConnectedInfo();
    WizardEntries e = EntriesFromDeviceInfo(info, CDealTime());
    test::RecordedMessages messages;
    Answers answers;
    FinishHooks hooks = answers.Hooks(CDealTime());

    e.title.clear();
    FinishResult r = RunFinishSequence(link, info, e, Language::English, messages, hooks);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.outcome, FinishOutcome::EntryRefused);
    EXPECT_EQ(BoxTexts(messages), std::vector<std::string>{Utf8ToGbk(T().userTitleEmpty)});
    EXPECT_TRUE(answers.asked.empty());

    e.title = "t";
    answers.replies = {false};
    r = RunFinishSequence(link, info, e, Language::English, messages, hooks);
    EXPECT_EQ(r.result, 1);
    EXPECT_FALSE(r.restarted);
    EXPECT_EQ(r.outcome, FinishOutcome::NotConfirmed);
    EXPECT_EQ(answers.asked, std::vector<std::string>{T().restartQuestion});
    EXPECT_FALSE(logger.Peer().WaitForRequests(1, 300));
}

TEST(FinishSequence, ATimedStartInThePastTakesTheTimeOfTheQuestion) {
    ScriptedLogger logger([](const test::PtyPeer::Request& r, size_t) { return LoggerAck(r); });
    ASSERT_TRUE(logger.Ok());
    Link& link = logger.link;
    DeviceInfo info = test::ConnectedInfo();
    const CDealTime now(2026, 12, 9, 10, 0, 0);
    WizardEntries e = EntriesFromDeviceInfo(info, now);
    e.start = StartChoice::Timed;
    e.timedStart = CDealTime(2026, 12, 9, 9, 50, 0);
    test::RecordedMessages messages;
    Answers answers;
    FinishHooks hooks = answers.Hooks(now);

    const FinishResult r = RunFinishSequence(link, info, e, Language::Chinese, messages, hooks);
    EXPECT_EQ(r.outcome, FinishOutcome::Restarted);
    EXPECT_EQ(answers.asked, (std::vector<std::string>{T().timedStartPast, T().restartQuestion}));
    // Pages in order, then the clock, then the restart.
    EXPECT_EQ(logger.Commands(), (Bytes{0x11, 0x16, 0x20, 0x21, 0x14, 0x15, 0x1F, 0x13, 0x1E}));
    const auto requests = logger.Requests();
    EXPECT_EQ(test::Slice(requests[4], 5, 12), (Bytes{2, 26, 12, 9, 10, 0, 0}));
    EXPECT_EQ(test::Slice(requests[7], 5, 11), (Bytes{26, 12, 9, 10, 0, 0}));
    EXPECT_EQ(BoxTexts(messages), std::vector<std::string>{Utf8ToGbk(T().restartSucceeded)});
    EXPECT_EQ(ReadField(info.timedStartTime), "2026-12-09 10:00:00");
}

TEST(FinishSequence, AFailureInTheMiddleLeavesEarlierSettingsAndSendsNothingLater) {
    // The logger does not take the power mode.
    ScriptedLogger logger(
        [](const test::PtyPeer::Request& r, size_t) { return r[2] == cmd::SetPowerMode ? Bytes{} : LoggerAck(r); });
    ASSERT_TRUE(logger.Ok());
    Link& link = logger.link;
    DeviceInfo info = test::ConnectedInfo();
    WizardEntries e = EntriesFromDeviceInfo(info, CDealTime());
    e.userName = "new user";
    e.powerSaving = true;
    e.intervalMinutes = 5;
    test::RecordedMessages messages;
    Answers answers;
    FinishHooks hooks = answers.Hooks(CDealTime());
    std::vector<bool> wait;
    hooks.waitWindow = [&wait](bool shown) { wait.push_back(shown); };

    const FinishResult r = RunFinishSequence(link, info, e, Language::Chinese, messages, hooks);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.outcome, FinishOutcome::WriteFailed);
    EXPECT_EQ(r.failedStep, FinishStep::PowerMode);
    EXPECT_EQ(logger.Commands(), (Bytes{0x11, 0x16, 0x20, 0x20, 0x20, 0x20, 0x20}));
    EXPECT_EQ(BoxTexts(messages), std::vector<std::string>{Utf8ToGbk(T().powerModeFailed)});
    EXPECT_EQ(wait, (std::vector<bool>{true, false}));
    EXPECT_EQ(ReadField(info.userName), "new user");
    EXPECT_EQ(info.intervalMinutes, 5);
    EXPECT_EQ(info.powerMode, 0x01);
    EXPECT_EQ(info.storedRecordCount, 1000);
}

TEST(FinishSequence, AnUnsetClockIsSaidAndARefusedRestartKeepsTheWizardOpen) {
    ScriptedLogger logger([](const test::PtyPeer::Request& r, size_t) {
        return r[2] == cmd::SetClock || r[2] == cmd::ClearAndRestart ? Bytes{} : LoggerAck(r);
    });
    ASSERT_TRUE(logger.Ok());
    Link& link = logger.link;
    DeviceInfo info = test::ConnectedInfo();
    test::RecordedMessages messages;
    Answers answers;
    FinishHooks hooks = answers.Hooks(CDealTime());
    const FinishResult r =
        RunFinishSequence(link, info, EntriesFromDeviceInfo(info, CDealTime()), Language::English, messages, hooks);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.outcome, FinishOutcome::RestartFailed);
    EXPECT_FALSE(r.restarted);
    EXPECT_EQ(BoxTexts(messages), (std::vector<std::string>{Utf8ToGbk(T().clockFailed), Utf8ToGbk(T().restartFailed)}));
    EXPECT_EQ(info.storedRecordCount, 1000);
}

TEST(ClockCalibration, ASilentLoggerShowsBothTextsOnceAndKeepsTheRecordCount) {
    ScriptedLogger logger([](const test::PtyPeer::Request&, size_t) { return Bytes{}; }, false);
    ASSERT_TRUE(logger.Ok());
    Link& link = logger.link;
    DeviceInfo info = test::ConnectedInfo();
    test::RecordedMessages messages;
    ClockChoice choice;
    choice.useSystemTime = false;
    choice.chosen = ClockBytesOf(2031, 2, 3, 4, 5, 6);

    const ClockCalibrationResult r = CalibrateClock(link, info, choice, messages);
    EXPECT_FALSE(r.clearAccepted);
    EXPECT_FALSE(r.clockAccepted);
    EXPECT_EQ(BoxTexts(messages), (std::vector<std::string>{Utf8ToGbk(T().clearFailed), Utf8ToGbk(T().clockFailed)}));
    EXPECT_EQ(logger.Commands(), (Bytes{0x1E, 0x13}));
    EXPECT_EQ(test::Slice(logger.Requests()[1], 5, 11), (Bytes{0x1F, 0x02, 0x03, 0x04, 0x05, 0x06}));
    EXPECT_EQ(info.storedRecordCount, 1000);
    EXPECT_FALSE(link.serial.IsOpen());
}

TEST(ClockCalibration, TheSystemTimeIsReadAfterTheClear) {
    int reads = 0;
    ScriptedLogger logger([&reads](const test::PtyPeer::Request& r, size_t) {
        EXPECT_EQ(reads, r[2] == cmd::ClearAndRestart ? 0 : 1);
        return test::Ack(r);
    });
    ASSERT_TRUE(logger.Ok());
    Link& link = logger.link;
    DeviceInfo info = test::ConnectedInfo();
    test::RecordedMessages messages;
    ClockChoice choice;
    choice.now = [&reads] {
        ++reads;
        return CDealTime(2027, 1, 2, 3, 4, 5);
    };
    const ClockCalibrationResult r = CalibrateClock(link, info, choice, messages);
    EXPECT_TRUE(r.clearAccepted && r.clockAccepted);
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(test::Slice(logger.Requests()[1], 5, 11), (Bytes{27, 1, 2, 3, 4, 5}));
    EXPECT_EQ(info.storedRecordCount, 0);
    EXPECT_TRUE(BoxTexts(messages).empty());
}

TEST(FinishSequence, OverTheUsbLinkEverythingIsHandedOverAndTheWizardClosesWithoutRestartFlag) {
    Link link;
    test::FakeUsb usb(link.usb);
    link.currentPort = HID_LINK_PORT;
    link.hidHandle = test::FakeUsb::Handle();
    DeviceInfo info = test::ConnectedInfo();
    test::RecordedMessages messages;
    Answers answers;
    FinishHooks hooks = answers.Hooks(CDealTime(2026, 12, 9, 10, 0, 0));
    std::vector<bool> wait;
    hooks.waitWindow = [&wait](bool shown) { wait.push_back(shown); };

    const FinishResult r =
        RunFinishSequence(link, info, EntriesFromDeviceInfo(info, CDealTime()), Language::Chinese, messages, hooks);
    EXPECT_EQ(r.result, 1);
    EXPECT_FALSE(r.restarted);
    EXPECT_EQ(r.outcome, FinishOutcome::HandedOver);
    EXPECT_TRUE(r.restartAccepted);
    Bytes commands;
    for (const auto& call : usb.Calls()) commands.push_back(static_cast<uint8_t>(call.callCode >> 16));
    EXPECT_EQ(commands, (Bytes{0x11, 0x16, 0x20, 0x21, 0x14, 0x15, 0x1F, 0x13, 0x1E}));
    EXPECT_EQ(BoxTexts(messages), std::vector<std::string>{Utf8ToGbk(T().restartSucceeded)});
    // The wait window stays until the wizard closes.
    EXPECT_EQ(wait, std::vector<bool>{true});
}

// A refused clock or restart over USB is said with the serial link's texts; the restart is
// handed over only after the clock was taken.
TEST(FinishSequence, OverTheUsbLinkARefusedClockOrRestartIsSaid) {
    Link link;
    test::FakeUsb usb(link.usb);
    link.currentPort = HID_LINK_PORT;
    link.hidHandle = test::FakeUsb::Handle();
    DeviceInfo info = test::ConnectedInfo();
    Answers answers;
    FinishHooks hooks = answers.Hooks(CDealTime(2026, 12, 9, 10, 0, 0));
    const WizardEntries entries = EntriesFromDeviceInfo(info, CDealTime());

    usb.writeResultFor[0x13] = 0;  // the clock refused
    test::RecordedMessages clockRefused;
    FinishResult r = RunFinishSequence(link, info, entries, Language::Chinese, clockRefused, hooks);
    EXPECT_EQ(r.result, 1);
    EXPECT_FALSE(r.clockAccepted);
    EXPECT_FALSE(r.restartAccepted);
    EXPECT_EQ(BoxTexts(clockRefused),
              (std::vector<std::string>{Utf8ToGbk(T().clockFailed), Utf8ToGbk(T().restartFailed)}));
    EXPECT_EQ(usb.Calls().back().callCode >> 16, 0x13u) << "no restart after a refused clock";

    usb.writeResultFor[0x13] = 1;
    usb.writeResultFor[0x1E] = 0;  // the restart refused
    test::RecordedMessages restartRefused;
    r = RunFinishSequence(link, info, entries, Language::Chinese, restartRefused, hooks);
    EXPECT_TRUE(r.clockAccepted);
    EXPECT_FALSE(r.restartAccepted);
    EXPECT_EQ(BoxTexts(restartRefused), std::vector<std::string>{Utf8ToGbk(T().restartFailed)});
}

TEST(ClockCalibration, OverTheUsbLinkTheLibraryAnswersForTheLogger) {
    Link link;
    test::FakeUsb usb(link.usb);
    link.currentPort = HID_LINK_PORT;
    link.hidHandle = test::FakeUsb::Handle();
    DeviceInfo info = test::ConnectedInfo();
    test::RecordedMessages messages;
    ClockChoice choice;
    choice.useSystemTime = false;
    choice.chosen = ClockBytesOf(2031, 2, 3, 4, 5, 6);

    ClockCalibrationResult r = CalibrateClock(link, info, choice, messages);
    EXPECT_TRUE(r.clearAccepted && r.clockAccepted);
    ASSERT_EQ(usb.Calls().size(), 2u);
    EXPECT_EQ(usb.Calls()[0].callCode, 0x1Eu << 16);
    EXPECT_EQ(usb.Calls()[1].callCode, 0x13u << 16);
    EXPECT_EQ(test::Slice(usb.Calls()[1].report, 0, 13), test::Of(BuildClockRequest(0, choice.chosen)));
    EXPECT_TRUE(BoxTexts(messages).empty());
    EXPECT_EQ(info.storedRecordCount, 0);

    usb.writeResult = 0;
    info.storedRecordCount = 7;
    r = CalibrateClock(link, info, choice, messages);
    EXPECT_FALSE(r.clearAccepted || r.clockAccepted);
    EXPECT_EQ(BoxTexts(messages), (std::vector<std::string>{Utf8ToGbk(T().clearFailed), Utf8ToGbk(T().clockFailed)}));
    EXPECT_EQ(info.storedRecordCount, 7);
}

// --- the simulated logger ----------------------------------------------------------------------

class FinishAgainstSimulator : public ::testing::Test {
protected:
    void SetUp() override {
        sim::ServerOptions o;
        o.portFolder = folder_.Path();
        o.comNumber = 4;
        o.usb = false;
        o.pacing = false;
        server_ = std::make_unique<sim::LoggerServer>(sim::DefaultLoggerState(sim::HostNowCivil()), o);
        std::string error;
        ASSERT_TRUE(server_->Start(&error)) << error;
        link_.currentPort = 4;
        ASSERT_TRUE(link_.OpenCurrentPort());
        // Channels 1 … 4 as the simulated logger records them.
        info_ = test::ConnectedInfo();
        info_.channel[2].channelEnabled = 1;
    }

    test::TempDir folder_;
    test::ScopedEnv portDir_{"VELORIN_PORT_DIR", folder_.Path()};
    std::unique_ptr<sim::LoggerServer> server_;
    Link link_;
    DeviceInfo info_;
    test::RecordedMessages messages_;
};

TEST_F(FinishAgainstSimulator, EverySettingIsWrittenTheClockSetAndTheHistoryEmptied) {
    WizardEntries e = EntriesFromDeviceInfo(info_, CDealTime());
    e.userName = Utf8ToGbk("冷库管理员");
    e.title = "Freezer 7";
    e.intervalHours = 0;
    e.intervalMinutes = 0;
    e.intervalSeconds = 30;
    e.powerSaving = true;
    e.stop = StopChoice::Timed;
    e.timedStop = CDealTime(2030, 6, 1, 12, 0, 0);
    for (int c = 0; c < 4; ++c) e.alarm[c] = {"40.5", "-10", c != 1};
    Answers answers;
    FinishHooks hooks;
    hooks.ask = [](const std::string&, const std::string&) { return true; };

    const FinishResult r = RunFinishSequence(link_, info_, e, Language::English, messages_, hooks);
    ASSERT_EQ(r.outcome, FinishOutcome::Restarted) << (messages_.Boxes().empty() ? "" : messages_.Boxes()[0].text);
    const sim::LoggerState s = server_->State();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(s.userName), 10), Utf8ToGbk("冷库管理员"));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(s.title), 9), "Freezer 7");
    EXPECT_EQ(s.intervalSeconds, 30u);
    EXPECT_EQ(s.powerMode, 0x80);
    EXPECT_EQ(s.recordMode, 1);
    EXPECT_EQ(s.startMode, 1);
    EXPECT_EQ(s.stopMode, 2);
    EXPECT_EQ(sim::SecondsToCivil(s.timedStop).year, 2030);
    EXPECT_EQ(s.channels[0].upperAlarmX10, 405);
    EXPECT_EQ(s.channels[3].lowerAlarmX10, -100);
    EXPECT_FALSE(s.channels[1].alarm);
    EXPECT_EQ(s.recordCount, 0u);
    // The logger's clock runs with the computer's (within the few seconds the test takes).
    EXPECT_LT(std::llabs(s.clockOffset), 5);
    EXPECT_EQ(info_.storedRecordCount, 0);
}

}  // namespace
}  // namespace velorin
