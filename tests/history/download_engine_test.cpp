// The download engine against the simulated logger over a pseudo-terminal and over
// libkvusb-sim (whole downloads compared with the simulator's history, retries, failures,
// cancel, zero blocks), against a scripted serial peer (count retries, replies that arrive in
// pieces or are too long) and against stand-in USB functions (the record capacity).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "common/language.h"
#include "common/texts.h"
#include "device/frame.h"
#include "history/block_codec.h"
#include "history/download_engine.h"
#include "history/download_test_support.h"
#include "support/pty_peer.h"

namespace velorin {
namespace {

using test::FastTiming;
using test::InfoFor;
using test::LoggerWith;
using test::SimulatedLogger;

// Progress as the hooks saw it, and every pause asked for.
struct Observed {
    std::vector<int> ranges;
    std::vector<int> positions;
    std::vector<int> waits;
};

void Observe(DownloadHooks& hooks, Observed& seen) {
    hooks.setRange = [&seen](int n) { seen.ranges.push_back(n); };
    hooks.setPosition = [&seen](int i) { seen.positions.push_back(i); };
    hooks.wait = [&seen](int ms) {
        seen.waits.push_back(ms);
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    };
}

class DownloadFromSimulator : public ::testing::Test {
protected:
    void Start(const sim::LoggerState& s, sim::ServerOptions options = SimulatedLogger::Unpaced()) {
        state = s;
        logger = std::make_unique<SimulatedLogger>(state, options);
        ASSERT_TRUE(logger->Started()) << logger->Error();
        info = InfoFor(state);
        hooks.timing = FastTiming();
        Observe(hooks, seen);
    }
    void Fault(sim::FaultKind kind, int64_t parameter, int command = -1) {
        sim::FaultPlan plan;
        plan.kind = kind;
        plan.parameter = parameter;
        plan.command = command;
        logger->Server().SetFaultPlan(plan);
    }
    DownloadResult Run() { return RunDownload(link, info, *buffer, hooks); }

