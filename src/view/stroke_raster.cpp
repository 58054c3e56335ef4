#include "view/stroke_raster.h"

#include "view/curve_layer.h"
#include "view/parallel_parts.h"

#include <QImage>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace velorin {

namespace {

// Whether a stroke's rows all lie within lo … hi.
inline bool WithinRows(const Stroke& s, int lo, int hi) {
    return std::min(s.y0, s.y1) >= lo && std::max(s.y0, s.y1) <= hi;
}

}  // namespace

PixelPen::PixelPen(QImage& image)
    : bits_(reinterpret_cast<QRgb*>(image.bits())),
      stride_(image.bytesPerLine() / 4),
      width_(image.width()),
      height_(image.height()) {}

void PixelPen::Vertical(int x, int y0, int y1, QRgb colour) {
    if (x < 0 || x >= width_) return;
    if (y0 > y1) std::swap(y0, y1);
    y0 = std::max(y0, 0);
    y1 = std::min(y1, height_ - 1);
    QRgb* const column = bits_ + x;
    const std::ptrdiff_t stride = stride_;
    if (style_ == LineStyle::Solid) {
        for (QRgb* p = column + y0 * stride; y0 <= y1; ++y0, p += stride) *p = colour;
        return;
    }
    // A styled line writes whole blocks of 2^shift rows and skips the others (y0 ≥ 0 here).
    const int shift = StyleShift(style_);
    const int phase = (x >> shift) & 1;
    for (int y = y0; y <= y1;) {
        const int blockEnd = std::min(y1, (((y >> shift) + 1) << shift) - 1);
        if ((((y >> shift) + phase) & 1) == 0) {
            for (QRgb* p = column + y * stride; y <= blockEnd; ++y, p += stride) *p = colour;
        }
        y = blockEnd + 1;
    }
}

void PixelPen::Line(int x0, int y0, int x1, int y1, QRgb colour) {
    if (x0 == x1) {
        Vertical(x0, y0, y1, colour);
        return;
    }
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    // Wholly inside the image with a solid pen: the same walk without the per-pixel checks.
    if (style_ == LineStyle::Solid && std::min(x0, x1) >= 0 && std::max(x0, x1) < width_ && std::min(y0, y1) >= 0 &&
        std::max(y0, y1) < height_) {
        QRgb* p = bits_ + y0 * stride_ + x0;
        const std::ptrdiff_t stepY = sy * stride_;
        for (;;) {
            *p = colour;
            if (x0 == x1 && y0 == y1) break;
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
                p += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
                p += stepY;
            }
        }
        return;
    }
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

void PixelPen::Dotted(int x, int from, int to, QRgb colour) {
    const int step = from <= to ? 1 : -1;
    for (int y = from, k = 0;; y += step, ++k) {
        if (k % 2 == 0) Point(x, y, colour);
        if (y == to) break;
    }
}

void ColumnReducer::Segment(int x, int y, Ink ink) {
    if (x == px_) {
        Extend(x, ink, std::min(py_, y), std::max(py_, y));
    } else {
        Flush();
        out_->push_back({px_, py_, x, y, ink});
    }
    px_ = x;
    py_ = y;
}

void ColumnReducer::Column(int x, int yFirst, int yMin, int yMax, int yLast, int32_t count) {
    Segment(x, yFirst, Ink::Channel);
    if (count < 2) return;
    Extend(x, Ink::Channel, std::min(yFirst, yMin), std::max(yFirst, yMax));
    py_ = yLast;
}

void ColumnReducer::Marker(int x, int bottom) {
    Flush();
    Vertical(x, bottom, py_, Ink::Marker);
    px_ = x;
}

void ColumnReducer::Flush() {
    if (!open_) return;
    Vertical(runX_, runMin_, runMax_, runInk_);
    open_ = false;
}

// A vertical stroke. Earlier vertical strokes of this curve in the same column that lie wholly
// inside a solid one are drawn over by it whatever came between (this curve's strokes are drawn
// in order, other curves' before or after all of them; both have the curve's style), so they
// are marked covered and skipped. Only the last few are looked at, which keeps columns that
// alternate between inks many times cheap.
void ColumnReducer::Vertical(int x, int from, int to, Ink ink) {
    if (x != columnX_) {
        columnX_ = x;
        columnCount_ = 0;
    }
    if (ink != Ink::Marker) {
        const int lo = std::min(from, to), hi = std::max(from, to);
        for (int k = 0; k < columnCount_ && k < kLookBack; ++k) {
            Stroke& earlier = (*out_)[columnStrokes_[k]];
            if (WithinRows(earlier, lo, hi)) {
                earlier.ink = Ink::Covered;
            }
        }
    }
    columnStrokes_[columnCount_ % kLookBack] = out_->size();
    ++columnCount_;
    out_->push_back({x, from, x, to, ink});
}

