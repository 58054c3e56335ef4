#include <cstdio>

#include "app/connect.h"
#include "app/panel_lines.h"
#include "common/texts.h"
#include "cli/cli_connect.h"
#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "cli/commands.h"
#include "device/device_info.h"
#include "device/link.h"

namespace velorin::cli {

namespace {
constexpr const char* kUsage =
    "usage: velorin-cli info [--port N | --port PATH | --hid] [--lang en|zh] [--verbose]\n";
}

int RunInfo(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {"port", "lang"}, {"hid", "verbose"});
    std::string error = parsed.error;
    LinkChoice choice;
    const std::string languageName = error.empty() ? LanguageNameFor(parsed, error) : std::string();
    if (error.empty() && !parsed.positional.empty()) error = "unexpected argument " + parsed.positional[0];
    if (error.empty()) ChooseLink(parsed, choice, error);
    if (!error.empty()) {
        std::fprintf(stderr, "velorin-cli info: %s\n%s", error.c_str(), kUsage);
        return kExitUsage;
    }

    TerminalMessages messages(parsed.Has("verbose"));
    Link& link = ProcessLink();
    DeviceInfo info;
    const ConnectResult result = ConnectAsChosen(link, choice, languageName, info, messages);
    link.CloseHidHandle();
    if (result.outcome == ConnectOutcome::NotFound) return kExitFailed;
    if (!result.infoRead) {
        // The USB link was there but the logger did not deliver its information block.
        messages.MessageBox(TextsFor(languageName).communicationTimeout, std::string(), MessageIcon::None);
        return kExitFailed;
    }
    PrintPanel(stdout, BuildPanelLines(info, languageName));
    return kExitOk;
}

}  // namespace velorin::cli
