// The report canvas on cairo's PDF surface: A4 pages, PDF points with the origin at the
// bottom-left (cairo's y axis is turned over here), line width 1, texts in AR PL UMing (the
// Song-style CJK font of fonts-arphic-uming) embedded as a subset.
//
// The report's positions leave a third of the font size for each byte of a text (the curve's
// value labels end at x 70 by the rule "2 points a byte" at size 6; a table row's time and
// cells sit 20 points apart at size 8). AR PL UMing's Latin glyphs are half an em wide and its
// Chinese glyphs a whole em, one and two bytes in GBK: every glyph is set at two thirds of its
// width, so each takes a third of the size per byte. A text given a width (ShowTextIn) that it
// would exceed is set narrower still, measured with the glyphs' own advances.
//
// Texts are collected until the next drawing of another kind (a path, an image, a font change,
// the end of the page) and then set with one glyph run per colour and width: each character's
// glyph and advance are looked up once per font size and kept, and the run carries the text so
// the PDF's text stays searchable. Texts do not overlap one another, so the page looks the same
// as drawing them one by one.
//
// The PDF is written to a temporary file in the target's folder and renamed over the target
// by Finish() only when cairo finished the document without error. Single thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "report/pdf_file_canvas.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace velorin {

class AtomicFile;

class CairoPdfCanvas final : public PdfFileCanvas {
public:
    CairoPdfCanvas(const std::string& path, const PdfDocumentInfo& info);
    ~CairoPdfCanvas() override;
    CairoPdfCanvas(const CairoPdfCanvas&) = delete;
    CairoPdfCanvas& operator=(const CairoPdfCanvas&) = delete;

    bool Ok() const override;
    const std::string& Error() const override { return error_; }
    const std::string& FontFamily() const override { return fontFamily_; }
    bool HasCjkFont() const override { return hasCjkFont_; }
    bool Finish() override;

    void BeginPage() override;
    void EndPage() override;
    void SetFontSize(double points) override;
    void SetColor(ColorTarget target, Rgb color) override;
    void ShowText(double x, double y, const std::string& gbk) override;
    void ShowTextIn(double x, double y, const std::string& gbk, double width) override;
    double TextWidth(const std::string& gbk) const override;
    void MoveTo(double x, double y) override;
    void LineTo(double x, double y) override;
    void Rect(double x, double y, double width, double height) override;
    void Stroke() override;
    bool PlaceImage(const std::string& pngPath, double x, double y, double scale) override;

private:
    friend struct CairoStream;  // cairo's write callback
    bool WriteBytes(const unsigned char* data, unsigned length);
    void UseColor(const Rgb& color);
    void TakeCairoError();

    std::unique_ptr<AtomicFile> file_;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
    bool writeFailed_ = false;
    bool finished_ = false;
    std::string error_;
    std::string fontFamily_;
    bool hasCjkFont_ = false;
    struct Glyph {
        unsigned long index = 0;
        double advance = 0;  // points at the font size and width it was looked up with
    };
    // The glyphs of one font size at the normal width, looked up once per character.
    struct GlyphTable {
        Glyph ascii[128];
        bool asciiKnown[128] = {};
        std::vector<std::pair<uint32_t, Glyph>> other;  // sorted by code point
    };
    GlyphTable& TableFor(double size) const;
    const Glyph& Lookup(GlyphTable& table, uint32_t codePoint, const char* utf8, size_t bytes) const;
    void UseFont(double size, double narrow);
    void FlushTexts();
    struct PendingText {
        double x, y;
        Rgb color;
        double narrow;          // 1, or below 1 for a text set narrower to fit its width
        size_t offset, length;  // UTF-8 bytes in pendingBytes_
    };
    void AddText(double x, double y, const std::string& gbk, double width);
    // The advance of a UTF-8 text at the current size (tabs as blanks).
    double Utf8Width(std::string_view utf8) const;
    std::vector<PendingText> pending_;
    std::string pendingBytes_;
    double fontSize_ = 12;
    double appliedSize_ = -1, appliedNarrow_ = -1;
    mutable std::vector<std::pair<double, std::unique_ptr<GlyphTable>>> tables_;
    struct GlyphRun;  // reused buffers of one glyph run
    std::unique_ptr<GlyphRun> run_;
    Rgb fill_, stroke_, source_;
    bool sourceSet_ = false;
};

}  // namespace velorin
