#include <cstdio>

#include "cli/cli_options.h"
#include "cli/commands.h"
#include "device/serial_port.h"

namespace velorin::cli {

int RunPorts(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {}, {});
    if (!parsed.error.empty() || !parsed.positional.empty()) {
        std::fprintf(stderr, "usage: velorin-cli ports\n");
        return kExitUsage;
    }
    for (int port : SerialPortList()) {
        std::printf("%d\t%s\n", port, SerialDevicePath(port).c_str());
    }
    return kExitOk;
}

}  // namespace velorin::cli
