#include "view/curve_layer.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace velorin {

namespace {

// Rows y … y + 3 of four consecutive columns onto the same rows and columns of the canvas.
inline void CopyTile(const QRgb* const column[4], int y, uchar* rows, std::ptrdiff_t rowBytes, int x) {
#ifdef __SSE2__
    const __m128i c0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(column[0] + y));
    const __m128i c1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(column[1] + y));
    const __m128i c2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(column[2] + y));
    const __m128i c3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(column[3] + y));
    const __m128i t0 = _mm_unpacklo_epi32(c0, c1), t1 = _mm_unpacklo_epi32(c2, c3);
    const __m128i t2 = _mm_unpackhi_epi32(c0, c1), t3 = _mm_unpackhi_epi32(c2, c3);
    const __m128i r[4] = {_mm_unpacklo_epi64(t0, t1), _mm_unpackhi_epi64(t0, t1), _mm_unpacklo_epi64(t2, t3),
                          _mm_unpackhi_epi64(t2, t3)};
    for (int i = 0; i < 4; ++i) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(reinterpret_cast<QRgb*>(rows + (y + i) * rowBytes) + x), r[i]);
    }
#else
    for (int i = 0; i < 4; ++i) {
        QRgb* row = reinterpret_cast<QRgb*>(rows + (y + i) * rowBytes) + x;
        for (int k = 0; k < 4; ++k) row[k] = column[k][y + i];
    }
#endif
}

}  // namespace

void CurveLayer::StartBand(const CanvasPixels& canvas, int left, int right) {
    if (canvas.width != width_ || canvas.height != height_) {
        width_ = canvas.width;
        height_ = canvas.height;
        words_ = (height_ + 63) / 64;
    }
    left_ = std::max(left, 0);
    right_ = std::max(std::min(right, width_), left_);
    // The band's columns only, the same memory for every band (it stays in the cache). Read only
    // where the written bits say a pixel holds anything, or after StartBlankBand filled it.
    const size_t size = static_cast<size_t>(right_ - left_) * static_cast<size_t>(height_);
    if (bits_.size() < size) bits_.resize(size);
    written_.assign(static_cast<size_t>(right_ - left_) * static_cast<size_t>(words_), 0);
}

void CurveLayer::StartBlankBand(const CanvasPixels& canvas, int left, int right) {
    StartBand(canvas, left, right);
    // What the canvas is before anything is drawn on it: white with a 1-pixel black frame. Not
    // marked written: every stroke goes over it.
    const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0);
    for (int x = left_; x < right_; ++x) {
        QRgb* column = Column(x);
        const bool edge = x == 0 || x == width_ - 1;
        std::fill(column, column + height_, edge ? black : white);
        column[0] = black;
        column[height_ - 1] = black;
    }
}

void CurveLayer::SetStyle(LineStyle style) {
    // The rows of a 64-row word each style writes, in columns of either phase.
    static const auto masks = [] {
        std::array<std::array<uint64_t, 2>, kLineStyles> m{};
        for (int k = 0; k < kLineStyles; ++k) {
            const LineStyle s = static_cast<LineStyle>(k);
            for (int phase = 0; phase < 2; ++phase) {
                for (int j = 0; j < 64; ++j) {
                    if (StyleCovers(s, phase << StyleShift(s), j)) m[k][phase] |= uint64_t{1} << j;
                }
            }
        }
        return m;
    }();
    style_ = style;
    shift_ = StyleShift(style);
    phaseMask_[0] = masks[static_cast<size_t>(style)][0];
    phaseMask_[1] = masks[static_cast<size_t>(style)][1];
}

bool CurveLayer::Covers(int x, int y) const {
    return style_ == LineStyle::Solid || (((x >> shift_) + (y >> shift_)) & 1) == 0;
}

void CurveLayer::Draw(const Stroke& s, QRgb colour) {
    switch (s.ink) {
        case Ink::Channel: Line(s.x0, s.y0, s.x1, s.y1, colour); break;
        case Ink::Missing: Line(s.x0, s.y0, s.x1, s.y1, kMissingGrey); break;
        case Ink::Marker: Dotted(s.x0, s.y0, s.y1, kMarkerBlack); break;
        case Ink::Covered: break;
    }
}

void CurveLayer::Vertical(int x, int y0, int y1, QRgb colour) {
    if (x < left_ || x >= right_) return;
    if (y0 > y1) std::swap(y0, y1);
    y0 = std::max(y0, 0);
    y1 = std::min(y1, height_ - 1);
    if (y0 > y1) return;
    uint64_t* written = Written(x);
    QRgb* column = Column(x);
    const uint64_t style = style_ == LineStyle::Solid ? ~uint64_t{0} : phaseMask_[(x >> shift_) & 1];
    for (int w = y0 >> 6; w <= y1 >> 6; ++w) {
        uint64_t rows = ~uint64_t{0};
        if (w == y0 >> 6) rows &= ~uint64_t{0} << (y0 & 63);
        if (w == y1 >> 6 && (y1 & 63) != 63) rows &= (uint64_t{1} << ((y1 & 63) + 1)) - 1;
        uint64_t fresh = rows & style & ~written[w];
        if (fresh == 0) continue;
        written[w] |= fresh;
        QRgb* base = column + (w << 6);
        const int lowest = __builtin_ctzll(fresh);
        const uint64_t shifted = fresh >> lowest;
        if ((shifted & (shifted + 1)) == 0) {
            // One run of rows (a solid stroke not hidden in its middle): filled at once.
            const int end = 64 - __builtin_clzll(fresh);
            for (int j = lowest; j < end; ++j) base[j] = colour;
            continue;
        }
        while (fresh != 0) {
            base[__builtin_ctzll(fresh)] = colour;
            fresh &= fresh - 1;
        }
    }
}

