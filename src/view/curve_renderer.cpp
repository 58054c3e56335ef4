#include "view/curve_renderer.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numeric>
#include <utility>
#include <vector>

#include "history/record_set.h"
#include "view/curve_geometry.h"
#include "view/curve_state.h"
#include "view/curve_summary.h"
#include "view/parallel_parts.h"
#include "view/record_times.h"
#include "view/stroke_raster.h"

namespace velorin {

namespace {

bool Drawn(const CurveState& s, int c) { return s.channelEnabled[c] != 0 && s.channelVisible[c] != 0; }

// A missing sample of either kind is drawn where the 2-byte marker lies (the bottom edge of a
// value range that holds real values), in grey.
inline float DrawnValue(float v) { return IsMissingSample(v) ? kMissingValue2Byte : v; }
inline QRgb InkOf(float v, QRgb colour) { return IsMissingSample(v) ? kMissingGrey : colour; }

QString ScaleCaption(int c) { return QString::asprintf("CH%d", c + 1); }

QString ScaleLabel(int m, float axisMax, float axisMin) {
    return QString::asprintf("%.2f", static_cast<double>(ScaleTickValue(m, axisMax, axisMin)));
}

// The value scale of the first visible channel at canvas x = 10 (any further channel's scale
// would lie 60 pixels further left, outside the canvas, so only one is drawn).
void DrawScaleOf(QImage& canvas, const CurveScene& scene, int c) {
    DrawValueScale(canvas, scene.font, scene.colour[c], scene.state->axisMax[c], scene.state->axisMin[c],
                   scene.state->plotHeight, ScaleCaption(c));
}

// The value scale belongs to the first channel drawn and is drawn right after its curve.
void ScaleAfter(QImage& canvas, const CurveScene& scene, int channel) {
    const CurveState& s = *scene.state;
    if (s.showScale && channel == ScaledChannel(s.channelEnabled, s.channelVisible))
        DrawScaleOf(canvas, scene, channel);
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
        if (bands_.back().ink == ink)
            bands_.back() = {lo_, hi_, ink};
        else
            bands_.push_back({lo_, hi_, ink});
    }
    const std::vector<Band>& Bands() const { return bands_; }
    // The rows the segments added so far cover: lo … hi.
    int Low() const { return lo_; }
    int High() const { return hi_; }

private:
    int lo_ = 0, hi_ = 0;
    std::vector<Band> bands_;
};

// Where one channel's points come from: the summary's values and its whole blocks and groups,
// or without a summary the records.
struct ColumnSource {
    const SampleRecord* records;
    const CurveSummary* summary;  // null: record by record
    const float* values;          // the summary's values of the channel; null without one
    int channel;
    const ValueScale* scale;

