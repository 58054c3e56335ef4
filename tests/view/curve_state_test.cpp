// The shown range of a curve view and what changes it: rectangle zoom, panning, "Return",
// "Range" and the compression buttons.
#include <gtest/gtest.h>

#include "support/curve_data.h"
#include "view/curve_geometry.h"
#include "view/curve_state.h"
#include "view/record_times.h"

namespace velorin {
namespace {

// A view of `records` records on a 1000 × 500 canvas at the top 20, after its first drawing.
CurveState Drawn(const RecordSet& set) {
    CurveState s = OpenedCurveState(set);
    s.plotWidth = 1000;
    s.plotHeight = 500;
    s.plotTop = 20;
    BeginDrawing(s);
    EndDrawing(s);
    return s;
}

// The view x at which record i of the shown range is drawn.
int ViewX(const CurveState& s, int32_t i) { return RecordX(i, s.firstIndex, s.endIndex, s.plotWidth) + kCanvasViewX; }

TEST(CurveOpening, WholeSetWithTheStoredStatistics) {
    RecordSet set = test::MakeCurveSet(100, 3);
    set.maxValue[0] = 42.0f;
    set.minValue[0] = -4.0f;
    const CurveState s = OpenedCurveState(set);
    EXPECT_EQ(s.firstIndex, 0);
    EXPECT_EQ(s.endIndex, 100);
    EXPECT_FLOAT_EQ(s.axisMax[0], 42.0f);
    EXPECT_FLOAT_EQ(s.axisMin[0], -4.0f);
    EXPECT_EQ(s.channelEnabled[2], 1);
    EXPECT_EQ(s.channelEnabled[3], 0);
    EXPECT_TRUE(s.firstDrawPending);
    EXPECT_FALSE(s.returnEnabled);
    EXPECT_EQ(s.compressionLevel, 2);
    // A count beyond the records held is not believed.
    set.recordCount = 5000;
    EXPECT_EQ(OpenedCurveState(set).endIndex, 100);
}

TEST(CurveDrawingState, PixelsPerRecordAndThePanToggle) {
    const RecordSet set = test::MakeCurveSet(100, 1);
    CurveState s = Drawn(set);
    EXPECT_FLOAT_EQ(s.pixelsPerRecord, 10.0f);
    EXPECT_FALSE(s.firstDrawPending);
    s.panMode = true;
    BeginDrawing(s);
    EXPECT_FALSE(s.panEnabled);  // first record shown: nothing earlier to pan to
    EXPECT_FALSE(s.panMode);
    s.firstIndex = 10;
    s.panMode = true;
    BeginDrawing(s);
    EXPECT_TRUE(s.panEnabled);
    EXPECT_TRUE(s.panMode);
    // No record shown: no division by zero.
    s.firstIndex = s.endIndex = 0;
    BeginDrawing(s);
    EXPECT_FLOAT_EQ(s.pixelsPerRecord, 1000.0f);
}

TEST(RectangleZoom, ThresholdsAndTheEndOfTheDrag) {
    const RecordSet set = test::MakeCurveSet(10, 1);
    CurveState s = Drawn(set);
    // Not armed: a press starts nothing.
    EXPECT_FALSE(PressLeft(s, 300, 200));
    EXPECT_FALSE(s.dragging);
    ArmZoom(s);
    EXPECT_FALSE(s.amplificationEnabled);
    EXPECT_TRUE(s.returnEnabled);
    // Outside the plot: no drag.
    EXPECT_FALSE(PressLeft(s, 5, 200));
    EXPECT_FALSE(PressLeft(s, 300, 20));
    // A 3-pixel drag is ignored.
    ASSERT_TRUE(PressLeft(s, 300, 200));
    EXPECT_FLOAT_EQ(s.pressX, 290.0f);
    EXPECT_FALSE(ReleaseLeft(s, 303, 220));
    EXPECT_FALSE(s.dragging);
    EXPECT_EQ(s.endIndex - s.firstIndex, 10);
    // Released outside the plot: the drag ends, nothing else.
    ASSERT_TRUE(PressLeft(s, 300, 200));
    EXPECT_FALSE(ReleaseLeft(s, 1015, 220));
    EXPECT_FALSE(s.dragging);
    EXPECT_EQ(s.endIndex - s.firstIndex, 10);
    // Within one record's spacing: fewer than two records, ignored.
    ASSERT_TRUE(PressLeft(s, ViewX(s, 3) + 2, 200));
    EXPECT_FALSE(ReleaseLeft(s, ViewX(s, 3) + 40, 220));
    EXPECT_EQ(s.firstIndex, 0);
    EXPECT_TRUE(s.zoomArmed);
}

TEST(RectangleZoom, ShowsTheRecordsUnderTheRectangleEdges) {
    const RecordSet set = test::MakeCurveSet(10, 1);
    CurveState s = Drawn(set);
    ArmZoom(s);
    // Dragged from record 2's line to record 5's line, right to left.
    ASSERT_TRUE(PressLeft(s, ViewX(s, 5), 300));
    EXPECT_TRUE(ReleaseLeft(s, ViewX(s, 2), 100));
    EXPECT_EQ(s.firstIndex, 2);
    EXPECT_EQ(s.endIndex, 6);
    EXPECT_TRUE(s.recomputeRange);
    EXPECT_TRUE(s.zoomArmed);  // ready to zoom again
    BeginDrawing(s);
    EndDrawing(s);
    // Zooming again works on the shown range: record 3 … 4 of the whole set.
    ASSERT_TRUE(PressLeft(s, ViewX(s, 3), 300));
    EXPECT_TRUE(ReleaseLeft(s, ViewX(s, 4) + 1, 100));
    EXPECT_EQ(s.firstIndex, 3);
    EXPECT_EQ(s.endIndex, 5);
    // While panning, a release zooms nothing.
    s.panMode = true;
    ASSERT_TRUE(PressLeft(s, 100, 300));
    EXPECT_FALSE(ReleaseLeft(s, 900, 300));
    EXPECT_EQ(s.firstIndex, 3);
}

TEST(Panning, StepsAtBothEndsOfTheDataSet) {
    const RecordSet set = test::MakeCurveSet(1000, 1);
    CurveState s = Drawn(set);
    // 100 records on 1000 pixels: a pan step of 10 pixels is one record.
    s.firstIndex = 0;
    s.endIndex = 100;
    BeginDrawing(s);
    s.zoomArmed = true;
    s.panMode = true;
    ASSERT_TRUE(PressLeft(s, 500, 200));
    EXPECT_FALSE(PanMove(s, 510, 200));  // to the right = earlier: already at the first record
    EXPECT_EQ(s.firstIndex, 0);
    EXPECT_TRUE(PanMove(s, 505, 200));  // to the left = later
    EXPECT_EQ(s.firstIndex, 1);
    EXPECT_EQ(s.endIndex, 101);
    EXPECT_FALSE(PanMove(s, 505, 250));  // no horizontal move: no step
    EXPECT_EQ(s.firstIndex, 1);

    // 500 records on 1000 pixels: a step is 5 records; at the end the end stays at the count.
    s.firstIndex = 498;
    s.endIndex = 998;
    BeginDrawing(s);
    s.panMode = true;
    EXPECT_TRUE(PanMove(s, 400, 200));
    EXPECT_EQ(s.firstIndex, 503);
    EXPECT_EQ(s.endIndex, 1000);
    EXPECT_FALSE(PanMove(s, 300, 200));
    EXPECT_EQ(s.firstIndex, 503);
    // Back towards the start: 5 records per step, the first never below 0.
    s.firstIndex = 3;
    s.endIndex = 503;
    EXPECT_TRUE(PanMove(s, 600, 200));
    EXPECT_EQ(s.firstIndex, 0);
    EXPECT_EQ(s.endIndex, 498);
    // Outside the plot nothing pans.
    s.firstIndex = 100;
    s.endIndex = 600;
    EXPECT_FALSE(PanMove(s, 1015, 200));
    EXPECT_EQ(s.firstIndex, 100);
}

TEST(ReturnButton, ResetsEverything) {
    const RecordSet set = test::MakeCurveSet(1000, 2);
    CurveState s = Drawn(set);
    ArmZoom(s);
    s.firstIndex = 100;
    s.endIndex = 200;
    s.panMode = true;
    s.panEnabled = true;
    s.dragging = true;
    ChangeCompression(s, +1);
    ChangeCompression(s, +1);
    EXPECT_EQ(s.compressionLevel, 4);
    ReturnToWholeSet(s);
    EXPECT_EQ(s.firstIndex, 0);
    EXPECT_EQ(s.endIndex, 1000);
    EXPECT_TRUE(s.recomputeRange);
    EXPECT_FALSE(s.returnEnabled);
    EXPECT_TRUE(s.amplificationEnabled);
    EXPECT_FALSE(s.zoomArmed);
    EXPECT_FALSE(s.dragging);
    EXPECT_FALSE(s.panMode);
    EXPECT_FALSE(s.panEnabled);
    EXPECT_EQ(s.compressionLevel, 2);
    ChangeCompression(s, -1);
    EXPECT_EQ(s.compressionLevel, 2);  // never below 2
}

class TimeRange : public ::testing::Test {
protected:
    // Records every 60 s from 08:00:00.
    TimeRange() : set_(test::MakeCurveSet(100, 1, 60, 0)), times_(set_), s_(Drawn(set_)) {}
    int64_t At(int32_t i) const { return times_.Seconds(i); }

