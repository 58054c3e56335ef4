// The simulated logger as a running device: a pseudo-terminal behind COM<N> in the port folder
// and the Unix socket of libkvusb-sim, served by one thread. Usable in-process (tests, demo mode)
// and by velorin-logger-sim.
//
//   velorin::sim::ServerOptions options;
//   options.portFolder = "/tmp/ports";          // COM1 appears there
//   velorin::sim::LoggerServer server(velorin::sim::DefaultLoggerState(
//                                         velorin::sim::HostNowCivil()), options);
//   std::string error;
//   if (!server.Start(&error)) ...;
//   server.DevicePath();   // "/dev/pts/7"
//   server.SocketPath();   // "/tmp/ports/kvusb-sim.sock"
//   server.Stop();         // also done by the destructor
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "fault_plan.h"
#include "logger_state.h"

namespace velorin::sim {

struct ServerOptions {
    std::string portFolder;  // empty: PortFolder()
    int comNumber = 1;       // the link is <portFolder>/COM<comNumber>
    bool serial = true;
    bool usb = true;
    // Empty: $VELORIN_KVUSB_SOCKET when set, otherwise <portFolder>/kvusb-sim.sock.
    std::string socketPath;
    bool usbPlugged = true;
    bool pacing = true;  // 115200 baud timing of serial replies
    FaultPlan fault;
    std::string logPath;  // empty: no request log
    uint64_t seed = 1;    // for garbage bytes of the fault plan
};

class LoggerServer {
public:
    LoggerServer(const LoggerState& initial, const ServerOptions& options);
    LoggerServer(const LoggerServer&) = delete;
    LoggerServer& operator=(const LoggerServer&) = delete;
    ~LoggerServer();

    // Opens the links and starts the thread. False with a message when a link cannot be set up.
    bool Start(std::string* error);
    // Stops the thread, removes the link and the socket file, closes every descriptor.
    void Stop();
    bool Running() const;

    const std::string& DevicePath() const;  // the pty slave; empty without serial link
    const std::string& LinkPath() const;    // <portFolder>/COM<N>; empty without serial link
    const std::string& SocketPath() const;  // empty without USB link

    // The logger state, copied under the server's lock.
    LoggerState State() const;
    void UpdateState(const std::function<void(LoggerState&)>& change);

    void SetUsbPlugged(bool plugged);
    bool UsbPlugged() const;
    void SetFaultPlan(const FaultPlan& plan);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace velorin::sim
