#include "history/block_codec.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "device/device_info.h"
#include "device/frame.h"

namespace velorin {

namespace {

constexpr uint8_t kCountReplyN = 0x04;  // two count bytes, checksum, end byte

template <size_t N>
void CopyFrame(const AngleFrame& frame, uint8_t (&out)[N]) {
    std::memset(out, 0, N);
    std::memcpy(out, frame.bytes, frame.length < N ? frame.length : N);
}

void CountSample(DownloadBuffer& b, int c, size_t width, float v) {
    if (v > b.maxValue[c]) b.maxValue[c] = v;
    if (v < b.minValue[c]) b.minValue[c] = v;
    ++b.countedSamples[c];
    if (width == 4) {
        // An infinite or NaN pattern from the logger would make the whole average meaningless.
        if (std::isfinite(v)) {
            b.fourByteSum[c] += v;
            ++b.fourByteFinite[c];
        }
        return;
    }
    if (b.firstTenCount[c] < kReferenceSamples) {
        b.firstTenSum[c] += v;
        if (++b.firstTenCount[c] == kReferenceSamples) {
            b.firstTenSum[c] = b.firstTenSum[c] / static_cast<float>(kReferenceSamples);
            b.firstTenCount[c] = kReferenceSamples + 1;
        }
        return;
    }
    b.deviationSum[c] += v - b.firstTenSum[c];
}

}  // namespace

void BuildBlockCountQuery(uint8_t address, uint8_t (&out)[kBlockCountQueryBytes]) {
    CopyFrame(BuildRequest(address, cmd::BlockCountQuery), out);
}

void BuildBlockRead(uint8_t address, uint16_t block, uint8_t (&out)[kBlockReadBytes]) {
    uint8_t data[2];
    WriteU16BE(data, block);
    CopyFrame(BuildRequest(address, cmd::BlockRead, data, sizeof data), out);
}

bool ParseBlockCountReply(const uint8_t* reply, size_t received, uint8_t address, uint16_t& blockCount) {
    if (reply == nullptr || received != kBlockCountReplyBytes) return false;
    if (reply[0] != kReplyStart || reply[1] != address || reply[2] != cmd::BlockCountQuery || reply[3] != 0x00 ||
        reply[4] != kCountReplyN || reply[8] != kReplyEnd) {
        return false;
    }
    if (reply[7] != FrameChecksum(reply, 7)) return false;
    blockCount = ReadU16BE(reply + 5);
    return true;
}

uint16_t HidBlockCount(const uint8_t* report, size_t held) {
    if (report == nullptr || held < 7) return 0;
    return ReadU16BE(report + 5);
}

bool ValidSerialBlockReply(const uint8_t* reply, size_t received) {
    if (reply == nullptr || received < kFrameHeaderBytes || received > kBlockReplyBufferBytes) {
        return false;
    }
    const size_t length = ReadU16BE(reply + 3);
    if (length + 5 != received) return false;
    if (reply[0] != kReplyStart || reply[received - 1] != kReplyEnd) return false;
    return reply[length + 3] == FrameChecksum(reply, length + 3);
}

ChannelLayout ChannelLayoutOf(const DeviceInfo& info) {
    ChannelLayout layout;
    for (int c = 0; c < kRecordSetChannels; ++c) {
        layout.enabled[c] = info.channel[c].channelEnabled == 1;
        layout.type[c] = info.channel[c].channelType;
    }
    return layout;
}

size_t SampleBytes(uint8_t channelType) { return channelType & 0x0F; }

size_t RecordBytes(const ChannelLayout& layout) {
    size_t bytes = kRecordTimeBytes;
    for (int c = 0; c < kRecordSetChannels; ++c) {
        if (layout.enabled[c]) bytes += SampleBytes(layout.type[c]);
    }
    return bytes;
}

DecodedSample DecodeSample(uint8_t channelType, const uint8_t* bytes) {
    DecodedSample s;
    const size_t width = SampleBytes(channelType);
    if (width == 2) {
        if (bytes[0] == 0x80 && bytes[1] == 0x01) {
            s.value = kMissingValue2Byte;
            return s;
        }
        const double divisor = HasHundredths(channelType) ? 100.0 : 10.0;
        s.value = static_cast<float>(static_cast<double>(ReadS16BE(bytes)) / divisor);
        s.counted = true;
    } else if (width == 4) {
        if (bytes[0] == 0xFF && bytes[1] == 0xFF && bytes[2] == 0xFF && bytes[3] == 0xFF) {
            s.value = kMissingValue4Byte;
            return s;
        }
        const uint32_t bits = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
                              (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
        std::memcpy(&s.value, &bits, sizeof s.value);
        s.counted = true;
    }
    return s;
}

DownloadBuffer::DownloadBuffer() {
    records.reserve(static_cast<size_t>(kRecordCapacity));
    Begin(ChannelLayout());
}

void DownloadBuffer::Begin(const ChannelLayout& channelLayout) {
    records.clear();
    recordCount = 0;
    blockCount = 0;
    for (int c = 0; c < kRecordSetChannels; ++c) {
        maxValue[c] = kMaxStart;
        minValue[c] = kMinStart;
        firstTenSum[c] = 0.0f;
        firstTenCount[c] = 0;
        deviationSum[c] = 0.0f;
        countedSamples[c] = 0;
        fourByteSum[c] = 0.0;
        fourByteFinite[c] = 0;
    }
    layout = channelLayout;
    capacityReached = false;
    finished = false;
}

int32_t BlockRecordCount(const uint8_t* reply, size_t held, const ChannelLayout& layout) {
    if (reply == nullptr || held < kFirstRecordOffset) return 0;
    const size_t length = ReadU16BE(reply + 3);
    const size_t recordBytes = RecordBytes(layout);  // at least the six time bytes
    // Records start at byte 7 while the start lies below L and the whole record was received.
    if (held < recordBytes) return 0;
    const size_t end = std::min(length, held - recordBytes + 1);
    if (end <= kFirstRecordOffset) return 0;
    return static_cast<int32_t>((end - kFirstRecordOffset + recordBytes - 1) / recordBytes);
}

BlockDecodeResult DecodeBlockRecords(const uint8_t* reply, size_t held, DownloadBuffer& buffer) {
    BlockDecodeResult result;
    const int32_t records = BlockRecordCount(reply, held, buffer.layout);
    const size_t recordBytes = RecordBytes(buffer.layout);
    size_t at = kFirstRecordOffset;
    for (int32_t k = 0; k < records; ++k, at += recordBytes) {
        if (buffer.recordCount >= kRecordCapacity) {
            result.capacityReached = true;
            buffer.capacityReached = true;
            break;
        }
        SampleRecord record;
        const uint8_t* p = reply + at;
        record.year = p[0];
        record.month = p[1];
        record.day = p[2];
        record.hour = p[3];
        record.minute = p[4];
        record.second = p[5];
        p += kRecordTimeBytes;
        for (int c = 0; c < kRecordSetChannels; ++c) {
            if (!buffer.layout.enabled[c]) continue;
            const uint8_t type = buffer.layout.type[c];
            const DecodedSample s = DecodeSample(type, p);
            record.value[c] = s.value;
            if (s.counted) CountSample(buffer, c, SampleBytes(type), s.value);
            p += SampleBytes(type);
        }
        buffer.records.push_back(record);
        ++buffer.recordCount;
        ++result.records;
    }
    return result;
}

void ComputeAverages(const DownloadBuffer& b, float (&average)[kRecordSetChannels]) {
    for (int c = 0; c < kRecordSetChannels; ++c) {
        average[c] = 0.0f;
        const int32_t n = b.countedSamples[c];
        if (n == 0) continue;
        if (SampleBytes(b.layout.type[c]) == 4) {
            if (b.fourByteFinite[c] > 0) {
                average[c] = static_cast<float>(b.fourByteSum[c] / b.fourByteFinite[c]);
            }
        } else if (n < kReferenceSamples) {
            average[c] = static_cast<float>(static_cast<double>(b.firstTenSum[c]) / n);
        } else {
            average[c] =
                static_cast<float>(static_cast<double>(b.deviationSum[c]) / n + static_cast<double>(b.firstTenSum[c]));
        }
    }
}

}  // namespace velorin
