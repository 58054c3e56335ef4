#include "logger_core.h"

#include <cstring>
#include <string>

#include "device/frame.h"
#include "kvusb.h"
#include "kvusb_sim_wire.h"
#include "responder.h"

namespace velorin::sim {

namespace {
// HID strings of the simulated logger, as the program looks for them.
constexpr char kManufacturer[] = "tavmok";
constexpr char kProduct[] = "4826vomu-pWren";

uint32_t BlockOfSerialRequest(const uint8_t* frame, size_t length) {
    return (length >= 9 && frame[2] == cmd::BlockRead) ? ReadU16BE(frame + 5) : 0;
}
}  // namespace

LoggerCore::LoggerCore(const LoggerState& state, const FaultPlan& plan, uint64_t seed)
    : state_(state), faults_(plan, seed) {}

LoggerState LoggerCore::State() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return state_;
}

void LoggerCore::SetFaultPlan(const FaultPlan& plan, uint64_t seed) {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_ = FaultInjector(plan, seed);
}

std::vector<OutputPiece> LoggerCore::HandleSerial(const uint8_t* frame, size_t length, int64_t hostNow) {
    const uint8_t command = length > 2 ? frame[2] : 0;
    std::vector<OutputPiece> pieces;
    std::string outcome;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (faults_.Dropped()) {
            outcome = "dropped";
        } else {
            std::vector<uint8_t> reply = RespondSerial(state_, frame, length, hostNow);
            if (reply.empty()) {
                outcome = "ignored";
            } else {
                const FaultAction action = faults_.Decide(command, BlockOfSerialRequest(frame, length));
                const size_t replyBytes = reply.size();
                pieces = faults_.ShapeSerial(action, std::move(reply));
                outcome = action.kind == FaultKind::None ? "reply " + std::to_string(replyBytes)
                                                         : std::string("fault ") + FaultKindName(action.kind);
            }
        }
    }
    log.Write(command, "serial", outcome);
    return pieces;
}

UsbResponse LoggerCore::HandleUsb(const uint8_t* packet, int64_t hostNow) {
    UsbResponse response;
    const uint8_t selector = packet[0];
    const uint32_t callCode = ReadU32BE(packet + 1);
    const uint8_t command = CallCommand(callCode);
    const uint8_t* report = packet + 5;

    if (selector == KVUSB_SIM_SELECTOR_IDENTIFY) {
        if (usbPlugged.load()) {
            response.bytes[0] = 1;
            std::memcpy(response.bytes + 1, kManufacturer, sizeof kManufacturer - 1);
            std::memcpy(response.bytes + 1 + KVUSB_SIM_STRING_BYTES, kProduct, sizeof kProduct - 1);
        }
        log.Write(0, "usb", usbPlugged.load() ? "identify" : "identify unplugged");
        return response;
    }
    if (!usbPlugged.load()) {
        log.Write(command, "usb", "unplugged");
        return response;
    }

    std::string outcome;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        bool ok = false;
        if (faults_.Dropped()) {
            outcome = "dropped";
        } else {
            if (selector == KVUSB_SELECTOR_WRITE) {
                ok = WriteUsbReport(state_, selector, callCode, report, hostNow);
            } else {
                ok = ReadUsbReport(state_, selector, callCode, hostNow, response.bytes + 1);
            }
            if (!ok) {
                outcome = "ignored";
            } else {
                const uint32_t block = command == cmd::BlockRead ? (callCode & 0xFFFF) : 0;
                const FaultAction action = faults_.Decide(command, block);
                // Faults of the byte stream (checksum, short, long, split) have no counterpart
                // in a report transfer; silence, garbage and lateness do.
                switch (action.kind) {
                    case FaultKind::Silence: ok = false; break;
                    case FaultKind::Garbage: faults_.FillGarbage(response.bytes + 1, 64); break;
                    case FaultKind::Late: response.delayMs = action.parameter; break;
                    default: break;
                }
                outcome = action.kind == FaultKind::None ? "done" : std::string("fault ") + FaultKindName(action.kind);
            }
        }
        if (!ok) std::memset(response.bytes, 0, sizeof response.bytes);
        response.bytes[0] = ok ? 1 : 0;
    }
    log.Write(command, "usb", outcome);
    return response;
}

}  // namespace velorin::sim
