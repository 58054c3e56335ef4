#include "view/curve_renderer.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "history/record_set.h"
#include "view/curve_geometry.h"
#include "view/curve_state.h"
#include "view/record_times.h"
#include "view/stroke_raster.h"

namespace velorin {

namespace {

const QRgb kMissingGrey = qRgb(200, 200, 200);
const QRgb kMarkerBlack = qRgb(0, 0, 0);

bool Drawn(const CurveState& s, int c) { return s.channelEnabled[c] != 0 && s.channelVisible[c] != 0; }

// The value scale of the first visible channel at canvas x = 10 (any further channel's scale
// would lie 60 pixels further left, outside the canvas, so only one is drawn).
void DrawScaleOf(QImage& canvas, const CurveScene& scene, int c) {
    DrawValueScale(canvas, scene.font, scene.colour[c], scene.state->axisMax[c], scene.state->axisMin[c],
                   scene.state->plotHeight, QString::asprintf("CH%d", c + 1));
}

// The value scale belongs to the first channel drawn and is drawn right after its curve.
void ScaleAfter(QImage& canvas, const CurveScene& scene, int channel) {
    const CurveState& s = *scene.state;
    if (s.showScale && channel == ScaledChannel(s.channelEnabled, s.channelVisible)) DrawScaleOf(canvas, scene, channel);
}

// One record shown: a point (grey when the sample is missing).
void DrawSinglePoints(QImage& canvas, const CurveScene& scene) {
    const CurveState& s = *scene.state;
    const SampleRecord& r = scene.set->records[static_cast<size_t>(s.firstIndex)];
    for (int c = 0; c < kRecordSetChannels; ++c) {
        if (!Drawn(s, c)) continue;
        const ValueScale scale(s.axisMax[c], s.axisMin[c], s.plotHeight);
        PixelPen pen(canvas);
        pen.Point(kCurveLeft, scale.ClampedY(r.value[c]), IsMissingSample(r.value[c]) ? kMissingGrey : scene.colour[c].rgb());
        ScaleAfter(canvas, scene, c);
    }
}

// The reference: one line per record, from the previous point, each with its own ink.
void DrawEverySegment(QImage& canvas, const CurveScene& scene) {
    const CurveState& s = *scene.state;
    const int bottom = s.plotHeight - kCurveBottomMargin;
    for (int c = 0; c < kRecordSetChannels; ++c) {
        if (!Drawn(s, c)) continue;
        PixelPen pen(canvas);
        const ValueScale scale(s.axisMax[c], s.axisMin[c], s.plotHeight);
        int lastX = kCurveLeft;
        int lastY = scale.UnlimitedY(scene.set->records[static_cast<size_t>(s.firstIndex)].value[c]);
        for (int32_t i = s.firstIndex + 1; i < s.endIndex; ++i) {
            const float v = scene.set->records[static_cast<size_t>(i)].value[c];
            const int x = RecordX(i, s.firstIndex, s.endIndex, s.plotWidth);
            const int y = scale.ClampedY(v);
            pen.Line(lastX, lastY, x, y, IsMissingSample(v) ? kMissingGrey : scene.colour[c].rgb());
            lastX = x;
            lastY = y;
            if (scene.times->GapBefore(i)) pen.Dotted(x, bottom, lastY, kMarkerBlack);
        }
        ScaleAfter(canvas, scene, c);
    }
}

void DrawReduced(QImage& canvas, const CurveScene& scene) {
    const CurveState& s = *scene.state;
    const int bottom = s.plotHeight - kCurveBottomMargin;
    int channels[kRecordSetChannels];
    int active = 0;
    for (int c = 0; c < kRecordSetChannels; ++c) {
        if (Drawn(s, c)) channels[active++] = c;
    }
    if (active == 0) return;
    const SampleRecord* records = scene.set->records.data();
    std::vector<ValueScale> scales;
    std::vector<std::vector<Stroke>> strokes(static_cast<size_t>(active));
    std::vector<ColumnReducer> reducers;
    reducers.reserve(static_cast<size_t>(active));
    for (int a = 0; a < active; ++a) {
        const int c = channels[a];
        scales.emplace_back(s.axisMax[c], s.axisMin[c], s.plotHeight);
        strokes[static_cast<size_t>(a)].reserve(static_cast<size_t>(4 * std::max(s.plotWidth, 16)));
        reducers.emplace_back(strokes[static_cast<size_t>(a)]);
        reducers.back().Start(kCurveLeft, scales.back().UnlimitedY(records[s.firstIndex].value[c]));
    }

    // Column by column: records first+1 … end−1 grouped by their x.
    int32_t a = s.firstIndex + 1;
    while (a < s.endIndex) {
        const int x = RecordX(a, s.firstIndex, s.endIndex, s.plotWidth);
        int32_t b = a + 1;
        bool gap = scene.times->GapBefore(a);
        while (b < s.endIndex && RecordX(b, s.firstIndex, s.endIndex, s.plotWidth) == x) {
            gap = gap || scene.times->GapBefore(b);
            ++b;
        }
        float lo[kRecordSetChannels], hi[kRecordSetChannels];
        bool plain[kRecordSetChannels];
        for (int k = 0; k < active; ++k) {
            lo[k] = hi[k] = records[a].value[channels[k]];
            plain[k] = !gap;
        }
        if (!gap) {
            for (int32_t i = a; i < b; ++i) {
                const float* values = records[i].value;
                for (int k = 0; k < active; ++k) {
                    const float v = values[channels[k]];
                    if (v != v || IsMissingSample(v)) plain[k] = false;
                    lo[k] = v < lo[k] ? v : lo[k];
                    hi[k] = v > hi[k] ? v : hi[k];
                }
            }
        }
        for (int k = 0; k < active; ++k) {
            const int c = channels[k];
            const ValueScale& scale = scales[static_cast<size_t>(k)];
            ColumnReducer& reducer = reducers[static_cast<size_t>(k)];
            if (plain[k]) {
                // Scaling is monotonic, so the column's extreme values give its extreme ys.
                const int y1 = scale.ClampedY(lo[k]), y2 = scale.ClampedY(hi[k]);
                reducer.Column(x, scale.ClampedY(records[a].value[c]), std::min(y1, y2), std::max(y1, y2),
                               scale.ClampedY(records[b - 1].value[c]), b - a);
                continue;
            }
            for (int32_t i = a; i < b; ++i) {
                const float v = records[i].value[c];
                reducer.Segment(x, scale.ClampedY(v), IsMissingSample(v) ? Ink::Missing : Ink::Channel);
                if (scene.times->GapBefore(i)) reducer.Marker(x, bottom);
            }
        }
        a = b;
    }
    // A vertical stroke that lies wholly inside a solid vertical stroke of a channel drawn later,
    // in the same column, is drawn over by it (the value scale drawn between them lies under it
    // too): skip it.
    std::vector<CurveStrokes> all;
    for (int k = 0; k < active; ++k) {
        reducers[static_cast<size_t>(k)].Flush();
        all.push_back({&strokes[static_cast<size_t>(k)], scene.colour[channels[k]].rgb()});
    }
    CoverByLaterCurves(all, s.plotWidth);

    // The channels up to the one carrying the value scale, the scale, then the others.
    const int scaled = s.showScale ? ScaledChannel(s.channelEnabled, s.channelVisible) : -1;
    std::vector<CurveStrokes> before, after;
    for (int k = 0; k < active; ++k) {
        (scaled >= 0 && channels[k] > scaled ? after : before).push_back(all[static_cast<size_t>(k)]);
    }
    DrawBanded(canvas, before);
    if (scaled >= 0) DrawScaleOf(canvas, scene, scaled);
    DrawBanded(canvas, after);
}

void DrawRecordTimeAxis(QImage& canvas, const CurveScene& scene) {
    const CurveState& s = *scene.state;
    const int32_t count = std::min(s.recordCount, UsableRecordCount(*scene.set));
    std::vector<AxisTick> ticks;
    for (const TimeTick& tick : TimeTicks(s.plotWidth, s.firstIndex, s.endIndex, count)) {
        ticks.push_back({tick.x, QString::fromLatin1(
                                     RecordTimeOfDayText(scene.set->records[static_cast<size_t>(tick.record)]).c_str())});
    }
    DrawTimeAxis(canvas, scene.font, s.plotWidth, s.plotHeight, ticks);
}

}  // namespace

void DrawValueScale(QImage& canvas, const QFont& font, const QColor& colour, float axisMax, float axisMin, int height,
                    const QString& caption) {
    const int h = height;
    QPainter p(&canvas);
    p.setFont(font);
    p.setPen(QPen(colour, 0));
    p.drawLine(10, kCurveTop, 10, h - kCurveBottomMargin);
    const QFontMetrics metrics(font);
    for (int m = 0; m <= 4; ++m) {
        const int y = ScaleTickY(m, h);
        p.setPen(QPen(colour, 0));
        p.drawLine(10, y, 16, y);
        const double value = ScaleTickValue(m, axisMax, axisMin);
        p.setPen(Qt::black);
        p.drawText(18, y - metrics.height() / 2 + metrics.ascent(), QString::asprintf("%.2f", value));
    }
    p.setPen(colour);
    p.drawText(15, h - 20 + metrics.ascent(), caption);
}

void DrawTimeAxis(QImage& canvas, const QFont& font, int width, int height, const std::vector<AxisTick>& ticks) {
    const int w = width, h = height;
    QPainter p(&canvas);
    p.setFont(font);
    QPen axis(Qt::black);
    axis.setWidth(2);
    p.setPen(axis);
    p.drawLine(kCurveLeft, h - kCurveBottomMargin, w - kCurveRightMargin, h - kCurveBottomMargin);
    const int d = static_cast<int>(ticks.size()) - 1;
    const QFontMetrics metrics(font);
    for (int j = 0; j <= d; ++j) {
        p.setPen(axis);
        p.drawLine(ticks[j].x, h - kCurveBottomMargin, ticks[j].x, h - 19);
        const int left = TimeLabelLeft(j, d, ticks[j].x, metrics.horizontalAdvance(ticks[j].label), w);
        p.setPen(Qt::black);
        p.drawText(left, h - 17 + metrics.ascent(), ticks[j].label);
    }
}

void RenderCurveCanvas(QImage& canvas, const CurveScene& scene, CurveDrawing drawing) {
    const CurveState& s = *scene.state;
    const int w = std::max(s.plotWidth, 1), h = std::max(s.plotHeight, 1);
    if (canvas.size() != QSize(w, h) || canvas.format() != QImage::Format_RGB32) {
        canvas = QImage(w, h, QImage::Format_RGB32);
    }
    canvas.fill(Qt::white);
    {
        QPainter p(&canvas);
        p.setPen(QPen(Qt::black, 0));
        p.drawRect(0, 0, w - 1, h - 1);
    }
    const int32_t count = std::min(s.recordCount, UsableRecordCount(*scene.set));
    const bool haveRecords = s.firstIndex >= 0 && s.firstIndex < s.endIndex && s.endIndex <= count &&
                             scene.times != nullptr && scene.times->Count() >= s.endIndex;
    if (haveRecords) {
        if (s.endIndex - s.firstIndex == 1) DrawSinglePoints(canvas, scene);
        else if (drawing == CurveDrawing::EverySegment) DrawEverySegment(canvas, scene);
        else DrawReduced(canvas, scene);
    }
    DrawRecordTimeAxis(canvas, scene);
}

}  // namespace velorin
