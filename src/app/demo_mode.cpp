#include "app/demo_mode.h"

#include <cstdlib>
#include <unistd.h>

#include "civil_time.h"
#include "device/kvusb_loader.h"
#include "logger_state.h"
#include "server.h"

namespace velorin {

DemoMode::DemoMode() = default;

DemoMode::~DemoMode() {
    if (server_) server_->Stop();
    if (!folder_.empty()) {
        ::rmdir(folder_.c_str());  // the server removed its link and socket
    }
}

void DemoMode::ToggleUsbPlug() {
    if (server_) server_->SetUsbPlugged(!server_->UsbPlugged());
}

bool DemoMode::Start(std::string& error) {
    char pattern[] = "/tmp/velorin-demo-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        error = "cannot create the demo port folder";
        return false;
    }
    folder_ = pattern;
    sim::ServerOptions options;
    options.portFolder = folder_;
    options.comNumber = 1;
    options.socketPath = folder_ + "/kvusb-sim.sock";
    server_ = std::make_unique<sim::LoggerServer>(sim::DefaultLoggerState(sim::HostNowCivil()), options);
    if (!server_->Start(&error)) return false;
    setenv("VELORIN_PORT_DIR", folder_.c_str(), 1);
    setenv("VELORIN_KVUSB_SOCKET", options.socketPath.c_str(), 1);
    const std::string simLibrary = ExecutableFolder() + "/libkvusb-sim.so";
    setenv("VELORIN_KVUSB", simLibrary.c_str(), 1);
    return true;
}

}  // namespace velorin
