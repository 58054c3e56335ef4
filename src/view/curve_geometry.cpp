#include "view/curve_geometry.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "history/record_set.h"

namespace velorin {

int RecordX(int64_t index, int32_t first, int32_t end, int width) {
    const int64_t gaps = static_cast<int64_t>(end) - first - 1;
    if (gaps <= 0) return kCurveLeft;
    const double offset = static_cast<double>(index - first) * (width - 60) / static_cast<double>(gaps);
    return kCurveLeft + static_cast<int>(offset);
}

ValueScale::ValueScale(float axisMax, float axisMin, int height)
    : axisMin_(axisMin), bottom_(height - kCurveBottomMargin) {
    const float span = axisMax - axisMin;
    const float area = static_cast<float>(height - 45);
    factor_ = span == 0.0f ? area : area / span;
}

int ValueScale::UnlimitedY(float value) const {
    const float y = Y(value);
    if (std::isnan(y)) return bottom_;
    return static_cast<int>(std::clamp(y, -100000.0f, 100000.0f));
}

std::vector<TimeTick> TimeTicks(int width, int32_t first, int32_t end, int32_t recordCount) {
    std::vector<TimeTick> ticks;
    if (recordCount <= 0) return ticks;
    const int d = TimeDivisions(width);
    const int64_t span = static_cast<int64_t>(end) - first - 1;
    for (int j = 0; j <= d; ++j) {
        TimeTick t;
        t.x = kCurveLeft + j * (width - 60) / d;
        int64_t r = first + j * span / d;
        if (r < 0) r = 0;
        if (r >= recordCount) r = recordCount - 1;
        t.record = static_cast<int32_t>(r);
        ticks.push_back(t);
    }
    return ticks;
}

int TimeLabelLeft(int j, int divisions, int tickX, int labelWidth, int width) {
    int left;
    if (j == 0)
        left = tickX + 5;
    else if (j == divisions)
        left = tickX - 5 - labelWidth;
    else
        left = tickX - labelWidth / 2;
    if (left < kCurveLeft) left = kCurveLeft;
    const int right = width - kCurveRightMargin;
    if (left + labelWidth > right) left = right - labelWidth;
    return left;
}

std::vector<bool> TimeLabelsShown(const std::vector<int>& lefts, const std::vector<int>& widths) {
    const size_t n = std::min(lefts.size(), widths.size());
    std::vector<bool> shown(n, false);
    if (n == 0) return shown;
    // Two labels keep at least this many pixels between them, so they never read as one.
    constexpr int kGap = 4;
    auto clear = [&](size_t a, size_t b) {
        const size_t l = lefts[a] <= lefts[b] ? a : b, r = l == a ? b : a;
        return lefts[l] + widths[l] + kGap <= lefts[r];
    };
    shown[0] = true;
    const size_t last = n - 1;
    if (last > 0 && clear(0, last)) shown[last] = true;
    size_t previous = 0;
    for (size_t j = 1; j < last; ++j) {
        if (!clear(previous, j) || (shown[last] && !clear(j, last))) continue;
        shown[j] = true;
        previous = j;
    }
    return shown;
}

std::string RecordTimeText(const SampleRecord& r) {
    return FormatC("%d-%.2d-%.2d %.2d:%.2d:%.2d", r.year + 2000, r.month, r.day, r.hour, r.minute, r.second);
}

std::string RecordTimeOfDayText(const SampleRecord& r) { return FormatC("%.2d:%.2d:%.2d", r.hour, r.minute, r.second); }

void RecomputeAxisRange(const RecordSet& set, int32_t first, int32_t end, float axisMax[8], float axisMin[8]) {
    const int32_t count = UsableRecordCount(set);
    first = std::max(first, 0);
    end = std::min(end, count);
    if (first >= end) return;
    for (int c = 0; c < kRecordSetChannels; ++c) {
        if (set.channelEnabled[c] != 1) continue;
        AxisRange range(set.records[static_cast<size_t>(first)].value[c]);
        for (int32_t i = first; i < end; ++i) range.Widen(set.records[static_cast<size_t>(i)].value[c]);
        axisMax[c] = range.high;
        axisMin[c] = range.low;
    }
}

int ScaledChannel(const int32_t enabled[8], const int32_t visible[8]) {
    for (int c = 0; c < 8; ++c) {
        if (enabled[c] != 0 && visible[c] != 0) return c;
    }
    return -1;
}

int ScaleTickY(int m, int height) { return kCurveTop + m * (height - 45) / 4; }

float ScaleTickValue(int m, float axisMax, float axisMin) {
    return axisMin + (axisMax - axisMin) * static_cast<float>(4 - m) / 4.0f;
}

PointedRecord RecordUnderCanvasX(int canvasX, int width, int32_t first, int32_t end, int32_t recordCount) {
    PointedRecord p;
    p.cursorX = std::clamp(canvasX, kCurveLeft, std::max(kCurveLeft, width - kCurveRightMargin));
    const int32_t last = std::min(end, recordCount) - 1;
    if (last < first || first < 0) return p;
    // The last record drawn at or left of the cursor line, so the line always crosses the
    // segment that starts at the named record (or the record itself).
    const int64_t gaps = static_cast<int64_t>(end) - first - 1;
    int64_t i = first;
    if (gaps > 0 && width > 60) {
        const double step = static_cast<double>(width - 60) / static_cast<double>(gaps);
        i = first + static_cast<int64_t>((p.cursorX - kCurveLeft) / step);
        while (i + 1 <= last && RecordX(i + 1, first, end, width) <= p.cursorX) ++i;
        while (i > first && RecordX(i, first, end, width) > p.cursorX) --i;
    }
    if (i > last) i = last;
    if (i < first) i = first;
    p.index = static_cast<int32_t>(i);
    return p;
}

}  // namespace velorin
