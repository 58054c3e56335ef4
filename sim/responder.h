// The logger's side of every exchange, without I/O and without reading a clock: the caller
// passes the host's civil time ("now") and moves the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velorin::sim {

struct LoggerState;

// Answers one serial request frame ('<' … '>'). Returns the reply bytes; empty when the logger
// does not answer (bad envelope or checksum, unknown command, a layout it cannot use, a history
// block that does not exist).
std::vector<uint8_t> RespondSerial(LoggerState& state, const uint8_t* frame, size_t length, int64_t hostNow);

// USB read (selector 0xFC, or 0xFE for the secondary report). Fills the 64-byte report and returns
// true, or returns false when the logger has no such report.
bool ReadUsbReport(const LoggerState& state, uint8_t selector, uint32_t callCode, int64_t hostNow, uint8_t report[64]);

// USB write (selector 0xED). Returns true when the logger accepted the report.
bool WriteUsbReport(LoggerState& state, uint8_t selector, uint32_t callCode, const uint8_t report[64], int64_t hostNow);

// The command byte of a call code.
constexpr uint8_t CallCommand(uint32_t callCode) { return static_cast<uint8_t>(callCode >> 16); }

}  // namespace velorin::sim
