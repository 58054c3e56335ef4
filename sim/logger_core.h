// What both simulated links share: the logger state under its mutex, the fault injector and the
// request log. Each handler takes one complete request and returns what the link must send.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "fault_plan.h"
#include "logger_state.h"
#include "request_log.h"

namespace velorin::sim {

// One 65-byte response of the simulated USB link and how long to hold it back.
struct UsbResponse {
    uint8_t bytes[65] = {};
    int64_t delayMs = 0;
};

class LoggerCore {
public:
    LoggerCore(const LoggerState& state, const FaultPlan& plan, uint64_t seed);

    // A complete, well-formed serial request frame → the pieces to put on the line (none when
    // the logger stays silent). `hostNow` is civil seconds.
    std::vector<OutputPiece> HandleSerial(const uint8_t* frame, size_t length, int64_t hostNow);
    // One 69-byte request packet of the simulated USB link.
    UsbResponse HandleUsb(const uint8_t* packet, int64_t hostNow);

    LoggerState State() const;
    template <typename F>
    void Update(F&& change) {
        std::lock_guard<std::mutex> lock(mutex_);
        change(state_);
    }
    void SetFaultPlan(const FaultPlan& plan, uint64_t seed);

    std::atomic<bool> usbPlugged{true};
    RequestLog log;  // server thread only

private:
    mutable std::mutex mutex_;
    LoggerState state_;
    FaultInjector faults_;
};

}  // namespace velorin::sim
