// The commands of velorin-cli. Each is defined beside its code; a new command adds its object
// here and to the list in command_table.cpp.
#pragma once

#include <string>
#include <vector>

namespace velorin::cli {

struct CliCommand;

int RunPorts(const std::vector<std::string>& args);
int RunInfo(const std::vector<std::string>& args);
int RunDownload(const std::vector<std::string>& args);
int RunExport(const std::vector<std::string>& args);
int RunLive(const std::vector<std::string>& args);
int RunStop(const std::vector<std::string>& args);
int RunSetClock(const std::vector<std::string>& args);
int RunConfigure(const std::vector<std::string>& args);
int RunStats(const std::vector<std::string>& args);
int RunCompare(const std::vector<std::string>& args);

extern const CliCommand kPortsCommand;
extern const CliCommand kInfoCommand;
extern const CliCommand kDownloadCommand;
extern const CliCommand kExportCommand;
extern const CliCommand kLiveCommand;
extern const CliCommand kStopCommand;
extern const CliCommand kSetClockCommand;
extern const CliCommand kConfigureCommand;
extern const CliCommand kStatsCommand;
extern const CliCommand kCompareCommand;

// Every command in the order the top-level usage lists them.
const std::vector<const CliCommand*>& CliCommands();

// The command called `name`, or null.
const CliCommand* FindCommand(const std::string& name);

// What `velorin-cli --help` prints: how to call it, then every command with its synopsis (every
// option) and one line of what it does.
std::string TopLevelUsage();

}  // namespace velorin::cli