// The walk's pixels in one column are consecutive rows, so a line is written as one vertical
// run per column; the steps that stay in a column are taken at once.
void CurveLayer::Line(int x0, int y0, int x1, int y1, QRgb colour) {
    if (x0 == x1) {
        Vertical(x0, y0, y1, colour);
        return;
    }
    if (std::max(x0, x1) < left_ || std::min(x0, x1) >= right_) return;
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int runFrom = y0;
    while (x0 != x1) {
        // The walk steps in y only while 2 × err < dy (then 2 × err ≤ dx holds too), err growing
        // by dx each time.
        if (2 * err < dy) {
            const int steps = (dy - 2 * err + 2 * dx - 1) / (2 * dx);
            err += steps * dx;
            y0 += steps * sy;
        }
        // This step leaves column x0, and may step in y as well.
        const int e2 = 2 * err;
        Vertical(x0, runFrom, y0, colour);
        err += dy;
        x0 += sx;
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
        runFrom = y0;
    }
    // In the last column the walk steps in y only, to the end.
    Vertical(x1, runFrom, y1, colour);
}

void CurveLayer::Dotted(int x, int from, int to, QRgb colour) {
    if (x < left_ || x >= right_) return;
    uint64_t* written = Written(x);
    QRgb* column = Column(x);
    const int step = from <= to ? 1 : -1;
    for (int y = from, k = 0;; y += step, ++k) {
        if (k % 2 == 0 && y >= 0 && y < height_ && Covers(x, y)) {
            const uint64_t bit = uint64_t{1} << (y & 63);
            if ((written[y >> 6] & bit) == 0) {
                written[y >> 6] |= bit;
                column[y] = colour;
            }
        }
        if (y == to) break;
    }
}

void CurveLayer::FinishBlankBand(const CanvasPixels& canvas) const {
    uchar* rows = canvas.rows;
    const std::ptrdiff_t rowBytes = canvas.rowBytes;
    // Every pixel of the band stored once, four columns by four rows at a time: the layer holds
    // the blank canvas wherever nothing was drawn (StartBlankBand).
    int x = left_;
    for (; x + 4 <= right_; x += 4) {
        const QRgb* column[4] = {Column(x), Column(x + 1), Column(x + 2), Column(x + 3)};
        int y = 0;
        for (; y + 4 <= height_; y += 4) CopyTile(column, y, rows, rowBytes, x);
        for (; y < height_; ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(rows + static_cast<std::ptrdiff_t>(y) * rowBytes);
            for (int k = 0; k < 4; ++k) row[x + k] = column[k][y];
        }
    }
    for (; x < right_; ++x) {
        const QRgb* column = Column(x);
        for (int y = 0; y < height_; ++y)
            reinterpret_cast<QRgb*>(rows + static_cast<std::ptrdiff_t>(y) * rowBytes)[x] = column[y];
    }
}

void CurveLayer::FinishBand(const CanvasPixels& canvas) const {
    uchar* rows = canvas.rows;
    const std::ptrdiff_t rowBytes = canvas.rowBytes;
    const auto pixel = [rows, rowBytes](int x, int y) -> QRgb& {
        return reinterpret_cast<QRgb*>(rows + static_cast<std::ptrdiff_t>(y) * rowBytes)[x];
    };
    for (int x = left_; x < right_; x += 4) {
        const int n = std::min(4, right_ - x);
        const QRgb* column[4] = {};
        const uint64_t* written[4] = {};
        for (int k = 0; k < n; ++k) {
            column[k] = Column(x + k);
            written[k] = Written(x + k);
        }
        for (int w = 0; w < words_; ++w) {
            // Quads of 4 rows written in all four columns go as one tile (dense curves fill
            // whole columns); the other pixels one by one (thin curves write a few per column).
            uint64_t tiles = 0;
            if (n == 4) {
                uint64_t full = written[0][w] & written[1][w] & written[2][w] & written[3][w];
                full &= full >> 1;
                full &= full >> 2;
                tiles = full & 0x1111111111111111u;  // bit 4q: quad q written in every column
                for (uint64_t t = tiles; t != 0; t &= t - 1)
                    CopyTile(column, w * 64 + __builtin_ctzll(t), rows, rowBytes, x);
            }
            const uint64_t inTiles = tiles * 0xF;
            for (int k = 0; k < n; ++k) {
                for (uint64_t rest = written[k][w] & ~inTiles; rest != 0; rest &= rest - 1) {
                    const int y = w * 64 + __builtin_ctzll(rest);
                    pixel(x + k, y) = column[k][y];
                }
            }
        }
    }
}

}  // namespace velorin