    RecordSet set_;
    RecordTimes times_;
    CurveState s_;
};

TEST_F(TimeRange, StartAndEndFoundAmongTheRecords) {
    ApplyTimeRange(s_, times_, At(10), At(20));
    EXPECT_EQ(s_.firstIndex, 10);
    EXPECT_EQ(s_.endIndex, 21);  // an end equal to record 20's time ends with record 20
    EXPECT_TRUE(s_.recomputeRange);
    EXPECT_TRUE(s_.returnEnabled);
    EXPECT_FALSE(s_.zoomArmed);
    // Between records: the start takes the earlier one, the end the later one (and one more).
    ApplyTimeRange(s_, times_, At(30) + 10, At(40) + 10);
    EXPECT_EQ(s_.firstIndex, 30);
    EXPECT_EQ(s_.endIndex, 42);
}

TEST_F(TimeRange, StartBeyondTheLastRecordLeavesTheRange) {
    s_.firstIndex = 5;
    s_.endIndex = 50;
    s_.recomputeRange = false;
    ApplyTimeRange(s_, times_, At(99) + 60, At(99) + 600);
    EXPECT_EQ(s_.firstIndex, 5);
    EXPECT_EQ(s_.endIndex, 50);
    EXPECT_TRUE(s_.recomputeRange);
}

TEST_F(TimeRange, EndsOutsideTheDataSetAndAnEndBeforeTheStart) {
    // A start before the first record matches none: the whole set shown stays as it is.
    ApplyTimeRange(s_, times_, At(0) - 3600, At(99) + 3600);
    EXPECT_EQ(s_.firstIndex, 0);
    EXPECT_EQ(s_.endIndex, 100);
    // The last record's own time: a one-record range.
    ApplyTimeRange(s_, times_, At(99), At(99));
    EXPECT_EQ(s_.firstIndex, 99);
    EXPECT_EQ(s_.endIndex, 100);
    // An end before the start would show nothing: the range stays.
    s_.firstIndex = 10;
    s_.endIndex = 20;
    ApplyTimeRange(s_, times_, At(50), At(30));
    EXPECT_EQ(s_.firstIndex, 10);
    EXPECT_EQ(s_.endIndex, 20);
}

TEST_F(TimeRange, ARangeThatMissesTheDataLeavesAZoomedRange) {
    auto zoomed = [this] {
        s_.firstIndex = 20;
        s_.endIndex = 41;
    };
    // Wholly before the data.
    zoomed();
    ApplyTimeRange(s_, times_, At(0) - 7200, At(0) - 3600);
    EXPECT_EQ(s_.firstIndex, 20);
    EXPECT_EQ(s_.endIndex, 41);
    EXPECT_TRUE(s_.recomputeRange);
    // Wholly after it.
    ApplyTimeRange(s_, times_, At(99) + 3600, At(99) + 7200);
    EXPECT_EQ(s_.firstIndex, 20);
    EXPECT_EQ(s_.endIndex, 41);
    // A start found and an end after the data: the start moves, the end stays.
    ApplyTimeRange(s_, times_, At(30), At(99) + 600);
    EXPECT_EQ(s_.firstIndex, 30);
    EXPECT_EQ(s_.endIndex, 41);
    // No start found: the end is not looked for.
    zoomed();
    ApplyTimeRange(s_, times_, At(0) - 60, At(25));
    EXPECT_EQ(s_.firstIndex, 20);
    EXPECT_EQ(s_.endIndex, 41);
    // A found start after the kept end would show nothing: the range stays.
    ApplyTimeRange(s_, times_, At(60), At(99) + 600);
    EXPECT_EQ(s_.firstIndex, 20);
    EXPECT_EQ(s_.endIndex, 41);
}

TEST(TimeRangeEmpty, NoRecordsNoSearch) {
    RecordSet empty;
    const RecordTimes times(empty);
    CurveState s = OpenedCurveState(empty);
    ApplyTimeRange(s, times, 0, 100);
    EXPECT_EQ(s.firstIndex, 0);
    EXPECT_EQ(s.endIndex, 0);
}

}  // namespace
}  // namespace velorin
