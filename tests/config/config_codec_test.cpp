// The configuration requests as bytes: known answers for every request, the encodings of texts,
// limits, durations and times, the two USB buffers and the tests that judge a reply.
#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "config/config_codec.h"
#include "device/frame.h"

namespace velorin {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Of(const AngleFrame& f) { return Bytes(f.bytes, f.bytes + f.length); }

// Header, data, checksum and end byte of a request with address 0.
Bytes Request(uint8_t command, const Bytes& data) {
    const size_t n = data.size();
    Bytes out(n + 7);  // sized once: no growth of a five-byte vector for the compiler to misjudge
    out[0] = 0x3C;
    out[2] = command;
    out[4] = static_cast<uint8_t>(n + 2);
    std::copy(data.begin(), data.end(), out.begin() + 5);
    out[n + 5] = FrameChecksum(out.data(), n + 5);
    out[n + 6] = 0x3E;
    return out;
}

TEST(ConfigRequestBytes, AlarmRequestWithoutChannelsIsSevenBytes) {
    EXPECT_EQ(Of(BuildAlarmRequest(0, nullptr, 0)), (Bytes{0x3C, 0x00, 0x1F, 0x00, 0x02, 0x5D, 0x3E}));
}

TEST(ConfigRequestBytes, AlarmRequestCarriesFiveBytesPerChannel) {
    const AlarmSetting s[2] = {{true, ParseAlarmLimit("-0.5").tenths, ParseAlarmLimit("12.34").tenths},
                               {false, -400, 850}};
    const Bytes frame = Of(BuildAlarmRequest(0, s, 2));
    EXPECT_EQ(frame, Request(0x1F, {0x01, 0xFF, 0xFB, 0x00, 0x7B, 0x00, 0xFE, 0x70, 0x03, 0x52}));
    EXPECT_EQ(frame.size(), 5u * 2 + 7);
}

TEST(ConfigRequestBytes, IntervalOfOneHour) {
    EXPECT_EQ(Of(BuildIntervalRequest(0, 3600)), Request(0x16, {0x00, 0x00, 0x0E, 0x10}));
    EXPECT_EQ(Of(BuildIntervalRequest(0, 3600)).size(), 11u);
}

TEST(ConfigRequestBytes, ClockBytesArePlainAndYearCountsFrom2000) {
    EXPECT_EQ(Of(BuildClockRequest(0, ClockBytesOf(2031, 2, 3, 4, 5, 6))),
              Request(0x13, {0x1F, 0x02, 0x03, 0x04, 0x05, 0x06}));
    EXPECT_EQ(ClockBytesOf(2000, 1, 1, 0, 0, 0).bytes[0], 0x00);
    EXPECT_EQ(ClockBytesOf(2099, 12, 31, 23, 59, 59).bytes[0], 0x63);
    EXPECT_EQ(ClockBytesOf(2255, 1, 1, 0, 0, 0).bytes[0], 0xFF);
}

TEST(ConfigRequestBytes, UserNameIsCutAfterItsThirtiethByteAndEmptyTitleIsZeros) {
    const std::string name(35, 'N');
    const Bytes frame = Of(BuildUserTitleRequest(0, name, ""));
    ASSERT_EQ(frame.size(), 67u);
    EXPECT_EQ(frame[3], 0x00);
    EXPECT_EQ(frame[4], 62);
    EXPECT_EQ(Bytes(frame.begin() + 5, frame.begin() + 35), Bytes(30, 'N'));
    EXPECT_EQ(Bytes(frame.begin() + 35, frame.begin() + 65), Bytes(30, 0x00));
    EXPECT_EQ(frame[65], FrameChecksum(frame.data(), 65));
}

TEST(ConfigRequestBytes, TextsAreCutAtACharacterBoundary) {
    // 29 ASCII bytes and a two-byte character (bytes 29 and 30): the character does not fit and
    // is left out whole; the logger never holds its lead byte alone.
    const std::string wen = "\xCE\xC2";  // 温 in GBK
    const std::string name = std::string(29, 'a') + wen;
    const std::string title = std::string(28, 'b') + wen + "c";  // the character ends at byte 30
    const Bytes frame = Of(BuildUserTitleRequest(0, name, title));
    EXPECT_EQ(Bytes(frame.begin() + 5, frame.begin() + 35), [] {
        Bytes b(29, 'a');
        b.push_back(0x00);
        return b;
    }());
    Bytes expectedTitle(28, 'b');
    expectedTitle.push_back(0xCE);
    expectedTitle.push_back(0xC2);
    EXPECT_EQ(Bytes(frame.begin() + 35, frame.begin() + 65), expectedTitle);

    uint8_t report[64];
    BuildUsbUserTitle(name, title, report);
    EXPECT_EQ(report[30], 0x00);
    EXPECT_EQ(Bytes(report + 31, report + 61), expectedTitle);
}

TEST(ConfigRequestBytes, ModeRequests) {
    const ClockBytes t = ClockBytesOf(2026, 12, 10, 8, 30, 0);
    EXPECT_EQ(Of(BuildStartModeRequest(0, 0x01, t)), Request(0x14, {0x01}));
    EXPECT_EQ(Of(BuildStartModeRequest(0, 0x02, t)), Request(0x14, {0x02, 26, 12, 10, 8, 30, 0}));
    EXPECT_EQ(Of(BuildStartModeRequest(0, 0x03, t)).size(), 8u);
    EXPECT_EQ(Of(BuildStopModeRequest(0, 0x02, t)), Request(0x15, {0x02, 26, 12, 10, 8, 30, 0}));
    EXPECT_EQ(Of(BuildStopModeRequest(0, 0x04, t)), Request(0x15, {0x04}));
    EXPECT_EQ(Of(BuildPowerModeRequest(0, 0x80)), Request(0x20, {0x80}));
    EXPECT_EQ(Of(BuildRecordModeRequest(0, 0x00)), Request(0x21, {0x00}));
    EXPECT_EQ(Of(BuildClearAndRestartRequest(0)), (Bytes{0x3C, 0x00, 0x1E, 0x00, 0x02, 0x5C, 0x3E}));
}

TEST(ConfigEncodings, AlarmLimitsAreTruncatedTenthsReadExactly) {
    struct Case {
        const char* text;
        int tenths;
        bool fits;
    };
    const Case cases[] = {
        {"-0.5", -5, true},      {"12.34", 123, true},      {"25.1", 251, true},
        {"25.9", 259, true},     {"2.3", 23, true},         {"-12.39", -123, true},
        {"  7", 70, true},       {"3.x", 30, true},         {"", 0, true},
        {"abc", 0, true},        {"-0.05", 0, true},        {"1e2", 1000, true},
        {"3276.7", 32767, true}, {"-3276.8", -32768, true}, {"3276.8", 0, false},
        {"-3276.9", 0, false},   {"99999999999", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const AlarmLimit l = ParseAlarmLimit(c.text);
        EXPECT_EQ(l.fits, c.fits);
        if (c.fits) {
            EXPECT_EQ(l.tenths, c.tenths);
        }
    }
}

TEST(ConfigEncodings, BcdFormsAndTheTimedText) {
    EXPECT_EQ(ToBcd(59), 0x59);
    EXPECT_EQ(ToBcd(7), 0x07);
    EXPECT_EQ(FromBcd(0x59), 59);
    BcdTime b;
    const uint8_t bytes[6] = {0x26, 0x12, 0x09, 0x08, 0x05, 0x00};
    std::copy(bytes, bytes + 6, b.bytes);
    EXPECT_EQ(TimedTimeText(b), "2026-12-09 08:05:00");
    const ClockBytes plain = PlainOf(b);
    EXPECT_EQ(Bytes(plain.bytes, plain.bytes + 6), (Bytes{26, 12, 9, 8, 5, 0}));
}

TEST(ConfigUsbBuffers, UserTitleAndIntervalLayouts) {
    uint8_t report[64];
    BuildUsbUserTitle(std::string(35, 'u'), "T", report);
    EXPECT_EQ(report[0], '<');
    EXPECT_EQ(Bytes(report + 1, report + 31), Bytes(30, 'u'));
    EXPECT_EQ(report[31], 'T');
    EXPECT_EQ(Bytes(report + 32, report + 64), Bytes(32, 0));

    BuildUsbInterval(3600, 8, report);
    EXPECT_EQ(Bytes(report, report + 11), (Bytes{'<', 0x00, 0x00, 0x0E, 0x10, 8, 0, 0, 0, 255, '>'}));
    EXPECT_EQ(Bytes(report + 11, report + 64), Bytes(53, 0));
}

ReplySeen Seen(const Bytes& b, size_t received) { return {b.data(), received, b.size()}; }

TEST(ConfigReplyTests, EachRequestJudgesItsReplyItsOwnWay) {
    const Bytes ack = {0x28, 0x00, 0x11, 0x00, 0x02, 0x3B, 0x29};
    const Bytes junk7(7, 0x5A);
    const Bytes ack8 = {0x28, 0x00, 0x14, 0x00, 0x03, 0x01, 0x40, 0x29};
    const Bytes junk8(8, 0x5A);
    const Bytes openOnly = {0x28, 0x00, 0x00};

    // Counted only.
    EXPECT_TRUE(AcceptCount7(Seen(junk7, 7)));
    EXPECT_FALSE(AcceptCount7(Seen(ack8, 8)));
    // Counted and framed.
    EXPECT_TRUE(AcceptFramed7(Seen(ack, 7)));
    EXPECT_FALSE(AcceptFramed7(Seen(junk7, 7)));
    // The interval looks at bytes 0 and 6 only, not at the count.
    EXPECT_TRUE(AcceptIntervalReply(Seen(ack, 9)));
    EXPECT_FALSE(AcceptIntervalReply(Seen(openOnly, 3)));
    // Start mode: 7 for manual, 8 for immediate and timed, or a framed 7 or 8 for any.
    EXPECT_TRUE(AcceptStartModeReply(0x03, Seen(junk7, 7)));
    EXPECT_TRUE(AcceptStartModeReply(0x01, Seen(junk8, 8)));
    EXPECT_TRUE(AcceptStartModeReply(0x02, Seen(ack, 7)));
    EXPECT_TRUE(AcceptStartModeReply(0x03, Seen(ack8, 8)));
    EXPECT_FALSE(AcceptStartModeReply(0x01, Seen(junk7, 7)));
    EXPECT_FALSE(AcceptStartModeReply(0x03, Seen(junk8, 8)));
    EXPECT_FALSE(AcceptStartModeReply(0x01, Seen(openOnly, 3)));
    // The wizard's restart: a first byte '(' is enough whatever the length, or byte 2 = 0x1E.
    EXPECT_TRUE(AcceptWizardRestart(Seen(openOnly, 3)));
    EXPECT_TRUE(AcceptWizardRestart(Seen({0x00, 0x00, 0x1E}, 3)));
    EXPECT_TRUE(AcceptWizardRestart(Seen(junk7, 7)));
    EXPECT_FALSE(AcceptWizardRestart(Seen({}, 0)));
    EXPECT_FALSE(AcceptWizardRestart(Seen(junk8, 8)));
}

TEST(ConfigReplyTests, ClockDialogCountsItsFailureTexts) {
    EXPECT_EQ(ClockDialogFailureCount(Seen({0x28, 0, 0x13, 0, 2, 0x3D, 0x29}, 7)), 0);
    EXPECT_EQ(ClockDialogFailureCount(Seen({0x00, 0, 0x13, 0, 2, 0x3D, 0x29}, 7)), 1);
    EXPECT_EQ(ClockDialogFailureCount(Seen({0x28, 0, 0x13, 0, 2, 0x3D, 0x00}, 7)), 1);
    EXPECT_EQ(ClockDialogFailureCount(Seen(Bytes(7, 0), 7)), 2);
    EXPECT_EQ(ClockDialogFailureCount(Seen({}, 0)), 1);
    EXPECT_EQ(ClockDialogFailureCount(Seen(Bytes(9, 0x28), 9)), 1);
}

}  // namespace
}  // namespace velorin
