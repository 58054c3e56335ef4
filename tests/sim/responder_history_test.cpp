// History block count and blocks on both links, decoded with the program's rule.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "civil_time.h"
#include "history_generator.h"
#include "kvusb.h"
#include "logger_state.h"
#include "responder.h"
#include "sim_test_support.h"

namespace {

using simtest::Bytes;
using simtest::Request;
using namespace velorin::sim;

class sim_History : public ::testing::Test {
protected:
    void SetUp() override {
        state = DefaultLoggerState(simtest::FixedNow());
        state.recordCount = 1000;
        state.intervalSeconds = 60;
        ASSERT_TRUE(ParseCivil("2026-03-06 00:00:00", &state.startTime));
        for (int c = 0; c < 8; ++c) {
            enabled[c] = state.channels[c].enabled;
            types[c] = state.channels[c].type;
        }
    }

    Bytes Serial(const Bytes& request) {
        return RespondSerial(state, request.data(), request.size(), simtest::FixedNow());
    }
    uint32_t SerialBlockCount() {
        const Bytes reply = Serial(Request(0x19));
        return reply.size() == 9 ? (reply[5] << 8) | reply[6] : 0;
    }
    Bytes SerialBlock(uint16_t block) {
        return Serial(Request(0x1A, {static_cast<uint8_t>(block >> 8), static_cast<uint8_t>(block)}));
    }
    Bytes UsbRead(uint32_t callCode) {
        uint8_t report[64];
        if (!ReadUsbReport(state, KVUSB_SELECTOR_READ, callCode, simtest::FixedNow(), report)) return {};
        return Bytes(report, report + 64);
    }
    std::vector<simtest::DecodedRecord> DownloadSerial() {
        std::vector<simtest::DecodedRecord> all;
        const uint32_t blocks = SerialBlockCount();
        for (uint32_t b = 1; b <= blocks; ++b) {
            const Bytes reply = SerialBlock(static_cast<uint16_t>(b));
            EXPECT_TRUE(simtest::IsFullReply(reply)) << "block " << b;
            const auto records = simtest::DecodeBlock(reply, enabled, types);
            all.insert(all.end(), records.begin(), records.end());
        }
        return all;
    }
    void ExpectGenerated(const std::vector<simtest::DecodedRecord>& records, uint32_t firstIndex) {
        const HistoryGenerator history(state);
        for (size_t i = 0; i < records.size(); ++i) {
            const uint32_t index = firstIndex + static_cast<uint32_t>(i);
            uint8_t time[6];
            WriteTimeBytes(history.RecordTime(index), time);
            ASSERT_EQ(0, std::memcmp(records[i].time, time, 6)) << "record " << i;
            for (int c = 0; c < 8; ++c) {
                if (!enabled[c]) continue;
                const GeneratedSample s = history.Sample(c, index);
                ASSERT_EQ(records[i].missing[c], s.missing) << "record " << i << " channel " << c;
                if (s.missing) continue;
                const double tolerance = (types[c] & 0x0F) == 4 ? 1e-4 : ((types[c] >> 4) == 2 ? 0.0051 : 0.051);
                ASSERT_NEAR(records[i].value[c], s.value, tolerance) << "record " << i << " channel " << c;
            }
        }
    }

