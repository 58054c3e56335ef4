// The report canvas on cairo's PDF surface: A4 pages, PDF points with the origin at the
// bottom-left (cairo's y axis is turned over here), line width 1, texts in AR PL UMing (the
// Song-style CJK font of fonts-arphic-uming) embedded as a subset.
//
// The report's positions leave about a third of an em for each Latin character (the curve's
// value labels end at x 70 by the rule "2 points a byte" at size 6; a table row's time and
// cells sit 20 points apart at size 8). AR PL UMing's Latin glyphs are half an em wide, so
// ASCII runs are set at two thirds of their width; Chinese characters keep their full width.
//
// Texts are collected until the next drawing of another kind (a path, an image, a font change,
// the end of the page) and then set grouped by colour: a table page's black and red cells cost
// one colour change instead of one per cell. Texts do not overlap one another, so the page
// looks the same.
//
// The PDF is written to a temporary file in the target's folder and renamed over the target
// by Finish() only when cairo finished the document without error. Single thread.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "report/report_canvas.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace velorin {

class AtomicFile;

// Document information entries (UTF-8).
struct PdfDocumentInfo {
    std::string creator, author, title, subject, keywords;
};

// The font family every report text is set in.
constexpr const char* kReportFontFamily = "AR PL UMing CN";

class CairoPdfCanvas final : public ReportCanvas {
public:
    CairoPdfCanvas(const std::string& path, const PdfDocumentInfo& info);
    ~CairoPdfCanvas() override;
    CairoPdfCanvas(const CairoPdfCanvas&) = delete;
    CairoPdfCanvas& operator=(const CairoPdfCanvas&) = delete;

    bool Ok() const;
    const std::string& Error() const { return error_; }
    // The family fontconfig chose for kReportFontFamily, and whether it is AR PL UMing.
    const std::string& FontFamily() const { return fontFamily_; }
    bool HasCjkFont() const { return hasCjkFont_; }
    // Ends the document and replaces the target; false (target untouched) on any error.
    bool Finish();

    void BeginPage() override;
    void EndPage() override;
    void SetFontSize(double points) override;
    void SetColor(ColorTarget target, Rgb color) override;
    void ShowText(double x, double y, const std::string& gbk) override;
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
    void ApplyFont(bool latin);
    void ShowRuns(const std::string& utf8);
    void FlushTexts();
    struct PendingText {
        double x, y;
        Rgb color;
        size_t offset, length;  // UTF-8 bytes in pendingBytes_
    };
    std::vector<PendingText> pending_;
    std::vector<PendingText> tails_;  // non-ASCII ends, at cairo's (turned) coordinates
    std::vector<size_t> mixed_;       // indices of texts that mix ASCII and other characters
    std::string pendingBytes_;
    std::string runs_;  // reused: one pending text
    std::string one_;   // reused: one run of it with its terminator
    double fontSize_ = 12;
    int appliedFont_ = -1;  // -1 none, 0 full width, 1 Latin width, at fontSize_
    Rgb fill_, stroke_, source_;
    bool sourceSet_ = false;
};

}  // namespace velorin
