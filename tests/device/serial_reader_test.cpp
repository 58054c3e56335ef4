// Reading DeviceInfo over the serial link from a logger scripted on a pseudo-terminal: how often
// each request is tried, which replies are taken and what a failed read leaves behind.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "device/device_reader.h"
#include "device/frame.h"
#include "device/link.h"
#include "support/logger_data.h"
#include "support/pty_peer.h"

namespace velorin {
namespace {

using test::ChannelData;
using test::IdentityData;
using test::InfoData;
using test::PtyPeer;
using test::ReplyFrame;
using test::SameBytes;
using test::Sentinel;

using Script = std::function<std::vector<uint8_t>(const PtyPeer::Request& request, size_t index)>;

class SerialReader : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(peer.Ok());
        ASSERT_TRUE(link.serial.OpenDevice(peer.SlavePath(), 1, 115200, 'N', 8, 1));
    }
    void TearDown() override { peer.Stop(); }

    // The logger answers each request with what `script` returns (nothing: stays silent).
    void Logger(Script script) {
        peer.Start([script](PtyPeer& p, const PtyPeer::Request& request, size_t index) {
            const std::vector<uint8_t> reply = script(request, index);
            if (!reply.empty()) p.Write(reply);
        });
    }
    std::vector<PtyPeer::Request> RequestsAfterReturn(size_t atLeast) {
        peer.WaitForRequests(atLeast, 1000);
        return peer.Requests();
    }

    PtyPeer peer;
    Link link;
    const Texts& english = TextsFor(Language::English);
};

const PtyPeer::Request kInfoRequest = {0x3C, 0x00, 0x01, 0x00, 0x02, 0x3F, 0x3E};

TEST_F(SerialReader, InfoQueryIsTriedUpToEightTimes) {
    Logger([](const PtyPeer::Request&, size_t index) {
        return index == 7 ? ReplyFrame(cmd::InfoQuery, InfoData{}.Bytes()) : std::vector<uint8_t>{};
    });
    DeviceInfo info;
    ASSERT_TRUE(ReadInfoSerial(link, info, english));
    const auto requests = RequestsAfterReturn(8);
    ASSERT_EQ(requests.size(), 8u);
    for (const auto& r : requests) EXPECT_EQ(r, kInfoRequest);
    EXPECT_STREQ(info.userName, "Alice");
    EXPECT_STREQ(info.title, "Cold room 3");
    EXPECT_EQ(info.storedRecordCount, 5000);
    EXPECT_EQ(info.recordIntervalSeconds, 3725);
    EXPECT_STREQ(info.startTime, "2024-03-07 08:05:00");
    EXPECT_EQ(info.channel[0].channelEnabled, 1);
    EXPECT_EQ(info.channel[1].channelEnabled, 0);
}

TEST_F(SerialReader, ASilentLoggerGetsEightInfoQueriesAndChangesNothing) {
    Logger([](const PtyPeer::Request&, size_t) { return std::vector<uint8_t>{}; });
    DeviceInfo info = Sentinel();
    EXPECT_FALSE(ReadInfoSerial(link, info, english));
    EXPECT_EQ(RequestsAfterReturn(8).size(), 8u);
    EXPECT_TRUE(SameBytes(info, Sentinel()));
}

TEST_F(SerialReader, AValidInfoReplyShorterThan113BytesIsNotDecoded) {
    InfoData block;
    block.totalBytes = 103;  // all decoded bytes, but a 110-byte reply
    Logger([block](const PtyPeer::Request&, size_t) { return ReplyFrame(cmd::InfoQuery, block.Bytes()); });
    DeviceInfo info = Sentinel();
    EXPECT_FALSE(ReadInfoSerial(link, info, english));
    EXPECT_EQ(RequestsAfterReturn(1).size(), 1u);  // a well-formed reply ends the attempts
    EXPECT_TRUE(SameBytes(info, Sentinel()));
}

TEST_F(SerialReader, ALongInfoReplyWithABadChecksumIsRetriedThenTaken) {
    Logger([](const PtyPeer::Request&, size_t) {
        std::vector<uint8_t> reply = ReplyFrame(cmd::InfoQuery, InfoData{}.Bytes());
        reply[reply.size() - 2] ^= 0xFF;
        return reply;
    });
    DeviceInfo info;
    EXPECT_TRUE(ReadInfoSerial(link, info, english));
    EXPECT_EQ(RequestsAfterReturn(8).size(), 8u);
    EXPECT_EQ(info.storedRecordCount, 5000);
}

TEST_F(SerialReader, AShortIdentityReplyIsRetried) {
    Logger([](const PtyPeer::Request&, size_t index) {
        if (index == 0) return ReplyFrame(cmd::IdentityQuery, {'K', 'V', '-'});
        return ReplyFrame(cmd::IdentityQuery, IdentityData{}.Bytes());
    });
    DeviceInfo info;
    info.storedRecordCount = 5000;
    ASSERT_TRUE(ReadIdentitySerial(link, info));
    const auto requests = RequestsAfterReturn(2);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0][2], cmd::IdentityQuery);
    EXPECT_EQ(std::memcmp(info.model, "KV-T8CH1", 8), 0);
    EXPECT_STREQ(info.serialNumber, "SN123456");
    EXPECT_EQ(info.storageCapacity, 4000);
    EXPECT_EQ(info.overflowCount, 1000);
}