    float Value(int32_t i) const { return values != nullptr ? values[i] : records[i].value[channel]; }
    void Point(int32_t i, int& y, Ink& ink) const {
        const float v = Value(i);
        if (IsMissingSample(v)) {
            y = scale->ClampedY(kMissingValue2Byte);
            ink = Ink::Missing;
        } else {
            y = scale->ClampedY(v);
            ink = Ink::Channel;
        }
    }
    // The lowest and highest of values a … b − 1 when every one of them is plain (no missing
    // sample, a number); false otherwise (also when a block at either end holds one that is not
    // plain, even outside a … b − 1). Needs the summary.
    bool PlainExtremes(int32_t a, int32_t b, float& low, float& high) const {
        const CurveSummary::Block* blocks = summary->BlocksOf(channel);
        if (blocks[a / kSummaryBlock].mixed != 0 || blocks[(b - 1) / kSummaryBlock].mixed != 0) return false;
        low = std::numeric_limits<float>::infinity();
        high = -low;
        // The single values lie in the two end blocks, plain as checked.
        return summary->Walk(
            channel, a, b,
            [&low, &high](const CurveSummary::Block& whole) {
                low = std::min(low, whole.low);
                high = std::max(high, whole.high);
                return whole.mixed == 0;
            },
            [&low, &high](float v) {
                low = std::min(low, v);
                high = std::max(high, v);
                return true;
            });
    }
    // Moves `first` (a block edge) down over the whole groups and blocks that lie at or after
    // record a and that take(block) accepts, a group wherever one ends at `first`; stops at the
    // first one refused.
    template <typename Take>
    void BlocksDown(int32_t a, int32_t& first, Take take) const {
        const CurveSummary::Block* groups = summary->GroupsOf(channel);
        const CurveSummary::Block* blocks = summary->BlocksOf(channel);
        for (;;) {
            if (first % kSummaryGroup == 0 && first - kSummaryGroup >= a && take(groups[first / kSummaryGroup - 1])) {
                first -= kSummaryGroup;
            } else if (first - kSummaryBlock >= a && take(blocks[first / kSummaryBlock - 1])) {
                first -= kSummaryBlock;
            } else {
                return;
            }
        }
    }
    // BlocksDown over plain values, widening low … high by their extremes; stops at a block that
    // holds a missing sample (or a value that is not a number).
    void PlainBlocksDown(int32_t a, int32_t& first, float& low, float& high) const {
        BlocksDown(a, first, [&low, &high](const CurveSummary::Block& block) {
            if (block.mixed != 0) return false;
            low = std::min(low, block.low);
            high = std::max(high, block.high);
            return true;
        });
    }
    // BlocksDown over stretches whose every point lies within rows lo … hi: their plain values
    // (scaling is monotonic, so their extremes say where all of them lie) and, when they hold
    // any, missing samples at `missingY` and values that are not numbers at the bottom row.
    void HiddenBlocksDown(int32_t a, int32_t& first, int lo, int hi, int missingY) const {
        const bool odd = missingY < lo || missingY > hi || scale->Bottom() < lo || scale->Bottom() > hi;
        BlocksDown(a, first, [&](const CurveSummary::Block& block) {
            if (block.mixed != 0 && odd) return false;
            if (!(block.low <= block.high)) return true;  // no plain value
            const int y0 = scale->ClampedY(block.low), y1 = scale->ClampedY(block.high);
            return y0 >= lo && y0 <= hi && y1 >= lo && y1 <= hi;
        });
    }
};

// Records a … b − 1 of one column with no gap marker between their segments: the line into the
// column from the previous point (or, when that point lies in this column already, a vertical
// stroke from it), then the column's vertical strokes. Within the column a stretch of whole
// blocks (and groups) of the summary without missing samples adds its last point (joined to the
// later one with that point's ink) and then its extreme points (all joined with the channel's
// ink); scaling is monotonic, so its extreme values give its extreme heights.
// Returns whether the column's values were read one by one (it holds a value that is not plain).
bool PaintColumn(ColumnReducer& reducer, ColumnPainter& painter, const ColumnSource& source, int x, int32_t a,
                 int32_t b) {
    const bool startHere = reducer.InColumn(x);
    const ValueScale& scale = *source.scale;
    float low = 0, high = 0;
    if (source.summary != nullptr && source.PlainExtremes(a, b, low, high)) {
        // Only plain values: every segment has the channel's ink, so the column is one interval
        // from the highest to the lowest point (with the previous point when the range starts
        // in this column).
        if (!startHere) {
            reducer.Segment(x, scale.ClampedY(source.values[a]), Ink::Channel);
            if (b - a == 1) return false;
        }
        const int yLow = scale.ClampedY(low), yHigh = scale.ClampedY(high);
        std::array<ColumnPainter::Band, 1> band{{{std::min(yLow, yHigh), std::max(yLow, yHigh), Ink::Channel}}};
        if (startHere) {
            band[0].lo = std::min(band[0].lo, reducer.LastY());
            band[0].hi = std::max(band[0].hi, reducer.LastY());
        }
        reducer.Paint(x, band, scale.ClampedY(source.values[b - 1]));
        return false;
    }
    int y = 0;
    Ink ink = Ink::Channel;
    if (!startHere) {
        source.Point(a, y, ink);
        reducer.Segment(x, y, ink);
        if (b - a == 1) return true;
    }
    const int missingY = scale.ClampedY(kMissingValue2Byte);
    source.Point(b - 1, y, ink);
    const int yLast = y;
    painter.Start(y, ink);
    Ink later = ink;
    for (int32_t j = b - 2; j >= a;) {
        if (source.summary != nullptr && (j + 1) % kSummaryBlock == 0) {
            // Whole groups and blocks ending with record j whose points all lie where the later
            // segments are drawn: every one of their segments is drawn over. Only the ink of
            // the earliest point, which its segment to the point before takes, is left of them.
            int32_t first = j + 1;
            source.HiddenBlocksDown(a, first, painter.Low(), painter.High(), missingY);
            if (first <= j) {
                source.Point(first, y, later);
                j = first - 1;
                continue;
            }
            // Whole blocks of plain values ending with record j: after the stretch's last point
            // every point is joined with the channel's ink, so together they add one interval,
            // from the lowest to the highest of their values.
            float low = std::numeric_limits<float>::infinity(), high = -low;
            source.PlainBlocksDown(a, first, low, high);
            if (first <= j) {
                painter.Add(scale.ClampedY(source.Value(j)), later);
                painter.Add(scale.ClampedY(low), Ink::Channel);
                painter.Add(scale.ClampedY(high), Ink::Channel);
                later = Ink::Channel;
                j = first - 1;
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
    return true;
}

// The records of one pixel column: a … b − 1, all at x.
struct ColumnSpan {
    int x;
    int32_t a, b;
    bool gap;  // a record among them follows its predecessor after a gap in time
};

// Records first+1 … end−1 grouped by their x.
std::vector<ColumnSpan> ColumnSpans(const CurveScene& scene, const CurveSummary* summary) {
    const CurveState& s = *scene.state;
    std::vector<ColumnSpan> columns;
    columns.reserve(static_cast<size_t>(std::max(s.plotWidth, 1)));
    const int64_t span = s.plotWidth - 60;
    const int64_t gaps = static_cast<int64_t>(s.endIndex) - s.firstIndex - 1;
    if (summary == nullptr || span <= 0 || gaps <= 0) {
        for (int32_t a = s.firstIndex + 1; a < s.endIndex;) {
            const int x = RecordX(a, s.firstIndex, s.endIndex, s.plotWidth);
            const int32_t b = ColumnEnd(a, x, s);
            bool gap = false;
            if (summary != nullptr) {
                gap = summary->AnyGap(a, b);
            } else {
                for (int32_t i = a; i < b && !gap; ++i) gap = scene.times->GapBefore(i);
            }
            columns.push_back({x, a, b, gap});
            a = b;
        }
        return columns;
    }
    // Record first + k lies at x = kCurveLeft + X with X = ⌊k × span ÷ gaps⌋ (what RecordX gives:
    // a quotient of integers this size lies too far from the next whole number for the double's
    // rounding to reach it). Column X therefore holds k = ⌈X × gaps ÷ span⌉ … ⌈(X + 1) × gaps ÷
    // span⌉ − 1: the bounds follow from one another by adding gaps to the numerator, kept as
    // quotient and remainder, without a division per column.
    const int64_t stepQuotient = gaps / span, stepRemainder = gaps % span;
    int64_t X = span / gaps;                                                      // column of k = 1
    int64_t quotient = (X + 1) * gaps / span, remainder = (X + 1) * gaps % span;  // (X + 1) × gaps
    int64_t from = 1;
    int32_t nextGap = summary->NextGap(s.firstIndex + 1, s.endIndex);
    while (from <= gaps) {
        const int64_t to = std::min(quotient + (remainder > 0 ? 1 : 0), gaps + 1);
        if (to > from) {
            const int32_t a = static_cast<int32_t>(s.firstIndex + from), b = static_cast<int32_t>(s.firstIndex + to);
            if (nextGap < a) nextGap = summary->NextGap(a, s.endIndex);
            columns.push_back({kCurveLeft + static_cast<int>(X), a, b, nextGap < b});
            from = to;
        }
        ++X;
        quotient += stepQuotient;
        remainder += stepRemainder;
        if (remainder >= span) {
            remainder -= span;
            ++quotient;
        }
    }
    return columns;
}

// One channel's strokes, column by column.
void SweepChannel(const CurveScene& scene, const std::vector<ColumnSpan>& columns, const ColumnSource& source,
                  ColumnReducer& reducer) {
    const CurveState& s = *scene.state;
    const int bottom = s.plotHeight - kCurveBottomMargin;
    const CurveSummary* summary = source.summary;
    ColumnPainter painter;
    bool oneByOne = false;  // in the last column
    for (size_t c = 0; c < columns.size(); ++c) {
        const auto [x, a, b, gap] = columns[c];
        // The columns around a column edge read the values of the block and the blocks of the
        // group holding it (both columns: one above, one below the edge), and the groups between
        // edges follow in order. The edge after the next one is fetched while this column is
        // worked on (a whole data set is far larger than the caches, and reading one value of it
        // from memory takes as long as drawing several columns). Written out here: the compiler
        // drops a function or loop of nothing but prefetches.
        if (summary != nullptr) {
            constexpr int32_t kBlocksPerLine = 64 / static_cast<int32_t>(sizeof(CurveSummary::Block));
            constexpr int32_t kValuesPerLine = 64 / static_cast<int32_t>(sizeof(float)), kLinesAhead = 16;
            const int32_t edge = std::min(columns[std::min(c + 2, columns.size() - 1)].b, s.endIndex - 1);
            const int32_t edgeGroup = edge / kSummaryGroup;
            const int32_t groupBlock = edgeGroup * (kSummaryGroup / kSummaryBlock);
            const CurveSummary::Block* blocks = summary->BlocksOf(source.channel);
            // The edge's block of values may straddle two cache lines.
            __builtin_prefetch(source.values + edge / kSummaryBlock * kSummaryBlock);
            __builtin_prefetch(source.values +
                               std::min(edge / kSummaryBlock * kSummaryBlock + kSummaryBlock - 1, s.endIndex - 1));
            // The last group may hold fewer blocks.
            const int32_t groupEnd = std::min(groupBlock + kSummaryGroup / kSummaryBlock, summary->Blocks());
            for (int32_t block = groupBlock; block < groupEnd; block += kBlocksPerLine)
                __builtin_prefetch(blocks + block);
            __builtin_prefetch(summary->GroupsOf(source.channel) + edgeGroup);
            // A channel read one by one in this column most likely is in the next one too: its
            // values there, at most kLinesAhead cache lines of them.
            if (oneByOne && c + 1 < columns.size()) {
                const int32_t to = std::min(columns[c + 1].b, b + kLinesAhead * kValuesPerLine);
                for (int32_t i = b; i < to; i += kValuesPerLine) __builtin_prefetch(source.values + i);
            }
        }
        if (gap) {
            // Gap markers keep their place between the segments: the column's records up to each
            // record after a gap, its marker, then on from there (joined to the point before).
            for (int32_t from = a; from < b;) {
                int32_t next = from;
                if (summary != nullptr) {
                    next = summary->NextGap(from, b);
                } else {
                    while (next < b && !scene.times->GapBefore(next)) ++next;
                }
                const int32_t to = std::min(next + 1, b);
                oneByOne = PaintColumn(reducer, painter, source, x, from, to);
                if (next < b) reducer.Marker(x, bottom);
                from = to;
            }
            continue;
        }
        oneByOne = PaintColumn(reducer, painter, source, x, a, b);
    }
    reducer.Flush();
}

void DrawReduced(QImage& canvas, const CurveScene& scene, CanvasUnder under) {
    const CurveState& s = *scene.state;
    int channels[kRecordSetChannels];
    int active = 0;
    for (int c = 0; c < kRecordSetChannels; ++c) {
        if (Drawn(s, c)) channels[active++] = c;
    }
    if (active == 0) return;
    const SampleRecord* records = scene.set->records.data();
    const CurveSummary* summary =
        scene.summary != nullptr && scene.summary->Count() >= s.endIndex ? scene.summary : nullptr;
    std::vector<ValueScale> scales;
    scales.reserve(static_cast<size_t>(active));
    std::vector<ColumnSource> sources;
    // Each channel's strokes and their reducer in cache lines of their own: the threads walking
    // different channels write them all the time.
    struct alignas(64) ChannelStrokes {
        std::vector<Stroke> strokes;
        ColumnReducer reducer{strokes};
    };
    std::vector<ChannelStrokes> walked(static_cast<size_t>(active));
    for (int a = 0; a < active; ++a) {
        const int c = channels[a];
        scales.emplace_back(s.axisMax[c], s.axisMin[c], s.plotHeight);
        sources.push_back({records, summary, summary != nullptr ? summary->ValuesOf(c) : nullptr, c, &scales.back()});
        ChannelStrokes& channel = walked[static_cast<size_t>(a)];
        channel.strokes.reserve(static_cast<size_t>(4 * std::max(s.plotWidth, 16)));
        channel.reducer.Start(kCurveLeft, scales.back().UnlimitedY(DrawnValue(sources.back().Value(s.firstIndex))));
    }
    // The channels are independent of each other: the column walk of each runs on whichever of
    // the threads claims it (they only read the scene and write their own strokes).
    const std::vector<ColumnSpan> columns = ColumnSpans(scene, summary);
    // The channels read record by record the most take longest: they go first, so that the
    // threads end about together.
    std::vector<int> order(static_cast<size_t>(active));
    std::iota(order.begin(), order.end(), 0);
    if (summary != nullptr) {
        std::vector<int32_t> mixed(static_cast<size_t>(active));
        for (int k = 0; k < active; ++k)
            mixed[static_cast<size_t>(k)] = summary->MixedGroups(channels[k], s.firstIndex, s.endIndex);
        std::stable_sort(order.begin(), order.end(), [&mixed](int l, int r) {
            return mixed[static_cast<size_t>(l)] > mixed[static_cast<size_t>(r)];
        });
    }
    RunParts(active, [&](int part) {
        const size_t k = static_cast<size_t>(order[static_cast<size_t>(part)]);
        SweepChannel(scene, columns, sources[k], walked[k].reducer);
    });

    std::vector<CurveStrokes> all;
    for (int k = 0; k < active; ++k) {
        all.push_back({&walked[static_cast<size_t>(k)].strokes, scene.colour[channels[k]].rgb()});
    }

    // The channels up to the one carrying the value scale, the scale, then the others.
    const int scaled = s.showScale ? ScaledChannel(s.channelEnabled, s.channelVisible) : -1;
    std::vector<CurveStrokes> before, after;
    for (int k = 0; k < active; ++k) {
        (scaled >= 0 && channels[k] > scaled ? after : before).push_back(all[static_cast<size_t>(k)]);
    }
    if (scaled < 0) {
        DrawCurves(canvas, all, under);
        return;
    }
    // The value scale lies in the leftmost columns only. There the channels up to the one
    // carrying it go first, then the scale, then the others; right of it, where nothing lies
    // between the curves, all of them go in one pass (the canvas is far larger than the caches:
    // one pass writes it once instead of twice).
    const int scaleRight =
        ValueScaleRight(canvas, scene.font, s.axisMax[scaled], s.axisMin[scaled], ScaleCaption(scaled));
    const int split = std::min(LineStartColumn(canvas, scaleRight), s.plotWidth);
    // The scale's columns beside the others' bands: on the calling thread, which paints the
    // scale's texts with its fonts, while a helper draws bands (they only write their own
    // columns' pixels).
    const CurveBands right(canvas, all, under, split, s.plotWidth, 6);
    RunParts(1 + right.Parts(), [&](int part) {
        if (part > 0) {
            right.Draw(part - 1);
            return;
        }
        CurveBands(canvas, before, under, 0, split, 1).Draw(0);
        DrawScaleOf(canvas, scene, scaled);
        CurveBands(canvas, after, CanvasUnder::Kept, 0, split, 1).Draw(0);
    });
}

void DrawRecordTimeAxis(QImage& canvas, const CurveScene& scene) {
    const CurveState& s = *scene.state;
    const int32_t count = std::min(s.recordCount, UsableRecordCount(*scene.set));
    std::vector<AxisTick> ticks;
    for (const TimeTick& tick : TimeTicks(s.plotWidth, s.firstIndex, s.endIndex, count)) {
        ticks.push_back(
            {tick.x,
             QString::fromLatin1(RecordTimeOfDayText(scene.set->records[static_cast<size_t>(tick.record)]).c_str())});
    }
    DrawTimeAxis(canvas, scene.font, s.plotWidth, s.plotHeight, ticks);
}

}  // namespace

int ValueScaleRight(const QImage& canvas, const QFont& font, float axisMax, float axisMin, const QString& caption) {
    // A repaint or a pan keeps the scale: its texts are measured (each measure shapes a text)
    // once. The font by its key: a QFont kept past the application's end would outlive its
    // font database.
    struct Measured {
        QString fontKey, caption;
        int dpiX = 0, dpiY = 0;
        float axisMax = 0, axisMin = 0;
        int right = -1;
    };
    thread_local Measured last;
    const QString fontKey = font.key();
    const int dpiX = canvas.logicalDpiX(), dpiY = canvas.logicalDpiY();
    if (last.right >= 0 && last.axisMax == axisMax && last.axisMin == axisMin && last.dpiX == dpiX &&
        last.dpiY == dpiY && last.caption == caption && last.fontKey == fontKey) {
        return last.right;
    }
    // The texts are drawn at the canvas's resolution.
    const QFontMetrics metrics(font, &canvas);
    int widest = metrics.horizontalAdvance(caption);
    for (int m = 0; m <= 4; ++m) widest = std::max(widest, metrics.horizontalAdvance(ScaleLabel(m, axisMax, axisMin)));
    // The texts start at x = 15 and 18; a glyph's ink may reach past its advance, by less than
    // the widest glyph of the font.
    last = {fontKey, caption, dpiX, dpiY, axisMax, axisMin, 18 + widest + std::max(metrics.maxWidth(), 1) + 2};
    return last.right;
}

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
        p.setPen(Qt::black);
        p.drawText(18, y - metrics.height() / 2 + metrics.ascent(), ScaleLabel(m, axisMax, axisMin));
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
    std::vector<int> lefts, widths;
    for (int j = 0; j <= d; ++j) {
        p.setPen(axis);
        p.drawLine(ticks[j].x, h - kCurveBottomMargin, ticks[j].x, h - 19);
        widths.push_back(metrics.horizontalAdvance(ticks[j].label));
        lefts.push_back(TimeLabelLeft(j, d, ticks[j].x, widths.back(), w));
    }
    // A label that would run into another is left out.
    const std::vector<bool> shown = TimeLabelsShown(lefts, widths);
    p.setPen(Qt::black);
    for (size_t j = 0; j < ticks.size(); ++j) {
        if (shown[j]) p.drawText(lefts[j], h - 17 + metrics.ascent(), ticks[j].label);
    }
}

void RenderCurveCanvas(QImage& canvas, const CurveScene& scene, CurveDrawing drawing) {
    const CurveState& s = *scene.state;
    const int w = std::max(s.plotWidth, 1), h = std::max(s.plotHeight, 1);
    if (canvas.size() != QSize(w, h) || canvas.format() != QImage::Format_RGB32) {
        canvas = QImage(w, h, QImage::Format_RGB32);
    }
    const int32_t count = std::min(s.recordCount, UsableRecordCount(*scene.set));
    const bool haveRecords = s.firstIndex >= 0 && s.firstIndex < s.endIndex && s.endIndex <= count &&
                             scene.times != nullptr && scene.times->Count() >= s.endIndex;
    bool anyDrawn = false;
    for (int c = 0; c < kRecordSetChannels; ++c) anyDrawn = anyDrawn || Drawn(s, c);
    // The reduced drawing makes the canvas blank band by band with its first curves (the canvas
    // is larger than the caches); otherwise it is made blank here: white with a black frame.
    const bool reduced =
        haveRecords && s.endIndex - s.firstIndex > 1 && drawing == CurveDrawing::Reduced && anyDrawn && w > 1 && h > 1;
    if (!reduced) {
        canvas.fill(Qt::white);
        QPainter p(&canvas);
        p.setPen(QPen(Qt::black, 0));
        p.drawRect(0, 0, w - 1, h - 1);
    }
    if (reduced) {
        DrawReduced(canvas, scene, CanvasUnder::Blank);
    } else if (haveRecords) {
        if (s.endIndex - s.firstIndex == 1)
            DrawSinglePoints(canvas, scene);
        else if (drawing == CurveDrawing::EverySegment)
            DrawEverySegment(canvas, scene);
    }
    DrawRecordTimeAxis(canvas, scene);
}

}  // namespace velorin
