// The pixel layer of the curve canvases (the history view's and the comparison window's): 1-pixel
// lines written straight into an RGB32 image, the strokes a curve is made of, the column
// reduction that merges the segments of one pixel column into one vertical stroke (first, last,
// lowest and highest point of the column: the M4 reduction) and the drawing of all curves through
// a layer that writes each pixel once (curve_layer.h).
//
// Whatever is merged or skipped, the pixels are those of drawing every segment as a line in
// order: a reduced stroke covers exactly the pixels of the segments it stands for, strokes keep
// their drawing order within a column, and a stroke is skipped only where a later one writes
// every pixel it would.
//
// A line style masks pixels by their position only (never by which stroke writes them), so a
// styled curve gives the same pixels however its segments are merged.
//
// Plain functions and small classes over one image: use one image per thread. DrawCurves splits
// its bands over the calling thread and a helper of Qt's global thread pool (view/parallel_parts.h),
// each with its layer, and returns when both are done.
#pragma once

#include <QRgb>
#include <cstddef>
#include <cstdint>
#include <vector>

class QImage;

namespace velorin {

// Solid, or a checkerboard of square blocks of 4 (dashed), 2 (dotted) or 8 (long dashes)
// pixels: a near-horizontal or near-vertical line shows every other block.
enum class LineStyle : uint8_t { Solid, Dashed, Dotted, LongDashed };
constexpr int kLineStyles = 4;

// log2 of a styled line's block size: blocks of 2 (dotted), 4 (dashed) or 8 (long dashes) pixels.
inline int StyleShift(LineStyle style) { return style == LineStyle::Dotted ? 1 : style == LineStyle::Dashed ? 2 : 3; }

// Whether `style` writes pixel (x, y).
inline bool StyleCovers(LineStyle style, int x, int y) {
    switch (style) {
        case LineStyle::Solid: return true;
        case LineStyle::Dashed: return (((x >> 2) + (y >> 2)) & 1) == 0;
        case LineStyle::Dotted: return (((x >> 1) + (y >> 1)) & 1) == 0;
        case LineStyle::LongDashed: return (((x >> 3) + (y >> 3)) & 1) == 0;
    }
    return true;
}

// 1-pixel lines written straight into an RGB32 image, clipped to it. A line covers both of its
// end points; a vertical line covers every pixel between them, so vertical lines that share end
// points cover exactly the span from the lowest to the highest of them.
class PixelPen {
public:
    explicit PixelPen(QImage& image);

    void SetStyle(LineStyle style) { style_ = style; }

    void Point(int x, int y, QRgb colour) {
        if (x >= 0 && x < width_ && y >= 0 && y < height_ && StyleCovers(style_, x, y)) {
            bits_[y * stride_ + x] = colour;
        }
    }
    void Vertical(int x, int y0, int y1, QRgb colour);
    // Bresenham from (x0, y0) to (x1, y1), both end points included.
    void Line(int x0, int y0, int x1, int y1, QRgb colour);
    // A dotted vertical line from `from` towards `to`: every second pixel, starting at `from`.
    void Dotted(int x, int from, int to, QRgb colour);

private:
    QRgb* bits_;
    std::ptrdiff_t stride_;
    int width_, height_;
    LineStyle style_ = LineStyle::Solid;
};

// The inks of a missing sample's segments and of the gap markers.
constexpr QRgb kMissingGrey = qRgb(200, 200, 200);
constexpr QRgb kMarkerBlack = qRgb(0, 0, 0);

// The drawing primitives of one curve, in drawing order.
enum class Ink : uint8_t { Channel, Missing, Marker, Covered };
struct Stroke {
    int x0, y0, x1, y1;
    Ink ink;
};

// Collects one curve's strokes, merging consecutive same-ink segments inside one column into
// one vertical stroke from the lowest to the highest point.
class ColumnReducer {
public:
    explicit ColumnReducer(std::vector<Stroke>& out) : out_(&out) {}

