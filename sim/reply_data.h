// The data parts of the logger's replies, laid out as the program decodes them. Each builder
// writes the bytes that follow the 5-byte frame header (serial reply byte 5 + k = data byte k;
// over USB the table of device/usb_reply_layout.h places the reply in its report).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velorin::sim {

struct LoggerState;

// Info data: at least 103 bytes are decoded; the serial reply must be at least 113 bytes long,
// so the block carries a few spare bytes after the record count.
constexpr size_t kInfoDataBytes = 108;
constexpr size_t kIdentityDataBytes = 24;
// The program copies channel data 1..20, so the block has 21 bytes.
constexpr size_t kChannelDataBytes = 21;
// One spare byte, then eight signed 16-bit values.
constexpr size_t kLiveDataBytes = 17;
// Payload of the USB info report part 0; the rest of the info data travels in part 1.
constexpr size_t kUsbInfoPart0Bytes = 63;
// The USB secondary information report's data: the interval at bytes 0–3, the over-limit
// interval index at byte 12.
constexpr size_t kSecondaryDataBytes = 16;
constexpr size_t kSecondaryIndexOffset = 12;

// History blocks on the serial link hold at most this many bytes in all (header and trailer
// included) unless a block size is configured.
constexpr size_t kSerialBlockBudget = 6000;
// On USB a block reply must fit one 64-byte report (laid out by the USB reply table).
constexpr size_t kUsbReportBytes = 64;

void BuildInfoData(const LoggerState& state, uint8_t out[kInfoDataBytes]);
void BuildIdentityData(const LoggerState& state, uint8_t out[kIdentityDataBytes]);
// `channel` is 0-based. Range limits go out in tenths, or in whole units (truncated toward zero)
// when `rangeInUnits` is set, as the USB link carries them.
void BuildChannelData(const LoggerState& state, int channel, bool rangeInUnits, uint8_t out[kChannelDataBytes]);
void BuildLiveData(const LoggerState& state, int64_t loggerNow, uint8_t out[kLiveDataBytes]);
void BuildSecondaryData(const LoggerState& state, uint8_t out[kSecondaryDataBytes]);

enum class HistoryLink { Serial, Usb };

struct BlockLayout {
    uint32_t recordsPerBlock = 0;  // 0: records too wide for this link, no blocks
    uint32_t blockCount = 0;       // at most 65535 (a 16-bit field)
};
BlockLayout HistoryBlockLayout(const LoggerState& state, HistoryLink link);

// The reply frame of BlockRead for block `block` (1-based): length L = 4 + m × record bytes in
// bytes 3–4, the block number in bytes 5–6, m records from byte 7, checksum at L + 3, ')' at
// L + 4. Empty when the block does not exist.
std::vector<uint8_t> BuildBlockReply(const LoggerState& state, uint8_t address, uint32_t block, HistoryLink link);

}  // namespace velorin::sim
