#include "cli/cli_device_command.h"

#include <cstdio>

#include "cli/cli_command.h"
#include "cli/cli_connect.h"
#include "common/date_time.h"
#include "device/connect.h"
#include "device/device_info.h"

namespace velorin::cli {

bool ParseDeviceCommand(const CliCommand& command, const std::vector<std::string>& args,
                        std::set<std::string> withValue, std::set<std::string> bare, DeviceCommand& out) {
    withValue.insert({"port", "lang"});
    bare.insert({"hid", "verbose"});
    out.parsed = ParseArgs(args, withValue, bare);
    std::string error = out.parsed.error;
    if (error.empty()) out.language = LanguageFor(out.parsed, error);
    if (error.empty() && !out.parsed.positional.empty()) error = "unexpected argument " + out.parsed.positional[0];
    if (error.empty()) ChooseLink(out.parsed, out.choice, error);
    if (error.empty()) return true;
    std::fprintf(stderr, "velorin-cli %s: %s\n%s", command.name, error.c_str(), CommandUsage(command).c_str());
    return false;
}

bool ConnectForCommand(Link& link, const DeviceCommand& command, DeviceInfo& info, UserMessages& messages) {
    return ConnectForExchange(link, command.choice, command.language, info, messages);
}

bool ParseLocalTime(const std::string& text, int minYear, int maxYear, CDealTime& out) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    char tail = 0;
    if (text.size() != 19 ||
        std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &s, &tail) != 6) {
        return false;
    }
    if (y < minYear || y > maxYear) return false;
    const CDealTime t(y, mo, d, h, mi, s);
    // A date that the calendar moves elsewhere (day 30 of February) does not exist.
    if (t.GetYear() != y || t.GetMonth() != mo || t.GetDay() != d || t.GetHour() != h || t.GetMinute() != mi ||
        t.GetSecond() != s) {
        return false;
    }
    out = t;
    return true;
}

void CommandMessages::MessageBox(const std::string& text, const std::string& caption, MessageIcon icon) {
    if (icon != MessageIcon::Information) {
        terminal_.MessageBox(text, caption, icon);
        return;
    }
    PrintGbk(stdout, text);
    std::fputc('\n', stdout);
}

}  // namespace velorin::cli
