// The live reading (command 0x05): the request, the test a reply must pass and the decoding of
// the eight channel values. Pure functions over byte buffers.
//
// Reply layout (serial; over USB the report is turned into this frame by the layout table of
// device/usb_reply_layout.h):
//   [0] '('  [1] address  [2] 0x05  [3..4] N  [5] one byte, not interpreted
//   [6 + 2k, 7 + 2k] channel k + 1 (k = 0..7), signed 16 bits, high byte first
//   then the checksum and ')'.
#pragma once

#include <cstddef>
#include <cstdint>

#include "device/device_info.h"
#include "device/frame.h"

namespace velorin {

// A reply short of this cannot hold all eight values (6 + 16 value bytes, checksum, end byte).
constexpr size_t kLiveReplyMinBytes = 24;
// Offset of channel 1's value in the reply.
constexpr size_t kLiveValueOffset = 6;
// The raw value a logger sends for a sample it could not take, and what the view stores for it.
constexpr int16_t kLiveMissingRaw = -32767;  // 0x8001
constexpr float kLiveMissingValue = -32767.0f;

// 3C addr 05 00 03 00 CS 3E: one data byte 0x00.
AngleFrame BuildLiveRequest(uint8_t address);

// Serial acceptance: byte 0 '(', byte 1 the address, byte 2 0x05, the count equals N + 5 and the
// last byte is ')'. The checksum is not tested. A reply too short to carry the eight values is
// refused as well (it would decode bytes that never arrived).
bool LiveReplyAccepted(const uint8_t* reply, size_t count, uint8_t address);

// The serial acceptance applied to a frame held in a USB report (its N field gives the frame's
// length). The live view does not judge USB reports by it: they are decoded whatever they hold.
bool LiveReportAccepted(const uint8_t* report, size_t reportBytes, uint8_t address);

// One reading: the value of every channel.
struct LiveSample {
    float value[kChannelCount] = {};
};

// Decodes the enabled channels (channelEnabled == 1) of an accepted reply into `sample`: raw
// 0x8001 gives kLiveMissingValue, any other raw r gives r / 100 for hundredths channels and
// r / 10 otherwise; the other channels keep what `sample` held. `reply` must hold at least
// kLiveReplyMinBytes bytes.
void DecodeLiveValues(const uint8_t* reply, const ChannelInfo (&channels)[kChannelCount], LiveSample& sample);

// The one test for a missing sample, used by every place that shows a value.
inline bool IsMissingLiveValue(float value) { return value == kLiveMissingValue; }

}  // namespace velorin
