#include "report/pdf_canvas.h"

#include <cairo.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <ctime>
#include <system_error>

#include "common/atomic_file.h"
#include "common/text_codec.h"
#include "report/pdf_writer.h"
#include "report/report_font.h"
#include "report/truetype_font.h"

namespace velorin {

namespace {

void AppendColor(std::string& out, const Rgb& c, const char* op) {
    AppendPdfNumber(out, c.r);
    out.push_back(' ');
    AppendPdfNumber(out, c.g);
    out.push_back(' ');
    AppendPdfNumber(out, c.b);
    out.push_back(' ');
    out += op;
    out.push_back('\n');
}

void AppendPoint(std::string& out, double x, double y, const char* op) {
    AppendPdfNumber(out, x);
    out.push_back(' ');
    AppendPdfNumber(out, y);
    out.push_back(' ');
    out += op;
    out.push_back('\n');
}

std::string UtcDate() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "D:%Y%m%d%H%M%SZ", &utc);
    return text;
}

std::string SystemMessage(const char* otherwise) {
    const int code = errno;
    return code != 0 ? std::error_code(code, std::generic_category()).message() : otherwise;
}

}  // namespace

PdfCanvas::PdfCanvas(const std::string& path, const PdfDocumentInfo& info, std::shared_ptr<const TrueTypeFont> font,
                     std::string family, bool cjk)
    : font_(std::move(font)), family_(std::move(family)), cjk_(cjk), info_(info) {
    errno = 0;
    file_ = std::make_unique<AtomicFile>(path);
    if (!file_->IsOpen()) {
        error_ = SystemMessage("the file cannot be created");
        return;
    }
    writer_ = std::make_unique<PdfWriter>([this](const char* data, size_t n) { return WriteBytes(data, n); });
    idOfGlyph_.assign(static_cast<size_t>(font_->GlyphCount()), 0);
    // A binary comment on the second line tells transfer programs the file is not text.
    writer_->Out() += "%PDF-1.5\n%\xE2\xE3\xCF\xD3\n";
    pagesObject_ = writer_->Reserve();
    resourcesObject_ = writer_->Reserve();
}

PdfCanvas::~PdfCanvas() = default;

bool PdfCanvas::Ok() const { return error_.empty() && !writeFailed_ && writer_ != nullptr; }

bool PdfCanvas::WriteBytes(const char* data, size_t length) {
    if (writeFailed_) return false;
    errno = 0;
    if (!file_->Write(data, length)) {
        writeFailed_ = true;
        if (error_.empty()) error_ = SystemMessage("the file cannot be written");
        return false;
    }
    return true;
}

PdfCanvas::Glyph& PdfCanvas::Lookup(uint32_t codePoint) const {
    if (codePoint < 128 && asciiKnown_[codePoint]) return ascii_[codePoint];
    auto at = std::lower_bound(other_.begin(), other_.end(), codePoint,
                               [](const std::pair<uint32_t, Glyph>& e, uint32_t c) { return e.first < c; });
    if (codePoint >= 128 && at != other_.end() && at->first == codePoint) return at->second;
    Glyph g;
    g.glyph = font_->GlyphFor(codePoint);
    g.advance = font_->Advance(g.glyph);
    if (codePoint < 128) {
        ascii_[codePoint] = g;
        asciiKnown_[codePoint] = true;
        return ascii_[codePoint];
    }
    return other_.insert(at, {codePoint, g})->second;
}

uint16_t PdfCanvas::IdOf(Glyph& g, uint32_t codePoint) {
    if (g.id != 0 || g.glyph == 0) return g.id;
    // Characters that share a glyph share its number.
    uint16_t& id = idOfGlyph_[g.glyph];
    if (id == 0 && used_.size() < 0xFFFE) {
        used_.push_back(g.glyph);
        usedFor_.push_back(codePoint);
        id = static_cast<uint16_t>(used_.size());
    }
    g.id = id;
    return id;
}

bool PdfCanvas::IsLatin(const std::string& utf8) const {
    for (const char ch : utf8) {
        const unsigned char c = static_cast<unsigned char>(ch == '\t' ? ' ' : ch);
        if (c < 32 || c > 126 || Lookup(c).glyph == 0) return false;
    }
    return true;
}

