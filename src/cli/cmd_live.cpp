// velorin-cli live: connect, then read the logger's current values every 2 s and print one line
// per reading: the local time, then each enabled channel's value (two decimals for hundredths
// channels, one otherwise, "Error" for a missing sample), separated by tabs.
//
// A poll that brings no reading prints nothing on stdout (a note goes to stderr) and does not
// count. The serial port stays open from the first poll to the end. Stops after --count K
// readings or on Ctrl-C: exit 0 when the last poll brought a reading. Exit 2 when no logger was
// found, after kLiveFailedPollLimit polls in a row without a reading (the logger stopped
// answering), and on Ctrl-C while polls fail; 1 for wrong arguments.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "cli/cli_command.h"
#include "cli/cli_connect.h"
#include "cli/cli_interrupt.h"
#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "cli/commands.h"
#include "common/date_time.h"
#include "common/format.h"
#include "common/language.h"
#include "device/connect.h"
#include "device/device_info.h"
#include "device/link.h"
#include "device/usb_reply_text.h"
#include "live/live_health.h"
#include "live/live_poll.h"
#include "live/live_text_format.h"
#include "live/live_texts.h"

namespace velorin::cli {

namespace {

constexpr auto kPollPeriod = std::chrono::milliseconds(2000);
constexpr auto kCancelCheck = std::chrono::milliseconds(50);

bool ParseCount(const std::string& text, long long& count) {
    if (text.empty() || text.size() > 12) return false;
    count = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        count = count * 10 + (c - '0');
    }
    return count > 0;
}

// Sleeps until `until` in short steps, so Ctrl-C ends the wait at once.
void WaitUntil(std::chrono::steady_clock::time_point until, const std::atomic<bool>& cancel) {
    while (!cancel.load() && std::chrono::steady_clock::now() < until) {
        const auto left = until - std::chrono::steady_clock::now();
        std::this_thread::sleep_for(left < kCancelCheck ? left : kCancelCheck);
    }
}

std::string ReadingLine(const LivePollResult& r, const DeviceInfo& info, const LiveTexts& texts, int64_t time) {
    std::string line = FormatLiveTime(time);
    for (const ChannelInfo& c : info.channel) {
        if (c.channelEnabled != 1) continue;
        line += '\t';
        line += FormatLiveValue(r.sample.value[&c - info.channel], c.channelType, texts);
    }
    return line;
}

}  // namespace

extern const CliCommand kLiveCommand = {
    "live",
    "[--port N | --port PATH | --hid] [--count K] [--lang en|zh] [--verbose]",
    "print the logger's current readings every 2 s",
    "  one line per reading: the local time and each enabled channel's value, tab-separated\n"
    "  (\"Error\" for a missing sample)\n"
    "  --count K      stop after K readings (default: run until Ctrl-C)\n"
    "  exit status 0 after K readings or Ctrl-C, 2 when no logger answered, 1 for wrong arguments\n",
    RunLive,
    true};

int RunLive(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {"port", "lang", "count"}, {"hid", "verbose"});
    std::string error = parsed.error;
    LinkChoice choice;
    long long count = 0;  // 0: until Ctrl-C
    const Language language = error.empty() ? LanguageFor(parsed, error) : Language::Chinese;
    if (error.empty() && !parsed.positional.empty()) error = "unexpected argument " + parsed.positional[0];
    if (error.empty() && parsed.Has("count") && !ParseCount(parsed.Value("count"), count)) {
        error = "--count needs a positive number";
    }
    if (error.empty()) ChooseLink(parsed, choice, error);
    if (!error.empty()) {
        std::fprintf(stderr, "velorin-cli live: %s\n%s", error.c_str(), CommandUsage(kLiveCommand).c_str());
        return kExitUsage;
    }

    TerminalMessages messages(parsed.Has("verbose"));
    Link& link = ProcessLink();
    DeviceInfo info;
    if (!ConnectForExchange(link, choice, language, info, messages)) return kExitFailed;

    // The port stays open while the readings go on (a USB poll does not use it).
    if (ChooseLinkForLive(link) == LinkUse::Serial) link.OpenCurrentPort();

    const LiveTexts& texts = LiveTextsFor(language);
    std::atomic<bool> cancel{false};
    long long readings = 0;
    LiveHealth health;
    {
        InterruptCancels interrupt(cancel);
        auto next = std::chrono::steady_clock::now();
        while (!cancel.load() && (count == 0 || readings < count)) {
            const LivePollResult r = PollLive(link, info.channel);
            const int64_t now = CDealTime().GetTime();
            health.Record(r.ok, now);
            if (r.ok) {
                PrintGbk(stdout, ReadingLine(r, info, texts, now));
                std::fputc('\n', stdout);
                std::fflush(stdout);
                ++readings;
            } else {
                std::fprintf(stderr, "%s no reading", FormatLiveTime(now).c_str());
                if (r.unrecognisedReply) {
                    std::fputs(": ", stderr);
                    PrintGbk(stderr, UsbReplyUnrecognisedText(UsbReply::Live, language));
                }
                std::fputc('\n', stderr);
                if (health.FailedInRow() >= kLiveFailedPollLimit) break;
            }
            if (count != 0 && readings >= count) break;
            // The next poll is due 2 s after the last one began; a poll that ran past its slot
            // is followed at once by the next one on the same grid.
            next += kPollPeriod;
            while (next < std::chrono::steady_clock::now()) next += kPollPeriod;
            WaitUntil(next, cancel);
        }
    }
    link.serial.ClosePort();
    link.CloseHidHandle();
    if (!health.Failing()) return kExitOk;
    const std::string since = FormatLiveTime(health.Since()).substr(11);
    std::fputs(FormatC(texts.gaveUpFormat.c_str(), health.FailedInRow(), since.c_str()).c_str(), stderr);
    std::fputc('\n', stderr);
    return kExitFailed;
}

}  // namespace velorin::cli
