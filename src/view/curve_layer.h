// Where the curves are drawn before they go onto their canvas: a band of columns at a time,
// strokes from the last drawn to the first, each pixel written only while no later stroke has
// written it. The pixels are those of drawing the strokes in order straight into the canvas, but
// each is written once (dense curves overlap many times over), and into memory stored column by
// column: pixel (x, y) at (x − band's left) × height + y, so that the vertical runs curves are
// made of are consecutive memory instead of one row (one cache line, often one page) per pixel.
// Every band uses the same memory, which stays in the cache from band to band.
//
// A pixel's "written" bit lives in one 64-row word per column of the band. A line style's blocks
// repeat every 4, 8 or 16 rows, so within every word a column's styled rows are the same bit
// pattern. When a band is done, its written pixels go onto the canvas four rows by four columns
// at a time.
//
// Plain data: one layer per thread; layers of different threads may draw disjoint bands of one
// canvas at once.
#pragma once

#include <QRgb>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "view/stroke_raster.h"

namespace velorin {

class CurveLayer {
public:
    // Sized for `canvas`; the band [left, right) starts with nothing written.
    void StartBand(const CanvasPixels& canvas, int left, int right);
    // The same, the band's pixels those of a blank canvas (white, with the canvas's 1-pixel black
    // frame where it crosses them), for FinishBlankBand.
    void StartBlankBand(const CanvasPixels& canvas, int left, int right);
    void SetStyle(LineStyle style);

    // One stroke of the curve at hand, drawn under everything drawn into the band so far.
    void Draw(const Stroke& s, QRgb colour);
    // The band's written pixels onto `canvas`.
    void FinishBand(const CanvasPixels& canvas) const;
    // Every pixel of a band started by StartBlankBand onto `canvas`: the band's columns as if
    // made blank first, then the written pixels put on, each pixel stored once.
    void FinishBlankBand(const CanvasPixels& canvas) const;

    // A vertical line: every pixel between the ends (both included) that the style covers.
    void Vertical(int x, int y0, int y1, QRgb colour);
    // Bresenham from (x0, y0) to (x1, y1), both end points included.
    void Line(int x0, int y0, int x1, int y1, QRgb colour);
    // Every second pixel from `from` towards `to`, starting at `from`.
    void Dotted(int x, int from, int to, QRgb colour);

private:
    uint64_t* Written(int x) { return written_.data() + static_cast<size_t>(x - left_) * static_cast<size_t>(words_); }
    const uint64_t* Written(int x) const {
        return written_.data() + static_cast<size_t>(x - left_) * static_cast<size_t>(words_);
    }
    QRgb* Column(int x) { return bits_.data() + static_cast<std::ptrdiff_t>(x - left_) * height_; }
    const QRgb* Column(int x) const { return bits_.data() + static_cast<std::ptrdiff_t>(x - left_) * height_; }
    bool Covers(int x, int y) const;

    int width_ = 0, height_ = 0, words_ = 0;
    int left_ = 0, right_ = 0;
    std::vector<QRgb> bits_;  // the band's columns, column by column
    std::vector<uint64_t> written_;
    LineStyle style_ = LineStyle::Solid;
    int shift_ = 3;
    uint64_t phaseMask_[2] = {~uint64_t{0}, ~uint64_t{0}};
};

}  // namespace velorin