double PdfCanvas::Utf8Width(const std::string& utf8) const {
    uint64_t units = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    for (size_t at = 0, bytes = 0; at < utf8.size(); at += bytes) {
        const uint32_t c = NextUtf8CodePoint(p + at, utf8.size() - at, bytes);
        units += Lookup(c == '\t' ? ' ' : c).advance;
    }
    return static_cast<double>(units) * fontSize_ * kLatinWidth / font_->UnitsPerEm();
}

double PdfCanvas::TextWidth(const std::string& gbk) const {
    if (!writer_ || gbk.empty()) return 0;
    return Utf8Width(IsPlainAscii(gbk) ? gbk : GbkToUtf8(gbk));
}

void PdfCanvas::BeginPage() {
    if (!writer_) return;
    if (inPage_) EndPage();
    inPage_ = true;
    content_.clear();
    path_.clear();
    // A page starts in black, as a new PDF page's graphics state does.
    fill_ = stroke_ = pageFill_ = pageStroke_ = kBlack;
    inText_ = false;
    textSize_ = textScale_ = -1;
    textFont_ = -1;
    content_ += "1 w\n1 j\n";  // the curve's corners stay as narrow as its line
}

void PdfCanvas::EndText() {
    if (!inText_) return;
    content_ += "ET\n";
    inText_ = false;
}

void PdfCanvas::EndPage() {
    if (!writer_ || !inPage_) return;
    EndText();
    inPage_ = false;
    path_.clear();
    const int contents = writer_->Reserve();
    const int page = writer_->Reserve();
    writer_->Stream(contents, "", content_);
    writer_->Begin(page);
    std::string& out = writer_->Out();
    out += "<< /Type /Page /Parent ";
    out += std::to_string(pagesObject_);
    out += " 0 R /MediaBox [0 0 595 842] /Resources ";
    out += std::to_string(resourcesObject_);
    out += " 0 R /Contents ";
    out += std::to_string(contents);
    out += " 0 R >>";
    writer_->End();
    pages_.push_back(page);
    content_.clear();
}

void PdfCanvas::SetFontSize(double points) { fontSize_ = points; }

void PdfCanvas::SetColor(ColorTarget target, Rgb color) { (target == ColorTarget::Fill ? fill_ : stroke_) = color; }

void PdfCanvas::ShowText(double x, double y, const std::string& gbk) { AddText(x, y, gbk, 0); }

void PdfCanvas::ShowTextIn(double x, double y, const std::string& gbk, double width) { AddText(x, y, gbk, width); }

void PdfCanvas::AddText(double x, double y, const std::string& gbk, double width) {
    if (!writer_ || !inPage_ || gbk.empty()) return;
    // Plain ASCII (every table row) is already UTF-8.
    const std::string converted = IsPlainAscii(gbk) ? std::string() : GbkToUtf8(gbk);
    const std::string& utf8 = converted.empty() ? gbk : converted;
    double narrow = 1.0;
    if (width > 0) {
        const double natural = Utf8Width(utf8);
        if (natural > width) narrow = width / natural;
    }
    if (!inText_) {
        content_ += "BT\n";
        inText_ = true;
        lineX_ = lineY_ = 0;
    }
    if (!(pageFill_ == fill_)) {
        AppendColor(content_, fill_, "rg");
        pageFill_ = fill_;
    }
    const int font = IsLatin(utf8) ? 1 : 0;
    if (textSize_ != fontSize_ || textFont_ != font) {
        content_ += font == 1 ? "/F1 " : "/F0 ";
        AppendPdfNumber(content_, fontSize_);
        content_ += " Tf\n";
        textSize_ = fontSize_;
        textFont_ = font;
    }
    if (textScale_ != narrow) {
        AppendPdfNumber(content_, 100.0 * kLatinWidth * narrow);
        content_ += " Tz\n";
        textScale_ = narrow;
    }
    // The text matrix only ever moves (no scaling), so a line's offset is in points; the offset
    // written is the rounded one, so rounding never adds up along a page.
    const double dx = RoundedPdfNumber(x - lineX_), dy = RoundedPdfNumber(y - lineY_);
    AppendPoint(content_, dx, dy, "Td");
    lineX_ += dx;
    lineY_ += dy;
    if (font == 1) {
        // One byte a character, as it is (a tab is set as a blank: it has no glyph).
        content_.push_back('(');
        for (const char ch : utf8) {
            const char c = ch == '\t' ? ' ' : ch;
            latinUsed_[static_cast<unsigned char>(c)] = true;
            if (c == '(' || c == ')' || c == '\\') content_.push_back('\\');
            content_.push_back(c);
        }
        content_ += ")Tj\n";
        return;
    }
    content_.push_back('<');
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    for (size_t at = 0, bytes = 0; at < utf8.size(); at += bytes) {
        uint32_t c = NextUtf8CodePoint(p + at, utf8.size() - at, bytes);
        if (c == '\t') c = ' ';
        AppendPdfHex(content_, IdOf(Lookup(c), c), 4);
    }
    content_ += ">Tj\n";
}

