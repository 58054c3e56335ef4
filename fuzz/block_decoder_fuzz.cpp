// Feeds arbitrary bytes to the history reply checks and the block decoder.
//
// Input layout: byte 0 = enabled-channel mask, bytes 1–8 = the ChannelType of channels 1–8,
// byte 9 = mode (bit 0: a USB report of 64 bytes instead of a serial reply; bits 1–2: the block
// is decoded 1–4 times into the same buffer), then the reply bytes. The reply is copied into a
// buffer of exactly the size the engine would hold, so any read past it is caught.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "history/block_codec.h"

namespace {

constexpr size_t kHeader = 10;

velorin::DownloadBuffer& Buffer() {
    static velorin::DownloadBuffer buffer;  // reserving 270,336 records once, not per input
    return buffer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velorin;
    if (size < kHeader) return 0;
    ChannelLayout layout;
    for (int c = 0; c < kRecordSetChannels; ++c) {
        layout.enabled[c] = (data[0] >> c) & 1;
        layout.type[c] = data[1 + c];
    }
    const bool usb = data[9] & 1;
    const int passes = 1 + ((data[9] >> 1) & 3);
    const uint8_t* reply = data + kHeader;
    const size_t length = size - kHeader;

    uint16_t count = 0;
    ParseBlockCountReply(reply, length, length > 1 ? reply[1] : 0, count);
    HidBlockCount(reply, length);

    const size_t held = usb ? (length < 64 ? length : 64) : length;
    std::vector<uint8_t> exact(reply, reply + held);
    if (!usb) ValidSerialBlockReply(exact.data(), exact.size());

    DownloadBuffer& buffer = Buffer();
    buffer.Begin(layout);
    for (int i = 0; i < passes; ++i) {
        const BlockDecodeResult r = DecodeBlockRecords(exact.data(), exact.size(), buffer);
        if (r.records < 0 || buffer.recordCount > kRecordCapacity ||
            buffer.records.size() != static_cast<size_t>(buffer.recordCount)) {
            __builtin_trap();
        }
    }
    float average[kRecordSetChannels];
    ComputeAverages(buffer, average);
    return 0;
}
