// The history requests and replies as bytes: request frames with their checksums worked out by
// hand, count and block reply checks, sample decoding, the running statistics and averages, and
// the record capacity.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "device/device_info.h"
#include "history/block_codec.h"

namespace velorin {
namespace {

using Bytes = std::vector<uint8_t>;

// '(' 00 1A N data checksum ')' with N = data length + 2, summed here independently.
Bytes Frame(const Bytes& data, uint8_t command = 0x1A) {
    const size_t n = data.size() + 2;
    Bytes r = {0x28, 0x00, command, static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)};
    r.insert(r.end(), data.begin(), data.end());
    unsigned sum = 0;
    for (uint8_t b : r) sum += b;
    r.push_back(static_cast<uint8_t>(sum));
    r.push_back(0x29);
    return r;
}

// Block number, then the records back to back.
Bytes BlockReply(const std::vector<Bytes>& records, uint16_t block = 1) {
    Bytes data = {static_cast<uint8_t>(block >> 8), static_cast<uint8_t>(block)};
    for (const Bytes& r : records) data.insert(data.end(), r.begin(), r.end());
    return Frame(data);
}

Bytes Record(const Bytes& samples, uint8_t minute = 0) {
    Bytes r = {26, 3, 7, 8, minute, 30};
    r.insert(r.end(), samples.begin(), samples.end());
    return r;
}

ChannelLayout Layout(std::initializer_list<std::pair<int, uint8_t>> channels) {
    ChannelLayout layout;
    for (const auto& [channel, type] : channels) {
        layout.enabled[channel] = true;
        layout.type[channel] = type;
    }
    return layout;
}

// Decodes one block into a fresh buffer with `layout`.
struct Decoded {
    DownloadBuffer buffer;
    BlockDecodeResult result;
};
void Decode(Decoded& d, const ChannelLayout& layout, const Bytes& reply, size_t held = 0) {
    d.buffer.Begin(layout);
    d.result = DecodeBlockRecords(reply.data(), held != 0 ? held : reply.size(), d.buffer);
}

// A 2-byte tenths sample of `tenths`.
Bytes S2(int tenths) {
    const uint16_t raw = static_cast<uint16_t>(static_cast<int16_t>(tenths));
    return {static_cast<uint8_t>(raw >> 8), static_cast<uint8_t>(raw)};
}

// ---------------------------------------------------------------------------------------------

TEST(BlockRequests, CountQueryBytes) {
    uint8_t q[kBlockCountQueryBytes];
    BuildBlockCountQuery(0x00, q);
    // 3C + 00 + 19 + 00 + 02 = 0x57
    EXPECT_EQ(Bytes(q, q + 7), (Bytes{0x3C, 0x00, 0x19, 0x00, 0x02, 0x57, 0x3E}));
    BuildBlockCountQuery(0x05, q);
    EXPECT_EQ(Bytes(q, q + 7), (Bytes{0x3C, 0x05, 0x19, 0x00, 0x02, 0x5C, 0x3E}));
}

TEST(BlockRequests, BlockReadBytes) {
    uint8_t r[kBlockReadBytes];
    BuildBlockRead(0x00, 1, r);
    // 3C + 1A + 04 + 00 + 01 = 0x5B
    EXPECT_EQ(Bytes(r, r + 9), (Bytes{0x3C, 0x00, 0x1A, 0x00, 0x04, 0x00, 0x01, 0x5B, 0x3E}));
    BuildBlockRead(0x00, 0x1234, r);
    // 3C + 1A + 04 + 12 + 34 = 0xA0
    EXPECT_EQ(Bytes(r, r + 9), (Bytes{0x3C, 0x00, 0x1A, 0x00, 0x04, 0x12, 0x34, 0xA0, 0x3E}));
    BuildBlockRead(0xFF, 0xFFFF, r);
    // 3C + FF + 1A + 04 + FF + FF = 0x357, wraps to 0x57
    EXPECT_EQ(Bytes(r, r + 9), (Bytes{0x3C, 0xFF, 0x1A, 0x00, 0x04, 0xFF, 0xFF, 0x57, 0x3E}));
}

// ---------------------------------------------------------------------------------------------

// 28 00 19 00 04 01 2C: sum 0x72; 300 blocks.
const Bytes kCountReply = {0x28, 0x00, 0x19, 0x00, 0x04, 0x01, 0x2C, 0x72, 0x29};

TEST(CountReply, AcceptsTheNineByteReply) {
    uint16_t count = 0;
    ASSERT_TRUE(ParseBlockCountReply(kCountReply.data(), kCountReply.size(), 0x00, count));
    EXPECT_EQ(count, 300);
}

TEST(CountReply, RefusesEveryDeviation) {
    struct Case {
        const char* what;
        size_t index;  // byte to change (SIZE_MAX: change the length instead)
        uint8_t value;
    };
    const Case cases[] = {
        {"start byte", 0, 0x3C}, {"address", 1, 0x01},  {"command", 2, 0x1A},  {"length high", 3, 0x01},
        {"length low", 4, 0x05}, {"checksum", 7, 0x73}, {"end byte", 8, 0x3E},
    };
    for (const Case& c : cases) {
        Bytes reply = kCountReply;
        reply[c.index] = c.value;
        uint16_t count = 77;
        EXPECT_FALSE(ParseBlockCountReply(reply.data(), reply.size(), 0x00, count)) << c.what;
        EXPECT_EQ(count, 77) << c.what;
    }
    uint16_t count = 0;
    EXPECT_FALSE(ParseBlockCountReply(kCountReply.data(), 8, 0x00, count)) << "one byte short";
    Bytes longer = kCountReply;
    longer.push_back(0x29);
    EXPECT_FALSE(ParseBlockCountReply(longer.data(), longer.size(), 0x00, count)) << "one byte more";
    EXPECT_FALSE(ParseBlockCountReply(kCountReply.data(), kCountReply.size(), 0x05, count))
        << "another logger's address";
}

TEST(CountReply, UsbReportCountIsBytesFiveAndSix) {
    uint8_t report[64] = {};
    std::memcpy(report, kCountReply.data(), kCountReply.size());
    EXPECT_EQ(HidBlockCount(report, sizeof report), 300);
    EXPECT_EQ(HidBlockCount(report, 6), 0) << "a report too short to hold the count";
}

// ---------------------------------------------------------------------------------------------

TEST(BlockReply, ValidWhenLengthEndAndChecksumAgree) {
    const Bytes reply = BlockReply({Record(S2(215)), Record(S2(216))});
    EXPECT_TRUE(ValidSerialBlockReply(reply.data(), reply.size()));
    // Address and command bytes are not compared.
    Bytes other = reply;
    other[1] = 0x07;
    other[2] = 0x55;
    other[other.size() - 2] = static_cast<uint8_t>(other[other.size() - 2] + 0x07 + 0x55 - 0x1A);
    EXPECT_TRUE(ValidSerialBlockReply(other.data(), other.size()));
}

TEST(BlockReply, InvalidReplies) {
    const Bytes good = BlockReply({Record(S2(215)), Record(S2(216))});
    EXPECT_FALSE(ValidSerialBlockReply(good.data(), good.size() - 1)) << "received < L + 5";
    Bytes extra = good;
    extra.push_back(0x29);
    EXPECT_FALSE(ValidSerialBlockReply(extra.data(), extra.size())) << "received > L + 5";
    Bytes badSum = good;
    badSum[badSum.size() - 2] ^= 0x01;
    EXPECT_FALSE(ValidSerialBlockReply(badSum.data(), badSum.size()));
    Bytes badEnd = good;
    badEnd.back() = 0x3E;
    EXPECT_FALSE(ValidSerialBlockReply(badEnd.data(), badEnd.size()));
    Bytes badStart = good;
    badStart[0] = 0x3C;
    EXPECT_FALSE(ValidSerialBlockReply(badStart.data(), badStart.size()));
    EXPECT_FALSE(ValidSerialBlockReply(good.data(), 4));
    EXPECT_FALSE(ValidSerialBlockReply(nullptr, 0));
}

TEST(BlockReply, NothingLongerThanTheReplyBufferIsValid) {
    // 6539 bytes in all fit the buffer; one more does not, however consistent the frame is.
    const Bytes fits = Frame(Bytes(kBlockReplyBufferBytes - 7, 0x00));
    ASSERT_EQ(fits.size(), kBlockReplyBufferBytes);
    EXPECT_TRUE(ValidSerialBlockReply(fits.data(), fits.size()));
    const Bytes tooLong = Frame(Bytes(kBlockReplyBufferBytes - 6, 0x00));
    EXPECT_FALSE(ValidSerialBlockReply(tooLong.data(), tooLong.size()));
}

// ---------------------------------------------------------------------------------------------

TEST(SampleDecoding, TwoByteMarkerAndScales) {
    const uint8_t marker[] = {0x80, 0x01};
    DecodedSample s = DecodeSample(0x02, marker);
    EXPECT_FLOAT_EQ(s.value, -3276.7f);
    EXPECT_FALSE(s.counted);

    const uint8_t raw[] = {0x09, 0xC4};  // 2500
    s = DecodeSample(0x22, raw);
    EXPECT_EQ(s.value, 25.00f);
    EXPECT_TRUE(s.counted);
    EXPECT_EQ(DecodeSample(0x02, raw).value, 250.0f);
    EXPECT_EQ(DecodeSample(0x12, raw).value, 250.0f) << "only a high nibble of 2 means hundredths";

    const uint8_t negative[] = {0xFF, 0x38};  // −200
    EXPECT_EQ(DecodeSample(0x02, negative).value, -20.0f);
    EXPECT_EQ(DecodeSample(0x22, negative).value, -2.0f);
    // 0x8000 is an ordinary (if extreme) value, not the marker.
    const uint8_t lowest[] = {0x80, 0x00};
    EXPECT_EQ(DecodeSample(0x02, lowest).value, -3276.8f);
    EXPECT_TRUE(DecodeSample(0x02, lowest).counted);
}

TEST(SampleDecoding, FourByteMarkerAndLittleEndianFloat) {
    const uint8_t marker[] = {0xFF, 0xFF, 0xFF, 0xFF};
    DecodedSample s = DecodeSample(0x04, marker);
    EXPECT_FLOAT_EQ(s.value, 0.0001f);
    EXPECT_FALSE(s.counted);
    const uint8_t f[] = {0x00, 0x00, 0xC8, 0x42};  // 0x42C80000 = 100.0
    s = DecodeSample(0x04, f);
    EXPECT_EQ(s.value, 100.0f);
    EXPECT_TRUE(s.counted);
    const uint8_t g[] = {0x66, 0x66, 0xCA, 0x42};  // 0x42CA6666 ≈ 101.2
    EXPECT_FLOAT_EQ(DecodeSample(0x04, g).value, 101.2f);
}

TEST(SampleDecoding, OtherWidthsAreZeroAndTakeTheirLowNibble) {
    const uint8_t bytes[15] = {0x11, 0x22, 0x33};
    EXPECT_EQ(DecodeSample(0x03, bytes).value, 0.0f);
    EXPECT_FALSE(DecodeSample(0x03, bytes).counted);
    EXPECT_EQ(SampleBytes(0x03), 3u);
    EXPECT_EQ(SampleBytes(0x20), 0u);
    EXPECT_EQ(SampleBytes(0x2F), 15u);
}

// ---------------------------------------------------------------------------------------------

TEST(BlockDecoding, TimeFieldsAndChannelOrder) {
    const ChannelLayout layout = Layout({{0, 0x02}, {1, 0x22}, {2, 0x04}});
    const Bytes reply = BlockReply({Record({0x00, 0xD7, 0x09, 0xC4, 0x00, 0x00, 0xC8, 0x42}, 5)});
    Decoded d;
    Decode(d, layout, reply);
    ASSERT_EQ(d.result.records, 1);
    ASSERT_EQ(d.buffer.recordCount, 1);
    ASSERT_EQ(d.buffer.records.size(), 1u);
    const SampleRecord& r = d.buffer.records[0];
    EXPECT_EQ(r.year, 26);
    EXPECT_EQ(r.month, 3);
    EXPECT_EQ(r.day, 7);
    EXPECT_EQ(r.hour, 8);
    EXPECT_EQ(r.minute, 5);
    EXPECT_EQ(r.second, 30);
    EXPECT_EQ(r.value[0], 21.5f);
    EXPECT_EQ(r.value[1], 25.0f);
    EXPECT_EQ(r.value[2], 100.0f);
}

TEST(BlockDecoding, DisabledChannelsTakeNoBytes) {
    // Channels 1 and 4 enabled, 2 and 3 off: the second sample belongs to channel 4.
    const ChannelLayout layout = Layout({{0, 0x02}, {3, 0x02}});
    const Bytes reply = BlockReply({Record(Bytes{0x00, 0x0A, 0x00, 0x14}), Record(Bytes{0x00, 0x1E, 0x00, 0x28})});
    Decoded d;
    Decode(d, layout, reply);
    ASSERT_EQ(d.buffer.recordCount, 2);
    EXPECT_EQ(d.buffer.records[0].value[0], 1.0f);
    EXPECT_EQ(d.buffer.records[0].value[3], 2.0f);
    EXPECT_EQ(d.buffer.records[0].value[1], 0.0f);
    EXPECT_EQ(d.buffer.records[0].value[2], 0.0f);
    EXPECT_EQ(d.buffer.records[1].value[0], 3.0f);
    EXPECT_EQ(d.buffer.records[1].value[3], 4.0f);
}

TEST(BlockDecoding, AnOddWidthChannelShiftsTheFollowingOnes) {
    // Channel 1 of width 3 decodes as 0 and takes three bytes; channel 2 follows them.
    const ChannelLayout layout = Layout({{0, 0x03}, {1, 0x02}});
    const Bytes reply = BlockReply({Record(Bytes{0x01, 0x02, 0x03, 0x00, 0x64})});
    Decoded d;
    Decode(d, layout, reply);
    ASSERT_EQ(d.buffer.recordCount, 1);
    EXPECT_EQ(d.buffer.records[0].value[0], 0.0f);
    EXPECT_EQ(d.buffer.records[0].value[1], 10.0f);
}

TEST(BlockDecoding, RecordsStopAtLengthField) {
    // A reply whose L covers one record although two follow: only the first is taken.
    const ChannelLayout layout = Layout({{0, 0x02}});
    Bytes reply = BlockReply({Record(S2(1)), Record(S2(2))});
    reply[3] = 0x00;
    reply[4] = 2 + 8 + 2;  // block number + one record + checksum and end
    Decoded d;
    Decode(d, layout, reply);
    EXPECT_EQ(d.buffer.recordCount, 1);
}

TEST(BlockDecoding, AUsbReportNeverReadsPastItsSixtyFourBytes) {
    // L claims 20 records of 8 bytes, but the report holds 64 bytes: records at 7, 15, … 47 fit
    // (47 + 8 = 55), 55 + 8 = 63 fits too, the one at 63 would run past the report.
    const ChannelLayout layout = Layout({{0, 0x02}});
    std::vector<Bytes> records;
    for (int i = 0; i < 20; ++i) records.push_back(Record(S2(i), static_cast<uint8_t>(i)));
    Bytes frame = BlockReply(records);
    Bytes report(frame.begin(), frame.begin() + 64);
    Decoded d;
    Decode(d, layout, report, 64);
    ASSERT_EQ(d.buffer.recordCount, 7);
    EXPECT_EQ(d.buffer.records[6].minute, 6);
    EXPECT_EQ(d.buffer.records[6].value[0], 0.6f);
}

// ---------------------------------------------------------------------------------------------

// Decodes the given tenths of channel 1 (0x02) into one buffer, one block per ten records.
void DecodeTenths(DownloadBuffer& buffer, const std::vector<int>& tenths, uint8_t type = 0x02) {
    buffer.Begin(Layout({{0, type}}));
    std::vector<Bytes> records;
    for (int t : tenths) records.push_back(Record(t == -32767 ? Bytes{0x80, 0x01} : S2(t)));
    const Bytes reply = BlockReply(records);
    DecodeBlockRecords(reply.data(), reply.size(), buffer);
}

float Average(const DownloadBuffer& buffer, int channel = 0) {
    float avg[kRecordSetChannels];
    ComputeAverages(buffer, avg);
    return avg[channel];
}

TEST(Statistics, StartValuesAndMaxMin) {
    DownloadBuffer b;
    EXPECT_EQ(b.maxValue[0], -10000.0f);
    EXPECT_EQ(b.minValue[7], 10000.0f);
    DecodeTenths(b, {215, -32767, 198, 240});
    EXPECT_EQ(b.maxValue[0], 24.0f);
    EXPECT_EQ(b.minValue[0], 19.8f);
    EXPECT_EQ(b.maxValue[1], -10000.0f) << "a disabled channel keeps its start values";
    EXPECT_EQ(Average(b, 1), 0.0f);
}

TEST(Statistics, ExactlyTenSamplesAverageIsTheReferenceMean) {
    DownloadBuffer b;
    DecodeTenths(b, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100});
    EXPECT_EQ(b.firstTenCount[0], 11);
    EXPECT_FLOAT_EQ(b.firstTenSum[0], 5.5f);
    EXPECT_FLOAT_EQ(Average(b), 5.5f);
}

