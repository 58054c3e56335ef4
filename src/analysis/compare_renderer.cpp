#include "analysis/compare_renderer.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <string>

#include "analysis/compare_files.h"
#include "history/record_set.h"
#include "view/curve_geometry.h"

namespace velorin {

namespace {

const QRgb kMissingGrey = qRgb(200, 200, 200);

inline bool Irregular(float v) { return v != v || IsMissingSample(v); }

// Value → canvas y of one curve: the channel's scale, limited to the curve area; a sample that
// is not a plain value lies on the bottom line.
class CurveY {
public:
    CurveY(const CompareScene& scene, int channel)
        : scale_(scene.axisMax[channel], scene.axisMin[channel], scene.height),
          bottom_(scene.height - kCurveBottomMargin) {}
    int operator()(float v) const { return Irregular(v) ? bottom_ : scale_.ClampedY(v); }

private:
    ValueScale scale_;
    int bottom_;
};

float Value(const CompareFile& f, int32_t i, int channel) {
    return f.set->records[static_cast<size_t>(i)].value[channel];
}

bool Shown(const CompareScene& scene, const CompareCurve& c) {
    if (!c.visible || c.file < 0 || c.file >= static_cast<int>(scene.files->size())) return false;
    if (c.channel < 0 || c.channel >= kRecordSetChannels) return false;
    const CompareFile& f = (*scene.files)[static_cast<size_t>(c.file)];
    return f.set->channelEnabled[c.channel] == 1 && f.Count() > 0;
}

// The reference: one line per record in the window, from the previous one.
void DrawEverySegment(QImage& canvas, const CompareScene& scene, const CompareCurve& curve) {
    const CompareFile& f = (*scene.files)[static_cast<size_t>(curve.file)];
    const CurveY y(scene, curve.channel);
    PixelPen pen(canvas);
    pen.SetStyle(curve.style);
    bool started = false;
    int lastX = 0, lastY = 0;
    for (int32_t i = 0; i < f.Count(); ++i) {
        if (!InWindow(f, i, scene.window)) continue;
        const float v = Value(f, i, curve.channel);
        const int x = TimeX(f.times.Seconds(i), scene.window, scene.width);
        const QRgb colour = Irregular(v) ? kMissingGrey : curve.colour.rgb();
        if (!started) {
            pen.Line(x, y(v), x, y(v), colour);  // a lone record shows as a point
        } else {
            pen.Line(lastX, lastY, x, y(v), colour);
        }
        started = true;
        lastX = x;
        lastY = y(v);
    }
}

// A file out of time order: record by record, no column is known in advance.
void ReduceUnordered(const CompareScene& scene, const CompareCurve& curve, ColumnReducer& reducer,
                     std::vector<Stroke>& strokes) {
    const CompareFile& f = (*scene.files)[static_cast<size_t>(curve.file)];
    const CurveY y(scene, curve.channel);
    bool started = false;
    for (int32_t i = 0; i < f.Count(); ++i) {
        if (!InWindow(f, i, scene.window)) continue;
        const float v = Value(f, i, curve.channel);
        const int x = TimeX(f.times.Seconds(i), scene.window, scene.width);
        const Ink ink = Irregular(v) ? Ink::Missing : Ink::Channel;
        if (!started) {
            strokes.push_back({x, y(v), x, y(v), ink});
            reducer.Start(x, y(v));
            started = true;
        } else {
            reducer.Segment(x, y(v), ink);
        }
    }
}

// A file in time order: its records in the window column by column. A column's records are
// found by their times; its lowest and highest value come from the block summaries where whole
// blocks lie inside it.
void ReduceOrdered(const CompareScene& scene, const CompareCurve& curve, ColumnReducer& reducer,
                   std::vector<Stroke>& strokes) {
    const CompareFile& f = (*scene.files)[static_cast<size_t>(curve.file)];
    const int c = curve.channel;
    const ChannelBlocks& blocks = f.blocks[c];
    const CurveY y(scene, c);
    const RecordSpan span = RecordsInWindow(f, scene.window);
    if (span.first >= span.end) return;
    const auto xOf = [&](int32_t i) { return TimeX(f.times.Seconds(i), scene.window, scene.width); };
    {
        const float v = Value(f, span.first, c);
        const int x = xOf(span.first);
        strokes.push_back({x, y(v), x, y(v), Irregular(v) ? Ink::Missing : Ink::Channel});
        reducer.Start(x, y(v));
    }
    int32_t a = span.first + 1;
    while (a < span.end) {
        const int x = xOf(a);
        // The column's end: gallop, then halve (x never decreases with the index).
        int32_t step = 1, lo = a, hi = a + 1;
        while (hi < span.end && xOf(hi) == x) {
            lo = hi;
            step *= 2;
            hi = std::min<int64_t>(static_cast<int64_t>(a) + step, span.end);
        }
        while (hi - lo > 1) {  // xOf(lo) == x; hi is the end or lies in a later column
            const int32_t mid = lo + (hi - lo) / 2;
            if (xOf(mid) == x) lo = mid;
            else hi = mid;
        }
        const int32_t b = hi;
        float low = Value(f, a, c), high = low;
        bool irregular = false;
        for (int32_t i = a; i < b && !irregular;) {
            const size_t block = static_cast<size_t>(i / kCompareBlock);
            if (i % kCompareBlock == 0 && i + kCompareBlock <= b) {
                irregular = blocks.irregular[block] != 0;
                low = std::min(low, blocks.low[block]);
                high = std::max(high, blocks.high[block]);
                i += kCompareBlock;
                continue;
            }
            const float v = Value(f, i, c);
            irregular = Irregular(v);
            low = v < low ? v : low;
            high = v > high ? v : high;
            ++i;
        }
        if (!irregular) {
            const int y1 = y(low), y2 = y(high);
            reducer.Column(x, y(Value(f, a, c)), std::min(y1, y2), std::max(y1, y2), y(Value(f, b - 1, c)), b - a);
        } else {
            for (int32_t i = a; i < b; ++i) {
                const float v = Value(f, i, c);
                reducer.Segment(x, y(v), Irregular(v) ? Ink::Missing : Ink::Channel);
            }
        }
        a = b;
    }
}

void DrawReduced(QImage& canvas, const CompareScene& scene, const std::vector<const CompareCurve*>& shown) {
    std::vector<std::vector<Stroke>> strokes(shown.size());
    std::vector<CurveStrokes> curves;
    std::vector<bool> ordered;
    for (size_t k = 0; k < shown.size(); ++k) {
        const CompareCurve& curve = *shown[k];
        const CompareFile& f = (*scene.files)[static_cast<size_t>(curve.file)];
        strokes[k].reserve(static_cast<size_t>(4 * std::max(scene.width, 16)));
        ColumnReducer reducer(strokes[k]);
        if (f.inTimeOrder) ReduceOrdered(scene, curve, reducer, strokes[k]);
        else ReduceUnordered(scene, curve, reducer, strokes[k]);
        reducer.Flush();
        curves.push_back({&strokes[k], curve.colour.rgb(), curve.style});
        ordered.push_back(f.inTimeOrder);
    }
    CoverByLaterCurves(curves, scene.width);
    // Curves in time order are drawn band by band together; one out of order on its own, in
    // its place.
    std::vector<CurveStrokes> group;
    for (size_t k = 0; k < curves.size(); ++k) {
        if (ordered[k]) {
            group.push_back(curves[k]);
            continue;
        }
        DrawBanded(canvas, group);
        group.clear();
        DrawInOrder(canvas, curves[k]);
    }
    DrawBanded(canvas, group);
}

void DrawTimeAxis(QImage& canvas, const CompareScene& scene) {
    const int w = scene.width, h = scene.height;
    QPainter p(&canvas);
    p.setFont(scene.font);
    QPen axis(Qt::black);
    axis.setWidth(2);
    p.setPen(axis);
    p.drawLine(kCurveLeft, h - kCurveBottomMargin, w - kCurveRightMargin, h - kCurveBottomMargin);
    const int d = TimeDivisions(w);
    const QFontMetrics metrics(scene.font);
    const int64_t span = scene.window.to - scene.window.from;
    for (int j = 0; j <= d; ++j) {
        const int x = kCurveLeft + j * (w - kCurveLeft - kCurveRightMargin) / d;
        p.setPen(axis);
        p.drawLine(x, h - kCurveBottomMargin, x, h - 19);
        const int64_t t = scene.window.from + span * j / d;
        const QString label = QString::fromLatin1(TickLabel(t, scene.window).c_str());
        const int left = TimeLabelLeft(j, d, x, metrics.horizontalAdvance(label), w);
        p.setPen(Qt::black);
        p.drawText(left, h - 17 + metrics.ascent(), label);
    }
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
        if (drawing == CurveDrawing::EverySegment) {
            for (const CompareCurve* c : shown) DrawEverySegment(canvas, scene, *c);
        } else {
            DrawReduced(canvas, scene, shown);
        }
    }
    DrawTimeAxis(canvas, scene);
}

}  // namespace velorin
