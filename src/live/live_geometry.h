// The pixel arithmetic of the live view, apart from any drawing: where a value sits on the
// curve, the scale ticks and their labels, the cursor and the sample under the pointer, the
// layout of the value statics and the legend. Pure functions; view coordinates unless a name
// says "canvas" (the plot's own coordinates, whose origin is at view (20, 20)).
#pragma once

#include <array>
#include <cstdint>

#include "device/device_info.h"
#include "live/live_samples.h"

namespace velorin {

constexpr int kLivePlotLeft = 20;  // the plot's position in the view
constexpr int kLivePlotTop = 20;
constexpr int kLivePlotHeight = 490;   // canvas height
constexpr int kLiveCentreY = 245;      // the reference value's line
constexpr int kLivePixelsPerUnit = 4;  // one unit of a channel's value
constexpr int kLiveClipTop = -5;       // where values above the canvas are drawn
constexpr int kLiveClipBottom = 500;   // where values below the canvas (and missing ones) are drawn
constexpr int kLiveMarginRight = 20;   // plot width = view width − this
constexpr int kLiveLegendFromRight = 130;

struct LivePoint {
    int x = 0;
    int y = 0;
};
struct LiveRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Contains(int x, int y) const { return x > left && x < right && y > top && y < bottom; }
};

// Plot width of a view whose client area is `viewWidth` pixels wide.
int LivePlotWidth(int viewWidth);

// Canvas y of value `v` on a curve centred on `reference`: trunc(245 − (v − r) × 4), drawn at
// −5 when above the canvas and at 500 when below it.
int LiveValueY(float v, float reference);
// Canvas x of sample s.
inline int LiveSampleX(int s) { return 4 * s; }

// A tick of a channel's scale: 10 pixels to the right of the scale line at canvas y, labelled
// with the value the curve has at that height (64 pixels are 16 units).
struct LiveScaleTick {
    int y = 0;
    float value = 0;
};
constexpr int kLiveScaleTicks = 7;  // the centre and three on either side
std::array<LiveScaleTick, kLiveScaleTicks> LiveScale(float reference);
// Canvas x of the scale line of channel `channel` (1-based).
inline int LiveScaleX(int channel) { return 50 + 50 * (channel - 1); }

// Canvas x of the cursor for a pointer at view (x, y), or −1 when no cursor is drawn: the pointer
// must lie in 20 < x < 2 × plot width and 21 ≤ y ≤ 489; x is lowered to the last sample's x.
int LiveCursorX(int pointerX, int pointerY, int plotWidth, int sampleCount);

// The sample under a pointer at view (x, y), or −1: the pointer must lie over the plot
// (20 < x < plot width + 20, 21 ≤ y ≤ 489) and the window must hold a sample; x is lowered to the
// last sample's x, then d = (x − 20) ÷ 4.
int LivePointerSample(int pointerX, int pointerY, int plotWidth, int sampleCount);

// Top-left corners of the eight label/value pairs: label 60 × 20 at the point, value 55 × 20 at
// x + 65. Rows of pairs 130 pixels apart; a pair whose successor would reach past the plot
// width − 50 ends its row (the next row 25 pixels lower).
std::array<LivePoint, kChannelCount> LiveLabelPositions(int plotWidth);
constexpr int kLiveLabelWidth = 60, kLiveValueWidth = 55, kLiveStaticHeight = 20, kLiveValueDx = 65;

// The smallest view the live view lays out without overlaps: the value statics in at most two
// rows above the plot, and the list below the plot (top at 520) with room for a few lines. A
// smaller window shows the view in a scroll area instead of squeezing it.
int LiveMinimumViewWidth();
constexpr int kLiveMinimumViewHeight = 640;

// The legend at L = plot width − 130: the background swatch and one swatch per enabled channel
// (j counts the enabled channels from 0), the two check boxes beside each of them.
LiveRect LiveBackgroundSwatch(int plotWidth);
LiveRect LiveChannelSwatch(int plotWidth, int j);
LivePoint LiveCurveBoxPosition(int plotWidth, int j);
LivePoint LiveScaleBoxPosition(int plotWidth, int j);
LivePoint LiveBackgroundCaption(int plotWidth);

// What a right click at view (x, y) picks in the legend: −1 the background, 0..7 the channel,
// −2 nothing. The background area ends where the first channel's swatch begins.
constexpr int kLiveHitBackground = -1;
constexpr int kLiveHitNothing = -2;
int LiveLegendHit(int x, int y, int plotWidth, const ChannelInfo (&channels)[kChannelCount]);

}  // namespace velorin
