#include "config/wizard_entries.h"

#include "common/format.h"
#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "config/config_texts.h"
#include "device/device_info.h"

namespace velorin {

namespace {

constexpr int kPowerSavingMinimumSeconds = 10;

// A label (UTF-8) as DeviceInfo holds it: GBK, cut to its field.
template <size_t N>
std::string AsStored(const std::string& label) {
    char field[N];
    StoreInField(field, Utf8ToGbk(label));
    return ReadField(field);
}

// Index of DeviceInfo's label among the four labels of a mode, in either language; −1 when the
// text is none of them.
template <size_t N>
int LabelIndex(const char (&field)[N], const std::string (Texts::*labels)[4]) {
    const std::string text = ReadField(field);
    for (Language language : {Language::Chinese, Language::English}) {
        const Texts& t = TextsFor(language);
        for (int i = 0; i < 4; ++i) {
            if (text == AsStored<N>((t.*labels)[i])) return i;
        }
    }
    return -1;
}

std::string Limit(int16_t tenths) { return FormatC("%.1f", tenths / 10.0); }

}  // namespace

std::string ShortenedTextNote(const WizardEntries& entries, const ConfigTexts& t) {
    std::string note;
    // The entries are GBK, as the logger keeps them: the formats join them in GBK.
    auto add = [&note](const std::string& format, const std::string& text) {
        const FittedText fitted = FitGbk(text, kConfigTextBytes);
        if (!fitted.shortened) return;
        if (!note.empty()) note += '\n';
        note += FormatC(Utf8ToGbk(format).c_str(), fitted.bytes.c_str());
    };
    add(t.userNameShortenedFormat, entries.userName);
    add(t.titleShortenedFormat, entries.title);
    return note;
}

bool IsManualRecordMode(const DeviceInfo& info) {
    const std::string text = ReadField(info.recordMode);
    for (Language language : {Language::Chinese, Language::English}) {
        if (text == AsStored<sizeof info.recordMode>(TextsFor(language).recordModeManual)) return true;
    }
    return false;
}

std::string StartBoxText(const DeviceInfo& info) {
    const int i = LabelIndex(info.startMode, &Texts::startModeLabel);
    return i < 0 ? ReadField(info.startMode) : Utf8ToGbk(TextsFor(Language::Chinese).startModeLabel[i]);
}

std::string StopBoxText(const DeviceInfo& info) {
    const int i = LabelIndex(info.stopMode, &Texts::stopModeLabel);
    return i < 0 ? ReadField(info.stopMode) : Utf8ToGbk(TextsFor(Language::Chinese).stopModeLabel[i]);
}

StartChoice StartChoiceOf(const std::string& text) {
    const ConfigTexts& t = ConfigTextsFor(Language::Chinese);
    if (text == Utf8ToGbk(t.startImmediate)) return StartChoice::Immediate;
    if (text == Utf8ToGbk(t.startTimed)) return StartChoice::Timed;
    if (text == Utf8ToGbk(t.startManual)) return StartChoice::Manual;
    return StartChoice::Other;
}

StopChoice StopChoiceOf(const std::string& text) {
    const ConfigTexts& t = ConfigTextsFor(Language::Chinese);
    if (text == Utf8ToGbk(t.stopMemoryFull)) return StopChoice::MemoryFull;
    if (text == Utf8ToGbk(t.stopTimed)) return StopChoice::Timed;
    if (text == Utf8ToGbk(t.stopFifo)) return StopChoice::Fifo;
    return StopChoice::Other;
}

WizardEntries EntriesFromDeviceInfo(const DeviceInfo& info, const CDealTime& now) {
    WizardEntries e;
    e.userName = ReadField(info.userName);
    e.title = ReadField(info.title);
    e.intervalHours = info.intervalHours;
    e.intervalMinutes = info.intervalMinutes;
    e.intervalSeconds = info.intervalSeconds;
    e.overLimitIndex = info.overLimitIntervalIndex;
    e.powerSaving = info.powerMode == mode_code::PowerSaving;
    e.automatic = !IsManualRecordMode(info);
    if (e.automatic) {
        e.start = StartChoiceOf(StartBoxText(info));
        e.stop = StopChoiceOf(StopBoxText(info));
    }
    e.timedStart = now;
    e.timedStop = now;
    for (int c = 0; c < 6; ++c) {
        const ChannelInfo& ch = info.channel[c];
        if (ch.channelEnabled == 0) continue;
        e.alarm[c].upperText = Limit(ch.upperAlarmX10);
        e.alarm[c].lowerText = Limit(ch.lowerAlarmX10);
        e.alarm[c].on = ch.alarmEnabled != 0;
    }
    return e;
}

EntryCheck CheckBasicEntries(const WizardEntries& e, Language language) {
    const ConfigTexts& t = ConfigTextsFor(language);
    EntryCheck check;
    if (e.userName.empty() || e.title.empty()) {
        check.fault = EntryFault::UserTitleEmpty;
        check.text = Utf8ToGbk(t.userTitleEmpty);
    } else if (e.powerSaving &&
               e.intervalHours * 3600 + e.intervalMinutes * 60 + e.intervalSeconds < kPowerSavingMinimumSeconds) {
        check.fault = EntryFault::PowerSavingInterval;
        check.text = Utf8ToGbk(t.powerSavingInterval);
    }
    return check;
}

EntryCheck CheckAlarmEntries(const WizardEntries& e, const DeviceInfo& info, Language language,
                             AlarmSetting (&settings)[6]) {
    const ConfigTexts& t = ConfigTextsFor(language);
    EntryCheck check;
    for (int c = 0; c < 6; ++c) {
        settings[c] = AlarmSetting{};
        if (info.channel[c].channelEnabled == 0) continue;
        const AlarmLimit upper = ParseAlarmLimit(e.alarm[c].upperText);
        const AlarmLimit lower = ParseAlarmLimit(e.alarm[c].lowerText);
        check.channel = c + 1;
        if (!upper.fits || !lower.fits) {
            check.fault = EntryFault::LimitOutOfRange;
            check.text = Utf8ToGbk(FormatC(t.limitOutOfRangeFormat.c_str(), c + 1));
            return check;
        }
        // Compared as the tenths that will be sent.
        if (upper.tenths < lower.tenths) {
            check.fault = EntryFault::UpperBelowLower;
            check.text = Utf8ToGbk(FormatC(t.upperBelowLowerFormat.c_str(), c + 1));
            return check;
        }
        settings[c] = {e.alarm[c].on, lower.tenths, upper.tenths};
    }
    return EntryCheck{};
}

}  // namespace velorin
