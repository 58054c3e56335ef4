// Transact against a scripted peer on a pseudo-terminal: how long it waits, how much it takes,
// that it never writes past the reply buffer and that old bytes never enter a new reply.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "device/frame.h"
#include "support/logger_data.h"
#include "device/serial_port.h"
#include "device/transport.h"
#include "support/pty_peer.h"

namespace velorin {
namespace {

using Clock = std::chrono::steady_clock;
using test::PollUntil;
using test::PtyPeer;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The byte the peers below send at position i of a stream.
uint8_t StreamByte(size_t i) { return static_cast<uint8_t>(i % 251); }

class TransactOnPty : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(peer.Ok());
        ASSERT_TRUE(port.OpenDevice(peer.SlavePath(), 1, 115200, 'N', 8, 1));
    }
    void TearDown() override { peer.Stop(); }

    TransactResult Send(uint8_t* reply, size_t capacity) {
        return Transact(port, request.bytes, request.length, reply, capacity);
    }

    PtyPeer peer;
    CSerialPort port;
    AngleFrame request = BuildRequest(0, cmd::InfoQuery);
};

TEST_F(TransactOnPty, ASilentPeerCostsOnePass) {
    peer.Start([](PtyPeer&, const PtyPeer::Request&, size_t) {});
    uint8_t reply[64];
    const auto start = Clock::now();
    const TransactResult r = Send(reply, sizeof reply);
    const double took = SecondsSince(start);
    EXPECT_EQ(r.received, 0u);
    EXPECT_EQ(r.stored, 0u);
    EXPECT_GE(took, 0.14);
    EXPECT_LT(took, 0.4);
    ASSERT_TRUE(peer.WaitForRequests(1, 1000));
    EXPECT_EQ(peer.Requests()[0], PtyPeer::Request(request.bytes, request.bytes + request.length));
}

TEST_F(TransactOnPty, APeerThatKeepsTalkingSlowlyIsCutOffAfterFortyPasses) {
    peer.Start([](PtyPeer& p, const PtyPeer::Request&, size_t) {
        for (size_t i = 0; p.Pause(60); ++i) {
            const uint8_t b = StreamByte(i);
            p.Write(&b, 1);
        }
    });
    std::vector<uint8_t> reply(300);
    const auto start = Clock::now();
    const TransactResult r = Send(reply.data(), reply.size());
    const double took = SecondsSince(start);
    EXPECT_GE(took, 5.5);
    EXPECT_LT(took, 8.0);
    // About one byte per 60 ms for 6 s; never more than the 200 that would end the wait early.
    EXPECT_GT(r.received, 60u);
    EXPECT_LE(r.received, 200u);
    EXPECT_EQ(r.stored, r.received);
    for (size_t i = 0; i < r.stored; ++i) ASSERT_EQ(reply[i], StreamByte(i)) << i;
}

TEST_F(TransactOnPty, MoreThanTwoHundredBytesEndTheWaitAndNothingIsWrittenPastTheBuffer) {
    // 500 bytes, 5 every 20 ms: the stream lasts 2 s, but 200 bytes are there after 0.8 s.
    peer.Start([](PtyPeer& p, const PtyPeer::Request&, size_t) {
        uint8_t chunk[5];
        for (size_t sent = 0; sent < 500; sent += sizeof chunk) {
            for (size_t k = 0; k < sizeof chunk; ++k) chunk[k] = StreamByte(sent + k);
            p.Write(chunk, sizeof chunk);
            if (!p.Pause(20)) return;
        }
    });
    constexpr size_t kCapacity = 16;
    uint8_t buffer[kCapacity + 16];
    std::memset(buffer, 0xCD, sizeof buffer);
    const auto start = Clock::now();
    const TransactResult r = Send(buffer, kCapacity);
    const double took = SecondsSince(start);
    EXPECT_LT(took, 1.6);
    EXPECT_GT(r.received, 200u);
    EXPECT_LT(r.received, 500u);
    EXPECT_EQ(r.stored, kCapacity);
    for (size_t i = 0; i < kCapacity; ++i) EXPECT_EQ(buffer[i], StreamByte(i)) << i;
    for (size_t i = kCapacity; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], 0xCD) << "canary " << i;
}

TEST_F(TransactOnPty, BytesBeyondTheCapacityAreReadOffTheLine) {
    peer.Start([](PtyPeer& p, const PtyPeer::Request&, size_t) {
        std::vector<uint8_t> burst(300);
        for (size_t i = 0; i < burst.size(); ++i) burst[i] = StreamByte(i);
        p.Write(burst);
    });
    uint8_t buffer[8 + 8];
    std::memset(buffer, 0xCD, sizeof buffer);
    const TransactResult r = Send(buffer, 8);
    EXPECT_EQ(r.received, 300u);
    EXPECT_EQ(r.stored, 8u);
    EXPECT_EQ(port.BytesWaiting(), 0);
    for (size_t i = 8; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], 0xCD) << "canary " << i;
}

TEST_F(TransactOnPty, LeftoversOfAnEarlierReplyNeverEnterTheNextOne) {
    const std::vector<uint8_t> first = test::ReplyFrame(cmd::InfoQuery, std::vector<uint8_t>(33, 0x11));
    const std::vector<uint8_t> second = test::ReplyFrame(cmd::InfoQuery, std::vector<uint8_t>(13, 0x22));
    const size_t half = first.size() / 2;
    peer.Start([&](PtyPeer& p, const PtyPeer::Request&, size_t index) {
        if (index == 0) {
            p.Write(first.data(), half);
            if (!p.Pause(600)) return;  // far longer than a quiet pass
            p.Write(first.data() + half, first.size() - half);
        } else {
            p.Write(second);
        }
    });
    uint8_t reply[128];
    TransactResult r = Send(reply, sizeof reply);
    ASSERT_EQ(r.received, half);
    EXPECT_EQ(std::memcmp(reply, first.data(), half), 0);
    EXPECT_FALSE(ReplyPassesFull(reply, r.stored));

    ASSERT_TRUE(PollUntil([&] { return port.BytesWaiting() == static_cast<int>(first.size() - half); }, 3000));
    std::memset(reply, 0, sizeof reply);
    r = Send(reply, sizeof reply);
    ASSERT_EQ(r.received, second.size());
    EXPECT_EQ(std::vector<uint8_t>(reply, reply + r.stored), second);
    EXPECT_TRUE(ReplyPassesFull(reply, r.stored));
    peer.Stop();  // the responder refers to this test's replies
}

}  // namespace
}  // namespace velorin
