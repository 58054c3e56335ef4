// The window of samples, the pixel arithmetic of the plot and the texts made from a reading.
#include <gtest/gtest.h>

#include <memory>

#include "common/date_time.h"
#include "common/language.h"
#include "common/text_codec.h"
#include "live/live_geometry.h"
#include "live/live_samples.h"
#include "live/live_text_format.h"
#include "live/live_texts.h"

namespace velorin {
namespace {

constexpr int64_t kT0 = 1767322800;  // any time; samples below are 2 s apart

LiveSample Sample(float v) {
    LiveSample s;
    for (float& x : s.value) x = v;
    return s;
}

ChannelInfo Enabled(uint8_t quantity = 1, uint8_t unit = 1) {
    ChannelInfo c;
    c.channelEnabled = 1;
    c.quantityCode = quantity;
    c.unitCode = unit;
    c.channelType = 0x12;
    return c;
}

TEST(LiveWindowFilling, PlotOf780HoldsC195AndScrollsFromThe195thPoll) {
    const int c = LiveCapacity(780);
    EXPECT_EQ(c, 195);
    auto w = std::make_unique<LiveWindow>();
    for (int poll = 0; poll < 194; ++poll) w->Append(Sample(static_cast<float>(poll)), kT0 + 2 * poll, c);
    ASSERT_EQ(w->Count(), 194);  // samples 0..193 drawn
    EXPECT_EQ(w->At(193).value[0], 193.0f);
    EXPECT_EQ(w->TimeAt(0), kT0);

    w->Append(Sample(194.0f), kT0 + 2 * 194, c);  // the 195th poll moves everything one place left
    ASSERT_EQ(w->Count(), 194);
    EXPECT_EQ(w->At(0).value[0], 1.0f);
    EXPECT_EQ(w->At(193).value[0], 194.0f);
    EXPECT_EQ(w->TimeAt(0), kT0 + 2) << "the start is the oldest sample's own time";

    for (int poll = 195; poll < 400; ++poll) w->Append(Sample(static_cast<float>(poll)), kT0 + 2 * poll, c);
    EXPECT_EQ(w->Count(), 194);
    EXPECT_EQ(w->At(0).value[0], 206.0f);
    EXPECT_EQ(w->TimeAt(0), kT0 + 2 * 206);
}

TEST(LiveWindowFilling, WidePlotsKeepPollingAndNarrowedPlotsKeepTheNewest) {
    EXPECT_EQ(LiveCapacity(5000), kLiveBufferSamples);
    auto w = std::make_unique<LiveWindow>();
    for (int poll = 0; poll < 1500; ++poll) w->Append(Sample(static_cast<float>(poll)), kT0 + poll, LiveCapacity(5000));
    EXPECT_EQ(w->Count(), kLiveBufferSamples - 1);
    EXPECT_EQ(w->At(w->Count() - 1).value[0], 1499.0f) << "a wide view must not stop at the buffer's end";

    // The plot becomes narrower: C = 100. The next poll leaves the 99 newest samples.
    w->Append(Sample(1500.0f), kT0 + 1500, 100);
    EXPECT_EQ(w->Count(), 99);
    EXPECT_EQ(w->At(98).value[0], 1500.0f);
    EXPECT_EQ(w->At(0).value[0], 1402.0f);
    EXPECT_EQ(w->TimeAt(0), kT0 + 1402);

    EXPECT_EQ(LiveCapacity(4), 2) << "a tiny plot still shows the newest sample";
    w->Append(Sample(7.0f), kT0, LiveCapacity(4));
    EXPECT_EQ(w->Count(), 1);
    EXPECT_EQ(w->At(0).value[0], 7.0f);
}

TEST(LiveSeriesApply, FirstSampleIsTheReferenceOfChannels1To6) {
    ChannelInfo channels[kChannelCount];
    for (int k = 0; k < kChannelCount; ++k) channels[k] = Enabled();
    channels[1].channelEnabled = 0;
    auto series = std::make_unique<LiveSeries>();
    series->current.value[1] = 3.0f;
    series->Apply(Sample(25.0f), channels, kT0, 195);
    EXPECT_TRUE(series->polled);
    EXPECT_EQ(series->reference.value[0], 25.0f);
    EXPECT_EQ(series->reference.value[1], 3.0f) << "a disabled channel keeps its value";
    EXPECT_EQ(series->reference.value[6], 0.0f) << "channels 7 and 8 are never drawn";
    series->Apply(Sample(26.5f), channels, kT0 + 2, 195);
    EXPECT_EQ(series->reference.value[0], 25.0f);
    EXPECT_EQ(series->current.value[0], 26.5f);
    EXPECT_EQ(series->window.Count(), 2);
    EXPECT_EQ(series->lastPollTime, kT0 + 2);
}

TEST(LivePlotArithmetic, ValuesSitFourPixelsPerUnitAroundTheFirstSample) {
    EXPECT_EQ(LiveValueY(25.0f, 25.0f), 245);
    EXPECT_EQ(LiveValueY(26.5f, 25.0f), 239) << "1.5 units above: 6 pixels above the centre line";
    EXPECT_EQ(LiveValueY(24.9f, 25.0f), 245) << "trunc, not round";
    EXPECT_EQ(LiveValueY(25.0f + 61.25f, 25.0f), 0);
    EXPECT_EQ(LiveValueY(25.0f + 62.0f, 25.0f), kLiveClipTop);
    EXPECT_EQ(LiveValueY(25.0f - 61.25f, 25.0f), 490);
    EXPECT_EQ(LiveValueY(25.0f - 62.0f, 25.0f), kLiveClipBottom);
    EXPECT_EQ(LiveValueY(kLiveMissingValue, 25.0f), kLiveClipBottom) << "a missing sample sits at the bottom";
    EXPECT_EQ(LiveSampleX(194), 776);
}

TEST(LivePlotArithmetic, ScaleLabelsAgreeWithTheCurve) {
    const auto ticks = LiveScale(20.0f);
    EXPECT_EQ(ticks[0].y, 245);
    EXPECT_EQ(ticks[0].value, 20.0f);
    EXPECT_EQ(ticks[1].y, 181);
    EXPECT_EQ(ticks[1].value, 36.0f);
    EXPECT_EQ(ticks[6].y, 437);
    EXPECT_EQ(ticks[6].value, -28.0f);
    // A curve point drawn at a tick's height has the tick's value.
    for (const LiveScaleTick& t : ticks) EXPECT_EQ(LiveValueY(t.value, 20.0f), t.y) << t.value;
    EXPECT_EQ(LiveScaleX(1), 50);
    EXPECT_EQ(LiveScaleX(6), 300);
}

TEST(LivePointer, SelectsTheSampleUnderThePointerAndItsOwnTime) {
    const int width = 780;
    auto w = std::make_unique<LiveWindow>();
    for (int i = 0; i < 50; ++i) w->Append(Sample(static_cast<float>(i)), kT0 + 2 * i, LiveCapacity(width));
    const int d = LivePointerSample(20 + 4 * 10, 200, width, w->Count());
    EXPECT_EQ(d, 10);
    EXPECT_EQ(w->TimeAt(d), w->TimeAt(0) + 20);
    EXPECT_EQ(LivePointerSample(20 + 4 * 10 + 3, 200, width, w->Count()), 10);
    EXPECT_EQ(LivePointerSample(21, 200, width, w->Count()), 0);
    EXPECT_EQ(LivePointerSample(700, 200, width, w->Count()), 49) << "beyond the newest: the newest";
    EXPECT_EQ(LivePointerSample(20, 200, width, w->Count()), -1);
    EXPECT_EQ(LivePointerSample(width + 20, 200, width, w->Count()), -1);
    EXPECT_EQ(LivePointerSample(100, 20, width, w->Count()), -1);
    EXPECT_EQ(LivePointerSample(100, 21, width, w->Count()), 20);
    EXPECT_EQ(LivePointerSample(100, 490, width, w->Count()), -1);
    EXPECT_EQ(LivePointerSample(100, 200, width, 0), -1) << "nothing to read before the first poll";

    EXPECT_EQ(LiveCursorX(60, 200, width, 50), 40);
    EXPECT_EQ(LiveCursorX(1000, 200, width, 50), 4 * 49) << "lowered to the newest sample";
    EXPECT_EQ(LiveCursorX(2 * width, 200, width, 50), -1);
    EXPECT_EQ(LiveCursorX(60, 500, width, 50), -1);
    EXPECT_EQ(LiveCursorX(60, 200, width, 0), -1) << "no cursor before the first sample";
}

TEST(LiveLayout, StaticsWrapBeforeThePlotEdgeAndLegendHitsDoNotOverlap) {
    const auto p = LiveLabelPositions(780);
    const int expected[8][2] = {{30, 5}, {160, 5}, {290, 5}, {420, 5}, {550, 5}, {30, 30}, {160, 30}, {290, 30}};
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(p[k].x, expected[k][0]) << k;
        EXPECT_EQ(p[k].y, expected[k][1]) << k;
    }
    const auto wide = LiveLabelPositions(1280);
    EXPECT_EQ(wide[7].x, 30 + 7 * 130);
    EXPECT_EQ(wide[7].y, 5);

