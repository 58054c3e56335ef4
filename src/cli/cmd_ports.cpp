#include <cstdio>

#include "cli/cli_command.h"
#include "cli/cli_options.h"
#include "cli/commands.h"
#include "device/serial_port.h"

namespace velorin::cli {

extern const CliCommand kPortsCommand = {
    "ports", "", "list the serial ports Connect walks (number <TAB> device path)",
    "  the ports COM<N> of the port folder ($VELORIN_PORT_DIR, default ~/.config/Velorin/ports),\n"
    "  otherwise COM1-32 = /dev/ttyS0-31, COM33-64 = /dev/ttyUSB0-31, COM65-96 = /dev/ttyACM0-31\n",
    RunPorts};

int RunPorts(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {}, {});
    if (!parsed.error.empty() || !parsed.positional.empty()) {
        std::fprintf(stderr, "%s", CommandUsage(kPortsCommand).c_str());
        return kExitUsage;
    }
    for (int port : SerialPortList()) {
        std::printf("%d\t%s\n", port, SerialDevicePath(port).c_str());
    }
    return kExitOk;
}

}  // namespace velorin::cli
