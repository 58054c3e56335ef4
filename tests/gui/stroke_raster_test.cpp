// The pixel layer against the definitions it speeds up: a styled vertical line writes exactly
// the pixels StyleCovers names, a line is Bresenham's walk clipped to the image, and curves drawn
// through the layer (last stroke first, band by band, column-ordered) leave the same pixels as
// drawing every stroke in order with the pen.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

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
void ReferenceLine(QImage& image, int x0, int y0, int x1, int y1, LineStyle style) {
    const int left = 0, right = image.width();
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

TEST(PixelPen, LinesArePixelForPixelBresenhamsWalkInsideAndOutsideTheImage) {
    uint32_t seed = 12345;
    const auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<uint32_t>(n));
    };
    for (LineStyle style : {LineStyle::Solid, LineStyle::Dashed, LineStyle::Dotted, LineStyle::LongDashed}) {
        for (int i = 0; i < 400; ++i) {
            // Ends inside and outside the 48 × 40 image.
            const int x0 = next(64) - 8, y0 = next(56) - 8, x1 = next(64) - 8, y1 = next(56) - 8;
            QImage got = Blank(48, 40), want = Blank(48, 40);
            PixelPen pen(got);
            pen.SetStyle(style);
            pen.Line(x0, y0, x1, y1, kInk);
            if (x0 == x1) {
                ReferenceLine(want, x0, std::min(y0, y1), x1, std::max(y0, y1), style);
            } else {
                ReferenceLine(want, x0, y0, x1, y1, style);
            }
            ASSERT_EQ(got, want) << "style " << static_cast<int>(style) << ": (" << x0 << ", " << y0 << ") – (" << x1
                                 << ", " << y1 << ")";
        }
    }
}

// What DrawCurves must give: every curve's strokes drawn in order with the pen, straight into
// the image.
void DrawEveryStroke(QImage& image, const std::vector<CurveStrokes>& curves) {
    PixelPen pen(image);
    for (const CurveStrokes& curve : curves) {
        pen.SetStyle(curve.style);
        for (const Stroke& s : *curve.strokes) {
            switch (s.ink) {
                case Ink::Channel: pen.Line(s.x0, s.y0, s.x1, s.y1, curve.colour); break;
                case Ink::Missing: pen.Line(s.x0, s.y0, s.x1, s.y1, kMissingGrey); break;
                case Ink::Marker: pen.Dotted(s.x0, s.y0, s.y1, kMarkerBlack); break;
                case Ink::Covered: break;
            }
        }
    }
}

// A background that is not one colour, so that a pixel the curves leave alone shows if it changed.
QImage Patterned(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 7 % 256, y * 5 % 256, (x ^ y) % 256));
    }
    return image;
}

// A blank canvas: white with a 1-pixel black frame along its edges.
QImage Framed(int w, int h) {
    QImage image = Blank(w, h);
    for (int x = 0; x < w; ++x) {
        image.setPixel(x, 0, kMarkerBlack);
        image.setPixel(x, h - 1, kMarkerBlack);
    }
    for (int y = 0; y < h; ++y) {
        image.setPixel(0, y, kMarkerBlack);
        image.setPixel(w - 1, y, kMarkerBlack);
    }
    return image;
}

