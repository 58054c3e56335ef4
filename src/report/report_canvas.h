// The drawing operations of the PDF report, so that the report's layout is independent of the
// PDF writer: CairoPdfCanvas writes a file, RecordingCanvas keeps the calls for tests and
// benchmarks.
//
// Coordinates are PDF points with the origin at the bottom-left corner of an A4 page
// (595 × 842); a text position is the start of its baseline. Texts are GBK byte strings.
// Text is drawn in the fill colour, lines in the stroke colour; a path collects MoveTo/LineTo/
// Rect until Stroke() draws it.
#pragma once

#include <string>

namespace velorin {

constexpr double kPageWidth = 595;
constexpr double kPageHeight = 842;

struct Rgb {
    double r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kRed{1, 0, 0};

enum class ColorTarget { Stroke, Fill };

class ReportCanvas {
public:
    virtual ~ReportCanvas() = default;
    virtual void BeginPage() = 0;  // A4
    virtual void EndPage() = 0;
    virtual void SetFontSize(double points) = 0;
    virtual void SetColor(ColorTarget target, Rgb color) = 0;
    virtual void ShowText(double x, double y, const std::string& gbk) = 0;
    // ShowText within the `width` points from x: a text wider than that is set narrower, so it
    // ends at x + width and never reaches the next text of its line.
    virtual void ShowTextIn(double x, double y, const std::string& gbk, double width) = 0;
    // The width `gbk` takes at the current font size (a third of the size per byte: ASCII
    // characters are one byte, Chinese characters two).
    virtual double TextWidth(const std::string& gbk) const = 0;
    virtual void MoveTo(double x, double y) = 0;
    virtual void LineTo(double x, double y) = 0;
    virtual void Rect(double x, double y, double width, double height) = 0;
    virtual void Stroke() = 0;
    // Places a PNG file with its lower-left corner at (x, y), one pixel = `scale` points.
    // False (nothing drawn) when the file cannot be read as a PNG.
    virtual bool PlaceImage(const std::string& pngPath, double x, double y, double scale) = 0;
};

}  // namespace velorin
