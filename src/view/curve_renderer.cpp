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
#include "view/curve_summary.h"
#include "view/record_times.h"

namespace velorin {

namespace {

const QRgb kMissingGrey = qRgb(200, 200, 200);
const QRgb kMarkerBlack = qRgb(0, 0, 0);

// 1-pixel lines written straight into an RGB32 image, clipped to it. A line covers both of its
// end points; a vertical line covers every pixel between them, so vertical lines that share
// end points cover exactly the span from the lowest to the highest of them.
//
// The pen may be limited to a band of columns [left, right): it then writes only the pixels of
// its lines that fall into the band, so drawing band after band writes every pixel in the same
// order as drawing whole lines one after another.
class PixelPen {
public:
    explicit PixelPen(QImage& image)
        : bits_(reinterpret_cast<QRgb*>(image.bits())),
          stride_(image.bytesPerLine() / 4),
          height_(image.height()),
          left_(0),
          right_(image.width()) {}

    void SetBand(int left, int right) {
        left_ = left;
        right_ = right;
    }

    void Point(int x, int y, QRgb colour) {
        if (x >= left_ && x < right_ && y >= 0 && y < height_) bits_[y * stride_ + x] = colour;
    }

    void Vertical(int x, int y0, int y1, QRgb colour) {
        if (x < left_ || x >= right_) return;
        if (y0 > y1) std::swap(y0, y1);
        y0 = std::max(y0, 0);
        y1 = std::min(y1, height_ - 1);
        for (QRgb* p = bits_ + y0 * stride_ + x; y0 <= y1; ++y0, p += stride_) *p = colour;
    }

    // Bresenham from (x0, y0) to (x1, y1), both end points included.
    void Line(int x0, int y0, int x1, int y1, QRgb colour) {
        if (x0 == x1) {
            Vertical(x0, y0, y1, colour);
            return;
        }
        const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
        const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            Point(x0, y0, colour);
            if (x0 == x1 && y0 == y1) break;
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
    }

    // A dotted vertical line from `from` towards `to`: every second pixel, starting at `from`.
    void Dotted(int x, int from, int to, QRgb colour) {
        const int step = from <= to ? 1 : -1;
        for (int y = from, k = 0;; y += step, ++k) {
            if (k % 2 == 0) Point(x, y, colour);
            if (y == to) break;
        }
    }

private:
    QRgb* bits_;
    int stride_, height_;
    int left_, right_;
};

// The drawing primitives of one channel, in drawing order.
enum class Ink : uint8_t { Channel, Missing, Marker, Covered };
struct Stroke {
    int x0, y0, x1, y1;
    Ink ink;
};

// Collects one channel's strokes, merging consecutive same-ink segments inside one column into
// one vertical stroke from the lowest to the highest point.
class ColumnReducer {
public:
    explicit ColumnReducer(std::vector<Stroke>& out) : out_(out) {}

    void Start(int x, int y) {
        px_ = x;
        py_ = y;
    }

    void Segment(int x, int y, Ink ink) {
        if (x == px_) {
            Extend(x, ink, std::min(py_, y), std::max(py_, y));
        } else {
            Flush();
            out_.push_back({px_, py_, x, y, ink});
        }
        px_ = x;
        py_ = y;
    }

    // Whether the last point lies in column x (only the range's first record can: the column's
    // records then join it with a vertical line instead of entering from the left).
    bool InColumn(int x) const { return x == px_; }
    int LastY() const { return py_; }

    // The vertical strokes of column x, outermost first, each drawn over the ones before; the
    // column's last record lies at yLast.
    template <typename Bands>
    void Paint(int x, const Bands& bands, int yLast) {
        Flush();
        for (auto band = bands.rbegin(); band != bands.rend(); ++band) Vertical(x, band->lo, band->hi, band->ink);
        px_ = x;
        py_ = yLast;
    }

    void Marker(int x, int bottom) {
        Flush();
        Vertical(x, bottom, py_, Ink::Marker);
        px_ = x;
    }