void PdfCanvas::MoveTo(double x, double y) { AppendPoint(path_, x, y, "m"); }

void PdfCanvas::LineTo(double x, double y) { AppendPoint(path_, x, y, "l"); }

void PdfCanvas::Rect(double x, double y, double width, double height) {
    AppendPdfNumber(path_, x);
    path_.push_back(' ');
    AppendPdfNumber(path_, y);
    path_.push_back(' ');
    AppendPoint(path_, width, height, "re");
}

void PdfCanvas::Stroke() {
    if (!writer_ || !inPage_ || path_.empty()) {
        path_.clear();
        return;
    }
    EndText();
    if (!(pageStroke_ == stroke_)) {
        AppendColor(content_, stroke_, "RG");
        pageStroke_ = stroke_;
    }
    content_ += path_;
    content_ += "S\n";
    path_.clear();
}

int PdfCanvas::PlaceImageObject(const std::string& pngPath, int* width, int* height) {
    cairo_surface_t* png = cairo_image_surface_create_from_png(pngPath.c_str());
    if (cairo_surface_status(png) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(png);
        return 0;
    }
    const int w = cairo_image_surface_get_width(png), h = cairo_image_surface_get_height(png);
    // Whatever format the file gave, its pixels are read as premultiplied ARGB.
    cairo_surface_t* argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(argb);
    cairo_set_source_surface(cr, png, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(png);
    cairo_surface_flush(argb);
    if (cairo_surface_status(argb) != CAIRO_STATUS_SUCCESS || w <= 0 || h <= 0) {
        cairo_surface_destroy(argb);
        return 0;
    }
    const unsigned char* data = cairo_image_surface_get_data(argb);
    const int stride = cairo_image_surface_get_stride(argb);
    std::string rgb, alpha;
    rgb.reserve(static_cast<size_t>(w) * h * 3);
    alpha.reserve(static_cast<size_t>(w) * h);
    bool opaque = true;
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < w; ++x) {
            const uint32_t p = row[x];
            const uint32_t a = p >> 24;
            for (int shift : {16, 8, 0}) {
                const uint32_t v = (p >> shift) & 0xFF;
                rgb.push_back(static_cast<char>(a == 0 ? 0 : std::min<uint32_t>(255, (v * 255 + a / 2) / a)));
            }
            alpha.push_back(static_cast<char>(a));
            opaque = opaque && a == 255;
        }
    }
    cairo_surface_destroy(argb);
    const std::string size = "/Width " + std::to_string(w) + " /Height " + std::to_string(h);
    std::string dictionary =
        "/Type /XObject /Subtype /Image " + size + " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Interpolate true";
    if (!opaque) {
        const int mask = writer_->Reserve();
        writer_->Stream(mask, "/Type /XObject /Subtype /Image " + size + " /ColorSpace /DeviceGray /BitsPerComponent 8",
                        alpha);
        dictionary += " /SMask " + std::to_string(mask) + " 0 R";
    }
    const int image = writer_->Reserve();
    writer_->Stream(image, dictionary, rgb);
    *width = w;
    *height = h;
    return image;
}

bool PdfCanvas::PlaceImage(const std::string& pngPath, double x, double y, double scale) {
    if (!writer_ || !inPage_) return false;
    int w = 0, h = 0;
    const int image = PlaceImageObject(pngPath, &w, &h);
    if (image == 0) return false;
    const std::string name = "Im" + std::to_string(images_.size() + 1);
    images_.emplace_back(name, image);
    EndText();
    content_ += "q\n";
    AppendPdfNumber(content_, w * scale);
    content_ += " 0 0 ";
    AppendPdfNumber(content_, h * scale);
    content_.push_back(' ');
    AppendPoint(content_, x, y, "cm");
    content_ += "/" + name + " Do\nQ\n";
    return true;
}

