// AngleFrame envelope shared by every request and reply of the logger protocol.
//
// Layout (multi-byte fields big-endian):
//   [0] start byte  ('<' request, '(' reply)
//   [1] address byte
//   [2] command code
//   [3..4] N = number of bytes after this 5-byte header (data + checksum + end byte)
//   [5 .. N+2] data
//   [N+3] FrameChecksum of bytes 0 .. N+2
//   [N+4] end byte  ('>' request, ')' reply)
// Total length N + 5.
//
// Everything here is pure: byte buffers in, byte buffers or verdicts out. The same code builds the
// program's requests and the simulator's replies.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velorin {

constexpr uint8_t kRequestStart = 0x3C;  // '<'
constexpr uint8_t kRequestEnd = 0x3E;    // '>'
constexpr uint8_t kReplyStart = 0x28;    // '('
constexpr uint8_t kReplyEnd = 0x29;      // ')'
constexpr size_t kFrameHeaderBytes = 5;
constexpr size_t kFrameOverheadBytes = 7;  // header + checksum + end byte

// Largest request the program ever builds (SetUserTitle: 60 data bytes, 67 in all).
constexpr size_t kMaxRequestBytes = 80;

// Command codes carried by the envelope.
namespace cmd {
constexpr uint8_t InfoQuery = 0x01;
constexpr uint8_t ChannelQuery = 0x02;
constexpr uint8_t LiveReading = 0x05;
constexpr uint8_t IdentityQuery = 0x06;
constexpr uint8_t SetUserTitle = 0x11;
constexpr uint8_t SetClock = 0x13;
constexpr uint8_t SetStartMode = 0x14;
constexpr uint8_t SetStopMode = 0x15;
constexpr uint8_t SetRecordInterval = 0x16;
constexpr uint8_t BlockCountQuery = 0x19;
constexpr uint8_t BlockRead = 0x1A;
constexpr uint8_t StopRecording = 0x1D;
constexpr uint8_t ClearAndRestart = 0x1E;
constexpr uint8_t SetAlarmLimits = 0x1F;
constexpr uint8_t SetPowerMode = 0x20;
constexpr uint8_t SetRecordMode = 0x21;
}  // namespace cmd

// 8-bit sum (mod 256) of the given bytes; no complement, no seed.
uint8_t FrameChecksum(const uint8_t* bytes, size_t count);

// A request ready to send. Fixed capacity: requests are small and built on the stack.
struct AngleFrame {
    uint8_t bytes[kMaxRequestBytes] = {};
    size_t length = 0;
};

// Builds a request frame. Data beyond what fits kMaxRequestBytes is not possible for any request
// of the protocol; a caller that passes more gets an empty frame (length 0).
AngleFrame BuildRequest(uint8_t address, uint8_t command, const uint8_t* data = nullptr, size_t dataLength = 0);

// Encodes a frame with the given start and end bytes into `out`. Returns the frame length, or 0
// when it does not fit `capacity` or the data is longer than a 16-bit N allows.
size_t EncodeFrame(uint8_t startByte, uint8_t endByte, uint8_t address, uint8_t command, const uint8_t* data,
                   size_t dataLength, uint8_t* out, size_t capacity);

// Reply frame (start '(' end ')'); used by the simulator and by tests.
size_t EncodeReply(uint8_t address, uint8_t command, const uint8_t* data, size_t dataLength, uint8_t* out,
                   size_t capacity);

// The N field of a frame (bytes 3..4); 0 when fewer than 5 bytes are present.
size_t FrameLengthField(const uint8_t* frame, size_t count);

// Reply validation levels. `count` is the number of bytes actually held in `reply`.
// full: byte 0 '(', byte N+4 ')', byte N+3 = checksum of bytes 0..N+2 (all inside `count`).
bool ReplyPassesFull(const uint8_t* reply, size_t count);
// start byte: byte 0 '('.
bool ReplyPassesStart(const uint8_t* reply, size_t count);

// Scanning a byte stream for one complete frame with the given start and end bytes (the
// simulator reads requests this way).
enum class FrameScan {
    NeedMore,   // a plausible frame has started but is not complete yet
    Complete,   // a well-formed frame of `length` bytes starts at `offset`
    Malformed,  // a frame of `length` bytes starts at `offset` but its end byte or checksum is wrong
};
struct FrameScanResult {
    FrameScan kind = FrameScan::NeedMore;
    size_t offset = 0;  // where the frame starts (bytes before it are noise to discard)
    size_t length = 0;
};
// `maxFrameBytes` bounds N so that a corrupt length field cannot make the reader wait forever
// for bytes that never come: a longer claimed frame is Malformed with length 1 (skip the start
// byte and resynchronise).
FrameScanResult ScanFrame(const uint8_t* bytes, size_t count, uint8_t startByte, uint8_t endByte, size_t maxFrameBytes);

// Call code of the USB access library: (command << 16) | (part << 8) | index.
constexpr uint32_t HidCallCode(uint8_t command, uint8_t part = 0, uint8_t index = 0) {
    return (static_cast<uint32_t>(command) << 16) | (static_cast<uint32_t>(part) << 8) | index;
}
// History requests put a 16-bit parameter (block number) in bits 0..15.
constexpr uint32_t HidCallCodeWithParameter(uint8_t command, uint16_t parameter) {
    return (static_cast<uint32_t>(command) << 16) | parameter;
}

// Big-endian helpers for the protocol's multi-byte fields.
inline uint16_t ReadU16BE(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
inline int16_t ReadS16BE(const uint8_t* p) { return static_cast<int16_t>(ReadU16BE(p)); }
inline uint32_t ReadU32BE(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | p[3];
}
inline void WriteU16BE(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
}
inline void WriteU32BE(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v >> 24);
    p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8);
    p[3] = static_cast<uint8_t>(v);
}

}  // namespace velorin