TEST(Statistics, NineSamplesAverageIsTheirSumOverNine) {
    DownloadBuffer b;
    DecodeTenths(b, {10, 20, 30, 40, 50, 60, 70, 80, 100});
    EXPECT_EQ(b.firstTenCount[0], 9);
    EXPECT_FLOAT_EQ(Average(b), 46.0f / 9.0f);
}

TEST(Statistics, LaterSamplesAddTheirDeviationFromTheReferenceMean) {
    DownloadBuffer b;
    DecodeTenths(b, {10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 30, 50});
    EXPECT_FLOAT_EQ(b.deviationSum[0], 2.0f + 4.0f);
    EXPECT_FLOAT_EQ(Average(b), (10 * 1.0f + 3.0f + 5.0f) / 12.0f);
}

TEST(Statistics, MissingValueMarkersDoNotPullTheAverageTowardZero) {
    DownloadBuffer b;
    // Twenty records, five of them markers: the average is that of the fifteen real samples.
    std::vector<int> t;
    for (int i = 0; i < 20; ++i) t.push_back(i % 4 == 3 ? -32767 : 200);
    DecodeTenths(b, t);
    EXPECT_EQ(b.recordCount, 20);
    EXPECT_EQ(b.countedSamples[0], 15);
    EXPECT_FLOAT_EQ(Average(b), 20.0f);
    EXPECT_EQ(b.maxValue[0], 20.0f);
    EXPECT_EQ(b.minValue[0], 20.0f);

    // Fewer than ten real samples among more than ten records: still their own mean.
    DecodeTenths(b, {-32767, 100, -32767, 300, -32767, -32767, -32767, -32767, -32767, -32767, -32767});
    EXPECT_FLOAT_EQ(Average(b), 20.0f);
}

