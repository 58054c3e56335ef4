// Where a reply lies in the 64-byte report the USB library hands back: one table for every reply
// the program reads over the USB link, used by every reader (device information, live reading,
// history) and by the simulated logger that writes them. Measuring a real logger changes the
// table and nothing else.
//
// Two layouts are known:
//   Payload  report byte 0 = payload length P (1 … 63), bytes 1 … P = what the serial reply
//            carries from its byte 5 on (serial byte 5 + k is report byte 1 + k);
//   Frame    the serial reply frame itself from report byte 0 ('(' first), cut to the report.
// A report is read in the layout the table gives when it fits it (Payload: 1 ≤ byte 0 ≤ 63;
// Frame: byte 0 is '('); a report that fits only the other layout is read in that one; a report
// that fits neither is reported as such. Nothing else is judged: address and command bytes, the
// frame's length field and checksum are not looked at (the readers bound what they decode by
// the bytes the report holds).
//
// Pure functions over byte buffers; no shared state.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velorin {

enum class UsbLayout { Payload, Frame };

enum class UsbReply {
    InfoPart0,   // InfoQuery, part 0: the first part of the information block
    InfoPart1,   // InfoQuery, part 1: the rest of it
    Secondary,   // InfoQuery on selector 254: the over-limit interval index at data byte 12,
                 // taken whatever the report's first byte says
    Identity,    // IdentityQuery
    Channel,     // ChannelQuery, index = channel (0-based)
    Live,        // live reading
    BlockCount,  // history block count
    Block,       // history block, index = block number
};
constexpr int kUsbReplyKinds = 8;

struct UsbReplyEntry {
    UsbReply reply;
    uint8_t command;
    int selector;  // KVUSB_SELECTOR_READ or KVUSB_SELECTOR_SECONDARY
    uint8_t part;  // the call code's part byte
    UsbLayout layout;
    // Data bytes (counted from serial byte 5) a reader decodes; a payload shorter than this
    // carries too little. The frame layout always holds them (a report has 64 bytes).
    size_t dataBytesRead;
    const char* name;  // for messages: "information block part 0", ...
};

// The table, indexed by UsbReply.
const UsbReplyEntry& UsbReplyInfo(UsbReply reply);

// How a report was found laid out.
enum class UsbReplyFit {
    AsTable,      // in the table's layout
    OtherLayout,  // in the other known layout
    Empty,        // a payload of length 0: the logger had nothing to say
    TooShort,     // a payload shorter than what is decoded from it
    NoLayout,     // fits no known layout
};

// Capacity of the serial-form buffer: a 63-byte payload with its header and trailer.
constexpr size_t kUsbReplyFrameBytes = 72;

// A report turned into the serial reply it stands for, so every reader decodes serial offsets
// (data byte k at frame byte 5 + k). `held` bytes of `frame` carry the reply (the rest is zero).
struct UsbReplyView {
    UsbReplyFit fit = UsbReplyFit::NoLayout;
    UsbLayout layout = UsbLayout::Payload;  // the layout the report was read in
    uint8_t frame[kUsbReplyFrameBytes] = {};
    size_t held = 0;
    size_t dataBytes = 0;   // data bytes held: frame bytes 5 … 5 + dataBytes − 1
    uint8_t firstByte = 0;  // report byte 0, for messages
    bool Usable() const { return fit == UsbReplyFit::AsTable || fit == UsbReplyFit::OtherLayout; }
};
UsbReplyView ViewUsbReply(UsbReply reply, const uint8_t* report, size_t reportBytes);

// Report offset of data byte 0 in the table's layout (1 for a payload, 5 for a frame), for a
// reader that takes a byte where it lies without judging the report (the secondary report).
size_t UsbDataOffset(UsbReply reply);

// The other way, for the simulated logger: lays the serial reply `frame` of `frameBytes` bytes
// into `report` (cleared first) in the table's layout. A payload longer than 63 bytes is cut.
void LayUsbReply(UsbReply reply, const uint8_t* frame, size_t frameBytes, uint8_t* report, size_t reportBytes);

// Which reply a read call asks for; false for calls no reply answers.
bool UsbReplyForCall(int selector, uint32_t callCode, UsbReply& reply);

}  // namespace velorin
