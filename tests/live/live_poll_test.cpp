// One live poll over a scripted serial peer: attempts, acceptance and the time a silent logger
// costs. (Polls against the simulator on both links run in the GUI and end-to-end tests.)
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "device/frame.h"
#include "device/serial_port.h"
#include "live/live_poll.h"
#include "support/pty_peer.h"

namespace velorin {
namespace {

using Clock = std::chrono::steady_clock;
using test::PtyPeer;

std::vector<uint8_t> LiveReply(uint8_t address, int16_t first) {
    uint8_t data[17] = {};
    WriteU16BE(data + 1, static_cast<uint16_t>(first));
    std::vector<uint8_t> out(64);
    out.resize(EncodeReply(address, cmd::LiveReading, data, sizeof data, out.data(), out.size()));
    return out;
}

struct OneChannel {
    ChannelInfo channels[kChannelCount];
    OneChannel() {
        channels[0].channelEnabled = 1;
        channels[0].channelType = 0x22;
    }
};

class LivePollOnPty : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(peer.Ok());
        ASSERT_TRUE(port.OpenDevice(peer.SlavePath(), 1, 115200, 'N', 8, 1));
    }
    void TearDown() override { peer.Stop(); }
    PtyPeer peer;
    CSerialPort port;
    OneChannel c;
};

TEST_F(LivePollOnPty, AnAcceptedReplyEndsThePollAtTheFirstAttempt) {
    peer.Start([](PtyPeer& p, const PtyPeer::Request&, size_t) { p.Write(LiveReply(0, 2650)); });
    const LivePollResult r = PollLiveSerial(port, 0, c.channels);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.attempts, 1);
    EXPECT_FLOAT_EQ(r.sample.value[0], 26.5f);
    ASSERT_EQ(peer.RequestCount(), 1u);
    EXPECT_EQ(peer.Requests()[0], (PtyPeer::Request{0x3C, 0x00, 0x05, 0x00, 0x03, 0x00, 0x44, 0x3E}));
}

TEST_F(LivePollOnPty, RefusedRepliesAreRetriedUpToFiveTimes) {
    // Two replies from another address, then a good one.
    peer.Start([](PtyPeer& p, const PtyPeer::Request&, size_t i) { p.Write(LiveReply(i < 2 ? 9 : 0, -150)); });
    const LivePollResult r = PollLiveSerial(port, 0, c.channels);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.attempts, 3);
    EXPECT_FLOAT_EQ(r.sample.value[0], -1.5f);
}

TEST_F(LivePollOnPty, ASilentLoggerCostsFiveShortAttemptsAndNoSample) {
    peer.Start([](PtyPeer&, const PtyPeer::Request&, size_t) {});
    const auto start = Clock::now();
    const LivePollResult r = PollLiveSerial(port, 0, c.channels);
    const double took = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.attempts, kLiveSerialAttempts);
    EXPECT_TRUE(peer.WaitForRequests(5, 1000));
    EXPECT_LT(took, 2.0);
}

TEST_F(LivePollOnPty, AReplyLongerThanTheBufferIsNotTakenForAShortOne) {
    // 100 bytes whose first 24 look like a complete reply.
    peer.Start([](PtyPeer& p, const PtyPeer::Request&, size_t) {
        std::vector<uint8_t> r = LiveReply(0, 100);
        r.resize(100, 0x29);
        p.Write(r);
    });
    const LivePollResult r = PollLiveSerial(port, 0, c.channels);
    EXPECT_FALSE(r.ok);
}

TEST(LivePollClosedPort, FailsAtOnceWithoutAnExchange) {
    CSerialPort closed;
    OneChannel c;
    const LivePollResult r = PollLiveSerial(closed, 0, c.channels);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.attempts, 0);
}

}  // namespace
}  // namespace velorin