TEST(Statistics, OnlyMarkersGiveAZeroAverage) {
    DownloadBuffer b;
    DecodeTenths(b, {-32767, -32767, -32767});
    EXPECT_EQ(Average(b), 0.0f);
    EXPECT_EQ(b.maxValue[0], -10000.0f);
    EXPECT_EQ(b.minValue[0], 10000.0f);
}

TEST(Statistics, FourByteChannelsGetARealAverage) {
    DownloadBuffer b;
    b.Begin(Layout({{0, 0x04}}));
    const Bytes f100 = {0x00, 0x00, 0xC8, 0x42};  // 100.0
    const Bytes f102 = {0x00, 0x00, 0xCC, 0x42};  // 102.0
    const Bytes missing = {0xFF, 0xFF, 0xFF, 0xFF};
    const Bytes reply = BlockReply({Record(f100), Record(missing), Record(f102), Record(missing)});
    DecodeBlockRecords(reply.data(), reply.size(), b);
    EXPECT_EQ(b.recordCount, 4);
    EXPECT_FLOAT_EQ(Average(b), 101.0f);
    EXPECT_EQ(b.maxValue[0], 102.0f);
    EXPECT_EQ(b.minValue[0], 100.0f);
    EXPECT_FLOAT_EQ(b.records[1].value[0], 0.0001f);
}