    sim::LoggerState state;
    std::unique_ptr<SimulatedLogger> logger;
    Link link;
    DeviceInfo info;
    DownloadHooks hooks;
    Observed seen;
    std::unique_ptr<DownloadBuffer> buffer = std::make_unique<DownloadBuffer>();
};

// The one warning of a failed count, and no count left from anything before.
void ExpectCountFailed(const DownloadResult& r, const DownloadBuffer& buffer) {
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_EQ(r.warnings[0].kind, DownloadWarningKind::CountFailed);
    EXPECT_EQ(r.warnings[0].text, Fixed().historyCountFailed);
    EXPECT_EQ(r.blockCount, 0);
    EXPECT_EQ(buffer.blockCount, 0);
    EXPECT_FALSE(r.finished);
}

std::vector<int> OneTo(int n) {
    std::vector<int> v;
    for (int i = 1; i <= n; ++i) v.push_back(i);
    return v;
}

// --- serial link -----------------------------------------------------------------------------

TEST_F(DownloadFromSimulator, SerialDownloadYieldsTheLoggersHistory) {
    Start(LoggerWith(1000));  // 16-byte records, 374 per block: three blocks
    logger->UseSerial(link);
    const DownloadResult r = Run();
    EXPECT_EQ(r.link, DownloadLink::Serial);
    EXPECT_TRUE(r.finished);
    EXPECT_TRUE(buffer->finished);
    EXPECT_TRUE(r.warnings.empty());
    EXPECT_EQ(r.blockCount, 3);
    EXPECT_EQ(buffer->blockCount, 3);
    EXPECT_EQ(r.blocksRead, 3);
    EXPECT_EQ(r.records, 1000);
    EXPECT_EQ(test::CompareWithHistory(*buffer, state), 0u);
    EXPECT_EQ(seen.ranges, std::vector<int>{3});
    EXPECT_EQ(seen.positions, OneTo(3));
    EXPECT_EQ(logger->Logged("0x19"), 1u);
    EXPECT_EQ(logger->Logged("0x1a"), 3u);
}

TEST_F(DownloadFromSimulator, SerialPortFoundThroughItsNumber) {
    Start(LoggerWith(50));
    link.currentPort = 3;  // COM3 in the port folder
    const DownloadResult r = Run();
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(test::CompareWithHistory(*buffer, state), 0u);
}

TEST_F(DownloadFromSimulator, LastBlockWaitsLonger) {
    Start(LoggerWith(1000));
    logger->UseSerial(link);
    hooks.timing.blockReplyMs = 7;
    hooks.timing.lastBlockExtraMs = 3;
    ASSERT_TRUE(Run().finished);
    EXPECT_EQ(std::count(seen.waits.begin(), seen.waits.end(), 7), 2);
    EXPECT_EQ(std::count(seen.waits.begin(), seen.waits.end(), 10), 1);
}

TEST_F(DownloadFromSimulator, PacedBlocksLargerThanTheTtyQueueArriveWhole) {
    // At 115200 baud a 6000-byte block takes half a second, more than a tty queues unread: the
    // collector must keep reading while the line is busy, with the real 50 ms quiet test.
    sim::ServerOptions paced;
    paced.pacing = true;
    Start(LoggerWith(700), paced);
    logger->UseSerial(link);
    hooks.timing.quietPollMs = 50;
    const DownloadResult r = Run();
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(r.blockCount, 2);
    EXPECT_EQ(logger->Logged("0x1a"), 2u) << "every block accepted at its first request";
    EXPECT_EQ(test::CompareWithHistory(*buffer, state), 0u);
}

TEST_F(DownloadFromSimulator, SerialBlockThatFailsTenTimesIsAcceptedAtTheEleventh) {
    sim::LoggerState s = LoggerWith(100);
    s.serialBlockRecords = 60;  // two blocks
    Start(s);
    logger->UseSerial(link);
    Fault(sim::FaultKind::BlockFail, 10);
    const DownloadResult r = Run();
    EXPECT_TRUE(r.finished);
    EXPECT_TRUE(r.warnings.empty());
    EXPECT_EQ(logger->Logged("0x1a"), 22u);
    EXPECT_EQ(test::CompareWithHistory(*buffer, state), 0u);
    EXPECT_EQ(std::count(seen.waits.begin(), seen.waits.end(), hooks.timing.blockRetryMs), 20);
}

TEST_F(DownloadFromSimulator, SerialBlockThatNeverComesEndsTheBlockPhase) {
    sim::LoggerState s = LoggerWith(200);
    s.serialBlockRecords = 60;  // four blocks
    Start(s);
    logger->UseSerial(link);
    Fault(sim::FaultKind::DropAfter, 2);  // blocks 1 and 2 answered, then silence
    const DownloadResult r = Run();
    EXPECT_FALSE(r.finished);
    EXPECT_FALSE(buffer->finished);
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_EQ(r.warnings[0].kind, DownloadWarningKind::BlockFailed);
    EXPECT_EQ(r.warnings[0].block, 3);
    EXPECT_EQ(r.warnings[0].text, Fixed().historyBlockFailed);
    EXPECT_EQ(r.blocksRead, 2);
    EXPECT_EQ(buffer->recordCount, 120) << "the records of blocks 1 and 2 are kept";
    EXPECT_EQ(logger->Logged("0x1a"), 2u + 11u) << "block 3 requested eleven times, block 4 never";
    EXPECT_EQ(seen.positions, OneTo(2));
}

TEST_F(DownloadFromSimulator, SerialCountFailsAfterFiveAttempts) {
    Start(LoggerWith(100));
    logger->UseSerial(link);
    Fault(sim::FaultKind::Silence, -1, cmd::BlockCountQuery);
    buffer->blockCount = 9;
    const DownloadResult r = Run();
    ExpectCountFailed(r, *buffer);
    EXPECT_EQ(logger->Logged("0x19"), 5u);
    EXPECT_EQ(logger->Logged("0x1a"), 0u);
    EXPECT_TRUE(seen.ranges.empty());
    EXPECT_EQ(std::count(seen.waits.begin(), seen.waits.end(), hooks.timing.countReplyMs), 5);
}

TEST_F(DownloadFromSimulator, ZeroBlocksSendNoBlockRequest) {
    Start(LoggerWith(0));
    logger->UseSerial(link);
    const DownloadResult r = Run();
    EXPECT_TRUE(r.finished);
    EXPECT_TRUE(r.warnings.empty());
    EXPECT_EQ(r.blockCount, 0);
    EXPECT_EQ(buffer->recordCount, 0);
    EXPECT_EQ(logger->Logged("0x19"), 1u);
    EXPECT_EQ(logger->Logged("0x1a"), 0u);
    EXPECT_EQ(seen.ranges, std::vector<int>{0});
}

TEST_F(DownloadFromSimulator, CancelDuringTheCountPhaseSendsNoBlockRequest) {
    Start(LoggerWith(1000));
    logger->UseSerial(link);
    hooks.wait = [this](int ms) {  // the first pause is the one after the count query
        hooks.cancelRequested = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    };
    const DownloadResult r = Run();
    EXPECT_TRUE(r.cancelled);
    EXPECT_FALSE(r.finished);
    EXPECT_EQ(r.blockCount, 3) << "the count phase completes";
    EXPECT_EQ(logger->Logged("0x19"), 1u);
    EXPECT_EQ(logger->Logged("0x1a"), 0u);
    EXPECT_EQ(buffer->recordCount, 0);
    EXPECT_TRUE(seen.ranges.empty());
}

TEST_F(DownloadFromSimulator, CancelBetweenBlocksStopsBeforeTheNextRequest) {
    Start(LoggerWith(1000));
    logger->UseSerial(link);
    hooks.setPosition = [this](int) { hooks.cancelRequested = true; };
    const DownloadResult r = Run();
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(logger->Logged("0x1a"), 1u);
    EXPECT_EQ(r.blocksRead, 1);
}

// --- USB link --------------------------------------------------------------------------------

TEST_F(DownloadFromSimulator, UsbDownloadYieldsTheLoggersHistoryAndClosesTheHandle) {
    Start(LoggerWith(1000));  // three 16-byte records per report: 334 blocks
    ASSERT_TRUE(logger->UseUsb(link));
    const DownloadResult r = Run();
    EXPECT_EQ(r.link, DownloadLink::Usb);
    EXPECT_TRUE(r.finished);
    EXPECT_TRUE(r.warnings.empty());
    EXPECT_EQ(r.blockCount, 334);
    EXPECT_EQ(test::CompareWithHistory(*buffer, state), 0u);
    EXPECT_EQ(seen.ranges, std::vector<int>{334});
    EXPECT_EQ(seen.positions, OneTo(334));
    EXPECT_EQ(link.hidHandle, nullptr);
    EXPECT_EQ(std::count(seen.waits.begin(), seen.waits.end(), hooks.timing.hidCountSettleMs), 1);
}

TEST_F(DownloadFromSimulator, UsbIsTakenBeforeAnyConnection) {
    Start(LoggerWith(30));
    ASSERT_TRUE(logger->UseUsb(link));
    link.currentPort = 0;
    const DownloadResult r = Run();
    EXPECT_EQ(r.link, DownloadLink::Usb);
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(test::CompareWithHistory(*buffer, state), 0u);
}

TEST_F(DownloadFromSimulator, UsbBlockAcceptedAfterNineFailures) {
    Start(LoggerWith(30));  // ten blocks
    ASSERT_TRUE(logger->UseUsb(link));
    Fault(sim::FaultKind::BlockFail, 9);
    const DownloadResult r = Run();
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(logger->Logged("0x1a"), 100u);
    EXPECT_EQ(test::CompareWithHistory(*buffer, state), 0u);
}

TEST_F(DownloadFromSimulator, UsbBlockFailingTenTimesEndsTheBlockPhase) {
    Start(LoggerWith(30));
    ASSERT_TRUE(logger->UseUsb(link));
    Fault(sim::FaultKind::BlockFail, 10);
    const DownloadResult r = Run();
    EXPECT_FALSE(r.finished);
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_EQ(r.warnings[0].kind, DownloadWarningKind::BlockFailed);
    EXPECT_EQ(r.warnings[0].block, 1);
    EXPECT_EQ(r.warnings[0].text, Fixed().historyBlockFailed);
    EXPECT_EQ(logger->Logged("0x1a"), 10u);
    EXPECT_EQ(std::count(seen.waits.begin(), seen.waits.end(), hooks.timing.hidRetryMs), 9);
    EXPECT_NE(link.hidHandle, nullptr) << "only a complete download closes the handle";
}

TEST_F(DownloadFromSimulator, FailedUsbCountNeverReusesAnEarlierCount) {
    Start(LoggerWith(30));
    ASSERT_TRUE(logger->UseUsb(link));
    ASSERT_TRUE(Run().finished);
    EXPECT_EQ(buffer->blockCount, 10);
    ASSERT_TRUE(logger->UseUsb(link));  // a new handle, as after the next Connect
    Fault(sim::FaultKind::Silence, -1, cmd::BlockCountQuery);
    seen = Observed();
    const DownloadResult r = Run();
    ExpectCountFailed(r, *buffer);
    EXPECT_EQ(buffer->recordCount, 0);
    EXPECT_EQ(logger->Logged("0x1a"), 10u) << "only the first download's requests";
}

TEST_F(DownloadFromSimulator, UsbCancelledDuringTheCountPhase) {
    Start(LoggerWith(30));
    ASSERT_TRUE(logger->UseUsb(link));
    hooks.wait = [this](int) { hooks.cancelRequested = true; };
    const DownloadResult r = Run();
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(r.blockCount, 10);
    EXPECT_EQ(logger->Logged("0x1a"), 0u);
}

TEST(DownloadWithoutLogger, UsbLinkWithoutDeviceSendsNothing) {
    Link link;
    link.currentPort = HID_LINK_PORT;
    DownloadBuffer buffer;
    DownloadHooks hooks;
    int waits = 0;
    hooks.wait = [&waits](int) { ++waits; };
    const DownloadResult r = RunDownload(link, DeviceInfo(), buffer, hooks);
    EXPECT_EQ(r.link, DownloadLink::None);
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_EQ(r.warnings[0].kind, DownloadWarningKind::CountFailed);
    EXPECT_FALSE(r.finished);
    EXPECT_EQ(waits, 0);
}

TEST(DownloadWithoutLogger, SerialPortThatCannotBeOpened) {
    Link link;
    link.currentPort = 3;
    link.currentPortPath = "/nonexistent/tty";
    DownloadBuffer buffer;
    DownloadHooks hooks;
    int waits = 0;
    hooks.wait = [&waits](int) { ++waits; };
    const DownloadResult r = RunDownload(link, DeviceInfo(), buffer, hooks);
    EXPECT_TRUE(r.portOpenFailed);
    EXPECT_TRUE(r.Has(DownloadWarningKind::CountFailed));
    EXPECT_EQ(waits, 0) << "no attempts on a port that is not open";
}

// --- scripted serial peer --------------------------------------------------------------------

using Bytes = std::vector<uint8_t>;

Bytes Reply(uint8_t command, const Bytes& data) {
    Bytes out(data.size() + kFrameOverheadBytes);
    out.resize(EncodeReply(0, command, data.data(), data.size(), out.data(), out.size()));
    return out;
}

// A block of `records` time-only records (no channel enabled: six bytes each).
Bytes TimeOnlyBlock(uint16_t block, size_t records) {
    Bytes data = {static_cast<uint8_t>(block >> 8), static_cast<uint8_t>(block)};
    for (size_t i = 0; i < records; ++i) {
        const uint8_t t[6] = {26, 3, 7, 8, static_cast<uint8_t>(i % 60), static_cast<uint8_t>(block)};
        data.insert(data.end(), t, t + 6);
    }
    return Reply(cmd::BlockRead, data);
}

class DownloadFromScriptedPeer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(peer.Ok());
        link.currentPort = 7;
        link.currentPortPath = peer.SlavePath();
        hooks.timing = FastTiming();
        Observe(hooks, seen);
    }
    test::PtyPeer peer;
    Link link;
    DownloadHooks hooks;
    Observed seen;
    DownloadBuffer buffer;
};

