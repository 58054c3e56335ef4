// The report's statistics: range, maximum/minimum with their times, average, mean kinetic
// temperature, missing values and the alarm counts, durations and first times.
#include <gtest/gtest.h>

#include <cmath>

#include "history/kv_file.h"
#include "report/report_statistics.h"
#include "report/report_test_data.h"

namespace velorin::test {
namespace {

TEST(ReportRange, WholeSetWhenEmptyAndAlwaysInsideTheRecords) {
    RecordSet set = ReportSet(100, {1});
    ReportRange r = RangeOf(set, 0, 0);
    EXPECT_EQ(r.first, 0);
    EXPECT_EQ(r.length, 100);
    r = RangeOf(set, 10, 20);
    EXPECT_EQ(r.first, 10);
    EXPECT_EQ(r.length, 10);
    // A range past the end or a count beyond the records never reads past them.
    r = RangeOf(set, 90, 500);
    EXPECT_EQ(r.length, 10);
    r = RangeOf(set, 250, 300);
    EXPECT_EQ(r.first, 100);
    EXPECT_EQ(r.length, 0);
    set.recordCount = 5000;  // a count its records do not back
    EXPECT_EQ(RangeOf(set, 0, 0).length, 100);
    // The capacity limits what the curve, the alarms and the table cover; no capacity, no limit.
    set.recordCount = 100;
    set.storageCapacity = 40;
    EXPECT_EQ(RangeOf(set, 0, 0).limited, 40);
    set.storageCapacity = 0;
    EXPECT_EQ(RangeOf(set, 0, 0).limited, 100);
}

TEST(ReportStatistics, MaximumMinimumAverageAndTheirTimesOverTheRange) {
    RecordSet set = ReportSet(6, {1});
    const float values[6] = {50.0f, 20.0f, 24.0f, -3276.7f, 18.0f, -40.0f};
    for (int i = 0; i < 6; ++i) set.records[static_cast<size_t>(i)].value[0] = values[i];
    // Records 1..4: the 50 before and the −40 after the range do not count; the missing value
    // changes nothing.
    const ChannelStatistics s = ReportStatistics(set, RangeOf(set, 1, 5), 0);
    ASSERT_TRUE(s.valid);
    EXPECT_EQ(s.count, 3);
    EXPECT_FLOAT_EQ(s.max, 24.0f);
    EXPECT_FLOAT_EQ(s.min, 18.0f);
    EXPECT_FLOAT_EQ(s.avg, 62.0f / 3);
    EXPECT_EQ(s.maxTime.minute, set.records[2].minute);
    EXPECT_EQ(s.minTime.minute, set.records[4].minute);
    EXPECT_EQ(s.minTime.hour, set.records[4].hour);
}

TEST(ReportStatistics, FourByteMarkersCountForNothingButARealZeroDoes) {
    RecordSet set = ReportSet(4, {1});
    const float values[4] = {kMissingValue4Byte, 12.0f, kMissingValue4Byte, 0.0f};
    for (int i = 0; i < 4; ++i) set.records[static_cast<size_t>(i)].value[0] = values[i];
    const ChannelStatistics s = ReportStatistics(set, RangeOf(set, 0, 0), 0);
    EXPECT_EQ(s.count, 2);
    EXPECT_FLOAT_EQ(s.max, 12.0f);
    EXPECT_FLOAT_EQ(s.min, 0.0f);
    EXPECT_EQ(s.minTime.minute, set.records[3].minute) << "the zero, not the marker before it";
    EXPECT_FLOAT_EQ(s.avg, 6.0f);
    // Only markers: no figures at all.
    set.records[1].value[0] = kMissingValue4Byte;
    set.records[3].value[0] = kMissingValue2Byte;
    EXPECT_FALSE(ReportStatistics(set, RangeOf(set, 0, 0), 0).valid);
}

TEST(ReportStatistics, TheDataSetItselfIsNeverChanged) {
    RecordSet set = ReportSet(6, {1, 2});
    for (int i = 0; i < 6; ++i) set.records[static_cast<size_t>(i)].value[0] = 10.0f + i;
    set.maxValue[0] = 99.5f;
    set.minValue[0] = -9.5f;
    set.avgValue[0] = 33.25f;
    const std::string before = SerializeKv(set);
    const RecordTime maxTimeBefore = set.maxTime[0];
    const ChannelStatistics s = ReportStatistics(set, RangeOf(set, 1, 4), 0);
    ASSERT_TRUE(s.valid);
    EXPECT_FLOAT_EQ(s.max, 13.0f);
    EXPECT_EQ(SerializeKv(set), before);
    EXPECT_EQ(set.maxTime[0].minute, maxTimeBefore.minute);
}

TEST(ReportStatistics, MeanKineticTemperature) {
    RecordSet set = ReportSet(2, {1});
    // One record: the MKT is the value itself.
    set.records[0].value[0] = 25.5f;
    EXPECT_NEAR(ReportStatistics(set, RangeOf(set, 0, 1), 0).mkt, 25.5, 1e-9);
    // 20 and 30 °C: ΔH/R = 10000 K and 273.1 as the offset give 26.26 °C, above the mean.
    set.records[1].value[0] = 30.0f;
    set.records[0].value[0] = 20.0f;
    EXPECT_NEAR(ReportStatistics(set, RangeOf(set, 0, 0), 0).mkt, 26.2603, 1e-3);
}

TEST(ReportStatistics, ValuesThatAreNotNumbersAreLeftOutLikeMissingOnes) {
    RecordSet set = ReportSet(4, {1});
    set.records[0].value[0] = std::nanf("");
    set.records[1].value[0] = 21.0f;
    set.records[2].value[0] = HUGE_VALF;
    set.records[3].value[0] = 23.0f;
    const ChannelStatistics s = ReportStatistics(set, RangeOf(set, 0, 0), 0);
    EXPECT_EQ(s.count, 2);
    EXPECT_FLOAT_EQ(s.max, 23.0f);
    EXPECT_FLOAT_EQ(s.avg, 22.0f);
    EXPECT_TRUE(std::isfinite(s.mkt));
}

TEST(ReportStatistics, AChannelWithoutValidValuesHasNoFigures) {
    RecordSet set = ReportSet(3, {1});
    for (SampleRecord& r : set.records) r.value[0] = kMissingValue2Byte;
    set.maxValue[0] = 7.5f;
    set.avgValue[0] = 3.25f;
    const ChannelStatistics s = ReportStatistics(set, RangeOf(set, 0, 0), 0);
    EXPECT_FALSE(s.valid);
    EXPECT_FLOAT_EQ(set.maxValue[0], 7.5f);
    EXPECT_FLOAT_EQ(set.avgValue[0], 3.25f);
    EXPECT_FALSE(ReportStatistics(set, RangeOf(set, 0, 0), 8).valid);  // no such channel
}

TEST(AlarmStatistics, CountsDurationsFlagsAndFirstTimes) {
    RecordSet set = ReportSet(6, {1, 3});
    set.intervalSeconds = 90;
    // Channel 1: 30.0 is not above 30.0; 30.1 and 31 are; 9.9 is below 10.0.
    const float v[6] = {30.0f, 30.1f, 9.9f, 31.0f, 20.0f, -3276.7f};
    for (int i = 0; i < 6; ++i) set.records[static_cast<size_t>(i)].value[0] = v[i];
    const AlarmStats a = AlarmStatistics(set, RangeOf(set, 0, 0));
    EXPECT_EQ(a.upperCount[0], 2);
    EXPECT_EQ(a.upperFlag[0], 1);
    EXPECT_EQ(a.upperSeconds[0], 180);
    EXPECT_EQ(a.upperFirst[0].minute, set.records[1].minute);
    // The missing-value marker is no lower alarm: only the 9.9 is below the limit.
    EXPECT_EQ(a.lowerCount[0], 1);
    EXPECT_EQ(a.lowerSeconds[0], 90);
    EXPECT_EQ(a.lowerFirst[0].minute, set.records[2].minute);
    // Channel 3 (23.0 throughout) never alarms; disabled channel 2 is not counted.
    EXPECT_EQ(a.upperCount[2] + a.lowerCount[2] + a.upperFlag[2], 0);
    EXPECT_EQ(a.upperCount[1] + a.lowerCount[1], 0);
}

TEST(AlarmStatistics, MissingSamplesOfEitherWidthAreNoAlarm) {
    RecordSet set = ReportSet(4, {1});
    set.intervalSeconds = 60;
    set.lowerAlarmX10[0] = 5;       // 0.5: the 4-byte marker 0.0001 lies below it
    set.upperAlarmX10[0] = -32768;  // every value lies above it, a marker too
    const float v[4] = {kMissingValue4Byte, kMissingValue2Byte, 0.0f, std::nanf("")};
    for (int i = 0; i < 4; ++i) set.records[static_cast<size_t>(i)].value[0] = v[i];
    const AlarmStats a = AlarmStatistics(set, RangeOf(set, 0, 0));
    // Only the real 0.0 alarms, once in each direction.
    EXPECT_EQ(a.lowerCount[0], 1);
    EXPECT_EQ(a.lowerSeconds[0], 60);
    EXPECT_EQ(a.lowerFirst[0].minute, set.records[2].minute);
    EXPECT_EQ(a.upperCount[0], 1);
    EXPECT_EQ(a.upperFirst[0].minute, set.records[2].minute);
}

TEST(AlarmStatistics, FirstTimeOfTheYear2000AndLongDurationsStayCorrect) {
    RecordSet set = ReportSet(3, {1});
    for (SampleRecord& r : set.records) {
        r.value[0] = 40.0f;
        r.year = 0;  // 2000: a stored year of 0 must not make later records "first"
    }
    set.records[0].month = 1;
    set.records[1].month = 2;
    set.records[2].month = 3;
    set.intervalSeconds = 2000000000;  // 3 × 2e9 s does not fit 32 bits
    const AlarmStats a = AlarmStatistics(set, RangeOf(set, 0, 0));
    EXPECT_EQ(a.upperFirst[0].month, 1);
    EXPECT_EQ(a.upperSeconds[0], 6000000000LL);
}

TEST(AlarmStatistics, CoversOnlyTheRangeLimitedToTheCapacity) {
    RecordSet set = ReportSet(10, {1});
    for (SampleRecord& r : set.records) r.value[0] = 40.0f;
    set.storageCapacity = 4;
    EXPECT_EQ(AlarmStatistics(set, RangeOf(set, 0, 0)).upperCount[0], 4);
    set.storageCapacity = 32000;
    EXPECT_EQ(AlarmStatistics(set, RangeOf(set, 7, 10)).upperCount[0], 3);
}

}  // namespace
}  // namespace velorin::test
