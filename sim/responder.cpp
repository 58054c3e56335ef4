#include "responder.h"

#include <cstring>

#include "config_apply.h"
#include "device/frame.h"
#include "device/usb_reply_layout.h"
#include "kvusb.h"
#include "logger_state.h"
#include "reply_data.h"

namespace velorin::sim {

namespace {

std::vector<uint8_t> Reply(uint8_t address, uint8_t command, const uint8_t* data, size_t length) {
    std::vector<uint8_t> out(length + kFrameOverheadBytes);
    out.resize(EncodeReply(address, command, data, length, out.data(), out.size()));
    return out;
}

// A whole, well-formed request frame of exactly `length` bytes.
bool IsCompleteRequest(const uint8_t* frame, size_t length, size_t maxBytes) {
    if (frame == nullptr || length < kFrameOverheadBytes || length > maxBytes) return false;
    const FrameScanResult scan = ScanFrame(frame, length, kRequestStart, kRequestEnd, maxBytes);
    return scan.kind == FrameScan::Complete && scan.offset == 0 && scan.length == length;
}

// A reply laid into a USB report as the program's USB reply table says (payload or frame).
bool UsbReport(UsbReply kind, const std::vector<uint8_t>& frame, uint8_t report[kUsbReportBytes]) {
    if (frame.empty()) return false;
    LayUsbReply(kind, frame.data(), frame.size(), report, kUsbReportBytes);
    return true;
}

std::vector<uint8_t> BlockCountReply(const LoggerState& s, uint8_t address, HistoryLink link) {
    uint8_t data[2];
    WriteU16BE(data, static_cast<uint16_t>(HistoryBlockLayout(s, link).blockCount));
    return Reply(address, cmd::BlockCountQuery, data, sizeof data);
}

std::vector<uint8_t> LiveReply(const LoggerState& s, uint8_t address, int64_t hostNow) {
    uint8_t data[kLiveDataBytes];
    BuildLiveData(s, hostNow + s.clockOffset, data);
    return Reply(address, cmd::LiveReading, data, sizeof data);
}

}  // namespace

std::vector<uint8_t> RespondSerial(LoggerState& s, const uint8_t* frame, size_t length, int64_t hostNow) {
    if (!IsCompleteRequest(frame, length, kMaxRequestBytes)) return {};
    const uint8_t address = frame[1];
    const uint8_t command = frame[2];
    const uint8_t* data = frame + kFrameHeaderBytes;
    const size_t dataLength = length - kFrameOverheadBytes;

    switch (command) {
        case cmd::InfoQuery: {
            if (dataLength != 0) return {};
            uint8_t info[kInfoDataBytes];
            BuildInfoData(s, info);
            return Reply(address, command, info, sizeof info);
        }
        case cmd::IdentityQuery: {
            if (dataLength != 0) return {};
            uint8_t identity[kIdentityDataBytes];
            BuildIdentityData(s, identity);
            return Reply(address, command, identity, sizeof identity);
        }
        case cmd::ChannelQuery: {
            if (dataLength != 1 || data[0] < 1 || data[0] > kChannelCount) return {};
            uint8_t channel[kChannelDataBytes];
            BuildChannelData(s, data[0] - 1, false, channel);
            return Reply(address, command, channel, sizeof channel);
        }
        case cmd::LiveReading:
            if (dataLength != 1) return {};
            return LiveReply(s, address, hostNow);
        case cmd::BlockCountQuery:
            if (dataLength != 0) return {};
            return BlockCountReply(s, address, HistoryLink::Serial);
        case cmd::BlockRead:
            if (dataLength != 2) return {};
            return BuildBlockReply(s, address, ReadU16BE(data), HistoryLink::Serial);
        default: break;
    }
    if (!IsConfigCommand(command)) return {};
    switch (ApplyConfig(s, command, data, dataLength, hostNow)) {
        case ConfigResult::Ack: return Reply(address, command, nullptr, 0);
        case ConfigResult::AckWithCode: return Reply(address, command, data, 1);
        case ConfigResult::Rejected: break;
    }
    return {};
}

bool ReadUsbReport(const LoggerState& s, uint8_t selector, uint32_t callCode, int64_t hostNow, uint8_t report[64]) {
    if (report == nullptr) return false;
    const uint8_t command = CallCommand(callCode);
    const uint8_t part = static_cast<uint8_t>(callCode >> 8);
    const uint8_t index = static_cast<uint8_t>(callCode);

    if (selector == KVUSB_SELECTOR_SECONDARY) {
        if (command != cmd::InfoQuery) return false;
        uint8_t secondary[kSecondaryDataBytes];
        BuildSecondaryData(s, secondary);
        return UsbReport(UsbReply::Secondary, Reply(0, command, secondary, sizeof secondary), report);
    }
    if (selector != KVUSB_SELECTOR_READ) return false;

    switch (command) {
        case cmd::InfoQuery: {
            uint8_t info[kInfoDataBytes];
            BuildInfoData(s, info);
            if (part == 0) return UsbReport(UsbReply::InfoPart0, Reply(0, command, info, kUsbInfoPart0Bytes), report);
            if (part == 1) {
                return UsbReport(UsbReply::InfoPart1,
                                 Reply(0, command, info + kUsbInfoPart0Bytes, kInfoDataBytes - kUsbInfoPart0Bytes),
                                 report);
            }
            return false;
        }
        case cmd::IdentityQuery: {
            uint8_t identity[kIdentityDataBytes];
            BuildIdentityData(s, identity);
            return UsbReport(UsbReply::Identity, Reply(0, command, identity, sizeof identity), report);
        }
        case cmd::ChannelQuery: {
            if (index >= kChannelCount) return false;
            uint8_t channel[kChannelDataBytes];
            BuildChannelData(s, index, true, channel);
            return UsbReport(UsbReply::Channel, Reply(0, command, channel, sizeof channel), report);
        }
        case cmd::LiveReading: return UsbReport(UsbReply::Live, LiveReply(s, 0, hostNow), report);
        case cmd::BlockCountQuery:
            return UsbReport(UsbReply::BlockCount, BlockCountReply(s, 0, HistoryLink::Usb), report);
        case cmd::BlockRead:
            return UsbReport(UsbReply::Block, BuildBlockReply(s, 0, callCode & 0xFFFF, HistoryLink::Usb), report);
        default: return false;
    }
}

bool WriteUsbReport(LoggerState& s, uint8_t selector, uint32_t callCode, const uint8_t report[64], int64_t hostNow) {
    if (report == nullptr || selector != KVUSB_SELECTOR_WRITE) return false;
    const uint8_t command = CallCommand(callCode);
    if (!IsConfigCommand(command)) return false;
    if (command == cmd::SetUserTitle) return ApplyUsbUserTitle(s, report, kUsbReportBytes);
    if (command == cmd::SetRecordInterval) return ApplyUsbRecordInterval(s, report, kUsbReportBytes);

    // Every other write carries the serial request frame from offset 0.
    const FrameScanResult scan = ScanFrame(report, kUsbReportBytes, kRequestStart, kRequestEnd, kUsbReportBytes);
    if (scan.kind != FrameScan::Complete || scan.offset != 0 || report[2] != command) return false;
    return ApplyConfig(s, command, report + kFrameHeaderBytes, scan.length - kFrameOverheadBytes, hostNow) !=
           ConfigResult::Rejected;
}

}  // namespace velorin::sim
