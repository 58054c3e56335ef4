#include "device/device_reader.h"

#include <cstring>

#include "device/frame.h"
#include "device/link.h"
#include "device/transport.h"
#include "device/usb_reply_layout.h"

namespace velorin {

namespace {

// Serial replies: data byte k is reply byte 5 + k.
constexpr size_t kSerialDataOffset = 5;
// The over-limit interval index in the secondary report's data (report byte 13 in the payload
// layout).
constexpr size_t kSecondaryOverLimitData = 12;

constexpr size_t kInfoReplyCapacity = 300;
constexpr size_t kIdentityReplyCapacity = 180;
constexpr size_t kChannelReplyCapacity = 64;

}  // namespace

bool ReadInfoSerial(Link& link, DeviceInfo& info, const Texts& texts) {
    const AngleFrame request = BuildRequest(0x00, cmd::InfoQuery);
    uint8_t reply[kInfoReplyCapacity];
    TransactResult r;
    for (int attempt = 0; attempt < kInfoQueryAttempts; ++attempt) {
        std::memset(reply, 0, sizeof reply);
        r = Transact(link.serial, request.bytes, request.length, reply, sizeof reply);
        if (ReplyPassesFull(reply, r.stored)) break;
    }
    if (r.stored < kInfoReplyMinBytes || !ReplyPassesStart(reply, r.stored)) return false;
    DecodeInfoBlock(info, reply + kSerialDataOffset, texts);
    return true;
}

bool ReadIdentitySerial(Link& link, DeviceInfo& info) {
    const AngleFrame request = BuildRequest(link.deviceAddress, cmd::IdentityQuery);
    uint8_t reply[kIdentityReplyCapacity];
    std::memset(reply, 0, sizeof reply);
    for (int attempt = 0; attempt < kIdentityQueryAttempts; ++attempt) {
        const TransactResult r = Transact(link.serial, request.bytes, request.length, reply, sizeof reply);
        // A reply cut short would apply bytes that never arrived; such a reply is retried.
        if (ReplyPassesStart(reply, r.stored) && r.stored >= kSerialDataOffset + kIdentityDataBytes) {
            ApplyIdentity(info, reply + kSerialDataOffset);
            return true;
        }
    }
    return false;
}

bool QueryChannelSerial(Link& link, int channelNumber, uint8_t (&out)[kChannelDataBytes]) {
    const uint8_t data[1] = {static_cast<uint8_t>(channelNumber)};
    const AngleFrame request = BuildRequest(link.deviceAddress, cmd::ChannelQuery, data, 1);
    uint8_t reply[kChannelReplyCapacity];
    for (int attempt = 0; attempt < kChannelQueryAttempts; ++attempt) {
        std::memset(reply, 0, sizeof reply);
        const TransactResult r = Transact(link.serial, request.bytes, request.length, reply, sizeof reply);
        // Channel data bytes 1..20 are reply bytes 6..25.
        if (ReplyPassesStart(reply, r.stored) && r.stored >= kSerialDataOffset + 1 + kChannelDataBytes) {
            std::memcpy(out, reply + kSerialDataOffset + 1, kChannelDataBytes);
            return true;
        }
    }
    return false;
}

void ReadChannelsSerial(Link& link, DeviceInfo& info) {
    for (int i = 0; i < kChannelCount; ++i) {
        if (info.channel[i].channelEnabled != 1) continue;
        uint8_t data[kChannelDataBytes];
        if (QueryChannelSerial(link, i + 1, data)) ApplyChannel(info, i, data, LinkKind::Serial);
    }
}

bool ReadInfoPart0Hid(Link& link, uint8_t (&report)[64]) {
    return link.HidRead(KVUSB_SELECTOR_READ, HidCallCode(cmd::InfoQuery, 0), report);
}

HidInfoStatus CompleteInfoHid(Link& link, DeviceInfo& info, const Texts& texts, const uint8_t (&part0)[64]) {
    const UsbReplyView first = ViewUsbReply(UsbReply::InfoPart0, part0, sizeof part0);
    if (first.fit == UsbReplyFit::Empty) return HidInfoStatus::Part0Empty;
    if (!first.Usable()) return HidInfoStatus::Unrecognised;
    uint8_t part1[64];
    if (!link.HidRead(KVUSB_SELECTOR_READ, HidCallCode(cmd::InfoQuery, 1), part1)) {
        return HidInfoStatus::Part1Failed;
    }
    const UsbReplyView second = ViewUsbReply(UsbReply::InfoPart1, part1, sizeof part1);
    if (second.fit == UsbReplyFit::NoLayout) return HidInfoStatus::Unrecognised;
    const size_t p0 = first.dataBytes;
    const size_t p1 = second.Usable() ? second.dataBytes : 0;
    // Two reports that together carry less than the whole block would decode zeros as settings.
    if (p0 + p1 < kInfoDataBytes) return HidInfoStatus::Part1Failed;
    // The block is assembled as a serial reply would carry it: data from offset 5, part 1
    // directly behind part 0.
    uint8_t block[kSerialDataOffset + 2 * kUsbReplyFrameBytes] = {};
    std::memcpy(block + kSerialDataOffset, first.frame + kSerialDataOffset, p0);
    std::memcpy(block + kSerialDataOffset + p0, second.frame + kSerialDataOffset, p1);
    DecodeInfoBlock(info, block + kSerialDataOffset, texts);
    return HidInfoStatus::Decoded;
}

HidInfoStatus ReadInfoHid(Link& link, DeviceInfo& info, const Texts& texts) {
    uint8_t part0[64];
    if (!ReadInfoPart0Hid(link, part0)) return HidInfoStatus::Part0Failed;
    return CompleteInfoHid(link, info, texts, part0);
}

bool ReadIdentityHid(Link& link, DeviceInfo& info) {
    uint8_t report[64];
    if (!link.HidRead(KVUSB_SELECTOR_READ, HidCallCode(cmd::IdentityQuery), report)) return false;
    // A report that carries less than the identity would write zeros over it.
    const UsbReplyView v = ViewUsbReply(UsbReply::Identity, report, sizeof report);
    if (!v.Usable()) return false;
    ApplyIdentity(info, v.frame + kSerialDataOffset);
    return true;
}

void ReadChannelsHid(Link& link, DeviceInfo& info) {
    for (int i = 0; i < kChannelCount; ++i) {
        if (info.channel[i].channelEnabled != 1) continue;
        uint8_t report[64];
        if (!link.HidRead(KVUSB_SELECTOR_READ, HidCallCode(cmd::ChannelQuery, 0, static_cast<uint8_t>(i)), report)) {
            continue;
        }
        const UsbReplyView v = ViewUsbReply(UsbReply::Channel, report, sizeof report);
        if (!v.Usable()) continue;  // channel data bytes 0..20 are needed
        uint8_t data[kChannelDataBytes];
        std::memcpy(data, v.frame + kSerialDataOffset + 1, kChannelDataBytes);
        ApplyChannel(info, i, data, LinkKind::Hid);
    }
}

bool ReadSecondaryInfoHid(Link& link, DeviceInfo& info) {
    uint8_t report[64];
    if (!link.HidRead(KVUSB_SELECTOR_SECONDARY, HidCallCode(cmd::InfoQuery), report)) return false;
    // Taken where the table's layout puts it; the report is not judged otherwise.
    info.overLimitIntervalIndex = report[UsbDataOffset(UsbReply::Secondary) + kSecondaryOverLimitData];
    return true;
}

}  // namespace velorin