TEST(Statistics, ANotANumberPatternDoesNotSpoilTheFourByteAverage) {
    DownloadBuffer b;
    b.Begin(Layout({{0, 0x04}}));
    const Bytes f100 = {0x00, 0x00, 0xC8, 0x42};
    const Bytes nan = {0x00, 0x00, 0xC0, 0x7F};
    const Bytes reply = BlockReply({Record(f100), Record(nan)});
    DecodeBlockRecords(reply.data(), reply.size(), b);
    EXPECT_FLOAT_EQ(Average(b), 100.0f);
    EXPECT_EQ(b.maxValue[0], 100.0f);
}

TEST(Statistics, BeginResetsEverythingButTheReservation) {
    DownloadBuffer b;
    const SampleRecord* storage = b.records.data();
    DecodeTenths(b, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110});
    b.blockCount = 9;
    b.finished = true;
    b.Begin(Layout({{0, 0x02}}));
    EXPECT_EQ(b.recordCount, 0);
    EXPECT_TRUE(b.records.empty());
    EXPECT_EQ(b.records.data(), storage);
    EXPECT_EQ(b.blockCount, 0);
    EXPECT_FALSE(b.finished);
    EXPECT_EQ(b.firstTenCount[0], 0);
    EXPECT_EQ(b.deviationSum[0], 0.0f);
    EXPECT_EQ(b.maxValue[0], -10000.0f);
    EXPECT_EQ(Average(b), 0.0f);
}