    void Flush() {
        if (!open_) return;
        Vertical(runX_, runMin_, runMax_, runInk_);
        open_ = false;
    }

private:
    // A vertical stroke. Earlier vertical strokes of this channel in the same column that lie
    // wholly inside a solid one are drawn over by it whatever came between (this channel's
    // strokes are drawn in order, other channels' before or after all of them), so they are
    // marked covered and skipped. Only the last few are looked at, which keeps columns that
    // alternate between inks many times cheap.
    void Vertical(int x, int from, int to, Ink ink) {
        if (x != columnX_) {
            columnX_ = x;
            columnCount_ = 0;
        }
        if (ink != Ink::Marker) {
            const int lo = std::min(from, to), hi = std::max(from, to);
            for (int k = 0; k < columnCount_ && k < kLookBack; ++k) {
                Stroke& earlier = out_[columnStrokes_[k]];
                if (std::min(earlier.y0, earlier.y1) >= lo && std::max(earlier.y0, earlier.y1) <= hi) {
                    earlier.ink = Ink::Covered;
                }
            }
        }
        columnStrokes_[columnCount_ % kLookBack] = out_.size();
        ++columnCount_;
        out_.push_back({x, from, x, to, ink});
    }

    static constexpr int kLookBack = 8;
    int columnX_ = -1;
    int columnCount_ = 0;
    size_t columnStrokes_[kLookBack] = {};

    void Extend(int x, Ink ink, int lo, int hi) {
        if (open_ && runX_ == x && runInk_ == ink) {
            runMin_ = std::min(runMin_, lo);
            runMax_ = std::max(runMax_, hi);
            return;
        }
        Flush();
        open_ = true;
        runX_ = x;
        runInk_ = ink;
        runMin_ = lo;
        runMax_ = hi;
    }