void ColumnReducer::Extend(int x, Ink ink, int lo, int hi) {
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

namespace {

// 32 columns of a 1080-row layer: 135 KiB, which stays in the cache while the band is drawn.
constexpr int kBand = 32;

// Columns from … to − 1 of `canvas`, band by band, through this thread's layer.
void DrawBands(const CanvasPixels& canvas, const std::vector<CurveStrokes>& curves, CanvasUnder under, int from,
               int to) {
    // Kept from drawing to drawing: a band-sized buffer.
    thread_local CurveLayer layer;
    // Each curve's strokes that reach into a band run from a cursor (strokes wholly left of the
    // band are done, as the right ends never decrease) to the first one wholly right of it.
    std::vector<size_t> cursor(curves.size(), 0), end(curves.size(), 0);
    for (size_t k = 0; k < curves.size(); ++k) {
        const std::vector<Stroke>& strokes = *curves[k].strokes;
        cursor[k] =
            static_cast<size_t>(std::partition_point(strokes.begin(), strokes.end(),
                                                     [from](const Stroke& s) { return std::max(s.x0, s.x1) < from; }) -
                                strokes.begin());
    }
    for (int left = from; left < to; left += kBand) {
        const int right = std::min(left + kBand, to);
        if (under == CanvasUnder::Blank)
            layer.StartBlankBand(canvas, left, right);
        else
            layer.StartBand(canvas, left, right);
        for (size_t k = 0; k < curves.size(); ++k) {
            const std::vector<Stroke>& strokes = *curves[k].strokes;
            size_t& first = cursor[k];
            while (first < strokes.size() && std::max(strokes[first].x0, strokes[first].x1) < left) ++first;
            size_t last = first;
            while (last < strokes.size() && std::min(strokes[last].x0, strokes[last].x1) < right) ++last;
            end[k] = last;
        }
        // The last drawn first: the layer keeps what a later stroke wrote. A vertical stroke that
        // lies wholly inside a vertical stroke of a solid curve drawn later, in the same column,
        // would find every pixel written: it is skipped before the layer looks at its rows. Each
        // column keeps the longest such stroke of the curves after the one at hand.
        std::array<std::pair<int, int>, kBand> cover;
        cover.fill({1, 0});
        const auto vertical = [left, right](const Stroke& s) { return s.x0 == s.x1 && s.x0 >= left && s.x0 < right; };
        for (size_t k = curves.size(); k-- > 0;) {
            const std::vector<Stroke>& strokes = *curves[k].strokes;
            layer.SetStyle(curves[k].style);
            for (size_t i = end[k]; i-- > cursor[k];) {
                const Stroke& stroke = strokes[i];
                if (vertical(stroke)) {
                    const std::pair<int, int>& span = cover[static_cast<size_t>(stroke.x0 - left)];
                    if (WithinRows(stroke, span.first, span.second)) continue;
                }
                layer.Draw(stroke, curves[k].colour);
            }
            if (k == 0 || curves[k].style != LineStyle::Solid) continue;  // a styled curve leaves pixels unwritten
            for (size_t i = cursor[k]; i < end[k]; ++i) {
                const Stroke& stroke = strokes[i];
                if (!vertical(stroke) || (stroke.ink != Ink::Channel && stroke.ink != Ink::Missing)) continue;
                std::pair<int, int>& span = cover[static_cast<size_t>(stroke.x0 - left)];
                const int lo = std::min(stroke.y0, stroke.y1), hi = std::max(stroke.y0, stroke.y1);
                if (hi - lo > span.second - span.first) span = {lo, hi};
            }
        }
        if (under == CanvasUnder::Blank)
            layer.FinishBlankBand(canvas);
        else
            layer.FinishBand(canvas);
    }
}

}  // namespace

int LineStartColumn(const QImage& canvas, int x) {
    constexpr uintptr_t kLine = 64;
    const uintptr_t start = reinterpret_cast<uintptr_t>(canvas.constBits());
    if (start % 4 != 0 || static_cast<uintptr_t>(canvas.bytesPerLine()) % kLine != 0) return x;
    // Pixel x of every row lies at start + 4x within its line grid.
    const int shift =
        static_cast<int>((kLine - (start + 4 * static_cast<uintptr_t>(std::max(x, 0))) % kLine) % kLine / 4);
    return x + shift;
}

CurveBands::CurveBands(QImage& canvas, const std::vector<CurveStrokes>& curves, CanvasUnder under, int from, int to,
                       int parts)
    : curves_(&curves), under_(under) {
    from = std::max(from, 0);
    to = std::min(canvas.width(), to);
    if (from >= to || canvas.height() <= 0) {
        edges_ = {0};
        return;
    }
    pixels_ = {canvas.bits(), canvas.bytesPerLine(), canvas.width(), canvas.height()};
    // Whole bands per part, as evenly as they go.
    const int bands = (to - from + kBand - 1) / kBand;
    parts = std::clamp(parts, 1, bands);
    // Parts meet where a cache line starts (their bands then do too, kBand being a whole number
    // of lines): two threads never write one line of the canvas.
    edges_.push_back(from);
    for (int i = 1; i < parts; ++i)
        edges_.push_back(std::clamp(LineStartColumn(canvas, from + bands * i / parts * kBand), edges_.back(), to));
    edges_.push_back(to);
}

void CurveBands::Draw(int part) const {
    if (part < 0 || part >= Parts()) return;
    DrawBands(pixels_, *curves_, under_, edges_[static_cast<size_t>(part)], edges_[static_cast<size_t>(part) + 1]);
}

void DrawCurves(QImage& canvas, const std::vector<CurveStrokes>& curves, CanvasUnder under) {
    // A part of at least four bands per thread, a few more parts than threads where the canvas
    // is wide (parts of dense and thin curves take unequal time). Strokes left of the canvas
    // (never drawn) or right of it are clipped away by the bands.
    const int bands = (canvas.width() + kBand - 1) / kBand;
    const CurveBands parts(canvas, curves, under, 0, canvas.width(), std::clamp(bands / 4, 1, 6));
    RunParts(parts.Parts(), [&parts](int part) { parts.Draw(part); });
}

}  // namespace velorin
