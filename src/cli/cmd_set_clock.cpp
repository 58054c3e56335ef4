// velorin-cli set-clock: clear the logger's records (which restarts it) and set its clock to the
// computer's time or to --time. Clearing the records cannot be undone, so the command asks
// nothing and does nothing without --yes.
// Exit codes: 0 records cleared and clock set; 2 refused (no --yes), no logger, or the logger did
// not acknowledge one of the two requests (its text is shown); 1 for wrong arguments.
#include <cstdio>

#include "cli/cli_command.h"
#include "cli/cli_device_command.h"
#include "cli/commands.h"
#include "common/text_codec.h"
#include "config/clock_calibration.h"
#include "config/config_texts.h"
#include "device/device_info.h"
#include "device/link.h"

namespace velorin::cli {

extern const CliCommand kSetClockCommand = {
    "set-clock",
    "[--time \"YYYY-MM-DD hh:mm:ss\"] --yes [--port N | --port PATH | --hid]\n[--lang en|zh] [--verbose]",
    "clear the logger's records and set its clock",
    "  clears the logger's records, then sets its clock\n"
    "  --time TIME    the clock's new local time (default: the computer's time)\n"
    "  --yes          required: clearing the records cannot be undone\n"
    "  exit status 0 done, 2 refused or failed, 1 for wrong arguments\n",
    RunSetClock,
    true};

int RunSetClock(const std::vector<std::string>& args) {
    DeviceCommand command;
    if (!ParseDeviceCommand(kSetClockCommand, args, {"time"}, {"yes"}, command)) return kExitUsage;
    ClockChoice choice;
    if (command.parsed.Has("time")) {
        // The year travels as one byte counted from 2000.
        CDealTime when;
        if (!ParseLocalTime(command.parsed.Value("time"), 2000, 2255, when)) {
            std::fprintf(stderr, "velorin-cli set-clock: --time wants \"YYYY-MM-DD hh:mm:ss\", years 2000 to 2255\n%s",
                         CommandUsage(kSetClockCommand).c_str());
            return kExitUsage;
        }
        choice.useSystemTime = false;
        choice.chosen = ClockBytesOf(when);
    }
    CommandMessages messages(command.parsed.Has("verbose"));
    if (!command.parsed.Has("yes")) {
        const ConfigTexts& t = ConfigTextsFor(command.language);
        messages.MessageBox(Utf8ToGbk(t.clockQuestion), Utf8ToGbk(t.clockQuestionCaption), MessageIcon::Warning);
        std::fputs("velorin-cli set-clock: nothing done; add --yes to clear the records and set the clock\n", stderr);
        return kExitFailed;
    }
    Link& link = ProcessLink();
    DeviceInfo info;
    if (!ConnectForCommand(link, command, info, messages)) return kExitFailed;
    const ClockCalibrationResult result = CalibrateClock(link, info, choice, messages);
    link.CloseHidHandle();
    return result.clearAccepted && result.clockAccepted ? kExitOk : kExitFailed;
}

}  // namespace velorin::cli