    std::vector<Stroke>& out_;
    int px_ = 0, py_ = 0;
    bool open_ = false;
    int runX_ = 0, runMin_ = 0, runMax_ = 0;
    Ink runInk_ = Ink::Channel;
};

void DrawStroke(PixelPen& pen, const Stroke& s, QRgb colour) {
    {
        switch (s.ink) {
        case Ink::Channel:
            pen.Line(s.x0, s.y0, s.x1, s.y1, colour);
            break;
        case Ink::Missing:
            pen.Line(s.x0, s.y0, s.x1, s.y1, kMissingGrey);
            break;
        case Ink::Marker:
            pen.Dotted(s.x0, s.y0, s.y1, kMarkerBlack);
            break;
        case Ink::Covered:
            break;
        }
    }
}

// The strokes of channels drawn one after another, written band by band of 16 columns so that
// the image is swept once instead of once per channel. A channel's strokes run from left to
// right (their x never decreases), so each band needs only the strokes from a moving cursor on.
struct ChannelStrokes {
    const std::vector<Stroke>* strokes;
    QRgb colour;
};

void DrawBanded(QImage& canvas, const std::vector<ChannelStrokes>& channels) {
    constexpr int kBand = 16;
    PixelPen pen(canvas);
    std::vector<size_t> cursor(channels.size(), 0);
    const int width = canvas.width();
    for (int left = 0; left < width; left += kBand) {
        const int right = std::min(left + kBand, width);
        pen.SetBand(left, right);
        for (size_t k = 0; k < channels.size(); ++k) {
            const std::vector<Stroke>& strokes = *channels[k].strokes;
            size_t& first = cursor[k];
            // Strokes wholly left of this band are done (the right ends never decrease either).
            while (first < strokes.size() && std::max(strokes[first].x0, strokes[first].x1) < left) ++first;
            for (size_t i = first; i < strokes.size(); ++i) {
                const Stroke& s = strokes[i];
                if (std::min(s.x0, s.x1) >= right) break;
                DrawStroke(pen, s, channels[k].colour);
            }
        }
    }
    // Strokes left of the image (never drawn) or right of it are clipped away by the bands.
}

bool Drawn(const CurveState& s, int c) { return s.channelEnabled[c] != 0 && s.channelVisible[c] != 0; }

// A missing sample of either kind is drawn where the 2-byte marker lies (the bottom edge of a
// value range that holds real values), in grey.
inline float DrawnValue(float v) { return IsMissingSample(v) ? kMissingValue2Byte : v; }
inline QRgb InkOf(float v, QRgb colour) { return IsMissingSample(v) ? kMissingGrey : colour; }

// The value scale of the first visible channel at canvas x = 10 (any further channel's scale
// would lie 60 pixels further left, outside the canvas, so only one is drawn).
void DrawValueScale(QImage& canvas, const CurveScene& scene, int c) {
    const CurveState& s = *scene.state;
    const int h = s.plotHeight;
    QPainter p(&canvas);
    p.setFont(scene.font);
    p.setPen(QPen(scene.colour[c], 0));
    p.drawLine(10, kCurveTop, 10, h - kCurveBottomMargin);
    const QFontMetrics metrics(scene.font);
    for (int m = 0; m <= 4; ++m) {
        const int y = ScaleTickY(m, h);
        p.setPen(QPen(scene.colour[c], 0));
        p.drawLine(10, y, 16, y);
        const double value = ScaleTickValue(m, s.axisMax[c], s.axisMin[c]);
        p.setPen(Qt::black);
        p.drawText(18, y - metrics.height() / 2 + metrics.ascent(), QString::asprintf("%.2f", value));
    }
    p.setPen(scene.colour[c]);
    p.drawText(15, h - 20 + metrics.ascent(), QString::asprintf("CH%d", c + 1));
}

// The value scale belongs to the first channel drawn and is drawn right after its curve.
void ScaleAfter(QImage& canvas, const CurveScene& scene, int channel) {
    const CurveState& s = *scene.state;
    if (s.showScale && channel == ScaledChannel(s.channelEnabled, s.channelVisible)) DrawValueScale(canvas, scene, channel);
}

// One record shown: a point (grey when the sample is missing).
void DrawSinglePoints(QImage& canvas, const CurveScene& scene) {
    const CurveState& s = *scene.state;
    const SampleRecord& r = scene.set->records[static_cast<size_t>(s.firstIndex)];
    for (int c = 0; c < kRecordSetChannels; ++c) {
        if (!Drawn(s, c)) continue;
        const ValueScale scale(s.axisMax[c], s.axisMin[c], s.plotHeight);
        PixelPen pen(canvas);
        pen.Point(kCurveLeft, scale.ClampedY(DrawnValue(r.value[c])), InkOf(r.value[c], scene.colour[c].rgb()));
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
        int lastY = scale.UnlimitedY(DrawnValue(scene.set->records[static_cast<size_t>(s.firstIndex)].value[c]));
        for (int32_t i = s.firstIndex + 1; i < s.endIndex; ++i) {
            const float v = scene.set->records[static_cast<size_t>(i)].value[c];
            const int x = RecordX(i, s.firstIndex, s.endIndex, s.plotWidth);
            const int y = scale.ClampedY(DrawnValue(v));
            pen.Line(lastX, lastY, x, y, InkOf(v, scene.colour[c].rgb()));
            lastX = x;
            lastY = y;
            if (scene.times->GapBefore(i)) pen.Dotted(x, bottom, lastY, kMarkerBlack);
        }
        ScaleAfter(canvas, scene, c);
    }
}

// One past the last record drawn in column x, the column of record a: the records of a column
// are consecutive because x never decreases with the index on a canvas wider than 60 pixels.
int32_t ColumnEnd(int32_t a, int x, const CurveState& s) {
    const int span = s.plotWidth - 60;
    const int64_t gaps = static_cast<int64_t>(s.endIndex) - s.firstIndex - 1;
    if (span <= 0 || gaps <= 0) {
        int32_t b = a + 1;
        while (b < s.endIndex && RecordX(b, s.firstIndex, s.endIndex, s.plotWidth) == x) ++b;
        return b;
    }
    // The first record right of x from the inverse of RecordX, then corrected for rounding.
    const double estimate = std::ceil(static_cast<double>(x + 1 - kCurveLeft) * static_cast<double>(gaps) / span);
    int64_t b = s.firstIndex + static_cast<int64_t>(std::clamp(estimate, 0.0, static_cast<double>(gaps + 1)));
    b = std::clamp<int64_t>(b, a + 1, s.endIndex);
    while (b > a + 1 && RecordX(b - 1, s.firstIndex, s.endIndex, s.plotWidth) > x) --b;
    while (b < s.endIndex && RecordX(b, s.firstIndex, s.endIndex, s.plotWidth) <= x) ++b;
    return static_cast<int32_t>(b);
}

// The pixels one channel leaves in one column, found from its last record backwards: each
// vertical segment is drawn over the ones before it, so a pixel shows the ink of the latest
// segment through it. The segments from record j on cover one interval (they are connected),
// which grows as j goes back; the pixels an earlier segment adds to it keep that segment's ink.
// The column is then drawn as these growing intervals, outermost first; consecutive ones of one
// ink are one interval.
class ColumnPainter {
public:
    struct Band {
        int lo, hi;
        Ink ink;
    };