TEST_F(DownloadFromScriptedPeer, CountQueryRepeatedUntilAValidReply) {
    peer.Start([](test::PtyPeer& p, const test::PtyPeer::Request& req, size_t index) {
        if (req[2] != cmd::BlockCountQuery) return;
        if (index == 0) p.Write(Bytes{0x28, 0x00, 0x19});                          // cut short
        if (index == 1) p.Write(Reply(cmd::BlockCountQuery, {0x00, 0x00, 0x00}));  // 10 bytes
        if (index == 2) p.Write(Reply(cmd::BlockCountQuery, {0x00, 0x00}));
    });
    const DownloadResult r = RunDownload(link, DeviceInfo(), buffer, hooks);
    EXPECT_TRUE(r.finished);
    EXPECT_TRUE(r.warnings.empty());
    const auto requests = peer.Requests();
    ASSERT_EQ(requests.size(), 3u);
    for (const auto& q : requests) EXPECT_EQ(q, (Bytes{0x3C, 0x00, 0x19, 0x00, 0x02, 0x57, 0x3E}));
}

TEST_F(DownloadFromScriptedPeer, ABlockArrivingInPiecesIsCollectedWhole) {
    peer.Start([](test::PtyPeer& p, const test::PtyPeer::Request& req, size_t) {
        if (req[2] == cmd::BlockCountQuery) p.Write(Reply(cmd::BlockCountQuery, {0x00, 0x01}));
        if (req[2] != cmd::BlockRead) return;
        const Bytes block = TimeOnlyBlock(1, 500);
        p.Write(block.data(), 1000);
        if (!p.Pause(8)) return;  // well inside one quiet pass
        p.Write(block.data() + 1000, block.size() - 1000);
    });
    const DownloadResult r = RunDownload(link, DeviceInfo(), buffer, hooks);
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(buffer.recordCount, 500);
    EXPECT_EQ(peer.RequestCount(), 2u);
}

