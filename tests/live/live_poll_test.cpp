// One live poll over a scripted serial peer, and over both links of the simulated logger,
// including a period in which the logger stays silent.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "civil_time.h"
#include "common/texts.h"
#include "device/device_info.h"
#include "device/device_reader.h"
#include "device/frame.h"
#include "device/kvusb_loader.h"
#include "device/link.h"
#include "live/live_poll.h"
#include "logger_state.h"
#include "server.h"
#include "support/pty_peer.h"
#include "support/temp_dir.h"

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

// The simulated logger in-process: COM3 of a private port folder and its USB socket.
class LivePollAgainstSimulator : public ::testing::Test {
protected:
    void SetUp() override {
        sim::ServerOptions o;
        o.portFolder = ports_.Path();
        o.comNumber = 3;
        o.pacing = false;
        o.socketPath = ports_.Path() + "/kvusb-sim.sock";
        socketEnv_ = std::make_unique<test::ScopedEnv>("VELORIN_KVUSB_SOCKET", o.socketPath);
        portEnv_ = std::make_unique<test::ScopedEnv>("VELORIN_PORT_DIR", ports_.Path());
        const char* bin = std::getenv("VELORIN_BIN_DIR");
        libraryEnv_ = std::make_unique<test::ScopedEnv>(
            "VELORIN_KVUSB", std::string(bin ? bin : ".") + "/libkvusb-sim.so");
        state_ = sim::DefaultLoggerState(sim::HostNowCivil());
        server_ = std::make_unique<sim::LoggerServer>(state_, o);
        std::string error;
        ASSERT_TRUE(server_->Start(&error)) << error;
        for (int k = 0; k < kChannelCount; ++k) {
            channels_[k].channelEnabled = state_.channels[k].enabled ? 1 : 0;
            channels_[k].channelType = state_.channels[k].type;
        }
    }
    void Silence(int64_t count) {
        sim::FaultPlan plan;
        plan.kind = sim::FaultKind::Silence;
        plan.command = cmd::LiveReading;
        plan.count = count;
        server_->SetFaultPlan(plan);
    }
    void LoadUsb() {
        const KvusbLoadResult r = LoadKvusb(".", link_.usb);
        ASSERT_EQ(r.status, KvusbLoadStatus::Loaded) << r.message << " " << r.detail;
    }

    test::TempDir ports_;
    std::unique_ptr<test::ScopedEnv> socketEnv_, portEnv_, libraryEnv_;
    sim::LoggerState state_;
    std::unique_ptr<sim::LoggerServer> server_;
    ChannelInfo channels_[kChannelCount];
    Link link_;
};

// Plausible readings of the simulator's default channels (temperature, humidity, ...).
void ExpectPlausible(const LivePollResult& r) {
    EXPECT_GT(r.sample.value[0], -40.0f);
    EXPECT_LT(r.sample.value[0], 85.0f);
    EXPECT_GT(r.sample.value[1], 0.0f);
    EXPECT_LT(r.sample.value[1], 100.0f);
    EXPECT_EQ(r.sample.value[4], 0.0f) << "channel 5 is off";
}

TEST_F(LivePollAgainstSimulator, SerialPollsSurviveASilentPeriod) {
    link_.currentPort = 3;
    ASSERT_TRUE(link_.OpenCurrentPort());
    LivePollResult r = PollLive(link_, channels_);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.via, LivePollVia::Serial);
    ExpectPlausible(r);

    Silence(5);  // one whole poll goes unanswered
    r = PollLive(link_, channels_);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.attempts, 5);
    r = PollLive(link_, channels_);
    EXPECT_TRUE(r.ok) << "the next poll reads again";
    EXPECT_EQ(r.attempts, 1);
    link_.serial.ClosePort();
}

TEST_F(LivePollAgainstSimulator, UsbPollsKeepAUsableHandleAndSkipFailedReads) {
    LoadUsb();
    link_.currentPort = HID_LINK_PORT;
    link_.hidHandle = link_.FindLogger();
    ASSERT_NE(link_.hidHandle, nullptr);
    for (int i = 0; i < 3; ++i) {
        const LivePollResult r = PollLive(link_, channels_);
        ASSERT_TRUE(r.ok) << i;
        EXPECT_EQ(r.via, LivePollVia::Usb);
        ExpectPlausible(r);
    }
    // The handle the poll left behind still talks to the logger.
    ASSERT_NE(link_.hidHandle, nullptr);
    DeviceInfo info;
    EXPECT_TRUE(ReadIdentityHid(link_, info));

    Silence(1);
    EXPECT_FALSE(PollLive(link_, channels_).ok) << "a failed read is skipped, not decoded";
    EXPECT_TRUE(PollLive(link_, channels_).ok);

    // Unplugged: no logger to find, the handle is cleared and later polls take the serial port.
    server_->SetUsbPlugged(false);
    EXPECT_FALSE(PollLive(link_, channels_).ok);
    EXPECT_EQ(link_.hidHandle, nullptr);
    const LivePollResult serial = PollLive(link_, channels_);
    EXPECT_EQ(serial.via, LivePollVia::Serial);
    EXPECT_FALSE(serial.ok) << "the serial port is not open";
}

}  // namespace
}  // namespace velorin
