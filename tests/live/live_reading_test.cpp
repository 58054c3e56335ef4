// The live reading's bytes: the request, which replies are accepted, how values are decoded and
// how they are shown.
#include <gtest/gtest.h>

#include <vector>

#include "common/language.h"
#include "device/frame.h"
#include "live/live_reading.h"
#include "live/live_text_format.h"
#include "live/live_texts.h"

namespace velorin {
namespace {

// A live reply carrying `raw` as the eight channel values.
std::vector<uint8_t> LiveReply(uint8_t address, const std::vector<int16_t>& raw) {
    uint8_t data[17] = {0x5A};  // the leading byte is not interpreted
    for (size_t k = 0; k < raw.size() && k < 8; ++k) WriteU16BE(data + 1 + 2 * k, static_cast<uint16_t>(raw[k]));
    std::vector<uint8_t> out(64);
    out.resize(EncodeReply(address, cmd::LiveReading, data, sizeof data, out.data(), out.size()));
    return out;
}

ChannelInfo Channel(int enabled, uint8_t type) {
    ChannelInfo c;
    c.channelEnabled = enabled;
    c.channelType = type;
    return c;
}

TEST(LiveRequest, IsTheEightByteFrameWithOneZeroDataByte) {
    const AngleFrame a0 = BuildLiveRequest(0);
    EXPECT_EQ(std::vector<uint8_t>(a0.bytes, a0.bytes + a0.length),
              (std::vector<uint8_t>{0x3C, 0x00, 0x05, 0x00, 0x03, 0x00, 0x44, 0x3E}));
    const AngleFrame a7 = BuildLiveRequest(7);
    EXPECT_EQ(std::vector<uint8_t>(a7.bytes, a7.bytes + a7.length),
              (std::vector<uint8_t>{0x3C, 0x07, 0x05, 0x00, 0x03, 0x00, 0x4B, 0x3E}));
}

TEST(LiveReplyAcceptance, ChecksAddressCommandLengthAndEndByteButNotTheChecksum) {
    const std::vector<uint8_t> good = LiveReply(0, {1, 2, 3});
    ASSERT_EQ(good.size(), 24u);
    EXPECT_TRUE(LiveReplyAccepted(good.data(), good.size(), 0));

    auto refused = [&](std::vector<uint8_t> r, const char* why) {
        EXPECT_FALSE(LiveReplyAccepted(r.data(), r.size(), 0)) << why;
    };
    auto changed = [&](size_t at, uint8_t value) {
        std::vector<uint8_t> r = good;
        r[at] = value;
        return r;
    };
    refused(changed(0, '<'), "start byte");
    refused(changed(1, 1), "address");
    refused(changed(2, 0x06), "command");
    refused(changed(23, '>'), "end byte");
    refused(changed(4, 20), "length field one more than received");
    refused(std::vector<uint8_t>(good.begin(), good.end() - 1), "one byte missing");
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    refused(longer, "one byte too many");
    EXPECT_FALSE(LiveReplyAccepted(good.data(), good.size(), 3)) << "another logger's address";

    std::vector<uint8_t> badSum = changed(22, static_cast<uint8_t>(good[22] + 1));
    EXPECT_TRUE(LiveReplyAccepted(badSum.data(), badSum.size(), 0)) << "the checksum is not judged";

    // A well-formed acknowledgement carries no values: decoding it would read beyond it.
    uint8_t ack[16];
    const size_t n = EncodeReply(0, cmd::LiveReading, nullptr, 0, ack, sizeof ack);
    EXPECT_FALSE(LiveReplyAccepted(ack, n, 0));
    EXPECT_FALSE(LiveReplyAccepted(good.data(), 0, 0));
}

TEST(LiveReplyAcceptance, UsbReportHoldsTheFrameFromByteZero) {
    const std::vector<uint8_t> frame = LiveReply(0, {1, 2});
    uint8_t report[64] = {};
    std::copy(frame.begin(), frame.end(), report);
    EXPECT_TRUE(LiveReportAccepted(report, sizeof report, 0));

    uint8_t claimsTooMuch[64] = {};
    std::copy(frame.begin(), frame.end(), claimsTooMuch);
    claimsTooMuch[4] = 200;  // a frame longer than the report
    EXPECT_FALSE(LiveReportAccepted(claimsTooMuch, sizeof claimsTooMuch, 0));

    uint8_t empty[64] = {};  // what a report holds after a read that brought nothing
    EXPECT_FALSE(LiveReportAccepted(empty, sizeof empty, 0));
}

TEST(LiveDecoding, HundredthsTenthsMissingAndDisabledChannels) {
    const std::vector<uint8_t> reply = LiveReply(0, {2650, 251, -123, kLiveMissingRaw, -32768, 77, 12, 34});
    ChannelInfo channels[kChannelCount] = {Channel(1, 0x22), Channel(1, 0x12), Channel(1, 0x02), Channel(1, 0x22),
                                           Channel(1, 0x12), Channel(0, 0x12), Channel(1, 0x14), Channel(1, 0x22)};
    LiveSample s;
    s.value[5] = 9.5f;  // a channel that is not enabled keeps its value
    DecodeLiveValues(reply.data(), channels, s);
    EXPECT_FLOAT_EQ(s.value[0], 26.5f);
    EXPECT_FLOAT_EQ(s.value[1], 25.1f);
    EXPECT_FLOAT_EQ(s.value[2], -12.3f);
    EXPECT_EQ(s.value[3], kLiveMissingValue);
    EXPECT_TRUE(IsMissingLiveValue(s.value[3]));
    EXPECT_FLOAT_EQ(s.value[4], -3276.8f);
    EXPECT_FALSE(IsMissingLiveValue(s.value[4])) << "only 0x8001 is the missing mark";
    EXPECT_FLOAT_EQ(s.value[5], 9.5f);
    EXPECT_FLOAT_EQ(s.value[6], 1.2f) << "a 4-byte channel still reads tenths";
    EXPECT_FLOAT_EQ(s.value[7], 0.34f);
}

TEST(LiveValueTexts, DecimalsFollowTheChannelTypeAndMissingReadsError) {
    for (const char* language : {"English", "Chinese"}) {
        const LiveTexts& t = LiveTextsFor(LanguageFromName(language));
        EXPECT_EQ(FormatLiveValue(26.5f, 0x22, t), "26.50");
        EXPECT_EQ(FormatLiveValue(25.1f, 0x12, t), "25.1");
        EXPECT_EQ(FormatLiveValue(-0.04f, 0x12, t), "-0.0");
        EXPECT_EQ(FormatLiveValue(kLiveMissingValue, 0x22, t), "Error");
        EXPECT_EQ(FormatLiveValue(kLiveMissingValue, 0x12, t), "Error");
        // The list shows two decimals whatever the channel.
        EXPECT_EQ(FormatSelectedValue(25.1f, t), "25.10");
        EXPECT_EQ(FormatSelectedValue(kLiveMissingValue, t), "Error");
        EXPECT_EQ(FormatSelectedValue(-3276.8f, t), "-3276.80");
    }
}

}  // namespace
}  // namespace velorin
