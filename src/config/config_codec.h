// The configuration requests as bytes: pure builders of the nine request frames and of the two
// USB buffers whose layout is not a frame, the encodings of their data, and the tests that judge
// a reply. Nothing here talks to a logger (config_requests.h does).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "device/frame.h"

namespace velorin {

class CDealTime;

// User name and title travel as exactly 30 bytes, NUL-padded; a longer text is cut at the last
// character boundary within 30 bytes (a logger must never hold half a character).
constexpr size_t kConfigTextBytes = 30;

// Mode codes on the wire.
namespace mode_code {
constexpr uint8_t RecordManual = 0x00;
constexpr uint8_t RecordAutomatic = 0x01;
constexpr uint8_t PowerNormal = 0x01;
constexpr uint8_t PowerSaving = 0x80;
constexpr uint8_t StartImmediate = 0x01;
constexpr uint8_t StartTimed = 0x02;
constexpr uint8_t StartManual = 0x03;
constexpr uint8_t StopMemoryFull = 0x01;
constexpr uint8_t StopTimed = 0x02;
constexpr uint8_t StopFifo = 0x03;
constexpr uint8_t StopManual = 0x04;
}  // namespace mode_code

// A local date and time as the logger takes it: six plain bytes, year − 2000 first. The year
// byte holds the low 8 bits of year − 2000; callers keep the year within 2000 … 2255.
struct ClockBytes {
    uint8_t bytes[6] = {};
};
ClockBytes ClockBytesOf(int year, int month, int day, int hour, int minute, int second);
ClockBytes ClockBytesOf(const CDealTime& time);

// BCD form of 0 … 99 (two decimal digits in one byte) and back.
uint8_t ToBcd(int value);
int FromBcd(uint8_t bcd);
// Six BCD bytes (year − 2000, month, day, hour, minute, second) of a local time. Years outside
// 2000 … 2099 have no two-digit form; callers keep the year in that range.
struct BcdTime {
    uint8_t bytes[6] = {};
};
BcdTime BcdTimeOf(const CDealTime& time);
ClockBytes PlainOf(const BcdTime& bcd);
// The text a timed start or stop is kept as: "20YY-MM-DD hh:mm:ss" from the BCD bytes.
std::string TimedTimeText(const BcdTime& bcd);

// An alarm limit text read as a decimal number, times ten, truncated toward zero. The decimal
// text is read exactly (25.1 gives 251, never 250 through a binary rounding). Leading blanks are
// skipped and reading stops at the first character that does not belong to the number; no
// number at all reads as 0. `fits` is false when the value leaves −3276.8 … 3276.7, the range
// of the signed 16-bit field.
struct AlarmLimit {
    int16_t tenths = 0;
    bool fits = true;
};
AlarmLimit ParseAlarmLimit(const std::string& text);

// One channel's part of the alarm request.
struct AlarmSetting {
    bool enabled = false;  // the channel's alarm switch
    int16_t lowerX10 = 0;
    int16_t upperX10 = 0;
};

// Request builders (address byte from the link). Durations are seconds, big-endian.
AngleFrame BuildUserTitleRequest(uint8_t address, const std::string& userName, const std::string& title);
AngleFrame BuildClockRequest(uint8_t address, const ClockBytes& time);
// `time` is used for the timed start (code 2) only.
AngleFrame BuildStartModeRequest(uint8_t address, uint8_t code, const ClockBytes& time);
AngleFrame BuildStopModeRequest(uint8_t address, uint8_t code, const ClockBytes& time);
AngleFrame BuildIntervalRequest(uint8_t address, uint32_t seconds);
AngleFrame BuildClearAndRestartRequest(uint8_t address);
// `settings` holds one entry per channel that the logger records among channels 1 … 6, in
// channel order; at most 6.
AngleFrame BuildAlarmRequest(uint8_t address, const AlarmSetting* settings, size_t count);
AngleFrame BuildPowerModeRequest(uint8_t address, uint8_t code);
AngleFrame BuildRecordModeRequest(uint8_t address, uint8_t code);

// The two USB buffers that are not frames (64 bytes, the rest zero):
// '<', user name (30), title (30);
void BuildUsbUserTitle(const std::string& userName, const std::string& title, uint8_t (&report)[64]);
// '<', duration (4, big-endian), over-limit interval index, three zero bytes, 255, '>'.
void BuildUsbInterval(uint32_t seconds, uint8_t overLimitIndex, uint8_t (&report)[64]);

// Reply tests, applied to what Transact returned: `received` bytes arrived, `stored` of them
// are in `reply`. Content is looked at only where it was stored.
struct ReplySeen {
    const uint8_t* reply = nullptr;
    size_t received = 0;
    size_t stored = 0;
    // Byte `i` of the reply, or −1 when it was not stored.
    int Byte(size_t i) const { return i < stored ? reply[i] : -1; }
};
// "7 bytes came back".
bool AcceptCount7(const ReplySeen& r);
// "7 bytes came back, byte 0 is '(' and byte 6 is ')'".
bool AcceptFramed7(const ReplySeen& r);
// Record interval: "byte 0 is '(' and byte 6 is ')'" (the count is not looked at).
bool AcceptIntervalReply(const ReplySeen& r);
// Start mode: a manual start is acknowledged with 7 bytes, an immediate or timed start with 8;
// an acknowledgement of 7 or 8 bytes that starts with '(' and ends with ')' is accepted for
// every start code.
bool AcceptStartModeReply(uint8_t code, const ReplySeen& r);
// Clear-and-restart from the wizard: 7 bytes came back, or byte 2 is the command, or byte 0 is
// '(' (whatever the length).
bool AcceptWizardRestart(const ReplySeen& r);
// How many times the clock dialog says the clock was not set for this reply: with 7 bytes, once
// for a first byte other than '(' and once more for a seventh byte other than ')'; with any
// other count, once.
int ClockDialogFailureCount(const ReplySeen& r);

}  // namespace velorin