    ChannelInfo channels[kChannelCount];
    channels[0] = Enabled();
    channels[2] = Enabled();
    channels[6] = Enabled();
    const int l = 780 - 130;
    EXPECT_EQ(LiveLegendHit(l + 20, 522, 780, channels), kLiveHitBackground);
    EXPECT_EQ(LiveLegendHit(l + 20, 537, 780, channels), 0) << "the first swatch is only the first channel";
    EXPECT_EQ(LiveLegendHit(l + 20, 551, 780, channels), 2);
    EXPECT_EQ(LiveLegendHit(l + 20, 565, 780, channels), 6);
    EXPECT_EQ(LiveLegendHit(l + 20, 579, 780, channels), kLiveHitNothing);
    EXPECT_EQ(LiveLegendHit(l, 537, 780, channels), kLiveHitNothing);
    EXPECT_EQ(LiveLegendHit(l + 40, 537, 780, channels), kLiveHitNothing);
    const LiveRect swatch = LiveChannelSwatch(780, 2);
    EXPECT_EQ(swatch.top, 560);
    EXPECT_EQ(swatch.bottom, 570);
    EXPECT_EQ(LiveCurveBoxPosition(780, 2).y, 558);
    EXPECT_EQ(LiveScaleBoxPosition(780, 2).x, l + 100);
}

TEST(LiveTextsMade, ListRowsTimesAndReadout) {
    ChannelInfo channels[kChannelCount];
    channels[0] = Enabled(1, 1);
    channels[2] = Enabled(7, 33);  // AC voltage counts its units from 32
    channels[3] = Enabled(9, 5);   // ... so a code below 32 names nothing
    channels[6] = Enabled();       // channels 7 and 8 have no row
    channels[7] = Enabled();
    const LiveTexts& english = LiveTextsFor(Language::English);
    const std::vector<LiveListRow> rows = LiveListRows(channels, english);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].channel, 0);
    EXPECT_EQ(GbkToUtf8(rows[0].name), "通道1");
    EXPECT_EQ(GbkToUtf8(rows[0].quantity), "温度") << "the quantity is named in Chinese in both languages";
    EXPECT_EQ(GbkToUtf8(rows[0].unit), "℃");
    EXPECT_EQ(GbkToUtf8(rows[1].name), "通道3");
    EXPECT_EQ(GbkToUtf8(rows[1].quantity), "电压AC");
    EXPECT_EQ(GbkToUtf8(rows[1].unit), "℃");
    EXPECT_EQ(rows[2].unit, "");

    const int64_t t = CDealTime(2026, 1, 2, 3, 4, 5).GetTime();
    EXPECT_EQ(FormatLiveTime(t), "2026-01-02 03:04:05");
    EXPECT_EQ(GbkToUtf8(FormatReadoutTime(t, english)), "2026年1月2日03:04:05");
    EXPECT_EQ(FormatReadoutTime(t, english), FormatReadoutTime(t, LiveTextsFor(Language::Chinese)));
    EXPECT_NE(LiveTextsFor(Language::English).curveBox, LiveTextsFor(LanguageFromName("english")).curveBox)
        << "only \"English\" is English";
}

}  // namespace
}  // namespace velorin
