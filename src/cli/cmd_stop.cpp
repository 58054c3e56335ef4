// velorin-cli stop: connect and tell the logger to stop recording (one attempt, no question).
// Exit codes: 0 stopped; 2 no logger, or the logger did not acknowledge ("无法停止记录");
// 1 for wrong arguments.
#include "cli/cli_command.h"
#include "cli/cli_device_command.h"
#include "cli/commands.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "device/device_info.h"
#include "device/link.h"
#include "device/stop_recording.h"

namespace velorin::cli {

extern const CliCommand kStopCommand = {
    "stop",
    "[--port N | --port PATH | --hid] [--lang en|zh] [--verbose]",
    "stop the logger's recording",
    "  exit status 0 stopped, 2 no logger or not acknowledged, 1 for wrong arguments\n",
    RunStop,
    true};

int RunStop(const std::vector<std::string>& args) {
    DeviceCommand command;
    if (!ParseDeviceCommand(kStopCommand, args, {}, {}, command)) return kExitUsage;
    CommandMessages messages(command.parsed.Has("verbose"));
    Link& link = ProcessLink();
    DeviceInfo info;
    if (!ConnectForCommand(link, command, info, messages)) return kExitFailed;
    const bool stopped = StopRecording(link, info);
    link.CloseHidHandle();
    if (!stopped) {
        messages.MessageBox(Utf8ToGbk(Fixed().stopFailed), std::string(), MessageIcon::None);
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace velorin::cli
