#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/commands.h"

namespace velorin::cli {

const std::vector<const CliCommand*>& CliCommands() {
    static const std::vector<const CliCommand*> commands = {
        &kPortsCommand, &kInfoCommand,     &kDownloadCommand,  &kExportCommand, &kLiveCommand,
        &kStopCommand,  &kSetClockCommand, &kConfigureCommand, &kStatsCommand,  &kCompareCommand,
    };
    return commands;
}

const CliCommand* FindCommand(const std::string& name) {
    for (const CliCommand* command : CliCommands()) {
        if (name == command->name) return command;
    }
    return nullptr;
}

std::string TopLevelUsage() {
    std::string usage =
        "usage: velorin-cli COMMAND [options]\n"
        "       velorin-cli COMMAND --help     the command's own usage and options\n"
        "       velorin-cli --version          the program's version\n"
        "       velorin-cli --help             this text\n"
        "commands:\n";
    for (const CliCommand* command : CliCommands()) {
        usage += AlignedSynopsis(std::string("  ") + command->name + " ", *command);
        usage += std::string("\n      ") + command->summary + "\n";
    }
    return usage;
}

}  // namespace velorin::cli
