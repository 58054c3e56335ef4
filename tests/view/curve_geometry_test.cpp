// The curve plot's arithmetic: where records and values land, the time axis, gap markers, the
// value range of the shown records and the record under the pointer.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

#include "history/record_set.h"
#include "support/curve_data.h"
#include "view/curve_geometry.h"
#include "view/curve_summary.h"
#include "view/record_times.h"

namespace velorin {
namespace {

TEST(CurveMapping, RecordsSpreadFromFiftyToTheRightMargin) {
    // W = 1000: the curve area spans x = 50 … 990.
    EXPECT_EQ(RecordX(0, 0, 11, 1000), 50);
    EXPECT_EQ(RecordX(10, 0, 11, 1000), 990);
    EXPECT_EQ(RecordX(5, 0, 11, 1000), 520);
    EXPECT_EQ(RecordX(3, 0, 11, 1000), 50 + 282);  // 3 × 940 ÷ 10 = 282
    // A zoomed range counts from its first record.
    EXPECT_EQ(RecordX(100, 100, 111, 1000), 50);
    EXPECT_EQ(RecordX(110, 100, 111, 1000), 990);
    // One record shown: no division by zero, the record sits at the left edge.
    EXPECT_EQ(RecordX(7, 7, 8, 1000), 50);
    EXPECT_EQ(RecordX(0, 0, 0, 1000), 50);
}

TEST(CurveMapping, ValuesMapBetweenTheTopAndTheBottomOfTheCurveArea) {
    const ValueScale scale(30.0f, 10.0f, 445);  // H − 45 = 400 pixels for 20 units
    EXPECT_EQ(scale.ClampedY(30.0f), 20);
    EXPECT_EQ(scale.ClampedY(10.0f), 420);
    EXPECT_EQ(scale.ClampedY(20.0f), 220);
    EXPECT_EQ(scale.ClampedY(25.0f), 120);
    // Outside the value range: limited to the curve area; the first point is not limited.
    EXPECT_EQ(scale.ClampedY(40.0f), 20);
    EXPECT_EQ(scale.ClampedY(kMissingValue2Byte), 420);
    EXPECT_EQ(scale.UnlimitedY(40.0f), -180);
    // Nonsense from a file never overflows.
    EXPECT_EQ(scale.ClampedY(std::numeric_limits<float>::quiet_NaN()), 420);
    EXPECT_EQ(scale.UnlimitedY(std::numeric_limits<float>::quiet_NaN()), 420);
    EXPECT_EQ(scale.UnlimitedY(-3.0e38f), 100000);
}

TEST(CurveMapping, FlatChannelLiesOnTheBottomLine) {
    const ValueScale flat(7.5f, 7.5f, 445);
    EXPECT_EQ(flat.ClampedY(7.5f), 420);  // H − 25
    EXPECT_EQ(flat.ClampedY(7.0f), 420);
    EXPECT_EQ(flat.ClampedY(8.5f), 20);  // one unit above spans the whole area (f = H − 45)
}

TEST(CurveMapping, MissingSamplesAreTheTwoByteToleranceAndTheExactFourByteMarker) {
    EXPECT_TRUE(IsMissingSample(-3276.7f));
    EXPECT_TRUE(IsMissingSample(-3276.65f));
    EXPECT_FALSE(IsMissingSample(-3276.5f));
    EXPECT_FALSE(IsMissingSample(-3276.9f));
    EXPECT_TRUE(IsMissingSample(0.0001f));
    // A real 0.0 of a 2-byte channel, and values next to the marker, are measurements.
    EXPECT_FALSE(IsMissingSample(0.0f));
    EXPECT_FALSE(IsMissingSample(0.00011f));
    EXPECT_FALSE(IsMissingSample(0.0012f));
    EXPECT_FALSE(IsMissingSample(std::nanf("")));
}

TEST(GapMarkers, OnlyLongerOrShorterThanTheIntervalAndOverTwentySeconds) {
    EXPECT_FALSE(IsGap(60, 60));
    EXPECT_TRUE(IsGap(61, 60));
    EXPECT_TRUE(IsGap(59, 60));
    EXPECT_FALSE(IsGap(20, 60));
    EXPECT_FALSE(IsGap(20, 5));
    EXPECT_TRUE(IsGap(21, 5));
    EXPECT_FALSE(IsGap(-3600, 60));
}

TEST(GapMarkers, RecordTimesFlagTheRecordAfterAGap) {
    RecordSet set = test::MakeCurveSet(5, 1, 60, 0);
    // 08:00:00, 08:01:00, then 61 s, then 20 s, then 60 s.
    set.records[2].minute = 2;
    set.records[2].second = 1;
    set.records[3].minute = 2;
    set.records[3].second = 21;
    set.records[4].minute = 3;
    set.records[4].second = 21;
    const RecordTimes times(set);
    ASSERT_EQ(times.Count(), 5);
    EXPECT_EQ(times.Seconds(1) - times.Seconds(0), 60);
    EXPECT_FALSE(times.GapBefore(1));
    EXPECT_TRUE(times.GapBefore(2));
    EXPECT_FALSE(times.GapBefore(3));
    EXPECT_FALSE(times.GapBefore(4));
    // Times across midnight and across the hour keep counting.
    RecordSet day = test::MakeCurveSet(3, 1, 60, 0);
    day.records[1] = day.records[0];
    day.records[1].hour = 23;
    day.records[1].minute = 59;
    day.records[1].second = 30;
    day.records[2] = day.records[1];
    day.records[2].day += 1;
    day.records[2].hour = 0;
    day.records[2].minute = 0;
    day.records[2].second = 30;
    const RecordTimes dayTimes(day);
    EXPECT_EQ(dayTimes.Seconds(2) - dayTimes.Seconds(1), 60);
}

TEST(TimeAxis, EightDivisionsFromFiveHundredPixelsFiveBelow) {
    EXPECT_EQ(TimeDivisions(500), 8);
    EXPECT_EQ(TimeDivisions(499), 5);
    const std::vector<TimeTick> wide = TimeTicks(500, 0, 1001, 1001);
    ASSERT_EQ(wide.size(), 9u);
    EXPECT_EQ(wide.front().x, 50);
    EXPECT_EQ(wide.back().x, 490);
    EXPECT_EQ(wide[1].x, 105);  // 440 ÷ 8
    EXPECT_EQ(wide[1].record, 125);
    EXPECT_EQ(wide.back().record, 1000);
    const std::vector<TimeTick> narrow = TimeTicks(499, 0, 1001, 1001);
    ASSERT_EQ(narrow.size(), 6u);
    EXPECT_EQ(narrow.back().x, 489);
    EXPECT_EQ(narrow[1].record, 200);
}

TEST(TimeAxis, TickRecordsStayInsideTheDataSet) {
    const std::vector<TimeTick> zoomed = TimeTicks(800, 100, 201, 1000);
    EXPECT_EQ(zoomed.front().record, 100);
    EXPECT_EQ(zoomed.back().record, 200);
    // One record: every tick names it; none: no ticks at all.
    for (const TimeTick& t : TimeTicks(800, 0, 1, 1)) EXPECT_EQ(t.record, 0);
    EXPECT_TRUE(TimeTicks(800, 0, 0, 0).empty());
    // An end beyond the set is lowered to its last record.
    EXPECT_EQ(TimeTicks(800, 0, 50, 20).back().record, 19);
}

TEST(TimeAxis, LabelsBesideTheEndTicksCentredElsewhereAndKeptInside) {
    const int w = 800, label = 60;
    EXPECT_EQ(TimeLabelLeft(0, 8, 50, label, w), 55);
    EXPECT_EQ(TimeLabelLeft(8, 8, 790, label, w), 790 - 5 - label);
    EXPECT_EQ(TimeLabelLeft(4, 8, 420, label, w), 390);
    // A centred label near an end is pushed inside 50 … W − 10.
    EXPECT_EQ(TimeLabelLeft(1, 8, 60, label, w), 50);
    EXPECT_EQ(TimeLabelLeft(7, 8, 780, label, w), 790 - label);
}

TEST(TimeAxis, LabelsThatWouldTouchAnotherAreLeftOut) {
    // Label widths of "hh:mm:ss" in small and large fonts; plot widths from a narrow tiled
    // window up to a wide one, so both 5 and 8 divisions are met.
    int leftOutSomewhere = 0;
    for (int label : {46, 60}) {
        for (int w = 120; w <= 1400; w += 7) {
            const std::vector<TimeTick> ticks = TimeTicks(w, 0, 5000, 5000);
            const int d = TimeDivisions(w);
            ASSERT_EQ(ticks.size(), static_cast<size_t>(d + 1));
            std::vector<int> lefts, widths;
            for (int j = 0; j <= d; ++j) {
                lefts.push_back(TimeLabelLeft(j, d, ticks[static_cast<size_t>(j)].x, label, w));
                widths.push_back(label);
            }
            const std::vector<bool> shown = TimeLabelsShown(lefts, widths);
            ASSERT_EQ(shown.size(), lefts.size());
            EXPECT_TRUE(shown.front()) << w;
            std::vector<int> drawn;
            for (int j = 0; j <= d; ++j) {
                if (shown[static_cast<size_t>(j)])
                    drawn.push_back(j);
                else
                    ++leftOutSomewhere;
            }
            for (size_t a = 0; a < drawn.size(); ++a) {
                for (size_t b = a + 1; b < drawn.size(); ++b) {
                    const int l = std::min(lefts[drawn[a]], lefts[drawn[b]]);
                    const int r = std::max(lefts[drawn[a]], lefts[drawn[b]]);
                    EXPECT_GT(r, l + label) << "labels " << drawn[a] << " and " << drawn[b] << " touch at W = " << w;
                }
            }
            // A wide plot has room for all of them (an end label starts 5 pixels beside its
            // tick, its neighbour is centred on its own).
            if ((w - 60) / d >= label * 3 / 2 + 10) {
                EXPECT_EQ(drawn.size(), static_cast<size_t>(d + 1)) << w;
            }
        }
    }
    EXPECT_GT(leftOutSomewhere, 0);
    // The first and the next-to-last label of 8 on a 520-pixel plot: the end labels sit beside
    // their ticks and ran into their neighbours ("04:37:5506:41:55").
    const std::vector<TimeTick> ticks = TimeTicks(520, 0, 5000, 5000);
    std::vector<int> lefts, widths(9, 60);
    for (int j = 0; j <= 8; ++j) lefts.push_back(TimeLabelLeft(j, 8, ticks[static_cast<size_t>(j)].x, 60, 520));
    const std::vector<bool> shown = TimeLabelsShown(lefts, widths);
    EXPECT_TRUE(shown[0]);
    EXPECT_TRUE(shown[8]);
    EXPECT_FALSE(shown[1]);
    EXPECT_FALSE(shown[7]);
    EXPECT_TRUE(TimeLabelsShown({}, {}).empty());
}

TEST(TimeAxis, TextsOfRecordTimes) {
    SampleRecord r;
    r.year = 25;
    r.month = 3;
    r.day = 4;
    r.hour = 5;
    r.minute = 6;
    r.second = 7;
    EXPECT_EQ(RecordTimeText(r), "2025-03-04 05:06:07");
    EXPECT_EQ(RecordTimeOfDayText(r), "05:06:07");
}

TEST(ValueScaleAxis, OnlyTheFirstVisibleChannelCarriesTheScale) {
    const int32_t enabled[8] = {1, 0, 1, 0, 0, 0, 0, 0};
    int32_t visible[8] = {1, 1, 1, 1, 1, 1, 1, 1};
    EXPECT_EQ(ScaledChannel(enabled, visible), 0);
    visible[0] = 0;
    EXPECT_EQ(ScaledChannel(enabled, visible), 2);
    visible[2] = 0;
    EXPECT_EQ(ScaledChannel(enabled, visible), -1);
    EXPECT_EQ(ScaleTickY(0, 445), 20);
    EXPECT_EQ(ScaleTickY(4, 445), 420);
    EXPECT_FLOAT_EQ(ScaleTickValue(0, 30.0f, 10.0f), 30.0f);
    EXPECT_FLOAT_EQ(ScaleTickValue(3, 30.0f, 10.0f), 15.0f);
}

TEST(ValueRange, RecomputedFromTheShownRecordsWithoutMissingSamples) {
    RecordSet set = test::MakeCurveSet(10, 3, 60, 0);
    for (int i = 0; i < 10; ++i) {
        set.records[i].value[0] = static_cast<float>(i);
        set.records[i].value[1] = 5.0f;
        set.records[i].value[2] = 1.0f;
    }
    set.records[3].value[0] = kMissingValue2Byte;
    set.records[4].value[0] = kMissingValue4Byte;
    set.records[2].value[1] = kMissingValue2Byte;  // first shown record missing
    set.records[5].value[1] = 6.0f;
    float hi[8], lo[8];
    for (int c = 0; c < 8; ++c) hi[c] = lo[c] = 99.0f;
    RecomputeAxisRange(set, 2, 6, hi, lo);
    EXPECT_FLOAT_EQ(hi[0], 5.0f);
    EXPECT_FLOAT_EQ(lo[0], 2.0f);  // neither the 2-byte nor the 4-byte marker widened it
    EXPECT_FLOAT_EQ(hi[1], 6.0f);  // started from −10000 / 10000
    EXPECT_FLOAT_EQ(lo[1], 5.0f);
    EXPECT_FLOAT_EQ(hi[3], 99.0f);  // not enabled: untouched
    // Nothing shown, or a range beyond the records: nothing changes, nothing read past the end.
    RecomputeAxisRange(set, 10, 12, hi, lo);
    RecomputeAxisRange(set, 5, 5, hi, lo);
    EXPECT_FLOAT_EQ(hi[0], 5.0f);
    // Values just outside the missing-sample tolerances count; those just inside do not.
    set.records[6].value[0] = -3276.79f;  // 0.09 from the 2-byte marker: missing
    set.records[7].value[0] = -3276.81f;  // 0.11 away: a value
    set.records[8].value[0] = 0.0f;       // a real zero, not the 4-byte marker: a value
    set.records[9].value[0] = 0.0012f;
    RecomputeAxisRange(set, 6, 10, hi, lo);
    EXPECT_FLOAT_EQ(lo[0], -3276.81f);
    EXPECT_FLOAT_EQ(hi[0], 0.0012f);
    set.records[7].value[0] = 5.0f;
    RecomputeAxisRange(set, 6, 10, hi, lo);
    EXPECT_FLOAT_EQ(lo[0], 0.0f);
    EXPECT_FLOAT_EQ(hi[0], 5.0f);
    // A 4-byte marker as the first shown record does not seed the range either.
    RecomputeAxisRange(set, 4, 6, hi, lo);
    EXPECT_FLOAT_EQ(lo[0], 5.0f);
    EXPECT_FLOAT_EQ(hi[0], 5.0f);
    // Only missing samples: the range stays at its starting values.
    for (auto& r : set.records) r.value[2] = kMissingValue2Byte;
    RecomputeAxisRange(set, 0, 10, hi, lo);
    EXPECT_FLOAT_EQ(hi[2], -10000.0f);
    EXPECT_FLOAT_EQ(lo[2], 10000.0f);
}

TEST(ValueRange, AFirstShownValueThatIsNotANumberDoesNotSeedIt) {
    // A damaged value at the start of the shown range: the range comes from the values after it
    // (before, both ends stayed not a number: every point on the bottom line, the scale "nan"),
    // read record by record and through the summary alike.
    RecordSet set = test::MakeCurveSet(200, 2, 60, 0);
    for (int i = 0; i < 200; ++i) set.records[i].value[0] = static_cast<float>(i % 17);
    set.records[0].value[0] = std::numeric_limits<float>::quiet_NaN();
    set.records[100].value[0] = std::numeric_limits<float>::quiet_NaN();
    const RecordTimes times(set);
    const CurveSummary summary(set, times);
    for (const auto& [first, end] : {std::pair{0, 200}, std::pair{100, 180}, std::pair{100, 101}}) {
        float hi[8] = {}, lo[8] = {}, hiSummary[8] = {}, loSummary[8] = {};
        RecomputeAxisRange(set, first, end, hi, lo);
        RecomputeAxisRange(set, summary, first, end, hiSummary, loSummary);
        const bool values = end - first > 1;
        EXPECT_FLOAT_EQ(hi[0], values ? 16.0f : -10000.0f) << first << " … " << end;
        EXPECT_FLOAT_EQ(lo[0], values ? 0.0f : 10000.0f) << first << " … " << end;
        EXPECT_EQ(hiSummary[0], hi[0]) << first << " … " << end;
        EXPECT_EQ(loSummary[0], lo[0]) << first << " … " << end;
    }
}

TEST(PointerReadout, NamesTheRecordDrawnAtOrLeftOfTheCursorLine) {
    const int w = 1000;
    // 11 records: record i at 50 + 94 i.
    for (int i = 0; i < 11; ++i) {
        const int x = RecordX(i, 0, 11, w);
        EXPECT_EQ(RecordUnderCanvasX(x, w, 0, 11, 11).index, i) << i;
        EXPECT_EQ(RecordUnderCanvasX(x, w, 0, 11, 11).cursorX, x);
        if (i < 10) {
            EXPECT_EQ(RecordUnderCanvasX(RecordX(i + 1, 0, 11, w) - 1, w, 0, 11, 11).index, i) << i;
        }
    }
    // Many records per column: the cursor's column holds the named record.
    for (int cx = 50; cx <= 990; cx += 7) {
        const PointedRecord p = RecordUnderCanvasX(cx, w, 0, 270336, 270336);
        EXPECT_LE(RecordX(p.index, 0, 270336, w), cx);
        EXPECT_GT(RecordX(p.index + 1, 0, 270336, w), cx);
    }
    // Outside the curve area the cursor line stays at its edges.
    EXPECT_EQ(RecordUnderCanvasX(3, w, 0, 11, 11).cursorX, 50);
    EXPECT_EQ(RecordUnderCanvasX(3, w, 0, 11, 11).index, 0);
    EXPECT_EQ(RecordUnderCanvasX(2000, w, 0, 11, 11).index, 10);
    // A zoomed range names records of that range.
    EXPECT_EQ(RecordUnderCanvasX(50, w, 100, 111, 500).index, 100);
    EXPECT_EQ(RecordUnderCanvasX(990, w, 100, 111, 500).index, 110);
}

TEST(PointerReadout, FewerThanTwoRecordsNeverDivideByZero) {
    EXPECT_EQ(RecordUnderCanvasX(400, 1000, 0, 1, 1).index, 0);
    EXPECT_EQ(RecordUnderCanvasX(400, 1000, 0, 0, 0).index, -1);
    EXPECT_EQ(RecordUnderCanvasX(400, 60, 0, 5, 5).index, 0);  // a canvas without a curve area
}

}  // namespace
}  // namespace velorin
