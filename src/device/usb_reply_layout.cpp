#include "device/usb_reply_layout.h"

#include <cstring>

#include "device/frame.h"
#include "kvusb.h"

namespace velorin {

namespace {

constexpr size_t kMaxPayload = KVUSB_REPORT_BYTES - 1;

// The one table. Information, identity and channels arrive as payloads; the live reading and
// the history as the serial frame. The counts are the data bytes each reader decodes: the whole
// identity (24), channel bytes 0 … 20, the secondary index at byte 12, eight live values behind
// one spare byte (17), the 16-bit count; the information parts and blocks are judged by their
// readers (the two parts together, the records that fit).
const UsbReplyEntry kTable[kUsbReplyKinds] = {
    {UsbReply::InfoPart0, cmd::InfoQuery, KVUSB_SELECTOR_READ, 0, UsbLayout::Payload, 1, "information block part 0"},
    {UsbReply::InfoPart1, cmd::InfoQuery, KVUSB_SELECTOR_READ, 1, UsbLayout::Payload, 0, "information block part 1"},
    {UsbReply::Secondary, cmd::InfoQuery, KVUSB_SELECTOR_SECONDARY, 0, UsbLayout::Payload, 13,
     "secondary information report"},
    {UsbReply::Identity, cmd::IdentityQuery, KVUSB_SELECTOR_READ, 0, UsbLayout::Payload, 24, "identity"},
    {UsbReply::Channel, cmd::ChannelQuery, KVUSB_SELECTOR_READ, 0, UsbLayout::Payload, 21, "channel settings"},
    {UsbReply::Live, cmd::LiveReading, KVUSB_SELECTOR_READ, 0, UsbLayout::Frame, 17, "live reading"},
    {UsbReply::BlockCount, cmd::BlockCountQuery, KVUSB_SELECTOR_READ, 0, UsbLayout::Frame, 2, "history block count"},
    {UsbReply::Block, cmd::BlockRead, KVUSB_SELECTOR_READ, 0, UsbLayout::Frame, 0, "history block"},
};

bool FitsPayload(uint8_t first) { return first >= 1 && first <= kMaxPayload; }
bool FitsFrame(uint8_t first) { return first == kReplyStart; }

void ReadAsPayload(const UsbReplyEntry& e, const uint8_t* report, size_t reportBytes, UsbReplyView& v) {
    size_t p = report[0];
    if (p > reportBytes - 1) p = reportBytes - 1;
    v.frame[0] = kReplyStart;
    v.frame[2] = e.command;
    WriteU16BE(v.frame + 3, static_cast<uint16_t>(p + 2));
    std::memcpy(v.frame + kFrameHeaderBytes, report + 1, p);
    v.frame[kFrameHeaderBytes + p] = FrameChecksum(v.frame, kFrameHeaderBytes + p);
    v.frame[kFrameHeaderBytes + p + 1] = kReplyEnd;
    v.held = p + kFrameOverheadBytes;
    v.dataBytes = p;
    v.layout = UsbLayout::Payload;
}

void ReadAsFrame(const uint8_t* report, size_t reportBytes, UsbReplyView& v) {
    const size_t n = reportBytes < kUsbReplyFrameBytes ? reportBytes : kUsbReplyFrameBytes;
    std::memcpy(v.frame, report, n);
    v.held = n;
    v.dataBytes = n > kFrameHeaderBytes ? n - kFrameHeaderBytes : 0;
    v.layout = UsbLayout::Frame;
}

}  // namespace

const UsbReplyEntry& UsbReplyInfo(UsbReply reply) { return kTable[static_cast<int>(reply)]; }

size_t UsbDataOffset(UsbReply reply) {
    return UsbReplyInfo(reply).layout == UsbLayout::Payload ? 1 : kFrameHeaderBytes;
}

UsbReplyView ViewUsbReply(UsbReply reply, const uint8_t* report, size_t reportBytes) {
    UsbReplyView v;
    if (report == nullptr || reportBytes == 0) return v;
    const UsbReplyEntry& e = UsbReplyInfo(reply);
    const uint8_t first = report[0];
    v.firstByte = first;
    const bool payload = FitsPayload(first), frame = FitsFrame(first);
    const bool asTable = e.layout == UsbLayout::Payload ? payload : frame;
    const bool asOther = e.layout == UsbLayout::Payload ? frame : payload;
    if (!asTable && !asOther) {
        // A zero length is an empty payload where the table expects one; anything else fits
        // no known layout.
        v.fit = first == 0 && e.layout == UsbLayout::Payload ? UsbReplyFit::Empty : UsbReplyFit::NoLayout;
        return v;
    }
    const UsbLayout layout =
        asTable ? e.layout : (e.layout == UsbLayout::Payload ? UsbLayout::Frame : UsbLayout::Payload);
    if (layout == UsbLayout::Payload) {
        ReadAsPayload(e, report, reportBytes, v);
    } else {
        ReadAsFrame(report, reportBytes, v);
    }
    v.fit = asTable ? UsbReplyFit::AsTable : UsbReplyFit::OtherLayout;
    if (v.dataBytes < e.dataBytesRead) v.fit = UsbReplyFit::TooShort;
    return v;
}

void LayUsbReply(UsbReply reply, const uint8_t* frame, size_t frameBytes, uint8_t* report, size_t reportBytes) {
    std::memset(report, 0, reportBytes);
    if (frame == nullptr || frameBytes == 0 || reportBytes == 0) return;
    if (UsbReplyInfo(reply).layout == UsbLayout::Frame) {
        std::memcpy(report, frame, frameBytes < reportBytes ? frameBytes : reportBytes);
        return;
    }
    // The data between the header and the checksum.
    size_t data = frameBytes > kFrameOverheadBytes ? frameBytes - kFrameOverheadBytes : 0;
    if (data > reportBytes - 1) data = reportBytes - 1;
    if (data > kMaxPayload) data = kMaxPayload;
    report[0] = static_cast<uint8_t>(data);
    std::memcpy(report + 1, frame + kFrameHeaderBytes, data);
}

bool UsbReplyForCall(int selector, uint32_t callCode, UsbReply& reply) {
    const uint8_t command = static_cast<uint8_t>(callCode >> 16);
    const uint8_t part = static_cast<uint8_t>(callCode >> 8);
    for (const UsbReplyEntry& e : kTable) {
        if (e.selector != selector || e.command != command) continue;
        // Only the information block has parts; other calls carry their index in the low bits.
        if (e.command == cmd::InfoQuery && selector == KVUSB_SELECTOR_READ && e.part != part) continue;
        reply = e.reply;
        return true;
    }
    return false;
}

}  // namespace velorin
