// A ReportCanvas that keeps every call, for tests that assert on what the report draws and
// for the benchmark that replays the texts on a bare cairo surface.
#pragma once

#include <string>
#include <vector>

#include "report/report_canvas.h"

namespace velorin {

struct CanvasCall {
    enum Kind { BeginPage, EndPage, FontSize, Color, Text, MoveTo, LineTo, Rect, Stroke, Image };
    explicit CanvasCall(Kind k) : kind(k) {}
    Kind kind;
    int page = 0;                       // 1-based page the call belongs to (0 before the first BeginPage)
    double x = 0, y = 0, w = 0, h = 0;  // FontSize: x = size; Rect: w, h; Image: w = scale; Text: w = the
                                        // width it was fitted into (0: none)
    ColorTarget target = ColorTarget::Fill;
    Rgb color;            // Color; Text/LineTo/Stroke: the fill/stroke colour in force
    double fontSize = 0;  // Text: the font size in force
    std::string text;     // Text: the GBK bytes; Image: the path
};

class RecordingCanvas final : public ReportCanvas {
public:
    // `imagesExist`: what PlaceImage answers.
    explicit RecordingCanvas(bool imagesExist = true) : imagesExist_(imagesExist) {}

    void BeginPage() override;
    void EndPage() override;
    void SetFontSize(double points) override;
    void SetColor(ColorTarget target, Rgb color) override;
    void ShowText(double x, double y, const std::string& gbk) override;
    void ShowTextIn(double x, double y, const std::string& gbk, double width) override;
    double TextWidth(const std::string& gbk) const override {
        return fontSize_ / 3.0 * static_cast<double>(gbk.size());
    }
    void MoveTo(double x, double y) override;
    void LineTo(double x, double y) override;
    void Rect(double x, double y, double width, double height) override;
    void Stroke() override;
    bool PlaceImage(const std::string& pngPath, double x, double y, double scale) override;

    const std::vector<CanvasCall>& Calls() const { return calls_; }
    int Pages() const { return page_; }
    // The text calls of page `page` (0: all pages).
    std::vector<CanvasCall> Texts(int page = 0) const;
    // The first text call of `page` drawn at (x, y), or null.
    const CanvasCall* TextAt(int page, double x, double y) const;
    // Line segments (MoveTo … LineTo pairs) of `page`, with the stroke colour they were drawn in.
    struct Segment {
        double x1, y1, x2, y2;
        Rgb color;
    };
    std::vector<Segment> Segments(int page) const;

private:
    void Add(CanvasCall call);
    bool imagesExist_;
    int page_ = 0;
    double fontSize_ = 0;
    Rgb fill_, stroke_;
    std::vector<CanvasCall> calls_;
};

}  // namespace velorin
