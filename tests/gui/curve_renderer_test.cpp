// The curve canvas: the column-reduced drawing gives the same pixels as drawing every segment,
// and what the canvas shows (flat channels, missing samples, gap markers, the value scale, a
// single record).
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "gui/same_pixels.h"
#include "support/curve_data.h"
#include "view/curve_geometry.h"
#include "view/curve_renderer.h"
#include "view/curve_state.h"
#include "view/curve_summary.h"
#include "view/record_times.h"

namespace velorin {
namespace {

const QColor kColours[8] = {QColor(0, 0, 255),   QColor(255, 0, 0),   QColor(255, 255, 0), QColor(64, 128, 128),
                            QColor(128, 0, 255), QColor(128, 128, 0), QColor(0, 0, 255),   QColor(128, 0, 0)};

// Channel 1 constant at 20 in a value range of 10 … 30: on a canvas 300 pixels high it lies at
// y = 275 − 10 × 12.75 = 147.
RecordSet Level20(int32_t records, int32_t gapEvery) {
    RecordSet set = test::MakeCurveSet(records, 1, 60, gapEvery);
    for (auto& r : set.records) r.value[0] = 20.0f;
    set.maxValue[0] = 30.0f;
    set.minValue[0] = 10.0f;
    return set;
}

class CurveCanvas : public ::testing::Test {
protected:
    void Use(RecordSet set, int width, int height) {
        set_ = std::move(set);
        times_ = RecordTimes(set_);
        summary_ = CurveSummary(set_, times_);
        state_ = OpenedCurveState(set_);
        state_.plotWidth = width;
        state_.plotHeight = height;
    }

    QImage Render(CurveDrawing drawing, bool withSummary = true) {
        CurveScene scene;
        scene.set = &set_;
        scene.times = &times_;
        scene.summary = withSummary ? &summary_ : nullptr;
        scene.state = &state_;
        for (int c = 0; c < 8; ++c) scene.colour[c] = kColours[c];
        scene.font = font_;
        QImage image;
        RenderCurveCanvas(image, scene, drawing);
        return image;
    }

    // The reduced drawing, with the block summaries and without, against drawing every segment,
    // pixel for pixel; the first difference is reported.
    void ExpectIdentical(const std::string& what) {
        const QImage every = Render(CurveDrawing::EverySegment);
        EXPECT_TRUE(test::SamePixels(every, Render(CurveDrawing::Reduced))) << what << ", summaries";
        EXPECT_TRUE(test::SamePixels(every, Render(CurveDrawing::Reduced, false))) << what << ", every record read";
    }

    // The shown range first … end − 1 with its value range recomputed (from the summaries, which
    // must agree with reading every record).
    void ShowRange(int32_t first, int32_t end) {
        state_.firstIndex = first;
        state_.endIndex = end;
        float hi[8], lo[8], hiAll[8], loAll[8];
        std::copy(state_.axisMax, state_.axisMax + 8, hi);
        std::copy(state_.axisMin, state_.axisMin + 8, lo);
        std::copy(hi, hi + 8, hiAll);
        std::copy(lo, lo + 8, loAll);
        RecomputeAxisRange(set_, summary_, first, end, hi, lo);
        RecomputeAxisRange(set_, first, end, hiAll, loAll);
        for (int c = 0; c < 8; ++c) {
            EXPECT_EQ(hi[c], hiAll[c]) << "channel " << c + 1 << " of " << first << " … " << end;
            EXPECT_EQ(lo[c], loAll[c]) << "channel " << c + 1 << " of " << first << " … " << end;
        }
        std::copy(hi, hi + 8, state_.axisMax);
        std::copy(lo, lo + 8, state_.axisMin);
    }

    int Count(const QImage& image, int x, QRgb colour) const {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) n += image.pixel(x, y) == colour;
        return n;
    }