int PdfCanvas::WriteToUnicode(const std::vector<std::pair<uint32_t, uint32_t>>& codes, int codeBytes) {
    std::string cmap =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n1 begincodespacerange\n";
    cmap += codeBytes == 1 ? "<00> <FF>\n" : "<0000> <FFFF>\n";
    cmap += "endcodespacerange\n";
    for (size_t first = 0; first < codes.size(); first += 100) {
        const size_t count = std::min<size_t>(100, codes.size() - first);
        cmap += std::to_string(count) + " beginbfchar\n";
        for (size_t k = first; k < first + count; ++k) {
            cmap.push_back('<');
            AppendPdfHex(cmap, codes[k].first, 2 * codeBytes);
            cmap += "> <";
            AppendUtf16Hex(cmap, codes[k].second);
            cmap += ">\n";
        }
        cmap += "endbfchar\n";
    }
    cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    const int object = writer_->Reserve();
    writer_->Stream(object, "", cmap);
    return object;
}

int PdfCanvas::WriteFont(const std::vector<uint16_t>& glyphs, const TrueTypeFont::CharacterMap& characters,
                         bool latin) {
    std::vector<uint16_t> order;
    const std::string program = font_->Subset(glyphs, &order, characters);
    if (program.empty()) {
        if (error_.empty()) error_ = "the font file cannot be read";
        return 0;
    }
    // The subset's tag: six capitals that change with the glyphs it holds.
    uint32_t hash = latin ? 2166136261u : 84696351u;
    for (uint16_t g : glyphs) hash = (hash ^ g) * 16777619u;
    std::string name;
    for (int k = 0; k < 6; ++k, hash /= 26) name.push_back(static_cast<char>('A' + hash % 26));
    name += "+" + (font_->PostScriptName().empty() ? std::string("Font") : font_->PostScriptName());

    const double perMille = 1000.0 / font_->UnitsPerEm();
    PdfWriter& w = *writer_;
    const int file = w.Reserve(), descriptor = w.Reserve();
    w.Stream(file, "/Length1 " + std::to_string(program.size()), program);
    w.Begin(descriptor);
    std::string& out = w.Out();
    // Flags: nonsymbolic (standard Latin characters) for the one-byte font, symbolic otherwise.
    out += "<< /Type /FontDescriptor /FontName /" + name + (latin ? " /Flags 32" : " /Flags 4") + " /FontBBox [";
    for (int v : {font_->XMin(), font_->YMin(), font_->XMax(), font_->YMax()}) {
        out.push_back(' ');
        AppendPdfNumber(out, std::round(v * perMille));
    }
    out += " ] /ItalicAngle 0 /Ascent ";
    AppendPdfNumber(out, std::round(font_->YMax() * perMille));
    out += " /Descent ";
    AppendPdfNumber(out, std::round(font_->YMin() * perMille));
    out += " /CapHeight ";
    AppendPdfNumber(out, std::round(font_->YMax() * perMille));
    out += " /StemV 80 /FontFile2 " + std::to_string(file) + " 0 R >>";
    w.End();

    std::vector<std::pair<uint32_t, uint32_t>> codes;  // code in the content, character
    if (latin) {
        for (const auto& c : characters) codes.emplace_back(c.first, c.first);
        const int toUnicode = WriteToUnicode(codes, 1);
        const int font = w.Reserve();
        w.Begin(font);
        out += "<< /Type /Font /Subtype /TrueType /BaseFont /" + name +
               " /FirstChar 32 /LastChar 126 /Encoding /WinAnsiEncoding /FontDescriptor " + std::to_string(descriptor) +
               " 0 R /ToUnicode " + std::to_string(toUnicode) + " 0 R /Widths [";
        for (uint32_t c = 32; c <= 126; ++c) {
            out.push_back(' ');
            AppendPdfNumber(out, latinUsed_[c] ? Lookup(c).advance * perMille : 0);
        }
        out += " ] >>";
        w.End();
        return font;
    }
    const int cidFont = w.Reserve();
    w.Begin(cidFont);
    out += "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + name +
           " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> /FontDescriptor " +
           std::to_string(descriptor) + " 0 R /CIDToGIDMap /Identity /W [0 [";
    for (size_t k = 0; k <= glyphs.size(); ++k) {
        out.push_back(' ');
        AppendPdfNumber(out, font_->Advance(order[k]) * perMille);
    }
    out += " ]] >>";
    w.End();
    for (size_t k = 0; k < used_.size(); ++k) codes.emplace_back(static_cast<uint32_t>(k + 1), usedFor_[k]);
    const int toUnicode = WriteToUnicode(codes, 2);
    const int font = w.Reserve();
    w.Begin(font);
    out += "<< /Type /Font /Subtype /Type0 /BaseFont /" + name + " /Encoding /Identity-H /DescendantFonts [" +
           std::to_string(cidFont) + " 0 R] /ToUnicode " + std::to_string(toUnicode) + " 0 R >>";
    w.End();
    return font;
}

