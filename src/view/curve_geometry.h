// The arithmetic of the curve plot: where a record and a value land on the canvas, the time
// axis, gap markers, the value range of the shown records and the record under the pointer.
//
// Canvas coordinates have their origin at the canvas's top-left corner; the canvas is W × H
// pixels. The curve area spans x = 50 … W − 10 and y = 20 (axisMax) … H − 25 (axisMin). The
// canvas sits in the view at x = 10, y = top (20 × dpiScale), so view x = canvas x + 10.
// Plain functions over plain values: usable on any thread.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "history/record_set.h"

namespace velorin {

constexpr int kCurveLeft = 50;          // first x of the curve area
constexpr int kCurveRightMargin = 10;   // the curve area ends at W − 10
constexpr int kCurveTop = 20;           // y of axisMax
constexpr int kCurveBottomMargin = 25;  // y of axisMin is H − 25
constexpr int kCanvasViewX = 10;        // the canvas's left edge in view coordinates

// The value range of a channel's shown records while it is recomputed: it starts at the first
// record's value (−10000 … 10000 reversed when that is a missing sample or not a number, so the
// first real value replaces both) and is widened by every value that is no missing sample; a
// value that is not a number never replaces an end (comparisons with it are false), and as the
// start it would have kept both ends not a number whatever followed.
struct AxisRange {
    explicit AxisRange(float start) {
        if (IsMissingSample(start) || std::isnan(start)) {
            high = -10000.0f;
            low = 10000.0f;
        } else {
            high = low = start;
        }
    }
    void Widen(float v) {
        if (IsMissingSample(v)) return;
        if (v > high) high = v;
        if (v < low) low = v;
    }
    // The extremes of values that are no missing samples (±infinity reversed when there are none).
    void WidenBy(float blockLow, float blockHigh) {
        if (blockHigh > high) high = blockHigh;
        if (blockLow < low) low = blockLow;
    }
    float high, low;
};

// x of record `index` while first … end − 1 are shown: 50 + (index − first) × (W − 60) ÷ (n − 1),
// truncated. With one record shown (n − 1 = 0) the record sits at x = 50.
int RecordX(int64_t index, int32_t first, int32_t end, int width);

// Value → canvas y for one channel: f = (H − 45) ÷ (axisMax − axisMin), or H − 45 when the two
// are equal (a flat channel then lies on the bottom line).
class ValueScale {
public:
    ValueScale(float axisMax, float axisMin, int height);
    // The exact y, not limited; NaN for a NaN value or range.
    float Y(float value) const { return static_cast<float>(bottom_) - (value - axisMin_) * factor_; }
    // y limited to the curve area (20 … H − 25) and truncated; NaN lies at the bottom.
    int ClampedY(float value) const {
        const float y = Y(value);
        if (y != y) return bottom_;
        if (y < kCurveTop) return kCurveTop;
        if (y > bottom_) return bottom_;
        return static_cast<int>(y);
    }
    // y truncated but not limited, except to ±100000 so no value overflows an int.
    int UnlimitedY(float value) const;
    // The curve area's lowest row, where NaN lies.
    int Bottom() const { return bottom_; }

private:
    float axisMin_;
    float factor_;
    int bottom_;
};

// A gap marker goes before a record that follows its predecessor more than 20 seconds later
// and not exactly one record interval later.
inline bool IsGap(int64_t deltaSeconds, int32_t intervalSeconds) {
    return deltaSeconds > 20 && deltaSeconds != intervalSeconds;
}

// 8 divisions on a canvas of 500 pixels and more, 5 below.
inline int TimeDivisions(int width) { return width >= 500 ? 8 : 5; }

struct TimeTick {
    int x = 0;           // canvas x of the tick
    int32_t record = 0;  // record whose time of day labels it
};
// Ticks j = 0 … d: x_j = 50 + j × (W − 60) ÷ d, r_j = first + j × (n − 1) ÷ d (integer
// division), r_j kept inside 0 … recordCount − 1. Empty when there is no record.
std::vector<TimeTick> TimeTicks(int width, int32_t first, int32_t end, int32_t recordCount);
// Left edge of label j of d with its tick at `tickX`: the first starts 5 pixels right of its
// tick, the last ends 5 pixels left of it, the others are centred; every label then stays
// within 50 … W − 10.
int TimeLabelLeft(int j, int divisions, int tickX, int labelWidth, int width);
// Which of the time labels (left edges and widths, j = 0 … d) are drawn so that no two touch:
// label 0 always, the last one unless it would meet label 0, then each label between from left
// to right when it keeps clear of the labels drawn on both sides. The range texts under the
// plot show the first and last record in full, so a left-out label loses nothing.
std::vector<bool> TimeLabelsShown(const std::vector<int>& lefts, const std::vector<int>& widths);

// "%d-%.2d-%.2d %.2d:%.2d:%.2d" with the full year.
std::string RecordTimeText(const SampleRecord& record);
// The part after the blank: "%.2d:%.2d:%.2d".
std::string RecordTimeOfDayText(const SampleRecord& record);

// axisMax/axisMin of every enabled channel from records first … end − 1 (AxisRange over each
// record). Channels not enabled keep their values. Nothing changes without records. Reads every
// record; CurveSummary's overload reads whole blocks from the summary.
void RecomputeAxisRange(const RecordSet& set, int32_t first, int32_t end, float axisMax[8], float axisMin[8]);

// The channel (0-based) that carries the value scale: the first one enabled and visible; −1.
int ScaledChannel(const int32_t enabled[8], const int32_t visible[8]);

// Tick m (0 … 4) of the value scale: y = 20 + m × (H − 45) ÷ 4 and the value it stands for.
int ScaleTickY(int m, int height);
float ScaleTickValue(int m, float axisMax, float axisMin);

// The record under canvas x `canvasX`: x limited to 50 … W − 10 (also the x of the cursor
// line), then first + trunc((x − 50) ÷ step) with step = (W − 60) ÷ (n − 1); kept inside
// first … end − 1 and below recordCount. −1 when no record is shown.
struct PointedRecord {
    int32_t index = -1;
    int cursorX = 0;  // canvas x of the cursor line
};
PointedRecord RecordUnderCanvasX(int canvasX, int width, int32_t first, int32_t end, int32_t recordCount);

}  // namespace velorin
