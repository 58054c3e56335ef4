#include "server.h"

#include <fcntl.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "device/port_folder.h"
#include "kvusb_sim_wire.h"
#include "logger_core.h"
#include "serial_link.h"
#include "usb_link.h"

namespace velorin::sim {

namespace {
int64_t SteadyNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000ll + ts.tv_nsec;
}
}  // namespace

struct LoggerServer::Impl {
    Impl(const LoggerState& initial, const ServerOptions& o)
        : options(o), core(initial, o.fault, o.seed), serial(core, o.pacing), usb(core) {
        core.usbPlugged = o.usbPlugged;
    }

    void Loop();
    void CloseAll();
    void WritePlugState();
    bool plugStateWritten = false;  // this server wrote the plug state file (it removes it)

    ServerOptions options;
    LoggerCore core;
    SerialLink serial;
    UsbLink usb;
    std::string devicePath;
    std::string linkPath;
    std::string socketPath;
    int wake[2] = {-1, -1};  // self-pipe: Stop() writes a byte
    std::thread thread;
    bool running = false;
};

void LoggerServer::Impl::Loop() {
    std::vector<pollfd> fds;
    for (;;) {
        const int64_t now = SteadyNs();
        fds.clear();
        fds.push_back({wake[0], POLLIN, 0});
        const bool haveSerial = serial.Fd() >= 0;
        if (haveSerial) fds.push_back({serial.Fd(), serial.Events(now), 0});
        const size_t usbFirst = fds.size();
        usb.AddPollFds(fds, now);

        int64_t wakeAt = serial.NextWakeNs();
        const int64_t usbWake = usb.NextWakeNs();
        if (usbWake >= 0 && (wakeAt < 0 || usbWake < wakeAt)) wakeAt = usbWake;
        timespec timeout{};
        timespec* timeoutPtr = nullptr;
        if (wakeAt >= 0) {
            const int64_t wait = wakeAt > now ? wakeAt - now : 0;
            timeout.tv_sec = static_cast<time_t>(wait / 1000000000ll);
            timeout.tv_nsec = static_cast<long>(wait % 1000000000ll);
            timeoutPtr = &timeout;
        }
        const int ready = ppoll(fds.data(), fds.size(), timeoutPtr, nullptr);
        if (ready < 0 && errno != EINTR) break;
        if (ready > 0 && (fds[0].revents & POLLIN)) break;  // Stop()

        const int64_t after = SteadyNs();
        if (haveSerial && ready > 0 && (fds[1].revents & POLLIN)) serial.OnReadable(after);
        if (haveSerial) serial.Flush(SteadyNs());
        usb.Handle(fds.data() + usbFirst, fds.size() - usbFirst, SteadyNs());
    }
}

// The plug state beside the socket, replaced as a whole so a reader never sees half of it.
void LoggerServer::Impl::WritePlugState() {
    if (socketPath.empty()) return;
    const std::string path = socketPath + KVUSB_SIM_PLUG_SUFFIX;
    const std::string temporary = path + ".new";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return;
    const char* text = core.usbPlugged.load() ? "1\n" : "0\n";
    const bool written = write(fd, text, 2) == 2;
    close(fd);
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return;
    }
    plugStateWritten = true;
}

void LoggerServer::Impl::CloseAll() {
    serial.Close();
    if (plugStateWritten) unlink((socketPath + KVUSB_SIM_PLUG_SUFFIX).c_str());
    plugStateWritten = false;
    usb.Close();
    core.log.Close();
    for (int& fd : wake) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
}

LoggerServer::LoggerServer(const LoggerState& initial, const ServerOptions& options)
    : impl_(std::make_unique<Impl>(initial, options)) {}

LoggerServer::~LoggerServer() { Stop(); }

bool LoggerServer::Start(std::string* error) {
    std::string ignored;
    if (error == nullptr) error = &ignored;
    Impl& m = *impl_;
    if (m.running) return true;
    const std::string folder = m.options.portFolder.empty() ? PortFolder() : m.options.portFolder;
    if (pipe2(m.wake, O_CLOEXEC) != 0) {
        *error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    if (!m.core.log.Open(m.options.logPath)) {
        *error = "cannot open log file " + m.options.logPath;
        m.CloseAll();
        return false;
    }
    if (m.options.serial) {
        m.linkPath = folder + "/COM" + std::to_string(m.options.comNumber);
        if (!m.serial.Open(m.linkPath, error)) {
            m.CloseAll();
            m.linkPath.clear();
            return false;
        }
        m.devicePath = m.serial.SlavePath();
    }
    if (m.options.usb) {
        m.socketPath = m.options.socketPath;
        if (m.socketPath.empty()) {
            const char* env = std::getenv("VELORIN_KVUSB_SOCKET");
            m.socketPath = (env != nullptr && *env != '\0') ? std::string(env) : folder + "/" + KVUSB_SIM_SOCKET_NAME;
        }
        if (!m.usb.Open(m.socketPath, error)) {
            m.CloseAll();
            m.devicePath.clear();
            m.linkPath.clear();
            m.socketPath.clear();
            return false;
        }
    }
    m.WritePlugState();
    m.thread = std::thread([&m] { m.Loop(); });
    m.running = true;
    return true;
}

void LoggerServer::Stop() {
    Impl& m = *impl_;
    if (!m.running) return;
    const uint8_t byte = 1;
    while (write(m.wake[1], &byte, 1) < 0 && errno == EINTR) {
    }
    m.thread.join();
    m.CloseAll();
    m.running = false;
}

bool LoggerServer::Running() const { return impl_->running; }
const std::string& LoggerServer::DevicePath() const { return impl_->devicePath; }
const std::string& LoggerServer::LinkPath() const { return impl_->linkPath; }
const std::string& LoggerServer::SocketPath() const { return impl_->socketPath; }

LoggerState LoggerServer::State() const { return impl_->core.State(); }

void LoggerServer::UpdateState(const std::function<void(LoggerState&)>& change) {
    impl_->core.Update([&change](LoggerState& s) { change(s); });
}

void LoggerServer::SetUsbPlugged(bool plugged) {
    impl_->core.usbPlugged = plugged;
    if (impl_->running) impl_->WritePlugState();
}
bool LoggerServer::UsbPlugged() const { return impl_->core.usbPlugged.load(); }

void LoggerServer::SetFaultPlan(const FaultPlan& plan) { impl_->core.SetFaultPlan(plan, impl_->options.seed); }

}  // namespace velorin::sim
