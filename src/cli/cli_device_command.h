// What the CLI commands that change a logger share: the common options (--port, --hid, --lang,
// --verbose, --yes), connecting as `info` does, and reading date-time options.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "common/language.h"
#include "device/connect.h"

namespace velorin {
class CDealTime;
class Link;
struct DeviceInfo;
}  // namespace velorin

namespace velorin::cli {

struct CliCommand;

struct DeviceCommand {
    ParsedArgs parsed;
    Language language = Language::Chinese;
    LinkChoice choice;
};

// Parses the command's arguments: the common options plus `withValue` and `bare`. On a wrong
// argument prints "velorin-cli NAME: ..." and the command's usage, and returns false.
bool ParseDeviceCommand(const CliCommand& command, const std::vector<std::string>& args,
                        std::set<std::string> withValue, std::set<std::string> bare, DeviceCommand& out);

// Connects as chosen. False when no logger answered or it did not deliver its information
// block (the timeout text is shown); the USB handle is then closed again.
bool ConnectForCommand(Link& link, const DeviceCommand& command, DeviceInfo& info, UserMessages& messages);

// "YYYY-MM-DD hh:mm:ss" as a local time with years `minYear` … `maxYear`; false for anything
// else, including dates that do not exist (2026-02-30).
bool ParseLocalTime(const std::string& text, int minYear, int maxYear, CDealTime& out);

// Message boxes as the terminal shows them; a box with the information icon (a success) goes to
// standard output, the others to standard error.
class CommandMessages final : public UserMessages {
public:
    explicit CommandMessages(bool verbose) : terminal_(verbose) {}
    void MessageBox(const std::string& text, const std::string& caption, MessageIcon icon) override;
    void Status(const std::string& text) override { terminal_.Status(text); }

private:
    TerminalMessages terminal_;
};

}  // namespace velorin::cli
