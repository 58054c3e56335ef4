// The history requests and their replies as pure functions over byte buffers, and the staging
// buffer that decoded records and running statistics go into.
//
// Requests: BlockCountQuery (7 bytes) and BlockRead (9 bytes) in the request envelope. Replies:
// the count reply (exactly 9 bytes) and a block reply of L + 5 bytes whose records start at
// byte 7. Over the USB link a block reply is the same frame cut to one 64-byte report, so the
// decoder never trusts L beyond the bytes it actually holds.
//
// Statistics per channel: maximum and minimum over the samples that count (missing-value
// markers do not); 2-byte channels sum their first ten samples, replace the sum by its mean (the
// reference mean) at the tenth and add (v − mean) of every later sample to deviationSum;
// 4-byte channels keep a double sum. The average divides by the number of samples that counted,
// never by the number of records, so markers do not pull it toward zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "history/record_set.h"

namespace velorin {

struct DeviceInfo;

constexpr size_t kBlockCountQueryBytes = 7;
constexpr size_t kBlockReadBytes = 9;
constexpr size_t kBlockCountReplyBytes = 9;
// The count reply is read into a buffer of this size; the block reply into one of 6539 bytes.
constexpr size_t kCountReplyBufferBytes = 64;
constexpr size_t kBlockReplyBufferBytes = 6539;
// Offset of the first record in a block reply.
constexpr size_t kFirstRecordOffset = 7;
constexpr size_t kRecordTimeBytes = 6;

// Statistics start values: any real sample replaces them.
constexpr float kMaxStart = -10000.0f;
constexpr float kMinStart = 10000.0f;
// Samples of a 2-byte channel that make up the reference mean.
constexpr int32_t kReferenceSamples = 10;

// '<' address 0x19 00 02 checksum '>'.
void BuildBlockCountQuery(uint8_t address, uint8_t (&out)[kBlockCountQueryBytes]);
// '<' address 0x1A 00 04 blockHi blockLo checksum '>' (blocks are numbered from 1).
void BuildBlockRead(uint8_t address, uint16_t block, uint8_t (&out)[kBlockReadBytes]);

// A serial count reply: exactly 9 bytes, '(' address 0x19 00 04 hi lo checksum ')'. On success
// stores hi × 256 + lo in `blockCount`.
bool ParseBlockCountReply(const uint8_t* reply, size_t received, uint8_t address, uint16_t& blockCount);
// Over the USB link the count is taken from report bytes 5–6 without further checks.
uint16_t HidBlockCount(const uint8_t* report, size_t held);

// A serial block reply: `received` = L + 5 (L from bytes 3–4) and no more than the 6539-byte
// buffer, '(' first, ')' last, checksum at L + 3 over bytes 0 … L + 2.
bool ValidSerialBlockReply(const uint8_t* reply, size_t received);

// Which channels a record carries and how each sample is coded (ChannelType per channel).
struct ChannelLayout {
    bool enabled[kRecordSetChannels] = {};
    uint8_t type[kRecordSetChannels] = {};
};
ChannelLayout ChannelLayoutOf(const DeviceInfo& info);

// Bytes one sample of this ChannelType occupies in a record: its low nibble (0 … 15). Widths
// other than 2 and 4 decode as 0.0 but still take their low-nibble bytes, so the samples behind
// them stay where a logger using that width would put them; a width of 0 takes nothing.
size_t SampleBytes(uint8_t channelType);
// Six time bytes plus the samples of the enabled channels.
size_t RecordBytes(const ChannelLayout& layout);

struct DecodedSample {
    float value = 0.0f;
    bool counted = false;  // enters the statistics (not a marker, not an unknown width)
};
// Decodes one sample of SampleBytes(channelType) bytes:
//   2 bytes: 80 01 → −3276.7 (not counted); otherwise signed 16-bit big-endian ÷ 100 when the
//            high nibble is 2, else ÷ 10 (computed in double, stored as float).
//   4 bytes: FF FF FF FF → 0.0001 (not counted); otherwise IEEE-754 single, little-endian.
//   other:   0.0, not counted.
DecodedSample DecodeSample(uint8_t channelType, const uint8_t* bytes);

// The staging area of one download. Records are reserved once at full capacity, so decoding
// never allocates. Written by the download worker only; read by others once it has finished.
struct DownloadBuffer {
    DownloadBuffer();

    std::vector<SampleRecord> records;  // size() == recordCount ≤ kRecordCapacity
    int32_t recordCount = 0;
    int32_t blockCount = 0;  // as the logger reported it (16 bits)
    float maxValue[kRecordSetChannels] = {};
    float minValue[kRecordSetChannels] = {};
    // 2-byte channels: sum of the first ten samples, then their mean; 0..10, then 11.
    float firstTenSum[kRecordSetChannels] = {};
    int32_t firstTenCount[kRecordSetChannels] = {};
    float deviationSum[kRecordSetChannels] = {};
    // Samples that entered the statistics, per channel (the divisor of the average).
    int32_t countedSamples[kRecordSetChannels] = {};
    // 4-byte channels: sum of the counted finite samples.
    double fourByteSum[kRecordSetChannels] = {};
    int32_t fourByteFinite[kRecordSetChannels] = {};
    ChannelLayout layout;          // fixed for one download
    bool capacityReached = false;  // a record was refused because the buffer was full
    bool finished = false;         // every block was read

    // Starts a download with `layout`: no records, statistics at their start values,
    // blockCount 0, not finished. Keeps the reserved capacity.
    void Begin(const ChannelLayout& channelLayout);
};

struct BlockDecodeResult {
    int32_t records = 0;           // records appended by this block
    bool capacityReached = false;  // the block held more records than there was room for
};
// Appends the records of one block reply of `held` bytes: from byte 7 while a record's starting
// offset (counted from byte 0) is below L and the whole record lies within `held`. Stops at
// kRecordCapacity records. The value slots of disabled channels stay zero.
BlockDecodeResult DecodeBlockRecords(const uint8_t* reply, size_t held, DownloadBuffer& buffer);

// The records DecodeBlockRecords would take from this reply (capacity aside). A reply that
// holds none (a count reply, a bare 7-byte frame) is no block: the download retries it like an
// invalid reply instead of counting the block as read.
int32_t BlockRecordCount(const uint8_t* reply, size_t held, const ChannelLayout& layout);

// Per-channel averages of what was decoded; 0 for a channel with no counted sample.
void ComputeAverages(const DownloadBuffer& buffer, float (&average)[kRecordSetChannels]);

}  // namespace velorin
