#include <cstdio>

#include "cli/cli_command.h"
#include "cli/cli_connect.h"
#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "cli/commands.h"
#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "device/connect.h"
#include "device/device_info.h"
#include "device/link.h"
#include "device/panel_lines.h"

namespace velorin::cli {

extern const CliCommand kInfoCommand = {
    "info",
    "[--port N | --port PATH | --hid] [--lang en|zh] [--verbose]",
    "connect as the program's Connect does and print the logger's attributes",
    "  exit status 0 when a logger answered, 2 when none did, 1 for wrong arguments\n",
    RunInfo,
    true};

int RunInfo(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {"port", "lang"}, {"hid", "verbose"});
    std::string error = parsed.error;
    LinkChoice choice;
    const Language language = error.empty() ? LanguageFor(parsed, error) : Language::Chinese;
    if (error.empty() && !parsed.positional.empty()) error = "unexpected argument " + parsed.positional[0];
    if (error.empty()) ChooseLink(parsed, choice, error);
    if (!error.empty()) {
        std::fprintf(stderr, "velorin-cli info: %s\n%s", error.c_str(), CommandUsage(kInfoCommand).c_str());
        return kExitUsage;
    }

    TerminalMessages messages(parsed.Has("verbose"));
    Link& link = ProcessLink();
    DeviceInfo info;
    const ConnectResult result = ConnectAsChosen(link, choice, language, info, messages);
    link.CloseHidHandle();
    if (result.outcome == ConnectOutcome::NotFound) return kExitFailed;
    if (!result.infoRead) {
        // The USB link was there but the logger did not deliver its information block.
        messages.MessageBox(Utf8ToGbk(TextsFor(language).communicationTimeout), std::string(), MessageIcon::None);
        return kExitFailed;
    }
    PrintPanel(stdout, BuildPanelLines(info, language));
    return kExitOk;
}

}  // namespace velorin::cli
