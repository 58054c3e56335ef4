#include "view/f0.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>

#include "common/text_codec.h"
#include "history/record_set.h"
#include "view/lists_test_set.h"

namespace velorin {
namespace {

RecordSet ConstantTemperature(int records, float temperature, int intervalSeconds = 60) {
    RecordSet set = test::ChannelsOneTwoFive(records);
    set.intervalSeconds = intervalSeconds;
    for (SampleRecord& r : set.records) r.value[0] = temperature;
    return set;
}

TEST(F0Computation, GrowsByTheLethalityOfEachRecordInMinutes) {
    // At the reference temperature one minute adds exactly 1.0.
    RecordSet set = ConstantTemperature(10, 121.0f);
    F0Extremes e = ComputeF0(set, 0, 10, kDefaultF0Reference, kDefaultF0ZValue);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(set.records[i].value[1], static_cast<float>(i + 1)) << i;
    ASSERT_TRUE(e.any);
    EXPECT_EQ(e.max, 10.0f);
    EXPECT_EQ(e.min, 1.0f);
    EXPECT_EQ(set.maxValue[1], 10.0f);
    EXPECT_EQ(set.minValue[1], 1.0f);

    // One z-value below the reference: a tenth per minute.
    set = ConstantTemperature(10, 111.0f);
    ComputeF0(set, 0, 10, kDefaultF0Reference, kDefaultF0ZValue);
    EXPECT_FLOAT_EQ(set.records[0].value[1], 0.1f);
    for (int i = 1; i < 10; ++i) EXPECT_NEAR(set.records[i].value[1] - set.records[i - 1].value[1], 0.1f, 1e-6f) << i;
    EXPECT_NEAR(set.records[9].value[1], 1.0f, 1e-5f);

    // Thirty-second records count half a minute; one z-value above the reference is ten times.
    set = ConstantTemperature(4, 131.0f, 30);
    ComputeF0(set, 0, 4, kDefaultF0Reference, kDefaultF0ZValue);
    EXPECT_FLOAT_EQ(set.records[3].value[1], 20.0f);
}

TEST(F0Computation, CoversOnlyTheShownRecordsAndStartsFromZeroThere) {
    RecordSet set = ConstantTemperature(300, 121.0f);
    ComputeF0(set, 100, 200, kDefaultF0Reference, kDefaultF0ZValue);
    EXPECT_EQ(set.records[100].value[1], 1.0f);
    EXPECT_EQ(set.records[199].value[1], 100.0f);
    EXPECT_EQ(set.records[99].value[1], 139.0f);  // recorded humidity kept
    EXPECT_EQ(set.records[200].value[1], 240.0f);
    EXPECT_EQ(set.maxValue[1], 100.0f);
    EXPECT_EQ(set.minValue[1], 1.0f);
    // A range past the records is bounded by them; an empty range changes nothing.
    RecordSet small = ConstantTemperature(3, 121.0f);
    EXPECT_EQ(ComputeF0(small, -4, 99, kDefaultF0Reference, kDefaultF0ZValue).max, 3.0f);
    RecordSet untouched = test::ChannelsOneTwoFive(3);
    EXPECT_FALSE(ComputeF0(untouched, 2, 2, kDefaultF0Reference, kDefaultF0ZValue).any);
    EXPECT_EQ(untouched.maxValue[1], 80.0f);
}

TEST(F0Computation, UnusableInputsNeverProduceNonFiniteValues) {
    // A missing channel-1 sample adds practically nothing.
    RecordSet set = ConstantTemperature(3, 121.0f);
    set.records[1].value[0] = kMissingValue2Byte;
    ComputeF0(set, 0, 3, kDefaultF0Reference, kDefaultF0ZValue);
    EXPECT_EQ(set.records[1].value[1], 1.0f);
    EXPECT_EQ(set.records[2].value[1], 2.0f);
    // A z-value of zero is refused: channel 2 stays as recorded.
    set = test::ChannelsOneTwoFive(3);
    EXPECT_FALSE(ComputeF0(set, 0, 3, 121.0f, 0.0f).any);
    EXPECT_EQ(set.records[2].value[1], 42.0f);
    EXPECT_FALSE(UsableZValue(0.0f));
    EXPECT_FALSE(UsableZValue(NAN));
    EXPECT_TRUE(UsableZValue(-10.0f));
    // A temperature far above the reference saturates instead of becoming infinite; a value
    // that is not a number (a damaged file) adds nothing.
    set = ConstantTemperature(3, 3000.0f);
    set.records[0].value[0] = NAN;
    ComputeF0(set, 0, 3, kDefaultF0Reference, kDefaultF0ZValue);
    EXPECT_EQ(set.records[0].value[1], 0.0f);
    EXPECT_EQ(set.records[2].value[1], FLT_MAX);
    EXPECT_TRUE(std::isfinite(set.maxValue[1]));
}

TEST(F0Mode, SwitchingOffRestoresTheRecordedChannelTwo) {
    const RecordSet recorded = test::ChannelsOneTwoFive(300);
    RecordSet set = recorded;
    F0Mode mode;
    F0Switch on = mode.SwitchOn(set, 100, 200, 121.0f, 10.0f, "F0", "min");
    EXPECT_TRUE(mode.On());
    EXPECT_TRUE(on.changed);
    EXPECT_TRUE(on.channel2Enabled);
    ASSERT_TRUE(on.extremes.any);
    EXPECT_EQ(QuantityTextOf(set, 1), "F0");
    // F is minutes, not the recorded humidity: its own unit and no humidity alarm limits.
    EXPECT_EQ(UnitTextOf(set, 1), "min");
    EXPECT_EQ(set.alarmEnabled[1], 0);
    EXPECT_EQ(set.upperAlarmX10[1], INT16_MAX);
    EXPECT_EQ(set.lowerAlarmX10[1], INT16_MIN);
    EXPECT_NE(set.records[150].value[1], recorded.records[150].value[1]);
    EXPECT_EQ(set.maxValue[1], on.extremes.max);

    // Switching on again over another range starts from the recorded values, not from F.
    on = mode.SwitchOn(set, 0, 10, 121.0f, 10.0f, "F0", "min");
    EXPECT_EQ(set.records[150].value[1], recorded.records[150].value[1]);

    const F0Switch off = mode.SwitchOff(set);
    EXPECT_FALSE(mode.On());
    EXPECT_TRUE(off.changed);
    EXPECT_TRUE(off.channel2Enabled);
    for (size_t i = 0; i < set.records.size(); ++i)
        ASSERT_EQ(set.records[i].value[1], recorded.records[i].value[1]) << i;
    EXPECT_EQ(QuantityTextOf(set, 1), QuantityTextOf(recorded, 1));
    EXPECT_EQ(UnitTextOf(set, 1), UnitTextOf(recorded, 1));
    EXPECT_EQ(set.alarmEnabled[1], recorded.alarmEnabled[1]);
    EXPECT_EQ(set.upperAlarmX10[1], recorded.upperAlarmX10[1]);
    EXPECT_EQ(set.lowerAlarmX10[1], recorded.lowerAlarmX10[1]);
    EXPECT_EQ(set.maxValue[1], recorded.maxValue[1]);
    EXPECT_EQ(set.minValue[1], recorded.minValue[1]);
    EXPECT_EQ(set.avgValue[1], recorded.avgValue[1]);
}

TEST(F0Mode, ChannelTwoWithoutRecordingIsSwitchedOnAndOffAgain) {
    RecordSet set = test::ChannelsOneTwoFive(20);
    set.channelEnabled[1] = 0;
    SetQuantityText(set, 1, "");
    F0Mode mode;
    EXPECT_TRUE(mode.SwitchOn(set, 0, 20, 121.0f, 10.0f, "F0", "min").channel2Enabled);
    EXPECT_EQ(set.channelEnabled[1], 1);
    const F0Switch off = mode.SwitchOff(set);
    EXPECT_FALSE(off.channel2Enabled);
    EXPECT_EQ(set.channelEnabled[1], 0);
    EXPECT_EQ(set.quantityLength[1], 0);
}

TEST(F0Mode, SwitchingOffWithoutF0LeavesARecordedChannelTwoAlone) {
    const RecordSet recorded = test::ChannelsOneTwoFive(20);
    RecordSet set = recorded;
    F0Mode mode;
    const F0Switch off = mode.SwitchOff(set);
    EXPECT_FALSE(off.changed);
    EXPECT_TRUE(off.channel2Enabled);
    EXPECT_EQ(set.channelEnabled[1], 1);
    EXPECT_EQ(set.records[7].value[1], recorded.records[7].value[1]);
    // An unusable z-value does not switch F0 mode on.
    EXPECT_FALSE(mode.SwitchOn(set, 0, 20, 121.0f, 0.0f, "F0", "min").changed);
    EXPECT_FALSE(mode.On());
    EXPECT_EQ(QuantityTextOf(set, 1), QuantityTextOf(recorded, 1));
}

}  // namespace
}  // namespace velorin