TEST(DrawCurves, LeavesThePixelsOfDrawingEveryStrokeInOrder) {
    uint32_t seed = 777;
    const auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<uint32_t>(n));
    };
    // Sizes whose last band of 32 columns, last group of 4 columns, last word of 64 rows and
    // last quad of 4 rows are partial, and exact ones.
    for (auto [w, h] : {std::pair{203, 150}, {128, 128}, {37, 67}, {300, 9}}) {
        for (int round = 0; round < 12; ++round) {
            // Up to six curves walking left to right: steep and shallow lines, long jumps across
            // bands, vertical strokes, gap markers, skipped (covered) strokes, points above and
            // below the image; every style, some curves sharing a style.
            std::vector<std::vector<Stroke>> lists(static_cast<size_t>(1 + next(6)));
            std::vector<CurveStrokes> curves;
            for (size_t k = 0; k < lists.size(); ++k) {
                int x = next(8) - 4, y = next(h);
                while (x < w + 4) {
                    const int kind = next(10);
                    const int nx = kind < 2 ? x : x + (kind == 9 ? 20 + next(60) : next(4));
                    const int ny = next(10) == 0 ? next(2 * h + 40) - h / 2 - 20 : next(h);
                    Ink ink = Ink::Channel;
                    if (kind == 3) ink = Ink::Missing;
                    if (kind == 4) ink = Ink::Covered;
                    if (kind == 5) {
                        lists[k].push_back({x, h - 3, x, y, Ink::Marker});
                    } else {
                        lists[k].push_back({x, y, nx, ny, ink});
                        x = nx;
                        y = ny;
                    }
                    if (kind == 1) lists[k].push_back({x, next(h), x, next(h), Ink::Channel});
                }
                curves.push_back(
                    {&lists[k], qRgb(next(256), next(256), next(256)), static_cast<LineStyle>(next(kLineStyles))});
            }
            QImage got = Patterned(w, h), want = Patterned(w, h);
            DrawCurves(got, curves);
            DrawEveryStroke(want, curves);
            ASSERT_EQ(got, want) << w << " × " << h << ", round " << round;
            // Onto a canvas made blank band by band: every pixel of whatever was there is replaced.
            QImage blanked = Patterned(w, h), framed = Framed(w, h);
            DrawCurves(blanked, curves, CanvasUnder::Blank);
            DrawEveryStroke(framed, curves);
            ASSERT_EQ(blanked, framed) << w << " × " << h << ", round " << round << ", made blank";
            // In parts of whole bands drawn in any order (as threads finish them), and only the
            // columns asked for: the others keep what they held.
            for (const int parts : {3, 7}) {
                QImage inParts = Patterned(w, h);
                const CurveBands bands(inParts, curves, CanvasUnder::Blank, 0, w, parts);
                for (int part = bands.Parts(); part-- > 0;) bands.Draw(part);
                ASSERT_EQ(inParts, framed) << w << " × " << h << ", round " << round << ", " << parts << " parts";
                QImage some = Patterned(w, h);
                const int from = std::min(40, w / 3), to = w - std::min(30, w / 4);
                const CurveBands middle(some, curves, CanvasUnder::Kept, from, to, parts);
                for (int part = 0; part < middle.Parts(); ++part) middle.Draw(part);
                const QImage untouched = Patterned(w, h);
                for (int y = 0; y < h; ++y) {
                    for (int x = 0; x < w; ++x) {
                        ASSERT_EQ(some.pixel(x, y), (x >= from && x < to ? want : untouched).pixel(x, y))
                            << w << " × " << h << ", round " << round << ", columns " << from << " … " << to
                            << ", pixel " << x << ", " << y;
                    }
                }
            }
        }
    }
}

TEST(DrawCurves, ALaterCurveHidesAnEarlierOneOnlyWhereItsStyleDraws) {
    // A solid curve under a dashed one on the same vertical span: the dashed one's gaps show the
    // solid one, its dashes hide it.
    std::vector<Stroke> under = {{10, 5, 10, 60, Ink::Channel}};
    std::vector<Stroke> over = {{10, 5, 10, 60, Ink::Channel}};
    const QRgb blue = qRgb(0, 0, 255), red = qRgb(255, 0, 0);
    QImage image = Blank(20, 70);
    DrawCurves(image, {{&under, blue, LineStyle::Solid}, {&over, red, LineStyle::Dashed}});
    for (int y = 5; y <= 60; ++y) {
        ASSERT_EQ(image.pixel(10, y), StyleCovers(LineStyle::Dashed, 10, y) ? red : blue) << y;
    }
    EXPECT_EQ(image.pixel(10, 4), kWhite);
    EXPECT_EQ(image.pixel(10, 61), kWhite);
    EXPECT_EQ(image.pixel(9, 30), kWhite);
}

TEST(CurveBands, PartsMeetWhereACacheLineStartsInEveryRow) {
    // Rows of whole cache lines, the image itself and views of it that start 1 … 15 pixels into a
    // line: the column found is the first at or right of x whose pixels start a line.
    QImage whole(1600, 8, QImage::Format_RGB32);
    for (int offset = 0; offset < 16; ++offset) {
        QImage view(whole.bits() + 4 * offset, 1500, 8, whole.bytesPerLine(), QImage::Format_RGB32);
        for (const int x : {0, 1, 15, 16, 37, 1200}) {
            const int column = LineStartColumn(view, x);
            ASSERT_GE(column, x) << offset << ", " << x;
            ASSERT_LE(column, x + 15) << offset << ", " << x;
            for (int y = 0; y < view.height(); ++y) {
                ASSERT_EQ(reinterpret_cast<uintptr_t>(view.constScanLine(y) + 4 * column) % 64, 0u)
                    << offset << ", " << x << ", row " << y;
            }
        }
    }
    // Rows that start at different places within a line: no column is better than another.
    const QImage odd(203, 8, QImage::Format_RGB32);
    ASSERT_NE(odd.bytesPerLine() % 64, 0);
    EXPECT_EQ(LineStartColumn(odd, 37), 37);
}

}  // namespace
}  // namespace velorin