    // The column's last segment ends at y with `ink`.
    void Start(int y, Ink ink) {
        lo_ = hi_ = y;
        bands_.clear();
        bands_.push_back({y, y, ink});
    }
    // The segment from a point at y to the later one, drawn with `ink`.
    void Add(int y, Ink ink) {
        if (y >= lo_ && y <= hi_) return;
        lo_ = std::min(lo_, y);
        hi_ = std::max(hi_, y);
        if (bands_.back().ink == ink) bands_.back() = {lo_, hi_, ink};
        else bands_.push_back({lo_, hi_, ink});
    }
    const std::vector<Band>& Bands() const { return bands_; }

private:
    int lo_ = 0, hi_ = 0;
    std::vector<Band> bands_;
};

// Where one channel's points come from: the records, and whole blocks of the summary.
struct ColumnSource {
    const SampleRecord* records;
    const CurveSummary* summary;  // null: record by record
    int channel;
    const ValueScale* scale;

    void Point(int32_t i, int& y, Ink& ink) const {
        const float v = records[i].value[channel];
        if (IsMissingSample(v)) {
            y = scale->ClampedY(kMissingValue2Byte);
            ink = Ink::Missing;
        } else {
            y = scale->ClampedY(v);
            ink = Ink::Channel;
        }
    }
};

// Records a … b − 1 of one column without gap markers: the line into the column from the
// previous point, then the column's vertical strokes. Within the column a block of the summary
// without missing samples adds its last point (joined to the later one with that point's ink)
// and then its extreme points (all joined with the channel's ink); scaling is monotonic, so its
// extreme values give its extreme heights.
void PaintColumn(ColumnReducer& reducer, ColumnPainter& painter, const ColumnSource& source, int x, int32_t a,
                 int32_t b) {
    const bool startHere = reducer.InColumn(x);
    int y = 0;
    Ink ink = Ink::Channel;
    if (!startHere) {
        source.Point(a, y, ink);
        reducer.Segment(x, y, ink);
        if (b - a == 1) return;
    }
    source.Point(b - 1, y, ink);
    const int yLast = y;
    painter.Start(y, ink);
    Ink later = ink;
    const CurveSummary* summary = source.summary;
    const ValueScale& scale = *source.scale;
    const int c = source.channel;
    for (int32_t j = b - 2; j >= a;) {
        if (summary != nullptr && (j + 1) % kSummaryBlock == 0) {
            const int32_t block = j / kSummaryBlock;
            const int32_t blockFirst = block * kSummaryBlock;
            if (blockFirst >= a && !summary->Mixed(c, block)) {
                painter.Add(scale.ClampedY(summary->Last(c, block)), later);
                painter.Add(scale.ClampedY(summary->Low(c, block)), Ink::Channel);
                painter.Add(scale.ClampedY(summary->High(c, block)), Ink::Channel);
                later = Ink::Channel;
                j = blockFirst - 1;
                continue;
            }
        }
        source.Point(j, y, ink);
        painter.Add(y, later);
        later = ink;
        --j;
    }
    if (startHere) painter.Add(reducer.LastY(), later);
    reducer.Paint(x, painter.Bands(), yLast);
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
        reducers.back().Start(kCurveLeft, scales.back().UnlimitedY(DrawnValue(records[s.firstIndex].value[c])));
    }

