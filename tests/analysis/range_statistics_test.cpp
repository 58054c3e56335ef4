#include "analysis/range_statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "analysis/analysis_test_data.h"
#include "analysis/clock_time.h"

namespace velorin {
namespace {

using test::AnalysisSet;
using test::Clock;

const float kNaN = std::nanf("");

TEST(RangeStatistics, MissingSamplesOfBothMarkersCountOnlyAsMissing) {
    // 20, 2-byte marker, 22, 4-byte marker, 24, the 2-byte marker as a logger rounds it, NaN
    // from a damaged file, and a real 0.0 (which is a value, not the 4-byte marker).
    RecordSet set = AnalysisSet("S1", "2026-01-01 00:00:00", 60, {1},
                                {{20.0f, -3276.7f, 22.0f, 0.0001f, 24.0f, -3276.65f, kNaN, 0.0f}});
    const RangeStatistics r = ComputeRangeStatistics(set);
    ASSERT_EQ(r.records, 8);
    ASSERT_EQ(r.channels.size(), 1u);
    const ChannelRangeStatistics& c = r.channels[0];
    EXPECT_EQ(c.count, 4);
    EXPECT_EQ(c.missing, 4);
    EXPECT_FLOAT_EQ(c.min, 0.0f);
    EXPECT_EQ(ClockTimeText(c.minTime), "2026-01-01 00:07:00");
    EXPECT_FLOAT_EQ(c.max, 24.0f);
    EXPECT_EQ(ClockTimeText(c.maxTime), "2026-01-01 00:04:00");
    EXPECT_DOUBLE_EQ(c.avg, 16.5);
    // The markers lie below the lower limit 10.0 but are no samples: only the 0.0 is below.
    EXPECT_EQ(c.belowLowerSeconds, 60);
    EXPECT_EQ(ClockTimeText(c.firstBelow), "2026-01-01 00:07:00");
    EXPECT_FALSE(c.crossedUpper);
}

TEST(RangeStatistics, OneRecordAndEmptyRanges) {
    RecordSet set = AnalysisSet("S1", "2026-01-01 12:00:00", 60, {1, 2}, {{5.0f, 25.0f, 7.0f}, {1.0f, -3276.7f, 3.0f}});
    StatisticsRange one;
    one.hasFrom = one.hasTo = true;
    one.from = one.to = Clock("2026-01-01 12:01:00");
    const RangeStatistics r = ComputeRangeStatistics(set, one);
    ASSERT_EQ(r.records, 1);
    EXPECT_EQ(r.firstIndex, 1);
    EXPECT_EQ(r.lastIndex, 1);
    const ChannelRangeStatistics& c = r.channels[0];
    EXPECT_EQ(c.count, 1);
    EXPECT_FLOAT_EQ(c.min, 25.0f);
    EXPECT_FLOAT_EQ(c.max, 25.0f);
    EXPECT_DOUBLE_EQ(c.avg, 25.0);
    ASSERT_TRUE(c.hasMkt);
    EXPECT_NEAR(c.mkt, 25.0, 1e-9);
    // Channel 2 has only its missing sample in that range: no figures, one missing.
    EXPECT_EQ(r.channels[1].count, 0);
    EXPECT_EQ(r.channels[1].missing, 1);
    EXPECT_FALSE(r.channels[1].hasMkt);
    EXPECT_FALSE(r.channels[1].HasValues());

    // Between two records, before all, after all, and a reversed range: no record.
    for (const auto& bounds : {std::make_pair("2026-01-01 12:00:30", "2026-01-01 12:00:59"),
                               std::make_pair("2025-01-01 00:00:00", "2026-01-01 11:59:59"),
                               std::make_pair("2026-01-01 12:02:01", "2027-01-01 00:00:00"),
                               std::make_pair("2026-01-01 12:02:00", "2026-01-01 12:00:00")}) {
        StatisticsRange empty;
        empty.hasFrom = empty.hasTo = true;
        empty.from = Clock(bounds.first);
        empty.to = Clock(bounds.second);
        const RangeStatistics e = ComputeRangeStatistics(set, empty);
        EXPECT_TRUE(e.Empty()) << bounds.first;
        ASSERT_EQ(e.channels.size(), 2u);
        EXPECT_EQ(e.channels[0].count + e.channels[0].missing, 0);
        EXPECT_FALSE(e.channels[0].hasMkt);
        EXPECT_FALSE(e.channels[0].crossedUpper);
        EXPECT_FALSE(e.channels[0].crossedLower);
    }
    // The same through indices (the view's shown range), and a range past the end.
    StatisticsRange indices;
    indices.first = 2;
    indices.end = 2;
    EXPECT_TRUE(ComputeRangeStatistics(set, indices).Empty());
    indices.first = 7;
    indices.end = 9;
    EXPECT_TRUE(ComputeRangeStatistics(set, indices).Empty());
}

TEST(RangeStatistics, RangeEndsAreInclusiveAndIndexRangesCombineWithTimes) {
    RecordSet set = AnalysisSet("S1", "2026-01-01 00:00:00", 10, {1}, {{1, 2, 3, 4, 5, 6}});
    StatisticsRange range;
    range.hasFrom = range.hasTo = true;
    range.from = Clock("2026-01-01 00:00:10");
    range.to = Clock("2026-01-01 00:00:40");
    RangeStatistics r = ComputeRangeStatistics(set, range);
    EXPECT_EQ(r.records, 4);
    EXPECT_DOUBLE_EQ(r.channels[0].avg, 3.5);
    EXPECT_EQ(ClockTimeText(r.firstTime), "2026-01-01 00:00:10");
    EXPECT_EQ(ClockTimeText(r.lastTime), "2026-01-01 00:00:40");
    range.end = 3;
    r = ComputeRangeStatistics(set, range);
    EXPECT_EQ(r.records, 2);
    EXPECT_DOUBLE_EQ(r.channels[0].avg, 2.5);
}

TEST(RangeStatistics, LimitsCrossedAtFirstAndLastRecordWithTruncatedTenths) {
    // Upper 30.0, lower 10.0: 30.1 is above (301 > 300) at the first record; 30.09 is not
    // (300.9 truncates to 300); 9.9 is below (99 < 100) at the last record; 9.99 truncates to
    // 99 and is below too.
    RecordSet set = AnalysisSet("S1", "2026-02-03 04:05:06", 60, {1}, {{30.1f, 30.09f, 20.0f, 9.99f, 9.9f}});
    set.lowerAlarmX10[0] = 100;
    const ChannelRangeStatistics c = ComputeRangeStatistics(set).channels[0];
    ASSERT_TRUE(c.crossedUpper);
    EXPECT_EQ(ClockTimeText(c.firstAbove), "2026-02-03 04:05:06");
    EXPECT_EQ(c.aboveUpperSeconds, 60);
    ASSERT_TRUE(c.crossedLower);
    EXPECT_EQ(ClockTimeText(c.firstBelow), "2026-02-03 04:08:06");
    EXPECT_EQ(c.belowLowerSeconds, 120);

    // A range that starts after the first crossing names the first crossing inside it.
    StatisticsRange later;
    later.first = 1;
    const ChannelRangeStatistics l = ComputeRangeStatistics(set, later).channels[0];
    EXPECT_FALSE(l.crossedUpper);
    EXPECT_EQ(l.aboveUpperSeconds, 0);
    EXPECT_EQ(ClockTimeText(l.firstBelow), "2026-02-03 04:08:06");

    // Negative limits: −10.05 gives −100.5 tenths, truncated toward zero to −100: not below −100.
    RecordSet cold = AnalysisSet("S2", "2026-02-03 00:00:00", 60, {1}, {{-10.05f, -10.1f}});
    cold.lowerAlarmX10[0] = -100;
    const ChannelRangeStatistics k = ComputeRangeStatistics(cold).channels[0];
    EXPECT_EQ(k.belowLowerSeconds, 60);
    EXPECT_EQ(ClockTimeText(k.firstBelow), "2026-02-03 00:01:00");
}

TEST(RangeStatistics, TimesAboveAndBelowAddTheRecordIntervalPerSample) {
    // 3725 s (1 h 2 min 5 s) between records; three samples above 30.0 and two below 10.0.
    RecordSet set =
        AnalysisSet("S1", "2026-03-01 00:00:00", 3725, {1}, {{31.0f, 20.0f, 35.5f, 5.0f, -3276.7f, 40.0f, 9.0f}});
    const ChannelRangeStatistics c = ComputeRangeStatistics(set).channels[0];
    EXPECT_EQ(c.aboveUpperSeconds, 3 * 3725);
    EXPECT_EQ(c.belowLowerSeconds, 2 * 3725);
    EXPECT_EQ(ClockTimeText(c.firstAbove), "2026-03-01 00:00:00");
    EXPECT_EQ(ClockTimeText(c.firstBelow), "2026-03-01 03:06:15");
    EXPECT_EQ(c.missing, 1);
}

TEST(RangeStatistics, MeanKineticTemperatureOnlyForTemperatureChannels) {
    RecordSet set =
        AnalysisSet("S1", "2026-01-01 00:00:00", 60, {1, 2, 5}, {{20.0f, 30.0f}, {20.0f, 30.0f}, {20.5f, 25.25f}});
    SetQuantityText(set, 1, "HUM");
    SetUnitText(set, 1, "%RH");
    SetQuantityText(set, 4, std::string("\xCE\xC2\xB6\xC8"));  // "温度" in GBK
    set.records[0].value[4] = 20.5f;
    set.records[1].value[4] = 25.25f;
    set.records.push_back(set.records[1]);
    set.records[2].minute = 2;
    set.records[2].value[0] = 20.0f;  // channel 1: 20, 30, 20
    set.records[2].value[1] = 20.0f;
    set.records[2].value[4] = -3.5f;
    set.recordCount = 3;
    const RangeStatistics r = ComputeRangeStatistics(set);
    ASSERT_EQ(r.channels.size(), 3u);
    EXPECT_EQ(r.channels[0].channel, 0);
    EXPECT_EQ(r.channels[1].channel, 1);
    EXPECT_EQ(r.channels[2].channel, 4);
    // exp(−10000 / (v + 273.1)) averaged over 20, 30, 20 and turned back into °C.
    ASSERT_TRUE(r.channels[0].hasMkt);
    EXPECT_NEAR(r.channels[0].mkt, 24.599491, 1e-5);
    // Humidity: every other figure, no mean kinetic temperature.
    EXPECT_FALSE(r.channels[1].temperature);
    EXPECT_FALSE(r.channels[1].hasMkt);
    EXPECT_EQ(r.channels[1].unit, "%RH");
    EXPECT_FLOAT_EQ(r.channels[1].max, 30.0f);
    EXPECT_EQ(r.channels[1].aboveUpperSeconds, 0);
    // "温度": 20.5, 25.25, −3.5.
    ASSERT_TRUE(r.channels[2].hasMkt);
    EXPECT_NEAR(r.channels[2].mkt, 19.808184, 1e-5);
    EXPECT_FLOAT_EQ(r.channels[2].min, -3.5f);
    EXPECT_EQ(ClockTimeText(r.channels[2].minTime), "2026-01-01 00:02:00");
}

TEST(RangeStatistics, TiesNameTheFirstRecordAndDisabledChannelsAreLeftOut) {
    RecordSet set = AnalysisSet("S1", "2026-01-01 00:00:00", 60, {2}, {{5, 9, 5, 9}});
    set.records[0].value[0] = 99;  // channel 1 is off: not reported whatever it holds
    const RangeStatistics r = ComputeRangeStatistics(set);
    ASSERT_EQ(r.channels.size(), 1u);
    EXPECT_EQ(r.channels[0].channel, 1);
    EXPECT_EQ(ClockTimeText(r.channels[0].minTime), "2026-01-01 00:00:00");
    EXPECT_EQ(ClockTimeText(r.channels[0].maxTime), "2026-01-01 00:01:00");

    // Ties in different blocks of kStatisticsBlock records: still the first record.
    std::vector<float> values(3 * kStatisticsBlock, 7.0f);
    values[10] = values[2 * kStatisticsBlock + 5] = 5.0f;
    values[20] = values[kStatisticsBlock + 30] = 9.0f;
    const RangeStatistics blocks = ComputeRangeStatistics(AnalysisSet("S1", "2026-01-01 00:00:00", 60, {1}, {values}));
    ASSERT_EQ(blocks.channels.size(), 1u);
    EXPECT_EQ(ClockTimeText(blocks.channels[0].minTime), "2026-01-01 00:10:00");
    EXPECT_EQ(ClockTimeText(blocks.channels[0].maxTime), "2026-01-01 00:20:00");
}

TEST(RangeStatistics, ACountBeyondTheRecordsIsNeverReadPast) {
    RecordSet set = AnalysisSet("S1", "2026-01-01 00:00:00", 60, {1}, {{1, 2, 3}});
    set.recordCount = 1000;
    StatisticsRange all;
    all.end = 5000;
    EXPECT_EQ(ComputeRangeStatistics(set, all).records, 3);
    set.recordCount = -4;
    EXPECT_EQ(ComputeRangeStatistics(set).records, 0);
}

// Bit for bit: every figure of a range read from the index equals the one computed from the
// records, for ranges starting and ending inside blocks, on block edges, inside one block, of
// one record, empty, and running into the set's partial last block.
void ExpectSameFigures(const RangeStatistics& a, const RangeStatistics& b, const std::string& what) {
    ASSERT_EQ(a.records, b.records) << what;
    ASSERT_EQ(a.firstIndex, b.firstIndex) << what;
    ASSERT_EQ(a.lastIndex, b.lastIndex) << what;
    ASSERT_EQ(a.channels.size(), b.channels.size()) << what;
    for (size_t k = 0; k < a.channels.size(); ++k) {
        const ChannelRangeStatistics &x = a.channels[k], &y = b.channels[k];
        const std::string at = what + ", channel " + std::to_string(x.channel + 1);
        EXPECT_EQ(x.count, y.count) << at;
        EXPECT_EQ(x.missing, y.missing) << at;
        EXPECT_EQ(x.min, y.min) << at;
        EXPECT_EQ(ClockTimeText(x.minTime), ClockTimeText(y.minTime)) << at;
        EXPECT_EQ(x.max, y.max) << at;
        EXPECT_EQ(ClockTimeText(x.maxTime), ClockTimeText(y.maxTime)) << at;
        EXPECT_EQ(x.avg, y.avg) << at;  // exactly: the same sums in the same order
        EXPECT_EQ(x.hasMkt, y.hasMkt) << at;
        EXPECT_EQ(x.mkt, y.mkt) << at;
        EXPECT_EQ(x.aboveUpperSeconds, y.aboveUpperSeconds) << at;
        EXPECT_EQ(x.belowLowerSeconds, y.belowLowerSeconds) << at;
        EXPECT_EQ(x.crossedUpper, y.crossedUpper) << at;
        EXPECT_EQ(ClockTimeText(x.firstAbove), ClockTimeText(y.firstAbove)) << at;
        EXPECT_EQ(x.crossedLower, y.crossedLower) << at;
        EXPECT_EQ(ClockTimeText(x.firstBelow), ClockTimeText(y.firstBelow)) << at;
    }
}

TEST(RangeStatistics, AnIndexOfWholeBlocksGivesExactlyTheFiguresOfTheRecords) {
    // A noisy temperature crossing both limits, a channel with missing samples of both kinds and
    // NaN, and a flat one that is no temperature (every record ties for MIN and MAX); repeated
    // extremes, and zeros of both signs, so that ties must name the first record; channels whose
    // every value differs, one of them rising and one falling (their extremes lie at the range's
    // ends and they cross a limit only at one end of the set, so a block read too many or too few
    // shows). 1000 records are 15 whole blocks and a partial one; 20,000 hold groups of blocks.
    for (const int n : {1000, 20000}) {
        std::vector<std::vector<float>> columns(6, std::vector<float>(static_cast<size_t>(n)));
        uint32_t seed = 99;
        for (int i = 0; i < n; ++i) {
            seed = seed * 1103515245u + 12345u;
            columns[0][i] = 5.0f + static_cast<float>((seed >> 16) % 3000) / 100.0f;
            columns[1][i] = i % 37 == 3    ? -3276.7f
                            : i % 53 == 8  ? 0.0001f
                            : i % 211 == 5 ? kNaN
                            : i % 7 == 2   ? (i % 2 == 0 ? -0.0f : 0.0f)
                                           : 20.0f + (i % 9);
            columns[2][i] = 12.5f;
            columns[3][i] = static_cast<float>((i * 7919) % n) / 50.0f;
            columns[4][i] = static_cast<float>(i) / 8.0f;
            columns[5][i] = static_cast<float>(n - i) / 8.0f;
        }
        RecordSet set = AnalysisSet("S9", "2026-03-01 00:00:00", 30, {1, 2, 5, 6, 7, 8}, columns);
        SetQuantityText(set, 4, "PRES");
        const RangeStatisticsIndex index(set);
        const int32_t b = kStatisticsBlock;
        std::vector<std::pair<int32_t, int32_t>> ranges = {{0, n},
                                                           {0, -1},
                                                           {b, 3 * b},
                                                           {b - 1, 3 * b + 1},
                                                           {b + 1, 2 * b - 1},
                                                           {5, 6},
                                                           {17, 17},
                                                           {40, 30},
                                                           {0, b},
                                                           {2, n - 3},
                                                           {15 * b - 3, n},
                                                           {15 * b, n},
                                                           {n - 1, n},
                                                           {n, n + 5},
                                                           {-4, 70},
                                                           {300, 100000},
                                                           {32 * b, 64 * b},
                                                           {32 * b - 1, 96 * b + 1},
                                                           {31 * b, 33 * b},
                                                           {0, 64 * b - 1}};
        for (int k = 0; k < 300; ++k) {
            seed = seed * 1103515245u + 12345u;
            const int32_t first = static_cast<int32_t>((seed >> 8) % static_cast<uint32_t>(n));
            seed = seed * 1103515245u + 12345u;
            ranges.emplace_back(first,
                                first + static_cast<int32_t>((seed >> 8) % static_cast<uint32_t>(n - first + 1)));
        }
        for (const auto& [first, end] : ranges) {
            StatisticsRange range;
            range.first = first;
            range.end = end;
            ExpectSameFigures(index.Compute(set, first, end), ComputeRangeStatistics(set, range),
                              std::to_string(n) + " records, " + std::to_string(first) + " … " + std::to_string(end));
        }
    }
}

TEST(ClockTime, TextsRoundTripAndImpossibleDatesAreRefused) {
    int64_t s = 0;
    ASSERT_TRUE(ParseClockTime("2024-02-29 23:59:59", s));
    EXPECT_EQ(ClockTimeText(s), "2024-02-29 23:59:59");
    EXPECT_EQ(ClockTimeText(s + 1), "2024-03-01 00:00:00");
    ASSERT_TRUE(ParseClockTime("2000-01-01 00:00:00", s));
    EXPECT_EQ(s, 0);
    ASSERT_TRUE(ParseClockTime("1999-12-31 23:59:59", s));
    EXPECT_EQ(s, -1);
    EXPECT_EQ(ClockTimeText(-1), "1999-12-31 23:59:59");
    s = 42;
    for (const char* bad : {"2023-02-29 00:00:00", "2024-13-01 00:00:00", "2024-01-01 24:00:00", "2024-1-01 00:00:00",
                            "2024-01-01T00:00:00", "2024-01-01 00:00:00x", "2024-01-01 00:00:6", "+024-01-01 00:00:00",
                            "", "2024-04-31 12:00:00"}) {
        EXPECT_FALSE(ParseClockTime(bad, s)) << bad;
    }
    EXPECT_EQ(s, 42);
}

}  // namespace
}  // namespace velorin
