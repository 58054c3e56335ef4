#include "analysis/compare_renderer.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <string>

#include "analysis/compare_axis.h"
#include "analysis/compare_files.h"
#include "history/record_set.h"
#include "view/curve_geometry.h"

namespace velorin {

namespace {

// Value → canvas y of one curve: the channel's scale, limited to the curve area; a sample that
// is not a plain value lies on the bottom line.
class CurveY {
public:
    CurveY(const CompareScene& scene, int channel)
        : scale_(scene.axisMax[channel], scene.axisMin[channel], scene.height),
          bottom_(scene.height - kCurveBottomMargin) {}
    int operator()(float v) const { return v != v || IsMissingSample(v) ? bottom_ : scale_.ClampedY(v); }

private:
    ValueScale scale_;
    int bottom_;
};

bool Shown(const CompareScene& scene, const CompareCurve& c) {
    if (!c.visible || c.file < 0 || c.file >= static_cast<int>(scene.files->size())) return false;
    if (c.channel < 0 || c.channel >= kRecordSetChannels) return false;
    const CompareFile& f = (*scene.files)[static_cast<size_t>(c.file)];
    return f.set.channelEnabled[c.channel] == 1 && !f.times.empty();
}

// The reference: one line per record in the window, from the previous one.
void DrawEverySegment(QImage& canvas, const CompareScene& scene, const CompareCurve& curve) {
    const CompareFile& f = (*scene.files)[static_cast<size_t>(curve.file)];
    const CurveY y(scene, curve.channel);
    PixelPen pen(canvas);
    pen.SetStyle(curve.style);
    bool started = false;
    int lastX = 0, lastY = 0;
    for (size_t k = 0; k < f.times.size(); ++k) {
        if (f.times[k] < scene.window.from || f.times[k] > scene.window.to) continue;
        const float v = ValueAt(f, k, curve.channel);
        const int x = TimeX(f.times[k], scene.window, scene.width);
        const QRgb colour = IrregularValue(v) ? kMissingGrey : curve.colour.rgb();
        if (!started)
            pen.Line(x, y(v), x, y(v), colour);  // a lone record shows as a point
        else
            pen.Line(lastX, lastY, x, y(v), colour);
        started = true;
        lastX = x;
        lastY = y(v);
    }
}

// The smallest time drawn right of column x: TimeX(t) > x exactly when t is at least this.
int64_t FirstTimeRightOf(int x, const TimeWindow& window, int width) {
    const __int128 span = static_cast<__int128>(window.to) - window.from;
    const int64_t pixels = std::max(width - kCurveLeft - kCurveRightMargin, 0);
    if (span <= 0 || pixels <= 0) return INT64_MAX;
    const __int128 num = static_cast<__int128>(x + 1 - kCurveLeft) * span;  // ≥ 0: x ≥ 50 here
    __int128 q = num / pixels;
    if (num % pixels != 0) ++q;  // rounded up
    const __int128 t = window.from + q;
    return t > INT64_MAX ? INT64_MAX : static_cast<int64_t>(t);
}

// The canvas columns of times inside the window without a division per column: the first time
// right of each column, computed once per drawing for all curves.
class ColumnTimes {
public:
    ColumnTimes(const TimeWindow& window, int width) : window_(window), width_(width) {
        for (int x = kCurveLeft; x < width; ++x) right_.push_back(FirstTimeRightOf(x, window, width));
    }
    // The first time drawn right of column x ≥ kCurveLeft.
    int64_t RightOf(int x) const {
        const size_t i = static_cast<size_t>(x - kCurveLeft);
        return i < right_.size() ? right_[i] : FirstTimeRightOf(x, window_, width_);
    }
    // TimeX(t) for a time right of column `after` (t ≥ RightOf(after)): the first column whose
    // right limit lies beyond t.
    int XAfter(int after, int64_t t) const {
        size_t i = static_cast<size_t>(after + 1 - kCurveLeft);
        while (i < right_.size() && t >= right_[i]) ++i;
        if (i >= right_.size()) return TimeX(t, window_, width_);
        return kCurveLeft + static_cast<int>(i);
    }

private:
    TimeWindow window_;
    int width_;
    std::vector<int64_t> right_;
};

// The first position after a whose time is at least `limit` (`end` when none before it): the
// first block starting at or after the limit, found by galloping from a's block (a column's
// records lie close together), then the position within the block before it.
size_t ColumnEnd(const int64_t* times, const std::vector<int64_t>& blockStart, size_t a, size_t end, int64_t limit) {
    const size_t blocks = blockStart.size();
    size_t lo = a / kCompareBlock + 1, step = 1;  // blocks before lo start at or before a
    while (lo + step <= blocks && blockStart[lo + step - 1] < limit) {
        lo += step;
        step *= 2;
    }
    const size_t hi = std::min(lo + step - 1, blocks);
    const size_t block =
        static_cast<size_t>(std::lower_bound(blockStart.begin() + static_cast<std::ptrdiff_t>(lo),
                                             blockStart.begin() + static_cast<std::ptrdiff_t>(hi), limit) -
                            blockStart.begin());
    // Positions from the previous block's start (or a + 1) up to this block's start (a's time lies
    // before the limit, so the block starts after a). Past the window's end (the records after
    // it may still lie before the limit) every position up to the end is before the limit.
    const size_t from = std::max(a + 1, (block - 1) * kCompareBlock);
    const size_t to = std::min(block * kCompareBlock, end);
    if (from >= to) return to;
    return static_cast<size_t>(std::lower_bound(times + from, times + to, limit) - times);
}

// One curve column by column. A column's records are found by their times; its lowest and
// highest value come from the block summaries where whole blocks lie inside it.
void Reduce(const CompareScene& scene, const ColumnTimes& columns, const CompareCurve& curve, ColumnReducer& reducer,
            std::vector<Stroke>& strokes) {
    const CompareFile& f = (*scene.files)[static_cast<size_t>(curve.file)];
    const int c = curve.channel;
    const ChannelBlocks& blocks = (*scene.summaries)[static_cast<size_t>(curve.file)].channel[c];
    const CurveY y(scene, c);
    const std::pair<size_t, size_t> span = f.OrderedRange(scene.window.from, scene.window.to);
    if (span.first >= span.second) return;
    const CompareSummary& summary = (*scene.summaries)[static_cast<size_t>(curve.file)];
    const float* values = blocks.values.data();
    const auto value = [values](size_t k) { return values[k]; };
    const auto irregularValue = [](float v) { return v != v || IsMissingSample(v); };
    const auto xOf = [&](size_t k) { return TimeX(f.times[k], scene.window, scene.width); };
    {
        const float v = value(span.first);
        const int x = xOf(span.first);
        strokes.push_back({x, y(v), x, y(v), irregularValue(v) ? Ink::Missing : Ink::Channel});
        reducer.Start(x, y(v));
    }
    const int64_t* times = f.times.data();
    size_t a = span.first + 1;
    int x = a < span.second ? xOf(a) : 0;
    while (a < span.second) {
        // The column's end: the first record at or after the first time right of x (times
        // never decrease with the position).
        const int64_t limit = x >= kCurveLeft ? columns.RightOf(x) : INT64_MIN;
        size_t b = a + 1;
        if (limit == INT64_MIN) {
            while (b < span.second && xOf(b) == x) ++b;
        } else {
            b = ColumnEnd(times, summary.blockStart, a, span.second, limit);
        }
        // The next column most likely ends as far after b as this one does: its records, time
        // and block are fetched from memory while this column is worked on (the files are far
        // larger than the caches, and a column reads only a few values at its edges).
        if (b < span.second) {
            const size_t next = std::min(b + (b - a), span.second - 1);
            __builtin_prefetch(values + next);
            __builtin_prefetch(times + next);
            __builtin_prefetch(summary.blockStart.data() + next / kCompareBlock);
            __builtin_prefetch(blocks.irregular.data() + next / kCompareBlock);
            __builtin_prefetch(blocks.low.data() + next / kCompareBlock);
            __builtin_prefetch(blocks.high.data() + next / kCompareBlock);
        }
        // Runs of plain values go to the reducer as one column each (their first, lowest,
        // highest and last point: the same strokes as a segment per record); a missing or
        // damaged sample is a segment of its own. Whole blocks of plain values come from the
        // summary.
        size_t runFirst = a, runLast = a;
        int32_t runCount = 0;
        float low = 0, high = 0;
        const auto extend = [&](size_t first, size_t last, float lo, float hi, int32_t n) {
            if (runCount == 0) {
                runFirst = first;
                low = lo;
                high = hi;
            } else {
                low = std::min(low, lo);
                high = std::max(high, hi);
            }
            runLast = last;
            runCount += n;
        };
        const auto flush = [&] {
            if (runCount == 0) return;
            const int y1 = y(low), y2 = y(high);
            reducer.Column(x, y(value(runFirst)), std::min(y1, y2), std::max(y1, y2), y(value(runLast)), runCount);
            runCount = 0;
        };
        for (size_t k = a; k < b;) {
            const size_t block = k / kCompareBlock;
            if (k % kCompareBlock == 0 && k + kCompareBlock <= b && blocks.irregular[block] == 0) {
                // This and the following whole blocks of plain values, in registers.
                float lo = blocks.low[block], hi = blocks.high[block];
                size_t next = block + 1;
                for (; (next + 1) * kCompareBlock <= b && blocks.irregular[next] == 0; ++next) {
                    lo = std::min(lo, blocks.low[next]);
                    hi = std::max(hi, blocks.high[next]);
                }
                extend(k, next * kCompareBlock - 1, lo, hi, static_cast<int32_t>((next - block) * kCompareBlock));
                k = next * kCompareBlock;
                continue;
            }
            const float v = value(k);
            if (irregularValue(v)) {
                flush();
                reducer.Segment(x, y(v), Ink::Missing);
            } else {
                extend(k, k, v, v, 1);
            }
            ++k;
        }
        flush();
        a = b;
        if (a < span.second) x = limit == INT64_MIN ? xOf(a) : columns.XAfter(x, times[a]);
    }
}

void DrawReduced(QImage& canvas, const CompareScene& scene, const std::vector<const CompareCurve*>& shown) {
    std::vector<std::vector<Stroke>> strokes(shown.size());
    std::vector<CurveStrokes> curves;
    const ColumnTimes columns(scene.window, scene.width);
    for (size_t k = 0; k < shown.size(); ++k) {
        strokes[k].reserve(static_cast<size_t>(4 * std::max(scene.width, 16)));
        ColumnReducer reducer(strokes[k]);
        Reduce(scene, columns, *shown[k], reducer, strokes[k]);
        reducer.Flush();
        curves.push_back({&strokes[k], shown[k]->colour.rgb(), shown[k]->style});
    }
    DrawCurves(canvas, curves);
}

// The time axis: as many divisions as the history view's axis, fewer where the labels (with the
// date when the window spans days) would run into each other.
void DrawCompareTimeAxis(QImage& canvas, const CompareScene& scene) {
    const int w = scene.width;
    const QFontMetrics metrics(scene.font);
    const int64_t span = scene.window.to - scene.window.from;
    const int labelWidth =
        metrics.horizontalAdvance(QString::fromLatin1(TickLabel(scene.window.to, scene.window).c_str()));
    int d = TimeDivisions(w);
    while (d > 1 && (w - kCurveLeft - kCurveRightMargin) / d < labelWidth + 12) --d;
    std::vector<AxisTick> ticks;
    for (int j = 0; j <= d; ++j) {
        const int64_t t = scene.window.from + span * j / d;
        ticks.push_back({kCurveLeft + j * (w - kCurveLeft - kCurveRightMargin) / d,
                         QString::fromLatin1(TickLabel(t, scene.window).c_str())});
    }
    DrawTimeAxis(canvas, scene.font, w, scene.height, ticks);
}

}  // namespace

void RenderCompareCanvas(QImage& canvas, const CompareScene& scene, CurveDrawing drawing) {
    const int w = std::max(scene.width, 1), h = std::max(scene.height, 1);
    if (canvas.size() != QSize(w, h) || canvas.format() != QImage::Format_RGB32) {
        canvas = QImage(w, h, QImage::Format_RGB32);
    }
    canvas.fill(Qt::white);
    {
        QPainter p(&canvas);
        p.setPen(QPen(Qt::black, 0));
        p.drawRect(0, 0, w - 1, h - 1);
    }
    if (scene.scaleChannel >= 0 && scene.scaleChannel < kRecordSetChannels) {
        DrawValueScale(canvas, scene.font, scene.scaleColour, scene.axisMax[scene.scaleChannel],
                       scene.axisMin[scene.scaleChannel], h, QString::asprintf("CH%d", scene.scaleChannel + 1));
    }
    if (scene.files != nullptr) {
        std::vector<const CompareCurve*> shown;
        for (const CompareCurve& c : scene.curves) {
            if (Shown(scene, c)) shown.push_back(&c);
        }
        if (drawing == CurveDrawing::EverySegment || scene.summaries == nullptr ||
            scene.summaries->size() != scene.files->size()) {
            for (const CompareCurve* c : shown) DrawEverySegment(canvas, scene, *c);
        } else {
            DrawReduced(canvas, scene, shown);
        }
    }
    DrawCompareTimeAxis(canvas, scene);
}

}  // namespace velorin
