#include "reply_data.h"

#include <cstring>

#include "civil_time.h"
#include "device/frame.h"
#include "history_generator.h"
#include "logger_state.h"

namespace velorin::sim {

void BuildInfoData(const LoggerState& s, uint8_t out[kInfoDataBytes]) {
    std::memset(out, 0, kInfoDataBytes);
    std::memcpy(out + 0, s.userName, kTextFieldBytes);
    std::memcpy(out + 30, s.title, kTextFieldBytes);
    out[63] = s.recordMode;
    out[64] = s.workState;
    out[65] = s.startMode;
    out[66] = s.stopMode;
    out[68] = s.powerMode;
    WriteU32BE(out + 69, s.intervalSeconds);
    out[73] = s.overflowByte;
    uint8_t mask = 0;
    for (int c = 0; c < kChannelCount; ++c) {
        if (s.channels[c].enabled) mask = static_cast<uint8_t>(mask | (1u << c));
    }
    out[74] = mask;
    WriteTimeBytes(s.startTime, out + 75);
    WriteTimeBytes(s.timedStart, out + 81);
    WriteTimeBytes(s.timedStop, out + 87);
    WriteU32BE(out + 99, s.recordCount);
}

void BuildIdentityData(const LoggerState& s, uint8_t out[kIdentityDataBytes]) {
    std::memset(out, 0, kIdentityDataBytes);
    std::memcpy(out + 0, s.model, 8);
    std::memcpy(out + 9, s.serialNumber, 8);
    out[19] = s.firmware;
    WriteU32BE(out + 20, s.capacity);
}

void BuildChannelData(const LoggerState& s, int channel, bool rangeInUnits, uint8_t out[kChannelDataBytes]) {
    std::memset(out, 0, kChannelDataBytes);
    const ChannelConfig& c = s.channels[channel];
    out[0] = static_cast<uint8_t>(channel + 1);
    out[1] = c.quantity;
    out[2] = c.unit;
    out[3] = c.type;
    const int16_t low = rangeInUnits ? static_cast<int16_t>(c.rangeLowX10 / 10) : c.rangeLowX10;
    const int16_t high = rangeInUnits ? static_cast<int16_t>(c.rangeHighX10 / 10) : c.rangeHighX10;
    WriteU16BE(out + 5, static_cast<uint16_t>(low));
    WriteU16BE(out + 7, static_cast<uint16_t>(high));
    out[13] = c.alarm ? 1 : 0;
    WriteU16BE(out + 15, static_cast<uint16_t>(c.lowerAlarmX10));
    WriteU16BE(out + 17, static_cast<uint16_t>(c.upperAlarmX10));
}

void BuildLiveData(const LoggerState& s, int64_t loggerNow, uint8_t out[kLiveDataBytes]) {
    std::memset(out, 0, kLiveDataBytes);
    const HistoryGenerator history(s);
    for (int c = 0; c < kChannelCount; ++c) {
        if (!s.channels[c].enabled) continue;
        WriteU16BE(out + 1 + 2 * c, LiveRaw(s.channels[c].type, history.LiveSample(c, loggerNow)));
    }
}

void BuildSecondaryData(const LoggerState& s, uint8_t out[kSecondaryDataBytes]) {
    std::memset(out, 0, kSecondaryDataBytes);
    WriteU32BE(out, s.intervalSeconds);
    out[kSecondaryIndexOffset] = s.overLimitIndex;
}

BlockLayout HistoryBlockLayout(const LoggerState& s, HistoryLink link) {
    const HistoryGenerator history(s);
    const size_t recordBytes = history.RecordBytes();
    BlockLayout layout;
    size_t perBlock = 0;
    if (link == HistoryLink::Usb) {
        perBlock = (kUsbReportBytes - kFrameOverheadBytes - 2) / recordBytes;
    } else if (s.serialBlockRecords > 0) {
        perBlock = s.serialBlockRecords;
        // L is a 16-bit field: L = 4 + m × record bytes.
        const size_t maxBy16Bits = (0xFFFF - 4) / recordBytes;
        if (perBlock > maxBy16Bits) perBlock = maxBy16Bits;
    } else {
        perBlock = (kSerialBlockBudget - kFrameOverheadBytes - 2) / recordBytes;
    }
    layout.recordsPerBlock = static_cast<uint32_t>(perBlock);
    if (perBlock == 0) return layout;
    const uint64_t available = history.AvailableRecords();
    const uint64_t blocks = (available + perBlock - 1) / perBlock;
    layout.blockCount = static_cast<uint32_t>(blocks > 0xFFFF ? 0xFFFF : blocks);
    return layout;
}

std::vector<uint8_t> BuildBlockReply(const LoggerState& s, uint8_t address, uint32_t block, HistoryLink link) {
    const BlockLayout layout = HistoryBlockLayout(s, link);
    if (block == 0 || block > layout.blockCount) return {};
    const HistoryGenerator history(s);
    const uint32_t available = history.AvailableRecords();
    const uint32_t firstOfBlock = (block - 1) * layout.recordsPerBlock;
    uint32_t count = available - firstOfBlock;
    if (count > layout.recordsPerBlock) count = layout.recordsPerBlock;
    const size_t recordBytes = history.RecordBytes();

    std::vector<uint8_t> data(2 + static_cast<size_t>(count) * recordBytes);
    WriteU16BE(data.data(), static_cast<uint16_t>(block));
    for (uint32_t r = 0; r < count; ++r) {
        history.EncodeRecord(history.FirstIndex() + firstOfBlock + r, data.data() + 2 + r * recordBytes, recordBytes);
    }
    std::vector<uint8_t> reply(data.size() + kFrameOverheadBytes);
    const size_t n = EncodeReply(address, cmd::BlockRead, data.data(), data.size(), reply.data(), reply.size());
    reply.resize(n);
    return reply;
}

}  // namespace velorin::sim
