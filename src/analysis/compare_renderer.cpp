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

const QRgb kMissingGrey = qRgb(200, 200, 200);

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

// One curve column by column. A column's records are found by their times; its lowest and
// highest value come from the block summaries where whole blocks lie inside it.
void Reduce(const CompareScene& scene, const CompareCurve& curve, ColumnReducer& reducer,
            std::vector<Stroke>& strokes) {
    const CompareFile& f = (*scene.files)[static_cast<size_t>(curve.file)];
    const int c = curve.channel;
    const ChannelBlocks& blocks = (*scene.summaries)[static_cast<size_t>(curve.file)].channel[c];
    const CurveY y(scene, c);
    const std::pair<size_t, size_t> span = f.OrderedRange(scene.window.from, scene.window.to);
    if (span.first >= span.second) return;
    // The hot loop reads records through the time order directly (ValueAt, inlined).
    const SampleRecord* records = f.set.records.data();
    const int32_t* order = f.order.data();
    const auto value = [records, order, c](size_t k) { return records[order[k]].value[c]; };
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
    while (a < span.second) {
        const int x = xOf(a);
        // The column's end: the first record at or after the first time right of x (times
        // never decrease with the position).
        const int64_t limit = x >= kCurveLeft ? FirstTimeRightOf(x, scene.window, scene.width) : INT64_MIN;
        size_t b = a + 1;
        if (limit == INT64_MIN) {
            while (b < span.second && xOf(b) == x) ++b;
        } else {
            b = static_cast<size_t>(std::lower_bound(times + a + 1, times + span.second, limit) - times);
        }
        float low = value(a), high = low;
        bool irregular = false;
        for (size_t k = a; k < b && !irregular;) {
            const size_t block = k / kCompareBlock;
            if (k % kCompareBlock == 0 && k + kCompareBlock <= b) {
                irregular = blocks.irregular[block] != 0;
                low = std::min(low, blocks.low[block]);
                high = std::max(high, blocks.high[block]);
                k += kCompareBlock;
                continue;
            }
            const float v = value(k);
            irregular = irregularValue(v);
            low = v < low ? v : low;
            high = v > high ? v : high;
            ++k;
        }
        if (!irregular) {
            const int y1 = y(low), y2 = y(high);
            reducer.Column(x, y(value(a)), std::min(y1, y2), std::max(y1, y2), y(value(b - 1)),
                           static_cast<int32_t>(b - a));
        } else {
            for (size_t k = a; k < b; ++k) {
                const float v = value(k);
                reducer.Segment(x, y(v), irregularValue(v) ? Ink::Missing : Ink::Channel);
            }
        }
        a = b;
    }
}

void DrawReduced(QImage& canvas, const CompareScene& scene, const std::vector<const CompareCurve*>& shown) {
    std::vector<std::vector<Stroke>> strokes(shown.size());
    std::vector<CurveStrokes> curves;
    for (size_t k = 0; k < shown.size(); ++k) {
        strokes[k].reserve(static_cast<size_t>(4 * std::max(scene.width, 16)));
        ColumnReducer reducer(strokes[k]);
        Reduce(scene, *shown[k], reducer, strokes[k]);
        reducer.Flush();
        curves.push_back({&strokes[k], shown[k]->colour.rgb(), shown[k]->style});
    }
    CoverByLaterCurves(curves, scene.width);
    DrawBanded(canvas, curves);
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
