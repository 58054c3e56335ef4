// velorin-cli configure: the setup wizard without windows. It connects, starts from the settings
// the logger reports (as the wizard's pages do when they open), changes what the options name,
// and runs the wizard's finish sequence: the checks, every setting in page order, the clock set
// to the computer's time, and the clear-and-restart. Restarting clears the logger's records, so
// nothing is sent without --yes; with --yes every question is answered OK (a timed start or stop
// in the past becomes the current time).
//
// Exit codes: 0 the logger acknowledged the restart; 2 refused (no --yes, a check failed, a
// channel option for a channel the logger does not record), no logger, or a request failed
// (earlier settings stay written, later ones are not sent); 1 for wrong arguments and for
// options the logger's settings would make void (a start or stop mode in manual record mode, a
// timed mode without its time, a time without the timed mode). A user name or title longer than
// the logger keeps is sent shortened, with a warning that says what the logger will hold; an
// over-limit interval on the serial link, which does not carry it, gets a warning as well.
#include <cstdio>
#include <cstdlib>

#include "cli/cli_command.h"
#include "cli/cli_device_command.h"
#include "cli/commands.h"
#include "common/text_codec.h"
#include "config/config_texts.h"
#include "config/finish_sequence.h"
#include "config/wizard_entries.h"
#include "device/device_info.h"
#include "device/link.h"

