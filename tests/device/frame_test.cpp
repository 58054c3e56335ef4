// The AngleFrame envelope: request bytes the logger expects, the checksum, HID call codes,
// reply validation and frame scanning.
#include <gtest/gtest.h>

#include <vector>

#include "device/frame.h"
#include "support/logger_data.h"

namespace velorin {
namespace {

std::vector<uint8_t> Bytes(const AngleFrame& f) { return {f.bytes, f.bytes + f.length}; }

TEST(RequestFrame, KnownRequestsWithAddressZero) {
    EXPECT_EQ(Bytes(BuildRequest(0, cmd::InfoQuery)), (std::vector<uint8_t>{0x3C, 0x00, 0x01, 0x00, 0x02, 0x3F, 0x3E}));
    EXPECT_EQ(Bytes(BuildRequest(0, cmd::StopRecording)),
              (std::vector<uint8_t>{0x3C, 0x00, 0x1D, 0x00, 0x02, 0x5B, 0x3E}));
    const uint8_t liveChannel[1] = {0};
    EXPECT_EQ(Bytes(BuildRequest(0, cmd::LiveReading, liveChannel, 1)),
              (std::vector<uint8_t>{0x3C, 0x00, 0x05, 0x00, 0x03, 0x00, 0x44, 0x3E}));
    EXPECT_EQ(Bytes(BuildRequest(0, cmd::SetAlarmLimits)),
              (std::vector<uint8_t>{0x3C, 0x00, 0x1F, 0x00, 0x02, 0x5D, 0x3E}));
}

TEST(RequestFrame, AddressAndLengthFieldAndChecksumCoverTheWholeHeader) {
    const uint8_t data[3] = {0x10, 0x20, 0x30};
    const AngleFrame f = BuildRequest(0x07, cmd::ChannelQuery, data, sizeof data);
    ASSERT_EQ(f.length, 10u);
    EXPECT_EQ(f.bytes[1], 0x07);
    EXPECT_EQ(f.bytes[3], 0x00);
    EXPECT_EQ(f.bytes[4], 0x05);  // data + checksum + end byte
    EXPECT_EQ(f.bytes[8], FrameChecksum(f.bytes, 8));
    EXPECT_EQ(f.bytes[9], kRequestEnd);
}

TEST(RequestFrame, DataThatDoesNotFitGivesAnEmptyFrame) {
    std::vector<uint8_t> data(kMaxRequestBytes, 0x55);
    EXPECT_EQ(BuildRequest(0, cmd::SetUserTitle, data.data(), data.size()).length, 0u);
    uint8_t out[8];
    const uint8_t two[2] = {1, 2};
    EXPECT_EQ(EncodeReply(0, 1, two, sizeof two, out, sizeof out), 0u);  // needs 9 bytes
}

TEST(FrameChecksum, IsAPlainEightBitSum) {
    const uint8_t wraps[2] = {0xFF, 0x3D};  // 0x13C
    EXPECT_EQ(FrameChecksum(wraps, 2), 0x3C);
    const uint8_t many[4] = {0x80, 0x80, 0x80, 0x80};  // 0x200
    EXPECT_EQ(FrameChecksum(many, 4), 0x00);
    EXPECT_EQ(FrameChecksum(wraps, 0), 0x00);
}

TEST(HidCallCode, CommandPartAndIndex) {
    EXPECT_EQ(HidCallCode(cmd::IdentityQuery), 6u << 16);
    EXPECT_EQ(HidCallCode(cmd::InfoQuery, 1), (1u << 16) | (1u << 8));
    EXPECT_EQ(HidCallCode(cmd::ChannelQuery, 0, 2), (2u << 16) | 2u);
    EXPECT_EQ(HidCallCodeWithParameter(cmd::BlockRead, 0x1234), (0x1Au << 16) | 0x1234u);
}

class ReplyValidation : public ::testing::Test {
protected:
    std::vector<uint8_t> good = test::ReplyFrame(cmd::IdentityQuery, {1, 2, 3, 4, 5});
};

TEST_F(ReplyValidation, AcceptsAWellFormedReply) {
    ASSERT_EQ(good.size(), 12u);
    EXPECT_TRUE(ReplyPassesFull(good.data(), good.size()));
    EXPECT_TRUE(ReplyPassesStart(good.data(), good.size()));
}

TEST_F(ReplyValidation, BytesAfterTheFrameDoNotMatter) {
    std::vector<uint8_t> longer = good;
    longer.insert(longer.end(), {0xDE, 0xAD});
    EXPECT_TRUE(ReplyPassesFull(longer.data(), longer.size()));
}

TEST_F(ReplyValidation, RejectsWrongChecksum) {
    good[good.size() - 2] ^= 0x01;
    EXPECT_FALSE(ReplyPassesFull(good.data(), good.size()));
    EXPECT_TRUE(ReplyPassesStart(good.data(), good.size()));
}

TEST_F(ReplyValidation, RejectsWrongEndByte) {
    good.back() = kRequestEnd;
    EXPECT_FALSE(ReplyPassesFull(good.data(), good.size()));
}

TEST_F(ReplyValidation, RejectsWrongStartByte) {
    good[0] = kRequestStart;
    EXPECT_FALSE(ReplyPassesFull(good.data(), good.size()));
    EXPECT_FALSE(ReplyPassesStart(good.data(), good.size()));
}

TEST_F(ReplyValidation, RejectsALengthFieldPointingPastTheBytesHeld) {
    EXPECT_FALSE(ReplyPassesFull(good.data(), good.size() - 1));
    std::vector<uint8_t> claimsMore = good;
    claimsMore[4] = 0xFF;  // N = 255 in a 12-byte buffer
    EXPECT_FALSE(ReplyPassesFull(claimsMore.data(), claimsMore.size()));
}

TEST_F(ReplyValidation, RejectsALengthFieldBelowTheChecksumAndEndByte) {
    // With N = 1 the "checksum" would sit in the header; such a frame is not a reply.
    const uint8_t shortN[7] = {kReplyStart, 0, 1, 0, 1, 0x2A, kReplyEnd};
    EXPECT_FALSE(ReplyPassesFull(shortN, sizeof shortN));
}

TEST_F(ReplyValidation, EmptyAndTinyBuffersAreRejected) {
    EXPECT_FALSE(ReplyPassesStart(good.data(), 0));
    EXPECT_FALSE(ReplyPassesFull(good.data(), 0));
    EXPECT_FALSE(ReplyPassesFull(good.data(), 4));
    EXPECT_EQ(FrameLengthField(good.data(), 4), 0u);
    EXPECT_EQ(FrameLengthField(good.data(), 5), 7u);
}

class FrameScanning : public ::testing::Test {
protected:
    std::vector<uint8_t> request = Bytes(BuildRequest(0, cmd::InfoQuery));
    FrameScanResult Scan(const std::vector<uint8_t>& bytes) {
        return ScanFrame(bytes.data(), bytes.size(), kRequestStart, kRequestEnd, 64);
    }
};

TEST_F(FrameScanning, FindsAFrameBehindNoise) {
    std::vector<uint8_t> stream = {0x00, 0xFF, 0x3E, 0x12};
    stream.insert(stream.end(), request.begin(), request.end());
    const FrameScanResult r = Scan(stream);
    EXPECT_EQ(r.kind, FrameScan::Complete);
    EXPECT_EQ(r.offset, 4u);
    EXPECT_EQ(r.length, 7u);
}

TEST_F(FrameScanning, AnIncompleteFrameNeedsMore) {
    for (size_t cut = 1; cut < request.size(); ++cut) {
        const FrameScanResult r = Scan({request.begin(), request.begin() + static_cast<long>(cut)});
        EXPECT_EQ(r.kind, FrameScan::NeedMore) << "cut at " << cut;
        EXPECT_EQ(r.offset, 0u);
    }
    EXPECT_EQ(Scan({0x01, 0x02}).kind, FrameScan::NeedMore);
    EXPECT_EQ(Scan({0x01, 0x02}).offset, 2u);  // all noise: discard it
}

TEST_F(FrameScanning, ACorruptLengthIsSkippedNotWaitedFor) {
    std::vector<uint8_t> huge = request;
    huge[3] = 0x7F;  // N far beyond any request
    FrameScanResult r = Scan(huge);
    EXPECT_EQ(r.kind, FrameScan::Malformed);
    EXPECT_EQ(r.length, 1u);

    std::vector<uint8_t> zeroN = request;
    zeroN[4] = 0x00;
    r = Scan(zeroN);
    EXPECT_EQ(r.kind, FrameScan::Malformed);
    EXPECT_EQ(r.length, 1u);
}

TEST_F(FrameScanning, AFrameWithWrongChecksumIsMalformedOverItsWholeLength) {
    std::vector<uint8_t> bad = request;
    bad[5] ^= 0x40;
    const FrameScanResult r = Scan(bad);
    EXPECT_EQ(r.kind, FrameScan::Malformed);
    EXPECT_EQ(r.length, 7u);
}

TEST_F(FrameScanning, TwoFramesBackToBackYieldTheFirst) {
    std::vector<uint8_t> stream = request;
    const AngleFrame stop = BuildRequest(0, cmd::StopRecording);
    stream.insert(stream.end(), stop.bytes, stop.bytes + stop.length);
    const FrameScanResult r = Scan(stream);
    EXPECT_EQ(r.kind, FrameScan::Complete);
    EXPECT_EQ(r.offset, 0u);
    EXPECT_EQ(r.length, 7u);
}

}  // namespace
}  // namespace velorin
