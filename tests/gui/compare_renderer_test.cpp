// The comparison canvas: the reduced drawing gives the same pixels as drawing every segment
// (styles, missing samples, a file out of time order, zoomed windows), curves line up by clock
// time, and the arithmetic under it (time ↔ x, a file's sample at a time, value ranges).
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "analysis/compare_axis.h"
#include "analysis/compare_files.h"
#include "analysis/compare_renderer.h"
#include "gui/same_pixels.h"
#include "history/record_set.h"
#include "support/compare_data.h"
#include "view/curve_geometry.h"

namespace velorin::test {
namespace {

// Noisy values with steep edges, flat runs, and missing samples of both widths and NaN.
float Busy(int32_t i, int c) {
    if (c == 1 && i % 211 == 5) return kMissingValue2Byte;
    if (c == 1 && i % 307 == 7) return kMissingValue4Byte;
    if (c == 3 && i % 997 == 3) return std::numeric_limits<float>::quiet_NaN();
    const float noise = static_cast<float>((static_cast<uint32_t>(i) * 2654435761u >> 16) % 100) / 25.0f;
    switch (c) {
        case 0: return 5.0f + 3.0f * std::sin(static_cast<float>(i) / 90.0f) + noise;
        case 1: return (i / 40) % 2 ? 8.0f : -2.0f;
        case 2: return static_cast<float>((i / 13) % 7);
        default: return noise * 2.0f - 4.0f;
    }
}

class CompareDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        const int64_t t0 = Morning();
        // Three loggers started at different times with different intervals, and one whose clock
        // went back an hour halfway (its records are out of time order).
        files_.push_back(FileOf(MakeLoggerSet("A1", "cold room", t0, 60, 6000, {1, 2}, Busy), "a.kv"));
        files_.push_back(FileOf(MakeLoggerSet("B2", "", t0 + 3600 * 7, 37, 9000, {1, 3, 4}, Busy), "b.kv"));
        files_.push_back(FileOf(MakeLoggerSet("C3", "", t0 - 900, 300, 700, {2}, Busy), "c.kv"));
        RecordSet back = MakeLoggerSet("D4", "", t0, 120, 1500, {1, 4}, Busy);
        for (size_t i = 750; i < back.records.size(); ++i) back.records[i].hour = (back.records[i].hour + 23) % 24;
        files_.push_back(FileOf(back, "d.kv"));
        PrepareCompareFiles(files_);
        summaries_ = SummariseCompareFiles(files_);
        ASSERT_NE(files_[3].order[750], 750);
    }

    CompareScene Scene(int width, int height, TimeWindow window) const {
        CompareScene scene;
        scene.files = &files_;
        scene.summaries = &summaries_;
        const QColor colours[4] = {Qt::blue, Qt::red, QColor(0, 150, 0), QColor(230, 120, 0)};
        for (size_t f = 0; f < files_.size(); ++f) {
            for (int c = 0; c < 8; ++c) {
                if (files_[f].set.channelEnabled[c] != 1) continue;
                CompareCurve curve;
                curve.file = static_cast<int>(f);
                curve.channel = c;
                curve.colour = colours[f];
                curve.style = static_cast<LineStyle>(c % kLineStyles);
                scene.curves.push_back(curve);
            }
        }
        scene.window = window;
        for (int c = 0; c < 8; ++c) {
            const ValueRange r = ChannelRange(files_, summaries_, c, window);
            scene.axisMax[c] = r.high;
            scene.axisMin[c] = r.low;
        }
        scene.width = width;
        scene.height = height;
        scene.scaleChannel = 0;
        return scene;
    }

    static void ExpectIdentical(const CompareScene& scene, const std::string& what) {
        QImage every, reduced;
        RenderCompareCanvas(every, scene, CurveDrawing::EverySegment);
        RenderCompareCanvas(reduced, scene, CurveDrawing::Reduced);
        EXPECT_TRUE(SamePixels(every, reduced)) << what;
    }

    std::vector<CompareFile> files_;
    std::vector<CompareSummary> summaries_;
};