namespace velorin::cli {

namespace {

const char* const kChannelOptions[6] = {"ch1", "ch2", "ch3", "ch4", "ch5", "ch6"};

// "H:MM:SS" within a day.
bool ParseInterval(const std::string& text, WizardEntries& e) {
    int h = -1, m = -1, s = -1;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d:%d:%d%c", &h, &m, &s, &tail) != 3) return false;
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59) return false;
    e.intervalHours = h;
    e.intervalMinutes = m;
    e.intervalSeconds = s;
    return true;
}

// "lower=X,upper=Y,on|off" in any order, each part optional.
bool ParseChannel(const std::string& text, AlarmEntry& entry) {
    size_t from = 0;
    while (from <= text.size()) {
        size_t comma = text.find(',', from);
        if (comma == std::string::npos) comma = text.size();
        const std::string item = text.substr(from, comma - from);
        if (item == "on" || item == "off") {
            entry.on = item == "on";
        } else if (item.rfind("lower=", 0) == 0) {
            entry.lowerText = item.substr(6);
        } else if (item.rfind("upper=", 0) == 0) {
            entry.upperText = item.substr(6);
        } else {
            return false;
        }
        from = comma + 1;
    }
    return true;
}

// Options that need nothing from the logger; false with `error` set.
bool ApplyOptions(const ParsedArgs& p, WizardEntries& e, std::string& error) {
    if (p.Has("user")) e.userName = Utf8ToGbk(p.Value("user"));
    if (p.Has("title")) e.title = Utf8ToGbk(p.Value("title"));
    if (p.Has("interval") && !ParseInterval(p.Value("interval"), e)) {
        error = "--interval wants HH:MM:SS below 24:00:00";
        return false;
    }
    if (p.Has("over-limit")) {
        const std::string text = p.Value("over-limit");  // `end` points into it
        char* end = nullptr;
        const long n = std::strtol(text.c_str(), &end, 10);
        if (text.empty() || *end != '\0' || n < 0 || n > 13) {
            error = "--over-limit wants 0..13";
            return false;
        }
        e.overLimitIndex = static_cast<uint8_t>(n);
    }
    const std::string power = p.Value("power", "-");
    if (power != "-") {
        if (power != "normal" && power != "saving") return error = "--power wants normal or saving", false;
        e.powerSaving = power == "saving";
    }
    const std::string record = p.Value("record-mode", "-");
    if (record != "-") {
        if (record != "auto" && record != "manual") return error = "--record-mode wants auto or manual", false;
        e.automatic = record == "auto";
    }
    // Timed times are shown as BCD, so their years stay within 2000 … 2099.
    if (p.Has("start-time") && !ParseLocalTime(p.Value("start-time"), 2000, 2099, e.timedStart)) {
        return error = "--start-time wants \"YYYY-MM-DD hh:mm:ss\", years 2000 to 2099", false;
    }
    if (p.Has("stop-time") && !ParseLocalTime(p.Value("stop-time"), 2000, 2099, e.timedStop)) {
        return error = "--stop-time wants \"YYYY-MM-DD hh:mm:ss\", years 2000 to 2099", false;
    }
    const std::string start = p.Value("start", p.Has("start-time") ? "timed" : "-");
    if (start == "now")
        e.start = StartChoice::Immediate;
    else if (start == "timed")
        e.start = StartChoice::Timed;
    else if (start == "manual")
        e.start = StartChoice::Manual;
    else if (start != "-")
        return error = "--start wants now, timed or manual", false;
    const std::string stop = p.Value("stop", p.Has("stop-time") ? "timed" : "-");
    if (stop == "fifo")
        e.stop = StopChoice::Fifo;
    else if (stop == "full")
        e.stop = StopChoice::MemoryFull;
    else if (stop == "timed")
        e.stop = StopChoice::Timed;
    else if (stop != "-")
        return error = "--stop wants fifo, full or timed", false;
    for (int c = 0; c < 6; ++c) {
        if (p.Has(kChannelOptions[c]) && !ParseChannel(p.Value(kChannelOptions[c]), e.alarm[c])) {
            error = std::string("--") + kChannelOptions[c] + " wants lower=X,upper=Y,on|off";
            return false;
        }
    }
    return true;
}

// Options that the settings in `entries` (the logger's, changed by the options) would drop
// silently; nothing has been sent yet. False with `error` set.
bool OptionsTakeEffect(const ParsedArgs& p, const WizardEntries& entries, std::string& error) {
    if (!entries.automatic) {
        for (const char* option : {"start", "stop", "start-time", "stop-time"}) {
            if (!p.Has(option)) continue;
            error = std::string("--") + option + " has no effect: the logger " +
                    (p.Has("record-mode") ? "is set to" : "is in") +
                    " manual record mode, which starts and stops by hand (add --record-mode auto)";
            return false;
        }
        return true;
    }
    if (p.Has("start") && entries.start == StartChoice::Timed && !p.Has("start-time")) {
        return error = "--start timed wants --start-time \"YYYY-MM-DD hh:mm:ss\"", false;
    }
    if (p.Has("start-time") && entries.start != StartChoice::Timed) {
        return error = "--start-time has no effect without --start timed", false;
    }
    if (p.Has("stop") && entries.stop == StopChoice::Timed && !p.Has("stop-time")) {
        return error = "--stop timed wants --stop-time \"YYYY-MM-DD hh:mm:ss\"", false;
    }
    if (p.Has("stop-time") && entries.stop != StopChoice::Timed) {
        return error = "--stop-time has no effect without --stop timed", false;
    }
    return true;
}

void Warn(const std::string& utf8) { std::fprintf(stderr, "velorin-cli configure: warning: %s\n", utf8.c_str()); }

}  // namespace

extern const CliCommand kConfigureCommand = {
    "configure",
    "[--user TEXT] [--title TEXT] [--interval HH:MM:SS] [--over-limit 0..13]\n"
    "[--power normal|saving] [--record-mode auto|manual] [--start now|timed|manual]\n"
    "[--start-time TIME] [--stop fifo|full|timed] [--stop-time TIME]\n"
    "[--ch1 ... --ch6 lower=X,upper=Y,on|off] --yes\n"
    "[--port N | --port PATH | --hid] [--lang en|zh] [--verbose]",
    "write settings as the setup wizard's Finish does and restart the logger",
    "  --user TEXT, --title TEXT          user name and title (30 bytes each)\n"
    "  --interval HH:MM:SS                record interval (00:00:00 to 23:59:59)\n"
    "  --over-limit N                     over-limit interval choice 0..13 (10 s ... 24 h)\n"
    "  --power normal|saving              power mode\n"
    "  --record-mode auto|manual          record mode (manual: manual start and stop)\n"
    "  --start now|timed|manual           start mode; --start-time \"YYYY-MM-DD hh:mm:ss\"\n"
    "  --stop fifo|full|timed             stop mode; --stop-time \"YYYY-MM-DD hh:mm:ss\"\n"
    "  --ch1 ... --ch6 lower=X,upper=Y,on|off   alarm limits and switch of a channel\n"
    "  --yes                              required: configuring clears the logger's records\n"
    "  unnamed settings keep what the logger reports\n"
    "  exit status 0 done, 2 refused or failed (settings written before a failure stay\n"
    "  written), 1 for wrong arguments\n",
    RunConfigure,
    true};