void PdfCanvas::WriteFonts() {
    std::string fonts;
    if (!used_.empty()) {
        const int font = WriteFont(used_, {}, false);
        if (font == 0) return;
        fonts += " /F0 " + std::to_string(font) + " 0 R";
    }
    // The one-byte font reads its glyphs by character through the subset's character map.
    std::vector<uint16_t> glyphs;
    TrueTypeFont::CharacterMap characters;
    for (uint32_t c = 32; c <= 126; ++c) {
        if (!latinUsed_[c]) continue;
        const uint16_t g = Lookup(c).glyph;
        characters.emplace_back(c, g);
        if (std::find(glyphs.begin(), glyphs.end(), g) == glyphs.end()) glyphs.push_back(g);
    }
    if (!glyphs.empty()) {
        const int font = WriteFont(glyphs, characters, true);
        if (font == 0) return;
        fonts += " /F1 " + std::to_string(font) + " 0 R";
    }
    PdfWriter& w = *writer_;
    w.Begin(resourcesObject_);
    std::string& out = w.Out();
    out += "<<";
    if (!fonts.empty()) out += " /Font <<" + fonts + " >>";
    if (!images_.empty()) {
        out += " /XObject <<";
        for (const auto& image : images_) out += " /" + image.first + " " + std::to_string(image.second) + " 0 R";
        out += " >>";
    }
    out += " >>";
    w.End();
}

bool PdfCanvas::Finish() {
    if (finished_ || !writer_) return false;
    finished_ = true;
    if (inPage_) EndPage();
    if (pages_.empty()) {
        // A document has at least one page, if an empty one.
        BeginPage();
        EndPage();
    }
    WriteFonts();
    PdfWriter& w = *writer_;
    w.Begin(pagesObject_);
    std::string& out = w.Out();
    out += "<< /Type /Pages /Count " + std::to_string(pages_.size()) + " /Kids [";
    for (int page : pages_) out += " " + std::to_string(page) + " 0 R";
    out += " ] >>";
    w.End();
    const int info = w.Reserve(), catalog = w.Reserve();
    w.Begin(info);
    out += "<< /Producer (Velorin)";
    const std::pair<const char*, const std::string*> entries[] = {{"Title", &info_.title},
                                                                  {"Author", &info_.author},
                                                                  {"Subject", &info_.subject},
                                                                  {"Keywords", &info_.keywords},
                                                                  {"Creator", &info_.creator}};
    for (const auto& e : entries) {
        if (e.second->empty()) continue;
        out += " /";
        out += e.first;
        out.push_back(' ');
        AppendPdfTextString(out, *e.second);
    }
    out += " /CreationDate (" + UtcDate() + ") >>";
    w.End();
    w.Begin(catalog);
    out += "<< /Type /Catalog /Pages " + std::to_string(pagesObject_) + " 0 R >>";
    w.End();
    const bool complete = w.Finish(catalog, info);
    if (!error_.empty() || writeFailed_ || !complete) {
        if (error_.empty()) error_ = "the file cannot be written";
        return false;
    }
    errno = 0;
    if (!file_->Commit()) {
        error_ = SystemMessage("the file cannot be written");
        return false;
    }
    return true;
}

}  // namespace velorin
