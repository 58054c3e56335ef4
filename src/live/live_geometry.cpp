#include "live/live_geometry.h"

#include <cmath>

namespace velorin {

namespace {
constexpr int kPointerTop = 21, kPointerBottom = 489;
constexpr int kLabelLeft = 30, kLabelTop = 5, kPairStep = 130, kRowStep = 25;
constexpr int kRowEndMargin = 50, kRowReach = 250;
constexpr int kSwatchWidth = 40;
constexpr int kBackgroundSwatchTop = 517, kBackgroundSwatchBottom = 527;
constexpr int kBackgroundHitTop = 514;
constexpr int kChannelSwatchTop = 532, kSwatchHeight = 10, kSwatchStep = 14;
constexpr int kBoxTop = 528, kBoxStep = 15, kCurveBoxDx = 47, kScaleBoxDx = 100;
constexpr int kCaptionDx = 48, kCaptionTop = 514;
constexpr int kTickStep = 64;

int LegendLeft(int plotWidth) { return plotWidth - kLiveLegendFromRight; }

// x lowered to the last sample's position, 4 × (sampleCount − 1) + 20.
int ClampToLastSample(int x, int sampleCount) {
    const int last = 4 * sampleCount + 16;
    return x > last ? last : x;
}
}  // namespace

int LivePlotWidth(int viewWidth) { return viewWidth - kLiveMarginRight; }

int LiveValueY(float v, float reference) {
    const float y = std::trunc(static_cast<float>(kLiveCentreY) - (v - reference) * kLivePixelsPerUnit);
    if (y < 0) return kLiveClipTop;
    if (y > kLivePlotHeight) return kLiveClipBottom;
    return static_cast<int>(y);
}

std::array<LiveScaleTick, kLiveScaleTicks> LiveScale(float reference) {
    std::array<LiveScaleTick, kLiveScaleTicks> ticks;
    constexpr float kUnitsPerStep = static_cast<float>(kTickStep) / kLivePixelsPerUnit;
    ticks[0] = {kLiveCentreY, reference};
    for (int j = 1; j <= 3; ++j) {
        ticks[2 * j - 1] = {kLiveCentreY - kTickStep * j, reference + kUnitsPerStep * j};
        ticks[2 * j] = {kLiveCentreY + kTickStep * j, reference - kUnitsPerStep * j};
    }
    return ticks;
}

int LiveCursorX(int pointerX, int pointerY, int plotWidth, int sampleCount) {
    if (!(pointerX > kLivePlotLeft && pointerX < 2 * plotWidth)) return -1;
    if (pointerY < kPointerTop || pointerY > kPointerBottom) return -1;
    const int x = ClampToLastSample(pointerX, sampleCount) - kLivePlotLeft;
    return x >= 0 ? x : -1;  // no sample yet: no cursor
}

int LivePointerSample(int pointerX, int pointerY, int plotWidth, int sampleCount) {
    if (sampleCount <= 0) return -1;
    if (!(pointerX > kLivePlotLeft && pointerX < plotWidth + kLivePlotLeft)) return -1;
    if (pointerY < kPointerTop || pointerY > kPointerBottom) return -1;
    return (ClampToLastSample(pointerX, sampleCount) - kLivePlotLeft) / kLivePixelsPerSample;
}

std::array<LivePoint, kChannelCount> LiveLabelPositions(int plotWidth) {
    std::array<LivePoint, kChannelCount> out;
    int x = kLabelLeft, y = kLabelTop;
    for (int k = 0; k < kChannelCount; ++k) {
        out[k] = {x, y};
        if (plotWidth - kRowEndMargin < x + kRowReach) {
            y += kRowStep;
            x = kLabelLeft;
        } else {
            x += kPairStep;
        }
    }
    return out;
}

int LiveMinimumViewWidth() {
    for (int width = 400;; width += 10) {
        const std::array<LivePoint, kChannelCount> at = LiveLabelPositions(LivePlotWidth(width));
        if (at[kChannelCount - 1].y - at[0].y <= kRowStep) return width;
    }
}

LiveRect LiveBackgroundSwatch(int plotWidth) {
    const int l = LegendLeft(plotWidth);
    return {l, kBackgroundSwatchTop, l + kSwatchWidth, kBackgroundSwatchBottom};
}

LiveRect LiveChannelSwatch(int plotWidth, int j) {
    const int l = LegendLeft(plotWidth);
    const int top = kChannelSwatchTop + kSwatchStep * j;
    return {l, top, l + kSwatchWidth, top + kSwatchHeight};
}

LivePoint LiveCurveBoxPosition(int plotWidth, int j) {
    return {LegendLeft(plotWidth) + kCurveBoxDx, kBoxTop + kBoxStep * j};
}

LivePoint LiveScaleBoxPosition(int plotWidth, int j) {
    return {LegendLeft(plotWidth) + kScaleBoxDx, kBoxTop + kBoxStep * j};
}

LivePoint LiveBackgroundCaption(int plotWidth) { return {LegendLeft(plotWidth) + kCaptionDx, kCaptionTop}; }

int LiveLegendHit(int x, int y, int plotWidth, const ChannelInfo (&channels)[kChannelCount]) {
    const int l = LegendLeft(plotWidth);
    const LiveRect background{l, kBackgroundHitTop, l + kSwatchWidth, kChannelSwatchTop};
    if (background.Contains(x, y)) return kLiveHitBackground;
    int j = 0;
    for (int k = 0; k < kChannelCount; ++k) {
        if (channels[k].channelEnabled == 0) continue;
        if (LiveChannelSwatch(plotWidth, j).Contains(x, y)) return k;
        ++j;
    }
    return kLiveHitNothing;
}

}  // namespace velorin
