#include "config/finish_sequence.h"

#include "common/text_codec.h"
#include "common/user_messages.h"
#include "config/config_texts.h"
#include "device/device_info.h"
#include "device/link.h"

namespace velorin {

namespace {

CDealTime Now(FinishHooks& hooks) { return hooks.now ? hooks.now() : CDealTime(); }

void Wait(FinishHooks& hooks, bool shown) {
    if (hooks.waitWindow) hooks.waitWindow(shown);
}

// A timed time already past may become the time of the question.
BcdTime ResolveTimed(const CDealTime& chosen, const std::string& question, const ConfigTexts& t, FinishHooks& hooks) {
    CDealTime when = chosen;
    const CDealTime now = Now(hooks);
    if (now.GetTime() > when.GetTime() && hooks.ask(question, t.questionCaption)) when = now;
    return BcdTimeOf(when);
}

// The page writes in page order; the step that failed, or None.
FinishStep WritePages(Link& link, DeviceInfo& info, const WizardEntries& e, const RecordModeSetting& setting,
                      const AlarmSetting (&alarms)[6], UserMessages& messages) {
    if (!SetUserTitle(link, info, e.userName, e.title, messages)) return FinishStep::UserTitle;
    if (!SetRecordInterval(link, info, e.intervalHours, e.intervalMinutes, e.intervalSeconds, e.overLimitIndex,
                           messages)) {
        return FinishStep::Interval;
    }
    const uint8_t power = e.powerSaving ? mode_code::PowerSaving : mode_code::PowerNormal;
    if (!SetPowerMode(link, info, power, messages)) return FinishStep::PowerMode;
    if (!SetRecordMode(link, info, setting, messages)) return FinishStep::RecordMode;
    if (!SetAlarmLimits(link, info, alarms, messages)) return FinishStep::Alarms;
    return FinishStep::None;
}

}  // namespace

EntryCheck PrepareWrites(const WizardEntries& e, const DeviceInfo& info, Language language, FinishHooks& hooks,
                         RecordModeSetting& setting, AlarmSetting (&alarms)[6]) {
    const ConfigTexts& t = ConfigTextsFor(language);
    EntryCheck check = CheckBasicEntries(e, language);
    if (!check.Ok()) return check;

    setting = RecordModeSetting{};
    setting.automatic = e.automatic;
    setting.start = e.start;
    setting.stop = e.stop;
    // Manual mode reads neither box nor picker.
    if (e.automatic && (e.start == StartChoice::Timed || e.stop == StopChoice::Timed)) {
        setting.startTime = e.start == StartChoice::Timed ? ResolveTimed(e.timedStart, t.timedStartPast, t, hooks)
                                                          : BcdTimeOf(e.timedStart);
        setting.stopTime =
            e.stop == StopChoice::Timed ? ResolveTimed(e.timedStop, t.timedStopPast, t, hooks) : BcdTimeOf(e.timedStop);
    }
    return CheckAlarmEntries(e, info, language, alarms);
}

FinishResult RunFinishSequence(Link& link, DeviceInfo& info, const WizardEntries& entries, Language language,
                               UserMessages& messages, FinishHooks& hooks) {
    const ConfigTexts& t = ConfigTextsFor(language);
    FinishResult out;
    RecordModeSetting setting;
    AlarmSetting alarms[6];
    out.check = PrepareWrites(entries, info, language, hooks, setting, alarms);
    if (!out.check.Ok()) {
        messages.MessageBox(out.check.text, std::string(), MessageIcon::None);
        return out;
    }
    if (!hooks.ask(t.restartQuestion, t.questionCaption)) {
        out.outcome = FinishOutcome::NotConfirmed;
        out.result = 1;
        return out;
    }

    Wait(hooks, true);
    out.failedStep = WritePages(link, info, entries, setting, alarms, messages);
    if (out.failedStep != FinishStep::None) {
        Wait(hooks, false);
        out.outcome = FinishOutcome::WriteFailed;
        return out;
    }

    const ClockBytes clock = ClockBytesOf(Now(hooks));
    if (ChooseLink(link) == LinkUse::Serial) {
        out.clockAccepted = SetClock(link, clock, ConfigSender::Wizard).accepted;
        if (!out.clockAccepted) messages.MessageBox(Utf8ToGbk(t.clockFailed), std::string(), MessageIcon::None);
        out.restartAccepted = ClearAndRestart(link, info, ConfigSender::Wizard).accepted;
        Wait(hooks, false);
        if (out.restartAccepted) {
            out.restarted = true;
            out.outcome = FinishOutcome::Restarted;
            out.result = 1;
            messages.MessageBox(Utf8ToGbk(t.restartSucceeded), std::string(), MessageIcon::Information);
        } else {
            out.outcome = FinishOutcome::RestartFailed;
            messages.MessageBox(Utf8ToGbk(t.restartFailed), std::string(), MessageIcon::None);
        }
        return out;
    }

    // The USB link: nothing is judged beyond the library's answers, and the wizard then closes;
    // the wait window stays until it does. A refusal is said with the serial link's texts (the
    // restart is handed over only after the clock was taken).
    out.outcome = FinishOutcome::HandedOver;
    out.result = 1;
    if (link.hidHandle == nullptr) return out;
    out.clockAccepted = SetClock(link, clock, ConfigSender::Wizard).accepted;
    if (!out.clockAccepted) messages.MessageBox(Utf8ToGbk(t.clockFailed), std::string(), MessageIcon::None);
    if (out.clockAccepted) out.restartAccepted = ClearAndRestart(link, info, ConfigSender::Wizard).accepted;
    if (out.restartAccepted) {
        messages.MessageBox(Utf8ToGbk(t.restartSucceeded), std::string(), MessageIcon::Information);
    } else {
        messages.MessageBox(Utf8ToGbk(t.restartFailed), std::string(), MessageIcon::None);
    }
    return out;
}

}  // namespace velorin
