#include "cli/cli_command.h"

#include <cstdio>

#include "cli/cli_options.h"

namespace velorin::cli {

std::string AlignedSynopsis(const std::string& lead, const CliCommand& command) {
    if (*command.synopsis == '\0') return lead.substr(0, lead.find_last_not_of(' ') + 1);
    std::string text = lead;
    for (const char* c = command.synopsis; *c; ++c) {
        text += *c;
        if (*c == '\n') text += std::string(lead.size(), ' ');
    }
    return text;
}

std::string CommandUsage(const CliCommand& command) {
    static const char* const kLinkOptions =
        "  --port N       only the serial port COM<N> (see `velorin-cli ports`)\n"
        "  --port PATH    only the serial device PATH\n"
        "  --hid          only the USB link\n"
        "                 (neither: look for the logger as the program's Connect does)\n"
        "  --lang en|zh   English or Chinese texts (default: Language.ini in the working folder)\n"
        "  --verbose      also print the connection's status texts\n";
    return AlignedSynopsis(std::string("usage: velorin-cli ") + command.name + " ", command) + "\n" +
           (command.connects ? kLinkOptions : "") + command.details;
}

bool WantsHelp(const std::vector<std::string>& args) {
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") return true;
    }
    return false;
}

int RunCommand(const CliCommand& command, const std::vector<std::string>& args) {
    if (WantsHelp(args)) {
        std::fputs(CommandUsage(command).c_str(), stdout);
        return kExitOk;
    }
    return command.run(args);
}

}  // namespace velorin::cli
