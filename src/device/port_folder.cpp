#include "device/port_folder.h"

#include <cstdlib>

#include "kvusb_sim_wire.h"

namespace velorin {

namespace {
std::string EnvOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return (v != nullptr && *v != '\0') ? std::string(v) : fallback;
}
}  // namespace

std::string PortFolder() {
    const char* home = std::getenv("HOME");
    const std::string fallback = std::string(home != nullptr ? home : "/tmp") + "/.config/Velorin/ports";
    return EnvOr("VELORIN_PORT_DIR", fallback);
}

std::string KvusbSimSocketPath() { return EnvOr("VELORIN_KVUSB_SOCKET", PortFolder() + "/" + KVUSB_SIM_SOCKET_NAME); }

}  // namespace velorin