    void Start(int x, int y) {
        px_ = x;
        py_ = y;
    }
    void Segment(int x, int y, Ink ink);
    // `count` records of one column with the curve's ink and no marker among them: the first
    // at yFirst, the last at yLast, all within yMin … yMax. The same strokes as `count` Segment
    // calls.
    void Column(int x, int yFirst, int yMin, int yMax, int yLast, int32_t count);
    // Whether the last point lies in column x (only the range's first record can: the column's
    // records then join it with a vertical line instead of entering from the left).
    bool InColumn(int x) const { return x == px_; }
    int LastY() const { return py_; }
    // The vertical strokes of column x, outermost first, each drawn over the ones before; the
    // column's last record lies at yLast. `bands` holds {lo, hi, ink} items, innermost first.
    template <typename Bands>
    void Paint(int x, const Bands& bands, int yLast) {
        Flush();
        for (auto band = bands.rbegin(); band != bands.rend(); ++band) Vertical(x, band->lo, band->hi, band->ink);
        px_ = x;
        py_ = yLast;
    }
    void Marker(int x, int bottom);
    void Flush();

private:
    void Vertical(int x, int from, int to, Ink ink);
    void Extend(int x, Ink ink, int lo, int hi);

    static constexpr int kLookBack = 8;
    int columnX_ = -1;
    int columnCount_ = 0;
    size_t columnStrokes_[kLookBack] = {};

    std::vector<Stroke>* out_;
    int px_ = 0, py_ = 0;
    bool open_ = false;
    int runX_ = 0, runMin_ = 0, runMax_ = 0;
    Ink runInk_ = Ink::Channel;
};

// One curve's strokes with its colour and style.
struct CurveStrokes {
    std::vector<Stroke>* strokes;
    QRgb colour;
    LineStyle style = LineStyle::Solid;
};

// What the canvas holds where DrawCurves draws: what is there already, or nothing yet (the canvas
// is made blank band by band just before the band's curves go onto it: white with a 1-pixel
// black frame, as RenderCurveCanvas starts a canvas; each band is then written while it is in
// the cache instead of the whole canvas twice).
enum class CanvasUnder { Kept, Blank };

// An RGB32 image's pixels as the curve layer writes them: taken from the image once, so that
// threads drawing bands of their own never touch the image object itself.
struct CanvasPixels {
    unsigned char* rows = nullptr;
    std::ptrdiff_t rowBytes = 0;
    int width = 0, height = 0;
};

// The first column at or right of x (at most x + 15) whose pixels start a cache line in every row
// of `canvas`, so that threads drawing the columns either side of it never write into one line
// (a line two cores write in turn moves between them at every write); x itself when the rows do
// not all start at the same place within a line.
int LineStartColumn(const QImage& canvas, int x);

// The drawing of DrawCurves in parts of whole bands, which may be drawn at once on different
// threads (each through its thread's layer): a part writes only its own columns and all of them
// only read the strokes. The image's pixels are taken here, on the calling thread (taking them
// may detach the image); meanwhile only the part drawers and at most one other thread, drawing
// other columns, may use the image.
class CurveBands {
public:
    CurveBands(QImage& canvas, const std::vector<CurveStrokes>& curves, CanvasUnder under, int from, int to, int parts);
    int Parts() const { return static_cast<int>(edges_.size()) - 1; }
    void Draw(int part) const;

private:
    CanvasPixels pixels_;
    const std::vector<CurveStrokes>* curves_;
    CanvasUnder under_;
    std::vector<int> edges_;  // part i: columns edges_[i] … edges_[i + 1] − 1
};

// Draws the curves one after another onto `canvas` (RGB32), through this thread's curve layer:
// the same pixels as drawing them straight into the canvas. The layer is drawn band by band of
// columns, every curve's part in a band before the next band, so that the band stays in the
// cache. Every curve's strokes must run from left to right (their x never decreases): each band
// needs only the strokes from a moving cursor on. A vertical stroke lying wholly inside a vertical
// stroke of a solid curve drawn later, in the same column, is skipped (the later one writes every
// pixel of it). The bands are drawn in parts (CurveBands) on the calling thread and a helper.
void DrawCurves(QImage& canvas, const std::vector<CurveStrokes>& curves, CanvasUnder under = CanvasUnder::Kept);

}  // namespace velorin
