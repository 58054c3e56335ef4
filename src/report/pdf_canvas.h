// The report canvas writing PDF itself, for a TrueType report font: pages go to the file as they
// are finished, so memory does not grow with the page count, and the font is embedded at the end
// as subsets of the glyphs used: a one-byte TrueType font for texts of printable ASCII (every
// table row: short, readable content) and a Type 0 font naming glyphs by two-byte numbers for
// all other texts, each with the characters its codes stand for, so the text stays searchable.
//
// The page looks as CairoPdfCanvas draws it: every glyph set at two thirds of its width (a third
// of the font size per GBK byte), a text given a width it would exceed set narrower still, lines
// 1 point wide with round joins, black at the start of every page. Coordinates are the canvas's
// own (PDF points from the bottom-left), which PDF uses too. A path is drawn where Stroke() is
// called; texts go to the page where they are shown.
//
// Single thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "report/pdf_file_canvas.h"
#include "report/truetype_font.h"

namespace velorin {

class AtomicFile;
class PdfWriter;

class PdfCanvas final : public PdfFileCanvas {
public:
    // `font` is the face of the report font `family` (fontconfig's choice).
    PdfCanvas(const std::string& path, const PdfDocumentInfo& info, std::shared_ptr<const TrueTypeFont> font,
              std::string family, bool cjk);
    ~PdfCanvas() override;
    PdfCanvas(const PdfCanvas&) = delete;
    PdfCanvas& operator=(const PdfCanvas&) = delete;

    bool Ok() const override;
    const std::string& Error() const override { return error_; }
    const std::string& FontFamily() const override { return family_; }
    bool HasCjkFont() const override { return cjk_; }
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
    bool WriteBytes(const char* data, size_t length);
    struct Glyph {
        uint16_t glyph = 0;    // in the font file (0: the missing-glyph box)
        uint16_t advance = 0;  // font units
        uint16_t id = 0;       // number in the document's glyph font, 0 until first set there
    };
    // The glyph of a character, looked up once.
    Glyph& Lookup(uint32_t codePoint) const;
    // Its number in the document's glyph font, given on first use.
    uint16_t IdOf(Glyph& glyph, uint32_t codePoint);
    // The width of a UTF-8 text (tabs as blanks) at the current size and normal width.
    double Utf8Width(const std::string& utf8) const;
    // Whether every character of `utf8` can be set in the one-byte font (printable ASCII the
    // font has a glyph for; tabs count as blanks).
    bool IsLatin(const std::string& utf8) const;
    void AddText(double x, double y, const std::string& gbk, double width);
    void EndText();
    void WriteFonts();
    int WriteFont(const std::vector<uint16_t>& glyphs, const TrueTypeFont::CharacterMap& characters, bool latin);
    int WriteToUnicode(const std::vector<std::pair<uint32_t, uint32_t>>& codes, int codeBytes);
    int PlaceImageObject(const std::string& pngPath, int* width, int* height);

    std::unique_ptr<AtomicFile> file_;
    std::unique_ptr<PdfWriter> writer_;
    std::shared_ptr<const TrueTypeFont> font_;
    std::string family_;
    bool cjk_ = false;
    std::string error_;
    bool writeFailed_ = false;
    bool finished_ = false;
    PdfDocumentInfo info_;
    int pagesObject_ = 0, resourcesObject_ = 0;
    std::vector<int> pages_;
    std::vector<std::pair<std::string, int>> images_;  // resource name, object

    // Glyphs by character; the document's glyph font (a Type 0 font, two bytes a glyph) in the
    // order of first use (id − 1) with the character each was first used for; the characters
    // set in the one-byte font (a TrueType font for printable ASCII, which every table row is).
    mutable Glyph ascii_[128];
    mutable bool asciiKnown_[128] = {};
    mutable std::vector<std::pair<uint32_t, Glyph>> other_;  // sorted by code point
    std::vector<uint16_t> used_;
    std::vector<uint32_t> usedFor_;
    std::vector<uint16_t> idOfGlyph_;  // by glyph of the font file; 0: not in the glyph font yet
    bool latinUsed_[128] = {};

    // The page being drawn and the graphics state its content has set.
    bool inPage_ = false;
    std::string content_;
    std::string path_;
    double fontSize_ = 12;
    Rgb fill_, stroke_;
    bool inText_ = false;
    double lineX_ = 0, lineY_ = 0;  // start of the current text line
    double textSize_ = -1, textScale_ = -1;
    int textFont_ = -1;  // 0: the glyph font, 1: the one-byte font
    Rgb pageFill_, pageStroke_;
};

}  // namespace velorin