    // Column by column: records first+1 … end−1 grouped by their x.
    const CurveSummary* summary = scene.summary != nullptr && scene.summary->Count() >= s.endIndex ? scene.summary : nullptr;
    ColumnPainter painter;
    int32_t a = s.firstIndex + 1;
    while (a < s.endIndex) {
        const int x = RecordX(a, s.firstIndex, s.endIndex, s.plotWidth);
        const int32_t b = ColumnEnd(a, x, s);
        bool gap = false;
        if (summary != nullptr) {
            gap = summary->AnyGap(a, b);
        } else {
            for (int32_t i = a; i < b && !gap; ++i) gap = scene.times->GapBefore(i);
        }
        for (int k = 0; k < active; ++k) {
            const int c = channels[k];
            const ValueScale& scale = scales[static_cast<size_t>(k)];
            ColumnReducer& reducer = reducers[static_cast<size_t>(k)];
            if (gap) {
                // Gap markers keep their place between the segments: record by record.
                for (int32_t i = a; i < b; ++i) {
                    const float v = records[i].value[c];
                    reducer.Segment(x, scale.ClampedY(DrawnValue(v)), IsMissingSample(v) ? Ink::Missing : Ink::Channel);
                    if (scene.times->GapBefore(i)) reducer.Marker(x, bottom);
                }
                continue;
            }
            PaintColumn(reducer, painter, ColumnSource{records, summary, c, &scale}, x, a, b);
        }
        a = b;
    }
    // A vertical stroke that lies wholly inside a solid vertical stroke of a channel drawn later,
    // in the same column, is drawn over by it (the value scale drawn between them lies under it
    // too): skip it. Each column keeps the longest such span of the channels after the one at
    // hand.
    std::vector<std::pair<int, int>> cover(static_cast<size_t>(std::max(s.plotWidth, 0)), {1, 0});
    for (int k = active - 1; k >= 0; --k) {
        std::vector<Stroke>& list = strokes[static_cast<size_t>(k)];
        reducers[static_cast<size_t>(k)].Flush();
        for (Stroke& stroke : list) {
            if (stroke.x0 != stroke.x1 || stroke.x0 < 0 || stroke.x0 >= s.plotWidth) continue;
            const std::pair<int, int>& span = cover[static_cast<size_t>(stroke.x0)];
            if (std::min(stroke.y0, stroke.y1) >= span.first && std::max(stroke.y0, stroke.y1) <= span.second) {
                stroke.ink = Ink::Covered;
            }
        }
        for (const Stroke& stroke : list) {
            if (stroke.x0 != stroke.x1 || stroke.x0 < 0 || stroke.x0 >= s.plotWidth) continue;
            if (stroke.ink != Ink::Channel && stroke.ink != Ink::Missing) continue;
            std::pair<int, int>& span = cover[static_cast<size_t>(stroke.x0)];
            const int lo = std::min(stroke.y0, stroke.y1), hi = std::max(stroke.y0, stroke.y1);
            if (hi - lo > span.second - span.first) span = {lo, hi};
        }
    }

    // The channels up to the one carrying the value scale, the scale, then the others.
    const int scaled = s.showScale ? ScaledChannel(s.channelEnabled, s.channelVisible) : -1;
    std::vector<ChannelStrokes> before, after;
    for (int k = 0; k < active; ++k) {
        const ChannelStrokes group{&strokes[static_cast<size_t>(k)], scene.colour[channels[k]].rgb()};
        (scaled >= 0 && channels[k] > scaled ? after : before).push_back(group);
    }
    DrawBanded(canvas, before);
    if (scaled >= 0) DrawValueScale(canvas, scene, scaled);
    DrawBanded(canvas, after);
}

void DrawTimeAxis(QImage& canvas, const CurveScene& scene) {
    const CurveState& s = *scene.state;
    const int w = s.plotWidth, h = s.plotHeight;
    QPainter p(&canvas);
    p.setFont(scene.font);
    QPen axis(Qt::black);
    axis.setWidth(2);
    p.setPen(axis);
    p.drawLine(kCurveLeft, h - kCurveBottomMargin, w - kCurveRightMargin, h - kCurveBottomMargin);
    const int d = TimeDivisions(w);
    const QFontMetrics metrics(scene.font);
    const int32_t count = std::min(s.recordCount, UsableRecordCount(*scene.set));
    const std::vector<TimeTick> ticks = TimeTicks(w, s.firstIndex, s.endIndex, count);
    std::vector<QString> labels;
    std::vector<int> lefts, widths;
    for (int j = 0; j < static_cast<int>(ticks.size()); ++j) {
        p.setPen(axis);
        p.drawLine(ticks[j].x, h - kCurveBottomMargin, ticks[j].x, h - 19);
        labels.push_back(
            QString::fromLatin1(RecordTimeOfDayText(scene.set->records[static_cast<size_t>(ticks[j].record)]).c_str()));
        widths.push_back(metrics.horizontalAdvance(labels.back()));
        lefts.push_back(TimeLabelLeft(j, d, ticks[j].x, widths.back(), w));
    }
    // A label that would run into another is left out.
    const std::vector<bool> shown = TimeLabelsShown(lefts, widths);
    p.setPen(Qt::black);
    for (size_t j = 0; j < labels.size(); ++j) {
        if (shown[j]) p.drawText(lefts[j], h - 17 + metrics.ascent(), labels[j]);
    }
}

}  // namespace

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
    DrawTimeAxis(canvas, scene);
}

}  // namespace velorin