TEST_F(DownloadFromScriptedPeer, AReplyCutByALongPauseIsRequestedAgain) {
    peer.Start([](test::PtyPeer& p, const test::PtyPeer::Request& req, size_t index) {
        if (req[2] == cmd::BlockCountQuery) p.Write(Reply(cmd::BlockCountQuery, {0x00, 0x01}));
        if (req[2] != cmd::BlockRead) return;
        const Bytes block = TimeOnlyBlock(1, 100);
        if (index == 1) {
            p.Write(block.data(), 300);  // the rest never comes
            return;
        }
        p.Write(block);
    });
    const DownloadResult r = RunDownload(link, DeviceInfo(), buffer, hooks);
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(buffer.recordCount, 100);
    ASSERT_EQ(peer.RequestCount(), 3u);
    const Bytes expected = {0x3C, 0x00, 0x1A, 0x00, 0x04, 0x00, 0x01, 0x5B, 0x3E};
    EXPECT_EQ(peer.Requests()[1], expected);
    EXPECT_EQ(peer.Requests()[2], expected);
    EXPECT_EQ(std::count(seen.waits.begin(), seen.waits.end(), hooks.timing.blockRetryMs), 1);
}

TEST_F(DownloadFromScriptedPeer, AReplyLongerThanTheBufferIsNeverAccepted) {
    std::atomic<int> blockRequests{0};
    peer.Start([&blockRequests](test::PtyPeer& p, const test::PtyPeer::Request& req, size_t) {
        if (req[2] == cmd::BlockCountQuery) p.Write(Reply(cmd::BlockCountQuery, {0x00, 0x01}));
        if (req[2] != cmd::BlockRead) return;
        ++blockRequests;
        p.Write(TimeOnlyBlock(1, 1100));  // 6609 bytes, a well-formed frame
    });
    const DownloadResult r = RunDownload(link, DeviceInfo(), buffer, hooks);
    ASSERT_TRUE(r.Has(DownloadWarningKind::BlockFailed));
    EXPECT_EQ(r.warnings[0].block, 1);
    EXPECT_EQ(blockRequests.load(), 11);
    EXPECT_EQ(buffer.recordCount, 0);
}

