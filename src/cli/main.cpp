// velorin-cli: the headless interface to the logger and to data files.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_options.h"
#include "cli/commands.h"
#include "common/version.h"

int main(int argc, char** argv) {
    using namespace velorin::cli;
    if (argc < 2) {
        std::fputs(TopLevelUsage().c_str(), stderr);
        return kExitUsage;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(TopLevelUsage().c_str(), stdout);
        return kExitOk;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("velorin-cli %s\n", velorin::ProgramVersion());
        return kExitOk;
    }
    const CliCommand* command = FindCommand(argv[1]);
    if (command == nullptr) {
        std::fprintf(stderr, "velorin-cli: unknown command '%s'\n%s", argv[1], TopLevelUsage().c_str());
        return kExitUsage;
    }
    return RunCommand(*command, std::vector<std::string>(argv + 2, argv + argc));
}