// ---------------------------------------------------------------------------------------------

TEST(Capacity, ABlockPushingPastTheCapacityStopsThere) {
    DownloadBuffer b;
    const ChannelLayout layout = Layout({{0, 0x02}});
    b.Begin(layout);
    ASSERT_GE(b.records.capacity(), static_cast<size_t>(kRecordCapacity));
    const SampleRecord* storage = b.records.data();
    // Blocks of 8000 eight-byte records (L fits 16 bits) until 8 records short of the capacity.
    std::vector<Bytes> records(8000, Record(S2(100)));
    const Bytes big = BlockReply(records);
    while (b.recordCount + 8000 <= kRecordCapacity - 8) {
        ASSERT_FALSE(DecodeBlockRecords(big.data(), big.size(), b).capacityReached);
    }
    const int32_t before = b.recordCount;
    const Bytes last = BlockReply(std::vector<Bytes>(kRecordCapacity - before + 5, Record(S2(300))));
    const BlockDecodeResult r = DecodeBlockRecords(last.data(), last.size(), b);
    EXPECT_TRUE(r.capacityReached);
    EXPECT_TRUE(b.capacityReached);
    EXPECT_EQ(r.records, kRecordCapacity - before);
    EXPECT_EQ(b.recordCount, kRecordCapacity);
    EXPECT_EQ(b.records.size(), static_cast<size_t>(kRecordCapacity));
    EXPECT_EQ(b.records.data(), storage) << "the reserved storage was never reallocated";
    EXPECT_EQ(b.records.back().value[0], 30.0f);
    EXPECT_EQ(b.countedSamples[0], kRecordCapacity) << "refused records do not enter the statistics";

    // A further block adds nothing.
    EXPECT_TRUE(DecodeBlockRecords(big.data(), big.size(), b).capacityReached);
    EXPECT_EQ(b.recordCount, kRecordCapacity);
}

