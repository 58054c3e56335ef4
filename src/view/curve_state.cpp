#include "view/curve_state.h"

#include <algorithm>
#include <cmath>

#include "history/record_set.h"
#include "view/curve_geometry.h"
#include "view/record_times.h"

namespace velorin {

CurveState OpenedCurveState(const RecordSet& set) {
    CurveState s;
    s.recordCount = UsableRecordCount(set);
    s.firstIndex = 0;
    s.endIndex = s.recordCount;
    for (int c = 0; c < kRecordSetChannels; ++c) {
        s.axisMax[c] = set.maxValue[c];
        s.axisMin[c] = set.minValue[c];
        s.channelEnabled[c] = set.channelEnabled[c] == 1 ? 1 : 0;
        s.channelVisible[c] = 1;
    }
    return s;
}

bool BeginDrawing(CurveState& s) {
    const int32_t shown = s.endIndex - s.firstIndex;
    s.pixelsPerRecord =
        shown > 0 ? static_cast<float>(s.plotWidth) / static_cast<float>(shown) : static_cast<float>(s.plotWidth);
    s.panEnabled = s.firstIndex != 0;
    if (!s.panEnabled) s.panMode = false;
    return s.recomputeRange;
}

void EndDrawing(CurveState& s) {
    s.recomputeRange = false;
    s.firstDrawPending = false;
}

bool InPlot(const CurveState& s, int x, int y) {
    return x > kCanvasViewX && x < s.plotWidth + kCanvasViewX && y > s.plotTop && y < s.plotTop + s.plotHeight;
}

void ArmZoom(CurveState& s) {
    s.zoomArmed = true;
    s.amplificationEnabled = false;
    s.returnEnabled = true;
}

void ReturnToWholeSet(CurveState& s) {
    s.firstIndex = 0;
    s.endIndex = s.recordCount;
    s.recomputeRange = true;
    s.returnEnabled = false;
    s.amplificationEnabled = true;
    s.zoomArmed = false;
    s.dragging = false;
    s.compressionLevel = 2;
    s.panEnabled = false;
    s.panMode = false;
}

void ChangeCompression(CurveState& s, int delta) {
    s.compressionLevel += delta;
    if (s.compressionLevel < 2) s.compressionLevel = 2;
}

bool PressLeft(CurveState& s, int x, int y) {
    if (!s.zoomArmed || !InPlot(s, x, y)) return false;
    s.pressY = static_cast<float>(y);
    s.pressX = static_cast<float>(std::max(x - kCanvasViewX, 0));
    s.panLastX = s.pressX;
    s.dragging = true;
    return true;
}

bool ReleaseLeft(CurveState& s, int x, int y) {
    if (!s.zoomArmed) return false;
    const bool wasDragging = s.dragging;
    s.dragging = false;
    if (!wasDragging || s.panMode || !InPlot(s, x, y)) return false;
    int x0 = static_cast<int>(s.pressX);
    int x1 = std::min(x - kCanvasViewX, s.plotWidth);
    if (x0 > x1) std::swap(x0, x1);
    if (x1 - x0 <= 3) return false;
    const PointedRecord left = RecordUnderCanvasX(x0, s.plotWidth, s.firstIndex, s.endIndex, s.recordCount);
    const PointedRecord right = RecordUnderCanvasX(x1, s.plotWidth, s.firstIndex, s.endIndex, s.recordCount);
    if (left.index < 0 || right.index < 0) return false;
    const int32_t newFirst = left.index;
    const int32_t newEnd = std::min(right.index + 1, s.recordCount);
    if (newEnd - newFirst <= 1) return false;
    s.firstIndex = newFirst;
    s.endIndex = newEnd;
    s.recomputeRange = true;
    s.returnEnabled = true;
    return true;
}

bool PanMove(CurveState& s, int x, int y) {
    if (!s.panMode || !s.dragging || !InPlot(s, x, y)) return false;
    const float canvasX = static_cast<float>(x - kCanvasViewX);
    if (canvasX == s.panLastX || s.pixelsPerRecord <= 0) return false;
    const float step = 10.0f / s.pixelsPerRecord;
    bool moved = false;
    if (canvasX > s.panLastX) {
        if (s.firstIndex > 0) {
            if (step < 1) {
                --s.firstIndex;
                --s.endIndex;
            } else {
                s.firstIndex = static_cast<int32_t>(std::trunc(static_cast<float>(s.firstIndex) - step));
                s.endIndex = static_cast<int32_t>(std::trunc(static_cast<float>(s.endIndex) - step));
            }
            if (s.firstIndex < 0) s.firstIndex = 0;
            moved = true;
        }
    } else if (s.endIndex < s.recordCount) {
        if (step < 1) {
            ++s.firstIndex;
            ++s.endIndex;
        } else {
            s.firstIndex = static_cast<int32_t>(std::trunc(static_cast<float>(s.firstIndex) + step));
            s.endIndex = static_cast<int32_t>(std::trunc(static_cast<float>(s.endIndex) + step));
        }
        if (s.endIndex > s.recordCount) s.endIndex = s.recordCount;
        moved = true;
    }
    s.panLastX = canvasX;
    return moved;
}

void ApplyTimeRange(CurveState& s, const RecordTimes& times, int64_t start, int64_t end) {
    s.recomputeRange = true;
    s.returnEnabled = true;
    const int32_t count = std::min(times.Count(), s.recordCount);
    if (count <= 0) return;
    // A start that matches no record keeps firstIndex, an end that matches none keeps endIndex:
    // a range wholly before or after the data leaves the shown range as it was. The end is
    // looked for only once a start was found.
    int32_t first = s.firstIndex;
    int32_t last = s.endIndex;
    bool startFound = false;
    bool endFound = false;
    for (int32_t i = 1; i < count && !endFound; ++i) {
        const int64_t before = times.Seconds(i - 1);
        const int64_t at = times.Seconds(i);
        if (!startFound && (before == start || (before < start && start < at))) {
            first = i - 1;
            startFound = true;
        }
        if (startFound && (before == end || (before < end && end <= at))) {
            last = i + 1;
            endFound = true;
        }
    }
    // The search's pairs never name the last record as a start; a start at its very time
    // still matches it.
    if (!startFound && start == times.Seconds(count - 1)) {
        first = count - 1;
        startFound = true;
        if (end >= start) last = count;
    }
    if (last > count) last = count;
    // A range that would leave no record shown (an end before the start) keeps the old one.
    if (last - first < 1 || first < 0) return;
    s.firstIndex = first;
    s.endIndex = last;
}

}  // namespace velorin