TEST_F(DownloadFromScriptedPeer, ABlockReplyWithoutRecordsIsRequestedAgain) {
    // A count reply (L = 4) and a bare 7-byte block frame (L = 2) are well-formed frames that
    // bring no record: neither may count as the block.
    peer.Start([](test::PtyPeer& p, const test::PtyPeer::Request& req, size_t index) {
        if (req[2] == cmd::BlockCountQuery) p.Write(Reply(cmd::BlockCountQuery, {0x00, 0x01}));
        if (req[2] != cmd::BlockRead) return;
        if (index == 1) p.Write(Reply(cmd::BlockCountQuery, {0x00, 0x01}));
        if (index == 2) p.Write(Reply(cmd::BlockRead, {}));
        if (index == 3) p.Write(TimeOnlyBlock(1, 4));
    });
    const DownloadResult r = RunDownload(link, DeviceInfo(), buffer, hooks);
    EXPECT_TRUE(r.finished);
    EXPECT_TRUE(r.warnings.empty());
    EXPECT_EQ(buffer.recordCount, 4);
    EXPECT_EQ(peer.RequestCount(), 4u);
    EXPECT_EQ(std::count(seen.waits.begin(), seen.waits.end(), hooks.timing.blockRetryMs), 2);
}

TEST_F(DownloadFromScriptedPeer, ABlockThatNeverBringsRecordsFailsTheDownload) {
    peer.Start([](test::PtyPeer& p, const test::PtyPeer::Request& req, size_t) {
        if (req[2] == cmd::BlockCountQuery) p.Write(Reply(cmd::BlockCountQuery, {0x00, 0x01}));
        if (req[2] == cmd::BlockRead) p.Write(Reply(cmd::BlockRead, {}));
    });
    const DownloadResult r = RunDownload(link, DeviceInfo(), buffer, hooks);
    EXPECT_FALSE(r.finished);
    ASSERT_TRUE(r.Has(DownloadWarningKind::BlockFailed));
    EXPECT_EQ(r.blocksRead, 0);
    EXPECT_EQ(peer.RequestCount(), 12u) << "the count and eleven block requests";
}

