// Demo mode: a simulated logger inside the program, so a new user can try every command
// without hardware. It serves a pseudo-terminal linked as COM1 in a private port folder and the
// simulated USB link, and points the program's port numbering and USB library at them.
// Start before the main frame is created; stop (or destroy) after it is gone. SIGUSR1 to the
// program plugs or unplugs the demo logger's USB device, as it does for velorin-logger-sim.
#pragma once

#include <memory>
#include <string>

namespace velorin {

namespace sim {
class LoggerServer;
}

class DemoMode {
public:
    DemoMode();
    ~DemoMode();
    DemoMode(const DemoMode&) = delete;
    DemoMode& operator=(const DemoMode&) = delete;

    // Starts the simulator and sets VELORIN_PORT_DIR, VELORIN_KVUSB_SOCKET and VELORIN_KVUSB
    // (the simulated USB library) for this process. False with `error` when it could not start.
    bool Start(std::string& error);
    const std::string& PortFolder() const { return folder_; }
    // Plugs or unplugs the simulated USB device (the program sees it as a device notice).
    void ToggleUsbPlug();

private:
    std::string folder_;
    std::unique_ptr<sim::LoggerServer> server_;
};

}  // namespace velorin