int RunConfigure(const std::vector<std::string>& args) {
    DeviceCommand command;
    std::set<std::string> withValue = {"user",        "title", "interval", "over-limit", "power",
                                       "record-mode", "start", "stop",     "start-time", "stop-time"};
    for (const char* ch : kChannelOptions) withValue.insert(ch);
    if (!ParseDeviceCommand(kConfigureCommand, args, withValue, {"yes"}, command)) return kExitUsage;
    const ParsedArgs& p = command.parsed;
    WizardEntries check;
    std::string error;
    if (!ApplyOptions(p, check, error)) {
        std::fprintf(stderr, "velorin-cli configure: %s\n%s", error.c_str(), CommandUsage(kConfigureCommand).c_str());
        return kExitUsage;
    }

    CommandMessages messages(p.Has("verbose"));
    Link& link = ProcessLink();
    DeviceInfo info;
    if (!ConnectForCommand(link, command, info, messages)) return kExitFailed;
    for (int c = 0; c < 6; ++c) {
        if (p.Has(kChannelOptions[c]) && info.channel[c].channelEnabled == 0) {
            std::fprintf(stderr, "velorin-cli configure: the logger does not record channel %d\n", c + 1);
            link.CloseHidHandle();
            return kExitFailed;
        }
    }
    WizardEntries entries = EntriesFromDeviceInfo(info, CDealTime());
    ApplyOptions(p, entries, error);
    if (!OptionsTakeEffect(p, entries, error)) {
        std::fprintf(stderr, "velorin-cli configure: %s; nothing sent\n", error.c_str());
        link.CloseHidHandle();
        return kExitUsage;
    }
    const std::string shortened = ShortenedTextNote(entries, ConfigTextsFor(command.language));
    if (!shortened.empty()) {
        size_t from = 0;
        while (from <= shortened.size()) {
            size_t end = shortened.find('\n', from);
            if (end == std::string::npos) end = shortened.size();
            Warn(GbkToUtf8(shortened.substr(from, end - from)));
            from = end + 1;
        }
    }
    if (p.Has("over-limit") && ChooseLink(link) == LinkUse::Serial) {
        Warn("--over-limit is not sent: only the USB link carries the over-limit interval");
    }

    const bool yes = p.Has("yes");
    FinishHooks hooks;
    const ConfigTexts& texts = ConfigTextsFor(command.language);
    hooks.ask = [yes, &messages, &texts](const std::string& text, const std::string& caption) {
        if (!yes) messages.MessageBox(Utf8ToGbk(text), Utf8ToGbk(caption), MessageIcon::Question);
        // --yes answers a past timed time with the current time: say so.
        if (yes && text == texts.timedStartPast) Warn("the timed start lies in the past; the current time is sent");
        if (yes && text == texts.timedStopPast) Warn("the timed stop lies in the past; the current time is sent");
        return yes;
    };
    if (ChooseLink(link) == LinkUse::Serial) link.OpenCurrentPort();
    const FinishResult result = RunFinishSequence(link, info, entries, command.language, messages, hooks);
    link.serial.ClosePort();
    link.CloseHidHandle();
    if (result.outcome == FinishOutcome::NotConfirmed) {
        std::fputs("velorin-cli configure: nothing sent; add --yes to write the settings and restart the logger\n",
                   stderr);
        return kExitFailed;
    }
    const bool done = result.outcome == FinishOutcome::Restarted ||
                      (result.outcome == FinishOutcome::HandedOver && result.restartAccepted);
    return done ? kExitOk : kExitFailed;
}

}  // namespace velorin::cli
