#include "device/frame.h"

#include <cstring>

namespace velorin {

uint8_t FrameChecksum(const uint8_t* bytes, size_t count) {
    unsigned sum = 0;
    for (size_t i = 0; i < count; ++i) sum += bytes[i];
    return static_cast<uint8_t>(sum & 0xFF);
}

size_t EncodeFrame(uint8_t startByte, uint8_t endByte, uint8_t address, uint8_t command, const uint8_t* data,
                   size_t dataLength, uint8_t* out, size_t capacity) {
    const size_t n = dataLength + 2;
    const size_t total = n + kFrameHeaderBytes;
    if (n > 0xFFFF || total > capacity) return 0;
    out[0] = startByte;
    out[1] = address;
    out[2] = command;
    WriteU16BE(out + 3, static_cast<uint16_t>(n));
    if (dataLength > 0) std::memcpy(out + kFrameHeaderBytes, data, dataLength);
    out[n + 3] = FrameChecksum(out, n + 3);
    out[n + 4] = endByte;
    return total;
}

AngleFrame BuildRequest(uint8_t address, uint8_t command, const uint8_t* data, size_t dataLength) {
    AngleFrame frame;
    frame.length =
        EncodeFrame(kRequestStart, kRequestEnd, address, command, data, dataLength, frame.bytes, sizeof frame.bytes);
    return frame;
}

size_t EncodeReply(uint8_t address, uint8_t command, const uint8_t* data, size_t dataLength, uint8_t* out,
                   size_t capacity) {
    return EncodeFrame(kReplyStart, kReplyEnd, address, command, data, dataLength, out, capacity);
}

size_t FrameLengthField(const uint8_t* frame, size_t count) {
    return count < kFrameHeaderBytes ? 0 : ReadU16BE(frame + 3);
}

bool ReplyPassesStart(const uint8_t* reply, size_t count) { return count >= 1 && reply[0] == kReplyStart; }

bool ReplyPassesFull(const uint8_t* reply, size_t count) {
    if (!ReplyPassesStart(reply, count) || count < kFrameHeaderBytes) return false;
    const size_t n = FrameLengthField(reply, count);
    if (n < 2 || n + 5 > count) return false;
    return reply[n + 4] == kReplyEnd && reply[n + 3] == FrameChecksum(reply, n + 3);
}

FrameScanResult ScanFrame(const uint8_t* bytes, size_t count, uint8_t startByte, uint8_t endByte,
                          size_t maxFrameBytes) {
    FrameScanResult result;
    size_t start = 0;
    while (start < count && bytes[start] != startByte) ++start;
    result.offset = start;
    const size_t left = count - start;
    if (left < kFrameHeaderBytes) return result;  // NeedMore (possibly with noise before it)
    const size_t n = ReadU16BE(bytes + start + 3);
    const size_t total = n + kFrameHeaderBytes;
    if (n < 2 || total > maxFrameBytes) {
        result.kind = FrameScan::Malformed;
        result.length = 1;
        return result;
    }
    if (left < total) return result;
    const uint8_t* f = bytes + start;
    result.length = total;
    result.kind =
        (f[n + 4] == endByte && f[n + 3] == FrameChecksum(f, n + 3)) ? FrameScan::Complete : FrameScan::Malformed;
    return result;
}

}  // namespace velorin
