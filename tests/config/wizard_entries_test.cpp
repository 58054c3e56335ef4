// The wizard's pages as they open from DeviceInfo (in both interface languages) and the checks
// made on them before anything is sent.
#include <gtest/gtest.h>

#include "common/format.h"
#include "common/language.h"
#include "config/config_test_support.h"
#include "config/config_texts.h"
#include "config/wizard_entries.h"

namespace velorin {
namespace {

using test::T;

TEST(WizardPages, ModesAreReadByMeaningInEitherLanguage) {
    for (Language language : {Language::Chinese, Language::English}) {
        SCOPED_TRACE(language == Language::English ? "English" : "Chinese");
        const Texts& t = TextsFor(language);
        DeviceInfo info = test::ConnectedInfo(language);
        StoreInField(info.recordMode, Utf8ToGbk(t.recordModeManual));
        EXPECT_TRUE(IsManualRecordMode(info));
        EXPECT_FALSE(EntriesFromDeviceInfo(info, CDealTime()).automatic);

        StoreInField(info.recordMode, Utf8ToGbk(t.recordModeAuto));
        StoreInField(info.startMode, Utf8ToGbk(t.startModeLabel[1]));  // timed start, cut to its field
        StoreInField(info.stopMode, Utf8ToGbk(t.stopModeLabel[0]));    // memory full, cut to its field
        EXPECT_EQ(StartBoxText(info), Utf8ToGbk(T().startTimed));
        EXPECT_EQ(StopBoxText(info), Utf8ToGbk(T().stopMemoryFull));
        const WizardEntries e = EntriesFromDeviceInfo(info, CDealTime());
        EXPECT_TRUE(e.automatic);
        EXPECT_EQ(e.start, StartChoice::Timed);
        EXPECT_EQ(e.stop, StopChoice::MemoryFull);

        // Modes the boxes do not offer show as their Chinese label and send nothing.
        StoreInField(info.startMode, Utf8ToGbk(t.startModeLabel[3]));
        StoreInField(info.stopMode, Utf8ToGbk(t.stopModeLabel[3]));
        EXPECT_EQ(StartBoxText(info), Utf8ToGbk(TextsFor(Language::Chinese).startModeLabel[3]));
        EXPECT_EQ(EntriesFromDeviceInfo(info, CDealTime()).start, StartChoice::Other);
        EXPECT_EQ(EntriesFromDeviceInfo(info, CDealTime()).stop, StopChoice::Other);
    }
}

TEST(WizardPages, OtherPagesTakeDeviceInfoAsItStands) {
    DeviceInfo info = test::ConnectedInfo();
    info.intervalHours = 1;
    info.intervalMinutes = 2;
    info.intervalSeconds = 5;
    info.overLimitIntervalIndex = 8;
    info.powerMode = 0x80;
    info.channel[1].lowerAlarmX10 = -5;
    info.channel[1].upperAlarmX10 = 1234;
    info.channel[1].alarmEnabled = 0;
    info.channel[2].upperAlarmX10 = 777;  // not recorded
    const CDealTime now(2026, 12, 9, 10, 0, 0);
    const WizardEntries e = EntriesFromDeviceInfo(info, now);
    EXPECT_EQ(e.userName, "old user");
    EXPECT_EQ(e.title, "old title");
    EXPECT_EQ(e.intervalHours * 3600 + e.intervalMinutes * 60 + e.intervalSeconds, 3725);
    EXPECT_EQ(e.overLimitIndex, 8);
    EXPECT_TRUE(e.powerSaving);
    EXPECT_EQ(e.alarm[1].lowerText, "-0.5");
    EXPECT_EQ(e.alarm[1].upperText, "123.4");
    EXPECT_FALSE(e.alarm[1].on);
    EXPECT_TRUE(e.alarm[2].upperText.empty());
    EXPECT_EQ(e.timedStart.GetTime(), now.GetTime());
}

TEST(WizardChecks, UserNameTitleAndPowerSavingInterval) {
    WizardEntries e = EntriesFromDeviceInfo(test::ConnectedInfo(), CDealTime());
    e.userName = "   ";  // blanks are a name
    EXPECT_TRUE(CheckBasicEntries(e, Language::English).Ok());
    e.title.clear();
    EXPECT_EQ(CheckBasicEntries(e, Language::English).fault, EntryFault::UserTitleEmpty);
    EXPECT_EQ(CheckBasicEntries(e, Language::English).text, Utf8ToGbk(T().userTitleEmpty));

    e.title = "t";
    e.powerSaving = true;
    e.intervalHours = e.intervalMinutes = 0;
    e.intervalSeconds = 9;
    EXPECT_EQ(CheckBasicEntries(e, Language::Chinese).text, Utf8ToGbk(T().powerSavingInterval));
    e.intervalSeconds = 10;
    EXPECT_TRUE(CheckBasicEntries(e, Language::Chinese).Ok());
    e.powerSaving = false;
    e.intervalSeconds = 0;
    EXPECT_TRUE(CheckBasicEntries(e, Language::Chinese).Ok());
}

TEST(WizardChecks, LimitsAreComparedAsTheTenthsThatWillBeSent) {
    const DeviceInfo info = test::ConnectedInfo();  // channels 1, 2 and 4
    WizardEntries e = EntriesFromDeviceInfo(info, CDealTime());
    AlarmSetting s[6];

    e.alarm[1] = {"25.1", "25.9", true};
    EntryCheck c = CheckAlarmEntries(e, info, Language::Chinese, s);
    EXPECT_EQ(c.fault, EntryFault::UpperBelowLower);
    EXPECT_EQ(c.channel, 2);
    EXPECT_EQ(c.text, Utf8ToGbk("通道2上限不能小于下限"));

    e.alarm[1] = {"25.9", "25.1", true};
    e.alarm[2] = {"1", "9", true};  // channel 3 is not recorded: neither checked nor sent
    ASSERT_TRUE(CheckAlarmEntries(e, info, Language::Chinese, s).Ok());
    EXPECT_EQ(s[1].upperX10, 259);
    EXPECT_EQ(s[1].lowerX10, 251);
    EXPECT_TRUE(s[1].enabled);
    EXPECT_EQ(s[2].upperX10, 0);

    e.alarm[3] = {"3276.8", "0", true};
    c = CheckAlarmEntries(e, info, Language::English, s);
    EXPECT_EQ(c.fault, EntryFault::LimitOutOfRange);
    EXPECT_EQ(c.channel, 4);
    // A configuration message: the same text in both interface languages.
    EXPECT_EQ(c.text, Utf8ToGbk("通道4报警限超出范围（-3276.8 ~ 3276.7）"));
    EXPECT_EQ(CheckAlarmEntries(e, info, Language::Chinese, s).text, c.text);
}

}  // namespace
}  // namespace velorin

namespace velorin {
namespace {

TEST(WizardChecks, ShortenedTextsAreNamedWithWhatTheLoggerWillHold) {
    WizardEntries e;
    e.userName = std::string(29, 'u') + "\xCE\xC2";  // 31 bytes: the last character goes
    e.title = std::string(30, 't');                  // fits exactly
    EXPECT_EQ(ShortenedTextNote(e, ConfigTextsFor(Language::English)),
              "The user name is longer than 30 bytes; the logger will hold \"" + std::string(29, 'u') + "\"");
    e.title += "x";
    const std::string chinese = ShortenedTextNote(e, ConfigTextsFor(Language::Chinese));
    EXPECT_EQ(chinese, FormatC(Utf8ToGbk(ConfigTextsFor(Language::Chinese).userNameShortenedFormat).c_str(),
                               std::string(29, 'u').c_str()) +
                           "\n" +
                           FormatC(Utf8ToGbk(ConfigTextsFor(Language::Chinese).titleShortenedFormat).c_str(),
                                   std::string(30, 't').c_str()));
    e.userName = "short";
    e.title = "short";
    EXPECT_EQ(ShortenedTextNote(e, ConfigTextsFor(Language::English)), "");
}

}  // namespace
}  // namespace velorin