    LoggerState state;
    bool enabled[8];
    uint8_t types[8];
};

TEST_F(sim_History, BlockCountReplyIsExactlyNineBytes) {
    const Bytes reply = Serial(Request(0x19));
    ASSERT_EQ(reply.size(), 9u);
    EXPECT_TRUE(simtest::IsFullReply(reply));
    EXPECT_EQ(reply[2], 0x19);
    EXPECT_EQ(reply[3], 0x00);
    EXPECT_EQ(reply[4], 0x04);
    // 16-byte records (6 + 2 + 2 + 2 + 4), as many as fit 6000 bytes: 374 a block.
    EXPECT_EQ((reply[5] << 8) | reply[6], 3);
}

TEST_F(sim_History, SerialBlocksDecodeToTheGeneratedRecordsWithMissingMarkers) {
    const auto records = DownloadSerial();
    ASSERT_EQ(records.size(), 1000u);
    ExpectGenerated(records, 0);
    int missing2 = 0;
    int missing4 = 0;
    for (const auto& r : records) {
        missing2 += r.missing[0] + r.missing[1] + r.missing[2];
        missing4 += r.missing[3];
    }
    EXPECT_GT(missing2, 0);
    EXPECT_GT(missing4, 0);
    EXPECT_LT(missing2 + missing4, 60);  // a few, not many
    const simtest::TimeFields first = simtest::Fields(records[0].time);
    const simtest::TimeFields second = simtest::Fields(records[1].time);
    EXPECT_EQ(first.year, 2026);
    EXPECT_EQ(first.hour, 0);
    EXPECT_EQ(second.minute, 1);
}

TEST_F(sim_History, BlockLengthFieldYieldsExactlyTheRecordsSent) {
    state.serialBlockRecords = 7;
    const Bytes reply = SerialBlock(2);
    ASSERT_TRUE(simtest::IsFullReply(reply));
    const size_t length = (reply[3] << 8) | reply[4];
    EXPECT_EQ(length, 4u + 7u * 16u);
    EXPECT_EQ(reply.size(), length + 5);
    const auto records = simtest::DecodeBlock(reply, enabled, types);
    ASSERT_EQ(records.size(), 7u);
    ExpectGenerated(records, 7);
    // The last block holds the remainder: 1000 = 142 × 7 + 6.
    EXPECT_EQ(SerialBlockCount(), 143u);
    EXPECT_EQ(simtest::DecodeBlock(SerialBlock(143), enabled, types).size(), 6u);
}

TEST_F(sim_History, DisabledChannelsTakeNoBytesAndTwoByteScalesDiffer) {
    state.channels[1].enabled = false;
    enabled[1] = false;
    const auto records = DownloadSerial();
    ASSERT_EQ(records.size(), 1000u);
    ExpectGenerated(records, 0);
}

TEST_F(sim_History, FourByteSamplesAreLittleEndianFloats) {
    const Bytes reply = SerialBlock(1);
    ASSERT_TRUE(simtest::IsFullReply(reply));
    const HistoryGenerator history(state);
    uint32_t index = 0;
    while (history.Sample(3, index).missing) ++index;
    const uint8_t* p = reply.data() + 7 + index * 16 + 12;  // time 6, three 2-byte samples
    const float expected = static_cast<float>(history.Sample(3, index).value);
    uint32_t bits = 0;
    std::memcpy(&bits, &expected, 4);
    EXPECT_EQ(p[0], static_cast<uint8_t>(bits));
    EXPECT_EQ(p[3], static_cast<uint8_t>(bits >> 24));
    EXPECT_NEAR(expected, 101.3, 1.0);
}

TEST_F(sim_History, HundredthsChannelUsesTheHundredthsScale) {
    const Bytes reply = SerialBlock(1);
    const HistoryGenerator history(state);
    uint32_t index = 0;
    while (history.Sample(2, index).missing || history.Sample(0, index).missing) ++index;
    const uint8_t* record = reply.data() + 7 + index * 16;
    EXPECT_NEAR(simtest::S16(record + 6) / 10.0, history.Sample(0, index).value, 0.051);
    EXPECT_NEAR(simtest::S16(record + 10) / 100.0, history.Sample(2, index).value, 0.0051);
}

TEST_F(sim_History, BlocksOutsideTheCountGetNoReply) {
    EXPECT_TRUE(SerialBlock(0).empty());
    EXPECT_TRUE(SerialBlock(4).empty());
    EXPECT_TRUE(UsbRead((0x1Au << 16) | 0).empty());
}

TEST_F(sim_History, EmptyLoggerReportsZeroBlocks) {
    state.recordCount = 0;
    EXPECT_EQ(SerialBlockCount(), 0u);
    EXPECT_TRUE(SerialBlock(1).empty());
}

TEST_F(sim_History, UsbBlocksAreWholeFramesInOneReport) {
    const Bytes count = UsbRead(0x19u << 16);
    ASSERT_FALSE(count.empty());
    const Bytes countFrame(count.begin(), count.begin() + 9);
    EXPECT_TRUE(simtest::IsFullReply(countFrame));
    const uint32_t blocks = (count[5] << 8) | count[6];
    // 55 bytes of records fit a report: 3 records of 16 bytes.
    EXPECT_EQ(blocks, 334u);
    EXPECT_NE(blocks, SerialBlockCount());

    std::vector<simtest::DecodedRecord> all;
    for (uint32_t b = 1; b <= blocks; ++b) {
        const Bytes report = UsbRead((0x1Au << 16) | b);
        ASSERT_FALSE(report.empty()) << "block " << b;
        const size_t length = (report[3] << 8) | report[4];
        ASSERT_LE(length + 5, 64u);
        EXPECT_TRUE(simtest::IsFullReply(Bytes(report.begin(), report.begin() + length + 5)));
        const auto records = simtest::DecodeBlock(report, enabled, types);
        all.insert(all.end(), records.begin(), records.end());
    }
    ASSERT_EQ(all.size(), 1000u);
    ExpectGenerated(all, 0);
}

TEST_F(sim_History, FullMemoryKeepsOnlyTheNewestRecords) {
    state.capacity = 400;
    state.recordCount = 500;
    const auto records = DownloadSerial();
    ASSERT_EQ(records.size(), 400u);
    ExpectGenerated(records, 100);
}

TEST_F(sim_History, BlockCountSaturatesAtSixteenBits) {
    state.recordCount = 300000;
    state.capacity = 300000;
    const Bytes count = UsbRead(0x19u << 16);
    ASSERT_FALSE(count.empty());
    EXPECT_EQ((count[5] << 8) | count[6], 0xFFFF);
}

TEST_F(sim_History, RecordsWiderThanAReportGiveNoUsbBlocks) {
    for (ChannelConfig& c : state.channels) {
        c.enabled = true;
        c.type = 0x07;  // seven bytes a sample: 62-byte records
    }
    const Bytes count = UsbRead(0x19u << 16);
    ASSERT_FALSE(count.empty());
    EXPECT_EQ((count[5] << 8) | count[6], 0);
    EXPECT_TRUE(UsbRead((0x1Au << 16) | 1).empty());
    EXPECT_GT(SerialBlockCount(), 0u);  // the serial link still carries them
}

}  // namespace