TEST(BlockRecords, CountedAsTheDecoderTakesThem) {
    ChannelLayout none;  // six time bytes a record
    EXPECT_EQ(BlockRecordCount(TimeOnlyBlock(1, 3).data(), TimeOnlyBlock(1, 3).size(), none), 3);
    const Bytes count = Reply(cmd::BlockCountQuery, {0x00, 0x05});
    EXPECT_EQ(BlockRecordCount(count.data(), count.size(), none), 0);
    const Bytes bare = Reply(cmd::BlockRead, {});
    EXPECT_EQ(BlockRecordCount(bare.data(), bare.size(), none), 0);
    // A USB report cut at 64 bytes: only whole records inside it.
    const Bytes big = TimeOnlyBlock(1, 20);
    EXPECT_EQ(BlockRecordCount(big.data(), 64, none), 9);
    EXPECT_EQ(BlockRecordCount(big.data(), 6, none), 0);
    EXPECT_EQ(BlockRecordCount(nullptr, 64, none), 0);
    // A record wider than what arrived after byte 7 is not there.
    ChannelLayout wide;
    wide.enabled[0] = true;
    wide.type[0] = 0x04;
    const Bytes one = Reply(cmd::BlockRead, {0, 1, 26, 3, 7, 8, 0, 0, 1});
    EXPECT_EQ(BlockRecordCount(one.data(), one.size(), wide), 0);
}

