// The pixel layer's pen against the definitions it speeds up: a styled vertical line writes
// exactly the pixels StyleCovers names, a line stays within its band and covers both ends.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "view/stroke_raster.h"

namespace velorin {
namespace {

constexpr QRgb kWhite = 0xffffffffu;
constexpr QRgb kInk = 0xff102030u;

QImage Blank(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kWhite);
    return image;
}

TEST(PixelPen, StyledVerticalLinesWriteExactlyThePixelsTheirStyleCovers) {
    for (LineStyle style : {LineStyle::Solid, LineStyle::Dashed, LineStyle::Dotted, LineStyle::LongDashed}) {
        // Every column phase, spans starting and ending inside and at block edges, reversed
        // ends, and spans clipped at the top and bottom of the image.
        for (int x = 0; x < 20; ++x) {
            for (auto [from, to] : {std::pair{0, 39}, {3, 4}, {5, 5}, {7, 24}, {31, 2}, {-6, 9}, {33, 60}, {8, 15}}) {
                QImage image = Blank(20, 40);
                PixelPen pen(image);
                pen.SetStyle(style);
                pen.Vertical(x, from, to, kInk);
                const int lo = std::max(std::min(from, to), 0), hi = std::min(std::max(from, to), 39);
                for (int y = 0; y < 40; ++y) {
                    const bool inside = y >= lo && y <= hi && StyleCovers(style, x, y);
                    ASSERT_EQ(image.pixel(x, y), inside ? kInk : kWhite)
                        << "style " << static_cast<int>(style) << " x " << x << " " << from << "…" << to << " y " << y;
                }
            }
        }
    }
}

// Bresenham's walk, pixel by pixel, as the definition of a line.
void ReferenceLine(QImage& image, int x0, int y0, int x1, int y1, LineStyle style, int left, int right) {
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        if (x0 >= left && x0 < right && y0 >= 0 && y0 < image.height() && StyleCovers(style, x0, y0)) {
            image.setPixel(x0, y0, kInk);
        }
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

TEST(PixelPen, LinesArePixelForPixelBresenhamsWalkInsideOutsideAndAcrossTheBand) {
    uint32_t seed = 12345;
    const auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<uint32_t>(n));
    };
    for (LineStyle style : {LineStyle::Solid, LineStyle::Dashed, LineStyle::Dotted, LineStyle::LongDashed}) {
        for (int i = 0; i < 400; ++i) {
            // Ends inside and outside the 48 × 40 image; the band [16, 32) or the whole width.
            const int x0 = next(64) - 8, y0 = next(56) - 8, x1 = next(64) - 8, y1 = next(56) - 8;
            const bool band = i % 2 == 1;
            QImage got = Blank(48, 40), want = Blank(48, 40);
            PixelPen pen(got);
            pen.SetStyle(style);
            if (band) pen.SetBand(16, 32);
            pen.Line(x0, y0, x1, y1, kInk);
            if (x0 == x1) {
                ReferenceLine(want, x0, std::min(y0, y1), x1, std::max(y0, y1), style, band ? 16 : 0, band ? 32 : 48);
            } else {
                ReferenceLine(want, x0, y0, x1, y1, style, band ? 16 : 0, band ? 32 : 48);
            }
            ASSERT_EQ(got, want) << "style " << static_cast<int>(style) << ": (" << x0 << ", " << y0 << ") – (" << x1
                                 << ", " << y1 << ")" << (band ? " in the band" : "");
        }
    }
}

TEST(PixelPen, ABandLimitsALineToItsColumnsAndBothEndsAreDrawn) {
    QImage whole = Blank(40, 30), banded = Blank(40, 30);
    PixelPen a(whole), b(banded);
    a.Line(2, 27, 37, 1, kInk);
    for (int left = 0; left < 40; left += 16) {
        b.SetBand(left, std::min(left + 16, 40));
        b.Line(2, 27, 37, 1, kInk);
    }
    EXPECT_EQ(whole, banded);
    EXPECT_EQ(whole.pixel(2, 27), kInk);
    EXPECT_EQ(whole.pixel(37, 1), kInk);
    QImage band = Blank(40, 30);
    PixelPen c(band);
    c.SetBand(10, 12);
    c.Line(2, 27, 37, 1, kInk);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            if (x < 10 || x >= 12) {
                ASSERT_EQ(band.pixel(x, y), kWhite) << x << ", " << y;
            }
        }
    }
}

}  // namespace
}  // namespace velorin
