// Configuration requests as the logger applies them. A request that does not fit its documented
// layout changes nothing and is rejected (the logger stays silent).
#pragma once

#include <cstddef>
#include <cstdint>

namespace velorin::sim {

struct LoggerState;

enum class ConfigResult {
    Rejected,     // no reply
    Ack,          // 7-byte acknowledgement
    AckWithCode,  // 8-byte acknowledgement carrying the accepted code (immediate or timed start)
};

// True for the commands this file handles (0x11, 0x13, 0x14, 0x15, 0x16, 0x1D, 0x1E, 0x1F, 0x20,
// 0x21).
bool IsConfigCommand(uint8_t command);

// Applies one request's data bytes (the bytes between the header and the checksum). `hostNow` is
// the host's civil time; the logger's clock is hostNow + clockOffset.
ConfigResult ApplyConfig(LoggerState& state, uint8_t command, const uint8_t* data, size_t length, int64_t hostNow);

// The two requests whose USB report is not a frame: '<', user name (30), title (30); and '<',
// duration (4, big-endian), over-limit index, three zero bytes, 255, '>'.
bool ApplyUsbUserTitle(LoggerState& state, const uint8_t* report, size_t length);
bool ApplyUsbRecordInterval(LoggerState& state, const uint8_t* report, size_t length);

}  // namespace velorin::sim