TEST(Capacity, FillingItExactlyIsNoWarning) {
    DownloadBuffer b;
    b.Begin(Layout({}));  // time-only records: six bytes each
    const Bytes block = BlockReply(std::vector<Bytes>(kRecordCapacity / 32, Record({})));
    for (int i = 0; i < 32; ++i) {
        ASSERT_FALSE(DecodeBlockRecords(block.data(), block.size(), b).capacityReached);
    }
    EXPECT_EQ(b.recordCount, kRecordCapacity);
    EXPECT_FALSE(b.capacityReached);
}

// ---------------------------------------------------------------------------------------------

TEST(ChannelLayoutFromDeviceInfo, EnabledFlagsAndTypes) {
    DeviceInfo info;
    info.channel[0].channelEnabled = 1;
    info.channel[0].channelType = 0x22;
    info.channel[2].channelEnabled = 1;
    info.channel[2].channelType = 0x04;
    info.channel[5].channelType = 0x02;  // configured but not recorded
    const ChannelLayout layout = ChannelLayoutOf(info);
    EXPECT_TRUE(layout.enabled[0]);
    EXPECT_TRUE(layout.enabled[2]);
    EXPECT_FALSE(layout.enabled[5]);
    EXPECT_EQ(RecordBytes(layout), 6u + 2u + 4u);
}

}  // namespace
}  // namespace velorin