TEST_F(CompareDrawing, ReducedDrawingIsPixelIdenticalToEverySegment) {
    const TimeWindow whole = WholeWindow(files_);
    ExpectIdentical(Scene(1600, 700, whole), "whole, wide");
    ExpectIdentical(Scene(420, 260, whole), "whole, narrow");
    // One pixel column of curve area, and none (every record at the left edge).
    ExpectIdentical(Scene(61, 120, whole), "one column");
    ExpectIdentical(Scene(44, 90, whole), "no column");
    // Zoomed: many records per column, a few, fewer columns than records, and a window in
    // which one file has a single record and another none.
    const int64_t t0 = Morning();
    ExpectIdentical(Scene(900, 500, {t0 + 3600, t0 + 3600 * 20}), "hours");
    // Columns of many records in a window that ends well before the files do: the records just
    // after the window still lie before the last column's right edge.
    ExpectIdentical(Scene(200, 300, {t0 + 3600, t0 + 3600 * 30}), "hours, narrow");
    ExpectIdentical(Scene(900, 500, {t0 + 7200, t0 + 7200 + 1800}), "half an hour");
    ExpectIdentical(Scene(900, 500, {t0 - 900, t0 + 59}), "first minutes");
    // Hidden curves and every style drawn over each other.
    CompareScene hidden = Scene(1000, 400, whole);
    hidden.curves[1].visible = false;
    hidden.curves[4].visible = false;
    ExpectIdentical(hidden, "some hidden");
    CompareScene solid = Scene(1000, 400, whole);
    for (CompareCurve& c : solid.curves) c.style = LineStyle::Solid;
    ExpectIdentical(solid, "all solid");
}

TEST_F(CompareDrawing, CurvesLineUpByClockTimeAndChannelsKeepTheirLineStyle) {
    // Two flat loggers: one from 08:00, one from 10:00, both until 12:00.
    const int64_t t0 = Morning();
    std::vector<CompareFile> files;
    files.push_back(FileOf(MakeLoggerSet("A", "", t0, 60, 241, {1}, [](int32_t, int) { return 0.0f; }), "a"));
    files.push_back(
        FileOf(MakeLoggerSet("B", "", t0 + 7200, 600, 13, {1, 2}, [](int32_t, int) { return 10.0f; }), "b"));
    PrepareCompareFiles(files);
    const std::vector<CompareSummary> summaries = SummariseCompareFiles(files);
    CompareScene scene;
    scene.files = &files;
    scene.summaries = &summaries;
    scene.curves = {{0, 0, true, Qt::blue, LineStyle::Solid},
                    {1, 0, true, Qt::red, LineStyle::Solid},
                    {1, 1, true, QColor(0, 150, 0), LineStyle::Dashed}};
    scene.window = WholeWindow(files);
    scene.axisMax[0] = scene.axisMax[1] = 11.0f;
    scene.axisMin[0] = scene.axisMin[1] = -1.0f;
    scene.width = 460;  // 400 pixels for 4 hours: 100 pixels an hour
    scene.height = 245;
    QImage image;
    RenderCompareCanvas(image, scene);
    const ValueScale scale(11.0f, -1.0f, 245);
    const int top = scale.ClampedY(10.0f), bottom = scale.ClampedY(0.0f);
    // A lies on the bottom from x = 50 to 450; B (channel 1, red) starts at 10:00, x = 250.
    EXPECT_EQ(image.pixel(60, bottom), QColor(Qt::blue).rgb());
    EXPECT_EQ(image.pixel(449, bottom), QColor(Qt::blue).rgb());
    int firstRed = -1;
    for (int x = 0; x < image.width() && firstRed < 0; ++x) {
        if (image.pixel(x, top) == QColor(Qt::red).rgb()) firstRed = x;
    }
    EXPECT_EQ(firstRed, 250);
    // Channel 2 of B lies on the same line, dashed: it shows in about half of the columns.
    CompareScene dashed = scene;
    dashed.curves.erase(dashed.curves.begin() + 1);
    RenderCompareCanvas(image, dashed);
    int green = 0;
    for (int x = 250; x <= 450; ++x) green += image.pixel(x, top) == QColor(0, 150, 0).rgb();
    EXPECT_GT(green, 80);
    EXPECT_LT(green, 120);
}

TEST(CompareAxis, TimesMapToColumnsAndBack) {
    const TimeWindow w{1000, 1000 + 3600};
    EXPECT_EQ(TimeX(1000, w, 460), 50);
    EXPECT_EQ(TimeX(1000 + 3600, w, 460), 450);
    EXPECT_EQ(TimeX(1000 + 1800, w, 460), 250);
    EXPECT_EQ(TimeAtX(250, w, 460), 1000 + 1800);
    EXPECT_EQ(TimeAtX(0, w, 460), 1000);  // limited to the curve area
    EXPECT_EQ(TimeAtX(9999, w, 460), 4600);
    EXPECT_EQ(TimeX(77, {77, 77}, 460), 50);  // a window of one instant
    // A damaged file's times far outside any recording neither overflow nor wrap around.
    EXPECT_GT(TimeX(std::numeric_limits<int64_t>::max(), w, 460), 450);
    EXPECT_LT(TimeX(std::numeric_limits<int64_t>::min(), w, 460), 50);
}

