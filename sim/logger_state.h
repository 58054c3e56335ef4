// The virtual logger: everything the simulated device remembers. Plain data; the responder reads
// and changes it, the server guards it with its mutex.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velorin::sim {

constexpr int kChannelCount = 8;
constexpr size_t kTextFieldBytes = 30;  // user name and title, GBK bytes, NUL-padded

// Sample format byte of a channel: low nibble = bytes per sample, high nibble 2 = hundredths.
namespace channel_type {
constexpr uint8_t Tenths = 0x02;
constexpr uint8_t Hundredths = 0x22;
constexpr uint8_t Float = 0x04;
}  // namespace channel_type

struct ChannelConfig {
    bool enabled = false;
    uint8_t type = channel_type::Tenths;
    uint8_t quantity = 0;
    uint8_t unit = 0;
    bool alarm = false;
    // Limits in tenths of the channel's unit (signed 16-bit on the wire).
    int16_t lowerAlarmX10 = 0;
    int16_t upperAlarmX10 = 0;
    int16_t rangeLowX10 = 0;
    int16_t rangeHighX10 = 0;
};

struct LoggerState {
    // Identity. Model and serial number are 8 bytes each, not terminated.
    char model[8] = {};
    char serialNumber[8] = {};
    uint8_t firmware = 11;  // version × 10
    uint32_t capacity = 32000;

    uint8_t userName[kTextFieldBytes] = {};
    uint8_t title[kTextFieldBytes] = {};

    // Raw mode codes as the logger reports them.
    uint8_t recordMode = 1;  // 0 manual, 1 automatic
    uint8_t workState = 1;   // 0 stopped, 1 recording
    uint8_t startMode = 1;   // 1 immediate, 2 timed, 3 manual
    uint8_t stopMode = 1;    // 1 memory full, 2 timed, 3 fifo, 4 manual
    uint8_t powerMode = 1;   // 1 normal, 0x80 power saving
    uint32_t intervalSeconds = 60;
    uint8_t overLimitIndex = 0;  // index into the over-limit interval choices (0..13)

    // Civil seconds of the logger's wall clock (civil_time.h).
    int64_t startTime = 0;
    int64_t timedStart = 0;
    int64_t timedStop = 0;

    uint32_t recordCount = 0;  // records recorded since the start (may exceed capacity)
    uint8_t overflowByte = 0;  // the overflow count byte as the logger keeps it
    int64_t clockOffset = 0;   // logger clock − host clock, seconds

    ChannelConfig channels[kChannelCount];

    // Records per history block on the serial link; 0 = as many as fit 6000 bytes.
    uint32_t serialBlockRecords = 0;
    uint64_t seed = 1;
};

// The logger of the demo: "VLR-T810" with four channels (temperature, humidity, temperature in
// hundredths, pressure as 4-byte float), 1000 records at 60 s ending at `hostNow`.
LoggerState DefaultLoggerState(int64_t hostNow);

// Copies `text` into a fixed field, cut at the field width and NUL-padded.
void SetFixedText(uint8_t* field, size_t width, const char* text);

// Number of enabled channels among channels 1..6: the alarm-limit request covers only those.
int AlarmChannelCount(const LoggerState& state);

}  // namespace velorin::sim
