// One velorin-cli command: its name, what the top-level usage says of it, its own usage and the
// function that runs it. Each command defines its CliCommand beside its code (cmd_*.cpp), so its
// usage cannot drift from the options it parses; command_table.cpp lists them.
#pragma once

#include <string>
#include <vector>

namespace velorin::cli {

struct CliCommand {
    const char* name;
    // The arguments after the name, every option named; '\n' starts a continuation line.
    const char* synopsis;
    const char* summary;  // one line for the top-level usage
    const char* details;  // the option explanations under the synopsis ("" for none)
    int (*run)(const std::vector<std::string>& args);
    // Reaches a logger: --port, --hid, --lang and --verbose, explained once for all such commands
    // above the details.
    bool connects = false;
};

// `lead` followed by the synopsis, its continuation lines aligned under its first.
std::string AlignedSynopsis(const std::string& lead, const CliCommand& command);

// "usage: velorin-cli NAME SYNOPSIS" (continuation lines aligned under the synopsis), then the
// details: what `velorin-cli NAME --help` prints.
std::string CommandUsage(const CliCommand& command);

// True when the arguments ask for the command's usage: "--help" or "-h" anywhere.
bool WantsHelp(const std::vector<std::string>& args);

// Runs `command` with `args`, or prints its usage on stdout when they ask for it (exit 0).
int RunCommand(const CliCommand& command, const std::vector<std::string>& args);

}  // namespace velorin::cli
