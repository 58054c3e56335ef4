#include "app/simulated_hotplug.h"

#include <fcntl.h>
#include <unistd.h>

#include <QTimer>

#include "device/port_folder.h"
#include "kvusb_sim_wire.h"

namespace velorin {

int ReadSimulatedPlugState(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return -1;
    char text[8] = {};
    const ssize_t n = ::read(fd, text, sizeof text);  // bounded: the state is one digit
    ::close(fd);
    if (n < 1) return -1;
    if (text[0] == '1') return 1;
    if (text[0] == '0') return 0;
    return -1;
}

std::string SimulatedHotplugSource::DefaultStateFile() { return KvusbSimSocketPath() + KVUSB_SIM_PLUG_SUFFIX; }

SimulatedHotplugSource::SimulatedHotplugSource(std::string stateFile, int intervalMs, QObject* parent)
    : HotplugSource(parent), stateFile_(std::move(stateFile)) {
    plugged_ = ReadSimulatedPlugState(stateFile_);
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, &SimulatedHotplugSource::Poll);
    timer_->start(intervalMs);
}

SimulatedHotplugSource::~SimulatedHotplugSource() = default;

void SimulatedHotplugSource::Poll() {
    const int now = ReadSimulatedPlugState(stateFile_);
    if (now == plugged_) return;
    const int before = plugged_;
    plugged_ = now;
    // A simulator that stops takes its device with it; one that starts plugged brings it.
    if (before == 1) emit HidInterfaceRemoved();
    if (now == 1) emit HidInterfaceArrived();
}

}  // namespace velorin
