#include "report/cairo_canvas.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "common/atomic_file.h"
#include "common/text_codec.h"

// In the sanitizer build, LeakSanitizer reports at exit a few objects that fontconfig (while it
// reads its configuration) and cairo (its toy font face cache) keep for the life of the process
// without a pointer it can see. They are the libraries' own, once per process; ours are not
// hidden by this.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libcairo.so\n";
}
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }

namespace velorin {

namespace {

// The family fontconfig resolves `family` to (what cairo's font selection will use).
std::string MatchedFamily(const char* family) {
    std::string result;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    if (!pattern) return result;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult status = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &status);
    FcChar8* name = nullptr;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name) {
        result = reinterpret_cast<const char*>(name);
    }
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return result;
}

constexpr double kLatinWidth = 2.0 / 3.0;

bool IsAscii(const std::string& text) {
    for (unsigned char ch : text) {
        if (ch >= 0x80) return false;
    }
    return true;
}

}  // namespace

struct CairoStream {
    static cairo_status_t Write(void* closure, const unsigned char* data, unsigned length) {
        return static_cast<CairoPdfCanvas*>(closure)->WriteBytes(data, length) ? CAIRO_STATUS_SUCCESS
                                                                               : CAIRO_STATUS_WRITE_ERROR;
    }
};

CairoPdfCanvas::CairoPdfCanvas(const std::string& path, const PdfDocumentInfo& info) {
    errno = 0;
    file_ = std::make_unique<AtomicFile>(path);
    if (!file_->IsOpen()) {
        const int code = errno;
        error_ = code != 0 ? std::error_code(code, std::generic_category()).message() : "the file cannot be created";
        return;
    }
    surface_ = cairo_pdf_surface_create_for_stream(&CairoStream::Write, this, kPageWidth, kPageHeight);
    cr_ = cairo_create(surface_);
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
        TakeCairoError();
        return;
    }
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_CREATOR, info.creator.c_str());
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_AUTHOR, info.author.c_str());
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_TITLE, info.title.c_str());
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_SUBJECT, info.subject.c_str());
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_KEYWORDS, info.keywords.c_str());

    fontFamily_ = MatchedFamily(kReportFontFamily);
    hasCjkFont_ = fontFamily_.rfind("AR PL UMing", 0) == 0;
    cairo_select_font_face(cr_, kReportFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_line_width(cr_, 1.0);
    // The curve is one path per channel: round joins keep its corners as narrow as the line.
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
}

CairoPdfCanvas::~CairoPdfCanvas() {
    if (cr_) cairo_destroy(cr_);
    if (surface_) cairo_surface_destroy(surface_);
}

bool CairoPdfCanvas::Ok() const { return error_.empty() && !writeFailed_ && cr_ != nullptr; }


bool CairoPdfCanvas::WriteBytes(const unsigned char* data, unsigned length) {
    if (writeFailed_) return false;
    errno = 0;
    if (!file_->Write(data, length)) {
        writeFailed_ = true;
        const int code = errno;
        if (error_.empty()) {
            error_ = code != 0 ? std::error_code(code, std::generic_category()).message() : "the file cannot be written";
        }
        return false;
    }
    return true;
}

void CairoPdfCanvas::TakeCairoError() {
    if (!error_.empty()) return;
    const cairo_status_t status = cr_ ? cairo_status(cr_) : cairo_surface_status(surface_);
    error_ = cairo_status_to_string(status);
}

bool CairoPdfCanvas::Finish() {
    if (finished_ || !cr_) return false;
    FlushTexts();
    finished_ = true;
    const cairo_status_t drawing = cairo_status(cr_);
    cairo_destroy(cr_);
    cr_ = nullptr;
    cairo_surface_finish(surface_);
    const cairo_status_t status = drawing != CAIRO_STATUS_SUCCESS ? drawing : cairo_surface_status(surface_);
    if (status != CAIRO_STATUS_SUCCESS && error_.empty()) error_ = cairo_status_to_string(status);
    if (!error_.empty() || writeFailed_) return false;
    errno = 0;
    if (!file_->Commit()) {
        const int code = errno;
        error_ = code != 0 ? std::error_code(code, std::generic_category()).message() : "the file cannot be written";
        return false;
    }
    return true;
}

void CairoPdfCanvas::BeginPage() {
    // Every page starts in black, as a new PDF page's graphics state does.
    fill_ = stroke_ = kBlack;
    sourceSet_ = false;
}

void CairoPdfCanvas::EndPage() {
    FlushTexts();
    if (cr_) cairo_show_page(cr_);
}

void CairoPdfCanvas::SetFontSize(double points) {
    if (points == fontSize_) return;
    FlushTexts();
    fontSize_ = points;
    appliedFont_ = -1;
}

void CairoPdfCanvas::ApplyFont(bool latin) {
    const int wanted = latin ? 1 : 0;
    if (!cr_ || appliedFont_ == wanted) return;
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, fontSize_ * (latin ? kLatinWidth : 1.0), fontSize_);
    cairo_set_font_matrix(cr_, &m);
    appliedFont_ = wanted;
}