TEST_F(SerialReader, IdentityIsTriedEightTimesAndAFailureChangesNothing) {
    Logger([](const PtyPeer::Request&, size_t index) {
        // Replies that never start with '(' or are cut short.
        std::vector<uint8_t> reply = ReplyFrame(cmd::IdentityQuery, IdentityData{}.Bytes());
        if (index % 2 == 0) {
            reply[0] = 0x00;
        } else {
            reply.resize(20);
        }
        return reply;
    });
    DeviceInfo info = Sentinel();
    EXPECT_FALSE(ReadIdentitySerial(link, info));
    EXPECT_EQ(RequestsAfterReturn(8).size(), 8u);
    EXPECT_TRUE(SameBytes(info, Sentinel()));
}

ChannelData ChannelNumbered(uint8_t number) {
    ChannelData c;
    c.channelNumber = number;
    c.quantity = number;  // distinguishable per channel
    c.upperAlarm = static_cast<int16_t>(100 * number);
    return c;
}

void EnableChannels(DeviceInfo& info, uint8_t mask) {
    for (int i = 0; i < kChannelCount; ++i) info.channel[i].channelEnabled = (mask >> i) & 1;
}

TEST_F(SerialReader, OnlyEnabledChannelsAreQueried) {
    Logger([](const PtyPeer::Request& request, size_t) {
        return ReplyFrame(cmd::ChannelQuery, ChannelNumbered(request[5]).Bytes());
    });
    DeviceInfo info;
    EnableChannels(info, 0x05);
    ReadChannelsSerial(link, info);
    const auto requests = RequestsAfterReturn(2);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0], (PtyPeer::Request{0x3C, 0x00, 0x02, 0x00, 0x03, 0x01, 0x42, 0x3E}));
    EXPECT_EQ(requests[1], (PtyPeer::Request{0x3C, 0x00, 0x02, 0x00, 0x03, 0x03, 0x44, 0x3E}));
    EXPECT_EQ(info.channel[0].quantityCode, 1);
    EXPECT_EQ(info.channel[0].upperAlarmX10, 100);
    EXPECT_EQ(info.channel[0].rangeLowX10, -400);  // tenths as sent over the serial link
    EXPECT_EQ(info.channel[2].quantityCode, 3);
    EXPECT_EQ(info.channel[2].upperAlarmX10, 300);
    EXPECT_EQ(info.channel[1].quantityCode, 0);
}

TEST_F(SerialReader, AChannelThatNeverAnswersKeepsItsValuesWhileTheOthersAreRead) {
    Logger([](const PtyPeer::Request& request, size_t) {
        if (request[5] == 1) return std::vector<uint8_t>{};  // channel 1 stays silent
        return ReplyFrame(cmd::ChannelQuery, ChannelNumbered(request[5]).Bytes());
    });
    DeviceInfo info = Sentinel();
    EnableChannels(info, 0x05);
    const DeviceInfo before = info;
    ReadChannelsSerial(link, info);
    const auto requests = RequestsAfterReturn(6);
    ASSERT_EQ(requests.size(), 6u);
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(requests[i][5], 1) << i;
    EXPECT_EQ(requests[5][5], 3);
    EXPECT_EQ(std::memcmp(&info.channel[0], &before.channel[0], sizeof(ChannelInfo)), 0);
    EXPECT_EQ(info.channel[2].quantityCode, 3);
    EXPECT_EQ(info.channel[2].upperAlarmX10, 300);
}

TEST_F(SerialReader, AShortChannelReplyIsRetried) {
    Logger([](const PtyPeer::Request& request, size_t index) {
        std::vector<uint8_t> data = ChannelNumbered(request[5]).Bytes();
        if (index == 0) data.resize(12);  // a well-formed frame without the alarm limits
        return ReplyFrame(cmd::ChannelQuery, data);
    });
    uint8_t out[kChannelDataBytes];
    ASSERT_TRUE(QueryChannelSerial(link, 2, out));
    EXPECT_EQ(RequestsAfterReturn(2).size(), 2u);
    const std::vector<uint8_t> expected = ChannelNumbered(2).Bytes();
    EXPECT_EQ(std::memcmp(out, expected.data() + 1, kChannelDataBytes), 0);
}

TEST_F(SerialReader, AFailedChannelQueryLeavesTheOutputUntouched) {
    Logger([](const PtyPeer::Request&, size_t) {
        std::vector<uint8_t> reply = ReplyFrame(cmd::ChannelQuery, ChannelNumbered(4).Bytes());
        reply[0] = ')';
        return reply;
    });
    uint8_t out[kChannelDataBytes];
    std::memset(out, 0x77, sizeof out);
    EXPECT_FALSE(QueryChannelSerial(link, 4, out));
    EXPECT_EQ(RequestsAfterReturn(5).size(), 5u);
    for (uint8_t b : out) EXPECT_EQ(b, 0x77);
}

}  // namespace
}  // namespace velorin
