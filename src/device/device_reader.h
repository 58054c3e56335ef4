// Reading DeviceInfo from the logger: the serial sequence (InfoQuery, IdentityQuery,
// ChannelQuery per enabled channel) and the USB sequence (information block in two reports,
// identity, channels, secondary report). The serial port must be open; these functions neither
// open nor close it. They run on the caller's thread and block it for their exchanges.
#pragma once

#include <cstdint>

#include "device/device_info.h"

namespace velorin {

class Link;
struct Texts;

constexpr int kInfoQueryAttempts = 8;
constexpr int kIdentityQueryAttempts = 8;
constexpr int kChannelQueryAttempts = 5;
constexpr size_t kInfoReplyMinBytes = 113;

// InfoQuery with up to 8 attempts; the loop ends on a fully valid reply. The last reply is
// decoded when it holds at least 113 bytes and starts with '('. False: this port does not
// answer (nothing was changed).
bool ReadInfoSerial(Link& link, DeviceInfo& info, const Texts& texts);

// IdentityQuery with up to 8 attempts; the first reply that starts with '(' and carries the
// whole identity is applied. False: no identity (nothing was changed).
bool ReadIdentitySerial(Link& link, DeviceInfo& info);

// ChannelQuery for channel `channelNumber` (1..8), up to 5 attempts; an attempt succeeds when the
// reply starts with '(' and carries all 20 channel bytes, which are copied to `out`. False: `out`
// is left untouched.
bool QueryChannelSerial(Link& link, int channelNumber, uint8_t (&out)[kChannelDataBytes]);

// Queries and applies every enabled channel; a channel that never answers keeps its values.
void ReadChannelsSerial(Link& link, DeviceInfo& info);

// USB: the information block in two reports.
enum class HidInfoStatus {
    Part0Failed,   // the first report could not be read
    Part0Empty,    // the first report carried no payload
    Part1Failed,   // the second report could not be read: nothing decoded
    Unrecognised,  // a report fits no known layout (device/usb_reply_layout.h): nothing decoded
    Decoded,
};
HidInfoStatus ReadInfoHid(Link& link, DeviceInfo& info, const Texts& texts);
// Reads only part 0 (the detection steps and the automatic-download check start with it).
bool ReadInfoPart0Hid(Link& link, uint8_t (&report)[64]);
// Decodes part 0 (already read) plus part 1 (read now).
HidInfoStatus CompleteInfoHid(Link& link, DeviceInfo& info, const Texts& texts, const uint8_t (&part0)[64]);
bool ReadIdentityHid(Link& link, DeviceInfo& info);
void ReadChannelsHid(Link& link, DeviceInfo& info);
bool ReadSecondaryInfoHid(Link& link, DeviceInfo& info);

}  // namespace velorin