    RecordSet set_;
    RecordTimes times_;
    CurveSummary summary_;
    CurveState state_;
    QFont font_;
};

TEST_F(CurveCanvas, ReducedDrawingIsPixelIdenticalToEverySegment) {
    // Steep edges, flat stretches, noise, missing 2- and 4-byte samples and gaps on 8 channels,
    // with many records per pixel column (a full data set on the benchmark's canvas), about one,
    // and fewer.
    struct Case {
        int32_t records;
        int width, height;
        int32_t gapEvery;
    };
    for (const Case& c : {Case{kRecordCapacity, 1600, 900, 5000}, Case{60000, 300, 200, 7}, Case{1700, 1600, 900, 97},
                          Case{900, 1000, 400, 3}, Case{37, 800, 300, 5}, Case{2, 500, 300, 1},
                          // Widths and heights that are no whole number of 4-pixel tiles.
                          Case{20000, 1001, 403, 11}, Case{3000, 999, 302, 13}, Case{500, 62, 65, 9}}) {
        Use(test::MakeCurveSet(c.records, 8, 60, c.gapEvery), c.width, c.height);
        const std::string what =
            std::to_string(c.records) + " records on " + std::to_string(c.width) + "x" + std::to_string(c.height);
        ExpectIdentical(what + ", stored value range");
        state_.recomputeRange = true;
        RecomputeAxisRange(set_, state_.firstIndex, state_.endIndex, state_.axisMax, state_.axisMin);
        ExpectIdentical(what + ", value range recomputed");
        // A wider value range keeps the curves' lowest points off the time axis drawn over them.
        for (int ch = 0; ch < 8; ++ch) {
            const float margin = (state_.axisMax[ch] - state_.axisMin[ch]) * 0.1f + 1.0f;
            state_.axisMax[ch] += margin;
            state_.axisMin[ch] -= margin;
        }
        ExpectIdentical(what + ", value range widened");
        // A zoomed range starting on a missing sample, scale off, some channels hidden.
        if (c.records > 4000) {
            state_.firstIndex = 3990;
            state_.endIndex = c.records - 7;
            state_.showScale = false;
            state_.channelVisible[1] = 0;
            state_.channelVisible[5] = 0;
            ExpectIdentical(what + ", zoomed");
        }
    }
}

TEST_F(CurveCanvas, ReducedDrawingIsIdenticalForMissingRunsAndGapsInOneColumn) {
    // Every column mixes missing samples, gaps and values at the top, the bottom and between:
    // one gap in a few columns, several, gaps on consecutive records and on every record; whole
    // ranges and ranges starting on and just after a gap.
    for (const int32_t gapEvery : {3, 1, 2, 97, 400}) {
        RecordSet set = test::MakeCurveSet(5000, 3, 60, gapEvery);
        for (int32_t i = 0; i < 5000; ++i) {
            float* v = set.records[static_cast<size_t>(i)].value;
            v[0] = i % 7 == 0 ? kMissingValue2Byte : static_cast<float>((i * 37) % 11);
            v[1] = i % 3 == 0 ? kMissingValue2Byte : 5.0f;
            v[2] = (i / 13) % 2 ? 10.0f : 0.0f;
        }
        for (int c = 0; c < 3; ++c) {
            set.maxValue[c] = 10.0f;
            set.minValue[c] = 0.0f;
        }
        Use(std::move(set), 400, 300);
        const std::string what = "gap every " + std::to_string(gapEvery) + " records";
        ExpectIdentical(what);
        for (const int32_t first : {gapEvery, gapEvery + 1, 2 * gapEvery - 1}) {
            state_.firstIndex = first;
            state_.endIndex = std::min(first + 3000, 5000);
            ExpectIdentical(what + ", from record " + std::to_string(first));
        }
    }
}

TEST_F(CurveCanvas, ALaterChannelCoversOnlyThePixelsItDraws) {
    // One unit per pixel (range 0 … 255 on 300 pixels): in every column channel 1 spans
    // y = 125 … 225 and channel 2, drawn after it, y = 125 … 224; row 225 stays channel 1's.
    RecordSet set = test::MakeCurveSet(4000, 2, 60, 0);
    for (int32_t i = 0; i < 4000; ++i) {
        set.records[static_cast<size_t>(i)].value[0] = i % 2 ? 150.0f : 50.0f;
        set.records[static_cast<size_t>(i)].value[1] = i % 2 ? 150.0f : 51.0f;
    }
    for (int c = 0; c < 2; ++c) {
        set.maxValue[c] = 255.0f;
        set.minValue[c] = 0.0f;
    }
    Use(std::move(set), 300, 300);
    state_.showScale = false;
    ExpectIdentical("two alternating channels");
    const QImage image = Render(CurveDrawing::Reduced);
    EXPECT_EQ(image.pixel(150, 225), kColours[0].rgb());
    EXPECT_EQ(image.pixel(150, 224), kColours[1].rgb());
}

TEST_F(CurveCanvas, FlatChannelOnTheBottomLineAndMissingSamplesInGrey) {
    RecordSet set = test::MakeCurveSet(200, 6, 60, 0);
    set.maxValue[5] = set.minValue[5] = 7.5f;  // channel 6 is constant
    for (int c = 0; c < 5; ++c) set.channelEnabled[c] = 0;
    Use(std::move(set), 600, 300);
    // The line lies on the bottom line, under the time axis drawn after it: nowhere above.
    const QImage flat = Render(CurveDrawing::EverySegment);
    for (int x = 60; x < 590; x += 13) EXPECT_EQ(Count(flat, x, kColours[5].rgb()), 0) << x;
    state_.axisMin[5] = 7.0f;  // lift it off the bottom: now it shows, straight
    const QImage lifted = Render(CurveDrawing::Reduced);
    const int y = ValueScale(state_.axisMax[5], 7.0f, 300).ClampedY(7.5f);
    for (int x = 60; x < 590; x += 13) EXPECT_EQ(lifted.pixel(x, y), kColours[5].rgb()) << x;

    RecordSet holes = Level20(200, 0);
    holes.records[100].value[0] = kMissingValue2Byte;
    Use(std::move(holes), 600, 300);
    const QImage image = Render(CurveDrawing::Reduced);
    const int x = RecordX(100, 0, 200, 600);
    // The segment into the missing sample runs grey down to the bottom of the curve area (the
    // segment back up, drawn after it, covers its last column).
    int grey = 0;
    for (int column = RecordX(99, 0, 200, 600); column <= x; ++column)
        grey += Count(image, column, qRgb(200, 200, 200));
    EXPECT_GT(grey, 100);
    EXPECT_EQ(Count(image, RecordX(90, 0, 200, 600), qRgb(200, 200, 200)), 0);
    EXPECT_EQ(image.pixel(x - 20, 147), kColours[0].rgb());
}

TEST_F(CurveCanvas, GapMarkerIsADottedBlackLineFromTheBottom) {
    Use(Level20(100, 50), 600, 300);  // record 50 comes an hour late
    const QImage image = Render(CurveDrawing::Reduced);
    const int x = RecordX(50, 0, 100, 600);
    int black = 0;
    for (int y = 160; y < 270; ++y) black += image.pixel(x, y) == qRgb(0, 0, 0);
    EXPECT_GT(black, 40);  // every second pixel
    EXPECT_LT(black, 70);
    EXPECT_EQ(Count(Render(CurveDrawing::EverySegment), x, qRgb(0, 0, 0)), Count(image, x, qRgb(0, 0, 0)));
    // 60 s apart in a 60 s data set: no marker.
    const int plain = RecordX(30, 0, 100, 600);
    EXPECT_EQ(image.pixel(plain, 200), qRgb(255, 255, 255));
}

TEST_F(CurveCanvas, ScaleBelongsToTheFirstVisibleChannel) {
    RecordSet set = test::MakeCurveSet(100, 3, 60, 0);
    set.channelEnabled[1] = 0;  // channels 1 and 3
    Use(std::move(set), 600, 300);
    EXPECT_EQ(Render(CurveDrawing::Reduced).pixel(10, 100), kColours[0].rgb());
    state_.channelVisible[0] = 0;
    EXPECT_EQ(Render(CurveDrawing::Reduced).pixel(10, 100), kColours[2].rgb());
    state_.showScale = false;
    EXPECT_EQ(Render(CurveDrawing::Reduced).pixel(10, 100), qRgb(255, 255, 255));
}

TEST_F(CurveCanvas, ScaleTextsBetweenTheCurvesKeepTheirOrderWhateverTheirWidth) {
    // The curves drawn before the scale lie under its texts and those drawn after it over them,
    // as far right as the texts reach: long figures, a large font, the scale of a later channel
    // with curves before and after it, every channel crossing the scale's columns.
    for (const int pointSize : {9, 28}) {
        for (const float reach : {10.0f, 123456.0f}) {
            Use(test::MakeCurveSet(20000, 8, 60, 0), 900, 400);
            font_.setPointSize(pointSize);
            for (const int first : {0, 2}) {
                for (int c = 0; c < first; ++c) state_.channelVisible[c] = 0;
                for (int c = 0; c < 8; ++c) {
                    state_.axisMax[c] = reach;
                    state_.axisMin[c] = -reach;
                }
                ExpectIdentical("font size " + std::to_string(pointSize) + ", scale of " + std::to_string(reach) +
                                ", first channel " + std::to_string(first + 1));
            }
        }
    }
    const QImage canvas(900, 400, QImage::Format_RGB32);
    const int wide = ValueScaleRight(canvas, font_, 123456.0f, -123456.0f, "CH3");
    EXPECT_GT(wide, 18 + QFontMetrics(font_).horizontalAdvance("-123456.00"));
    // Measured again whenever one thing it depends on differs from the last measure: each case
    // below differs from the one before in one thing only, and must give what it gives measured
    // after a call that differs in everything.
    QFont small = font_;
    small.setPointSize(6);
    QImage fine(900, 400, QImage::Format_RGB32);
    fine.setDotsPerMeterX(fine.dotsPerMeterX() * 3);
    fine.setDotsPerMeterY(fine.dotsPerMeterY() * 3);
    struct Case {
        const QImage* canvas;
        QFont font;
        float axisMax, axisMin;
        QString caption;
    };
    const Case base{&canvas, font_, 10.0f, -10.0f, "CH3"};
    std::vector<Case> cases{base};
    for (const Case& other :
         {Case{&canvas, font_, 123456.0f, -10.0f, "CH3"}, Case{&canvas, font_, 10.0f, -123456.0f, "CH3"},
          Case{&canvas, font_, 10.0f, -10.0f, "A much longer caption"}, Case{&canvas, small, 10.0f, -10.0f, "CH3"},
          Case{&fine, font_, 10.0f, -10.0f, "CH3"}}) {
        cases.push_back(other);
        cases.push_back(base);
    }
    std::vector<int> expected;
    for (const Case& c : cases) {
        ValueScaleRight(QImage(1, 1, QImage::Format_RGB32), QFont(), 0.0f, 0.0f, "-");
        expected.push_back(ValueScaleRight(*c.canvas, c.font, c.axisMax, c.axisMin, c.caption));
    }
    for (size_t k = 0; k < cases.size(); ++k) {
        const Case& c = cases[k];
        EXPECT_EQ(ValueScaleRight(*c.canvas, c.font, c.axisMax, c.axisMin, c.caption), expected[k]) << "case " << k;
        if (k % 2 == 1) {
            EXPECT_NE(expected[k], expected[0]) << "case " << k;
        }
    }
    EXPECT_EQ(ValueScaleRight(canvas, font_, 123456.0f, -123456.0f, "CH3"), wide);
}

TEST_F(CurveCanvas, OneRecordIsAPointAndNoRecordsOnlyTheFrame) {
    Use(Level20(1, 0), 600, 300);
    state_.showScale = false;
    const QImage image = Render(CurveDrawing::Reduced);
    EXPECT_EQ(image.pixel(50, 147), kColours[0].rgb());
    EXPECT_EQ(image.pixel(51, 147), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(50, 146), qRgb(255, 255, 255));

    Use(RecordSet(), 600, 300);
    const QImage empty = Render(CurveDrawing::Reduced);
    EXPECT_EQ(empty.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(empty.pixel(300, 100), qRgb(255, 255, 255));
}

TEST_F(CurveCanvas, SummaryDrawingIsIdenticalOnZoomedRangesAndBlockEdges) {
    // Dense and slow data, missing samples of both kinds, gaps; ranges that start and end on
    // block edges, one record inside or outside them, deep inside a block, and ranges of one
    // and two records, on canvases with many and with few records per column.
    for (const bool dense : {true, false}) {
        Use(test::MakeCurveSet(60000, 8, 60, 1234, dense), 900, 400);
        const std::string data = dense ? "dense" : "slow";
        const int32_t b = kSummaryBlock;
        struct Range {
            int32_t first, end;
        };
        for (const Range r : {Range{0, 60000}, Range{b, 60000 - b}, Range{b - 1, 40 * b + 1}, Range{b + 1, 500 * b - 1},
                              Range{7 * b + 5, 7 * b + 11}, Range{3 * b + 3, 2000 * b + 9}, Range{996, 998},
                              Range{997, 998}, Range{3999, 4151}, Range{41000, 59999}}) {
            ShowRange(r.first, r.end);
            ExpectIdentical(data + " " + std::to_string(r.first) + " … " + std::to_string(r.end));
        }
    }
}

TEST_F(CurveCanvas, SummaryDrawingIsIdenticalAcrossGroupEdges) {
    // Channels that are plain throughout, and channels whose missing samples (of both kinds),
    // values that are not numbers and missing runs sit on group edges, block edges and inside
    // blocks, so that columns mix plain groups and blocks with ones read record by record; gaps
    // now and then. Ranges that start and end on group edges, one record inside or outside them,
    // on block edges inside a group, inside one group, and of one and two records across a
    // group edge; canvases with a few records, a few blocks and several groups per column.
    const int32_t g = kSummaryGroup, b = kSummaryBlock;
    RecordSet set = test::MakeCurveSet(60000, 8, 60, 3001);
    for (int32_t i = 0; i < 60000; ++i) {
        float* v = set.records[static_cast<size_t>(i)].value;
        v[1] = i % g == 0 || i % g == g - 1 ? kMissingValue2Byte : v[1];
        v[2] = i % 509 == 0 ? kMissingValue4Byte : static_cast<float>((i * 7) % 13);
        v[3] = i % 777 == 5 ? std::numeric_limits<float>::quiet_NaN() : v[3];
        v[5] = i % 1000 >= 60 && i % 1000 < 70 ? kMissingValue2Byte : static_cast<float>((i * 13) % 29);
        v[6] = i % (3 * g) == 2 * b + 3 ? kMissingValue2Byte : v[6];
        v[7] = i % 97 == 7 ? std::numeric_limits<float>::quiet_NaN() : v[7];
    }
    struct Range {
        int32_t first, end;
    };
    const Range ranges[] = {{0, 60000},
                            {g, 500 * g},
                            {g - 1, 300 * g + 1},
                            {g + 1, 700 * g - 1},
                            {5 * g + b, 9 * g - b},
                            {5 * g + 3, 5 * g + 61},
                            {2 * g - 1, 2 * g},
                            {2 * g - 1, 2 * g + 1},
                            {2 * g, 2 * g + 2},
                            {3001 - 5, 3001 + 3 * g}};
    struct Canvas {
        int width, height;
    };
    for (const Canvas canvas : {Canvas{900, 400}, Canvas{200, 300}, Canvas{1600, 900}}) {
        Use(set, canvas.width, canvas.height);
        const std::string size = std::to_string(canvas.width) + "x" + std::to_string(canvas.height);
        for (const Range r : ranges) {
            ShowRange(r.first, r.end);
            ExpectIdentical(size + " " + std::to_string(r.first) + " … " + std::to_string(r.end));
        }
        // A value range upside down (as recomputed over missing samples only): heights then grow
        // with the value. Channel 1 alone, so that no later channel covers its first column.
        ShowRange(g + 1, 700 * g - 1);
        std::swap(state_.axisMax[0], state_.axisMin[0]);
        for (int c = 1; c < 8; ++c) state_.channelVisible[c] = 0;
        ExpectIdentical(size + " range upside down");
        for (int c = 1; c < 8; ++c) state_.channelVisible[c] = 1;
        // Value ranges reaching below the 2-byte marker: missing samples then lie inside the
        // curve area, apart from values that are not numbers (on its bottom line), so stretches
        // read record by record are hidden under later segments or not by other rules.
        for (const float low : {-3300.0f, -3276.7f, -3276.0f}) {
            ShowRange(g - 1, 300 * g + 1);
            for (int c = 0; c < 8; ++c) state_.axisMin[c] = low;
            ExpectIdentical(size + " range down to " + std::to_string(low));
        }
    }
}

TEST(CurveSummaryTest, GroupsAndValuesFollowTheRecordsAndARebuiltChannel) {
    // A group holds the extremes of its plain values and is mixed when any of its records is not
    // plain; the values are the records' own, and the count of mixed groups in a range follows
    // the groups. A rebuilt channel follows new values in all of them.
    RecordSet set = test::MakeCurveSet(1000, 8, 60, 0);
    set.records[130].value[3] = kMissingValue4Byte;                       // group 2
    set.records[200].value[3] = std::numeric_limits<float>::quiet_NaN();  // group 3
    set.records[999].value[3] = kMissingValue2Byte;                       // the last, short group
    const RecordTimes times(set);
    CurveSummary summary(set, times);
    const auto sameValue = [](float a, float b) { return a == b || (std::isnan(a) && std::isnan(b)); };
    const auto expectFollows = [&](int c, const std::string& what) {
        ASSERT_EQ(summary.Groups(), (1000 + kSummaryGroup - 1) / kSummaryGroup);
        for (int32_t k = 0; k < summary.Groups(); ++k) {
            float low = std::numeric_limits<float>::infinity(), high = -low;
            bool mixed = false;
            const int32_t end = std::min((k + 1) * kSummaryGroup, 1000);
            for (int32_t i = k * kSummaryGroup; i < end; ++i) {
                const float v = set.records[static_cast<size_t>(i)].value[c];
                if (IsMissingSample(v) || std::isnan(v)) {
                    mixed = true;
                    continue;
                }
                low = std::min(low, v);
                high = std::max(high, v);
            }
            const CurveSummary::Block& group = summary.GroupsOf(c)[k];
            EXPECT_EQ(group.low, low) << what << ", group " << k;
            EXPECT_EQ(group.high, high) << what << ", group " << k;
            EXPECT_EQ(group.mixed != 0, mixed) << what << ", group " << k;
        }
        for (int32_t i = 0; i < 1000; ++i) {
            const float v = set.records[static_cast<size_t>(i)].value[c];
            EXPECT_TRUE(sameValue(summary.ValuesOf(c)[i], v)) << what << ", record " << i;
        }
        // The mixed groups a range touches, counted one by one; ranges on, inside and across
        // group edges, empty ones and ones reaching past the records.
        struct Range {
            int32_t first, end;
        };
        for (const Range r : {Range{0, 1000}, Range{64, 128}, Range{65, 127}, Range{127, 129}, Range{130, 131},
                              Range{999, 1000}, Range{500, 500}, Range{960, 2000}, Range{-5, 3}}) {
            int32_t mixed = 0;
            for (int32_t k = 0; k < summary.Groups(); ++k) {
                const bool touched = k * kSummaryGroup < r.end && (k + 1) * kSummaryGroup > r.first;
                if (touched && summary.GroupsOf(c)[k].mixed != 0) ++mixed;
            }
            EXPECT_EQ(summary.MixedGroups(c, r.first, r.end), mixed)
                << what << ", records " << r.first << " … " << r.end;
        }
    };
    expectFollows(3, "channel 4");
    expectFollows(0, "channel 1");
    EXPECT_NE(summary.GroupsOf(3)[2].mixed, 0);
    EXPECT_NE(summary.GroupsOf(3)[3].mixed, 0);
    EXPECT_NE(summary.GroupsOf(3)[15].mixed, 0);
    EXPECT_EQ(summary.GroupsOf(3)[4].mixed, 0);
    for (auto& r : set.records) r.value[1] = 40.0f - r.value[1];
    set.records[640].value[1] = kMissingValue2Byte;
    summary.RebuildChannel(set, 1);
    expectFollows(1, "channel 2 rebuilt");
    EXPECT_NE(summary.GroupsOf(1)[10].mixed, 0);
}

TEST_F(CurveCanvas, FourByteMarkerIsNoCurvePointAndZeroIsAValue) {
    // Channel 1 at 20 in a value range of −10 … 30 with one stored 4-byte marker: a grey segment
    // into the bottom edge, like a missing 2-byte sample, not a point at the height of 0.0001.
    RecordSet set = Level20(200, 0);
    set.minValue[0] = -10.0f;
    set.records[100].value[0] = kMissingValue4Byte;
    Use(set, 600, 300);
    state_.showScale = false;
    const int x = RecordX(100, 0, 200, 600);
    QImage image = Render(CurveDrawing::Reduced);
    int grey = 0;
    for (int column = RecordX(99, 0, 200, 600); column <= x; ++column)
        grey += Count(image, column, qRgb(200, 200, 200));
    EXPECT_GT(grey, 60);
    ExpectIdentical("a 4-byte marker");
    // A recomputed range: the marker never seeds or widens it.
    ShowRange(100, 200);
    EXPECT_FLOAT_EQ(state_.axisMin[0], 20.0f);
    EXPECT_FLOAT_EQ(state_.axisMax[0], 20.0f);
    ShowRange(99, 200);
    EXPECT_FLOAT_EQ(state_.axisMin[0], 20.0f);
    ExpectIdentical("range holding the marker");

    // A real 0.0 in its place is a point in the channel's colour and widens a recomputed range.
    set.records[100].value[0] = 0.0f;
    Use(set, 600, 300);
    state_.showScale = false;
    image = Render(CurveDrawing::Reduced);
    EXPECT_EQ(image.pixel(x, ValueScale(30.0f, -10.0f, 300).ClampedY(0.0f)), kColours[0].rgb());
    EXPECT_EQ(Count(image, x, qRgb(200, 200, 200)), 0);
    ShowRange(99, 200);
    EXPECT_FLOAT_EQ(state_.axisMin[0], 0.0f);
    ExpectIdentical("range holding a zero");
}

}  // namespace
}  // namespace velorin