// --- stand-in USB functions: the record capacity ---------------------------------------------

// Every block holds nine time-only records (9 × 6 + 9 = 63 bytes of frame in the report).
constexpr int kFakeRecordsPerBlock = 9;
constexpr int kFakeBlocks = kRecordCapacity / kFakeRecordsPerBlock + 5;
std::atomic<int> g_fakeBlockRequests{0};

KvusbHandle FakeFind(const wchar_t*, const wchar_t*, int) { return reinterpret_cast<KvusbHandle>(0x10); }
int FakeWrite(KvusbHandle, int, unsigned char*, int, unsigned int) { return 0; }
int FakeRead(KvusbHandle, int selector, unsigned char* report, int length, unsigned int callCode) {
    if (selector != KVUSB_SELECTOR_READ || length != KVUSB_REPORT_BYTES) return 0;
    const uint8_t command = static_cast<uint8_t>(callCode >> 16);
    Bytes frame;
    if (command == cmd::BlockCountQuery) {
        frame = Reply(command, {static_cast<uint8_t>(kFakeBlocks >> 8), static_cast<uint8_t>(kFakeBlocks)});
    } else if (command == cmd::BlockRead) {
        ++g_fakeBlockRequests;
        frame = TimeOnlyBlock(static_cast<uint16_t>(callCode & 0xFFFF), kFakeRecordsPerBlock);
    } else {
        return 0;
    }
    std::copy(frame.begin(), frame.end(), report);
    return 1;
}

TEST(DownloadCapacity, MoreRecordsThanADataSetHoldsStopsTheBlockPhase) {
    Link link;
    link.usb.findDevice = FakeFind;
    link.usb.sendHWriteData = FakeWrite;
    link.usb.sendHReadData = FakeRead;
    link.hidHandle = link.FindLogger();
    link.currentPort = HID_LINK_PORT;
    DownloadBuffer buffer;
    DownloadHooks hooks;
    hooks.wait = [](int) {};
    g_fakeBlockRequests = 0;
    const DownloadResult r = RunDownload(link, DeviceInfo(), buffer, hooks, Language::English);
    EXPECT_FALSE(r.finished);
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_EQ(r.warnings[0].kind, DownloadWarningKind::CapacityReached);
    EXPECT_EQ(r.warnings[0].text, TextsFor(Language::English).historyCapacityReached);
    EXPECT_EQ(buffer.recordCount, kRecordCapacity);
    EXPECT_EQ(r.records, kRecordCapacity);
    EXPECT_TRUE(buffer.capacityReached);
    // 270,336 = 30,037 × 9 + 3: block 30,038 fills the buffer part-way and ends the download.
    EXPECT_EQ(g_fakeBlockRequests.load(), kRecordCapacity / kFakeRecordsPerBlock + 1);
    EXPECT_EQ(r.blocksRead, kRecordCapacity / kFakeRecordsPerBlock);
    link.hidHandle = nullptr;  // nothing to close
}

}  // namespace
}  // namespace velorin