void CairoPdfCanvas::ShowRuns(const std::string& utf8) {
    // Runs of ASCII and of other characters, each at its width; cairo's current point carries
    // the position from one run to the next.
    size_t start = 0;
    while (start < utf8.size()) {
        const bool latin = static_cast<unsigned char>(utf8[start]) < 0x80;
        size_t end = start;
        while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) < 0x80) == latin) ++end;
        ApplyFont(latin);
        one_.assign(utf8, start, end - start);
        cairo_show_text(cr_, one_.c_str());
        start = end;
    }
}

void CairoPdfCanvas::SetColor(ColorTarget target, Rgb color) {
    (target == ColorTarget::Fill ? fill_ : stroke_) = color;
}

void CairoPdfCanvas::UseColor(const Rgb& color) {
    if (sourceSet_ && source_ == color) return;
    cairo_set_source_rgb(cr_, color.r, color.g, color.b);
    source_ = color;
    sourceSet_ = true;
}

void CairoPdfCanvas::ShowText(double x, double y, const std::string& gbk) {
    if (!cr_ || gbk.empty()) return;
    const size_t offset = pendingBytes_.size();
    // Plain ASCII (every table row) is already UTF-8.
    if (IsAscii(gbk)) {
        pendingBytes_ += gbk;
    } else {
        pendingBytes_ += GbkToUtf8(gbk);
    }
    // A tab has no glyph (a label aligns with tabs): it is set as a blank.
    for (size_t i = offset; i < pendingBytes_.size(); ++i) {
        if (pendingBytes_[i] == '\t') pendingBytes_[i] = ' ';
    }
    pending_.push_back({x, y, fill_, offset, pendingBytes_.size() - offset});
}

void CairoPdfCanvas::FlushTexts() {
    if (pending_.empty() || !cr_) return;
    // Colours in the order they first appear; a page has very few.
    std::vector<Rgb> colors;
    for (const PendingText& t : pending_) {
        if (std::find(colors.begin(), colors.end(), t.color) == colors.end()) colors.push_back(t.color);
    }
    for (const Rgb& color : colors) {
        UseColor(color);
        // ASCII first, all at the Latin width; a text that ends in other characters (a cell's
        // alarm arrow) leaves its tail, at the point where the ASCII ended, for the second pass
        // at full width; texts that mix further are set run by run.
        tails_.clear();
        mixed_.clear();
        ApplyFont(true);
        for (size_t i = 0; i < pending_.size(); ++i) {
            const PendingText& t = pending_[i];
            if (!(t.color == color)) continue;
            const char* text = pendingBytes_.data() + t.offset;
            size_t ascii = 0;
            while (ascii < t.length && static_cast<unsigned char>(text[ascii]) < 0x80) ++ascii;
            size_t rest = ascii;
            while (rest < t.length && static_cast<unsigned char>(text[rest]) >= 0x80) ++rest;
            if (rest < t.length) {
                mixed_.push_back(i);
                continue;
            }
            double x = t.x, y = kPageHeight - t.y;
            if (ascii > 0) {
                cairo_move_to(cr_, x, y);
                one_.assign(text, ascii);
                cairo_show_text(cr_, one_.c_str());
                cairo_get_current_point(cr_, &x, &y);
            }
            if (ascii < t.length) tails_.push_back({x, y, color, t.offset + ascii, t.length - ascii});
        }
        ApplyFont(false);
        for (const PendingText& tail : tails_) {
            cairo_move_to(cr_, tail.x, tail.y);
            one_.assign(pendingBytes_, tail.offset, tail.length);
            cairo_show_text(cr_, one_.c_str());
        }
        for (size_t i : mixed_) {
            const PendingText& t = pending_[i];
            cairo_move_to(cr_, t.x, kPageHeight - t.y);
            runs_.assign(pendingBytes_, t.offset, t.length);
            ShowRuns(runs_);
        }
    }
    // The texts' positions must not become part of the next stroked path.
    cairo_new_path(cr_);
    pending_.clear();
    pendingBytes_.clear();
}

void CairoPdfCanvas::MoveTo(double x, double y) {
    FlushTexts();
    if (cr_) cairo_move_to(cr_, x, kPageHeight - y);
}

void CairoPdfCanvas::LineTo(double x, double y) {
    FlushTexts();
    if (cr_) cairo_line_to(cr_, x, kPageHeight - y);
}

void CairoPdfCanvas::Rect(double x, double y, double width, double height) {
    FlushTexts();
    if (cr_) cairo_rectangle(cr_, x, kPageHeight - y - height, width, height);
}

void CairoPdfCanvas::Stroke() {
    if (!cr_) return;
    FlushTexts();
    UseColor(stroke_);
    cairo_stroke(cr_);
}

bool CairoPdfCanvas::PlaceImage(const std::string& pngPath, double x, double y, double scale) {
    if (!cr_) return false;
    FlushTexts();
    cairo_surface_t* image = cairo_image_surface_create_from_png(pngPath.c_str());
    const bool ok = cairo_surface_status(image) == CAIRO_STATUS_SUCCESS;
    if (ok) {
        const double height = cairo_image_surface_get_height(image) * scale;
        cairo_save(cr_);
        cairo_translate(cr_, x, kPageHeight - y - height);
        cairo_scale(cr_, scale, scale);
        cairo_set_source_surface(cr_, image, 0, 0);
        cairo_paint(cr_);
        cairo_restore(cr_);
        sourceSet_ = false;
    }
    cairo_surface_destroy(image);
    return ok;
}

}  // namespace velorin