TEST(CompareAxis, AFileHasASampleOnlyWhileItRecords) {
    const int64_t t0 = Morning();
    RecordSet set = MakeLoggerSet("A", "", t0, 60, 10, {1}, [](int32_t i, int) { return static_cast<float>(i); });
    set.records[4].value[0] = kMissingValue2Byte;
    // A pause: records 6.. come an hour later.
    for (size_t i = 6; i < 10; ++i) set.records[i].hour += 1;
    std::vector<CompareFile> files;
    files.push_back(FileOf(set, "a.kv"));
    PrepareCompareFiles(files);
    const CompareFile& file = files[0];
    EXPECT_EQ(SampleAtTime(file, 0, t0 - 1).kind, SampleKind::None);
    EXPECT_EQ(SampleAtTime(file, 0, t0).value, 0.0f);
    EXPECT_EQ(SampleAtTime(file, 0, t0 + 119).value, 1.0f);
    EXPECT_EQ(SampleAtTime(file, 0, t0 + 4 * 60 + 5).kind, SampleKind::Missing);
    EXPECT_EQ(SampleAtTime(file, 0, t0 + 5 * 60 + 59).value, 5.0f);
    EXPECT_EQ(SampleAtTime(file, 0, t0 + 6 * 60).kind, SampleKind::None);  // inside the pause
    EXPECT_EQ(SampleAtTime(file, 0, t0 + 3600 + 6 * 60 + 30).value, 6.0f);
    EXPECT_EQ(SampleAtTime(file, 0, t0 + 3600 + 9 * 60 + 59).value, 9.0f);
    EXPECT_EQ(SampleAtTime(file, 0, t0 + 3600 + 10 * 60).kind, SampleKind::None);  // after the last
    EXPECT_EQ(SampleAtTime(file, 1, t0).kind, SampleKind::None);                   // a channel not recorded
}

TEST(CompareAxis, ValueRangesTakeThePlainValuesOfTheShownRecordsOfEveryFile) {
    // 100 records a minute apart: file A 0 … 99 with a missing sample at the top, B −50 … 49 with
    // NaN at the bottom; blocks of 32 cover most of them.
    const int64_t t0 = Morning();
    std::vector<CompareFile> files;
    RecordSet a = MakeLoggerSet("A", "", t0, 60, 100, {1}, [](int32_t i, int) { return static_cast<float>(i); });
    a.records[99].value[0] = kMissingValue4Byte;
    RecordSet b = MakeLoggerSet("B", "", t0, 60, 100, {1, 2}, [](int32_t i, int) { return i - 50.0f; });
    b.records[0].value[0] = std::numeric_limits<float>::quiet_NaN();
    files.push_back(FileOf(a, "a.kv"));
    files.push_back(FileOf(b, "b.kv"));
    PrepareCompareFiles(files);
    const std::vector<CompareSummary> summaries = SummariseCompareFiles(files);
    ValueRange r = ChannelRange(files, summaries, 0, WholeWindow(files));
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.low, -49.0f);
    EXPECT_EQ(r.high, 98.0f);
    r = ChannelRange(files, summaries, 0, {t0 + 60 * 33, t0 + 60 * 70});
    EXPECT_EQ(r.low, 33.0f - 50.0f);
    EXPECT_EQ(r.high, 70.0f);
    r = ChannelRange(files, summaries, 1, {t0 + 60 * 10, t0 + 60 * 10});
    EXPECT_EQ(r.low, -40.0f);
    EXPECT_EQ(r.high, -40.0f);
    EXPECT_FALSE(ChannelRange(files, summaries, 2, WholeWindow(files)).found);
    EXPECT_FALSE(ChannelRange(files, summaries, 0, {t0 - 500, t0 - 1}).found);
}

TEST(CompareAxis, TickLabelsShowTheDateOnlyWhenTheWindowSpansDays) {
    const int64_t t0 = Morning();
    EXPECT_EQ(TickLabel(t0 + 61, {t0, t0 + 3600}), "08:01:01");
    EXPECT_EQ(TickLabel(t0 + 86400, {t0, t0 + 2 * 86400}), "06-03 08:00");
}

}  // namespace
}  // namespace velorin::test
