#include "report/cairo_canvas.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "common/atomic_file.h"
#include "common/text_codec.h"
#include "report/report_font.h"

namespace velorin {

struct CairoStream {
    static cairo_status_t Write(void* closure, const unsigned char* data, unsigned length) {
        return static_cast<CairoPdfCanvas*>(closure)->WriteBytes(data, length) ? CAIRO_STATUS_SUCCESS
                                                                               : CAIRO_STATUS_WRITE_ERROR;
    }
};

CairoPdfCanvas::CairoPdfCanvas(const std::string& path, const PdfDocumentInfo& info)
    : run_(std::make_unique<GlyphRun>()) {
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

    const ReportFontMatch font = MatchReportFont();
    fontFamily_ = font.family;
    hasCjkFont_ = font.IsCjk();
    cairo_select_font_face(cr_, kReportFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_line_width(cr_, 1.0);
    // The curve is one path per channel: round joins keep its corners as narrow as the line.
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
}

struct CairoPdfCanvas::GlyphRun {
    std::vector<cairo_glyph_t> glyphs;
    std::vector<cairo_text_cluster_t> clusters;
    std::string text;
};

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
            error_ =
                code != 0 ? std::error_code(code, std::generic_category()).message() : "the file cannot be written";
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
}

void CairoPdfCanvas::UseFont(double size, double narrow) {
    if (size == appliedSize_ && narrow == appliedNarrow_) return;
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, size * kLatinWidth * narrow, size);
    cairo_set_font_matrix(cr_, &m);
    appliedSize_ = size;
    appliedNarrow_ = narrow;
}

CairoPdfCanvas::GlyphTable& CairoPdfCanvas::TableFor(double size) const {
    for (auto& t : tables_) {
        if (t.first == size) return *t.second;
    }
    tables_.emplace_back(size, std::make_unique<GlyphTable>());
    return *tables_.back().second;
}

const CairoPdfCanvas::Glyph& CairoPdfCanvas::Lookup(GlyphTable& table, uint32_t codePoint, const char* utf8,
                                                    size_t bytes) const {
    if (codePoint < 128 && table.asciiKnown[codePoint]) return table.ascii[codePoint];
    if (codePoint >= 128) {
        const auto at = std::lower_bound(table.other.begin(), table.other.end(), codePoint,
                                         [](const std::pair<uint32_t, Glyph>& e, uint32_t c) { return e.first < c; });
        if (at != table.other.end() && at->first == codePoint) return at->second;
    }
    // The font's own mapping and advance at the current size and normal width, as
    // cairo_show_text would place the character.
    Glyph g;
    cairo_scaled_font_t* font = cairo_get_scaled_font(cr_);
    cairo_glyph_t* glyphs = nullptr;
    int count = 0;
    if (cairo_scaled_font_text_to_glyphs(font, 0, 0, utf8, static_cast<int>(bytes), &glyphs, &count, nullptr, nullptr,
                                         nullptr) == CAIRO_STATUS_SUCCESS &&
        count >= 1) {
        g.index = glyphs[0].index;
        cairo_text_extents_t extents;
        cairo_scaled_font_glyph_extents(font, glyphs, 1, &extents);
        g.advance = extents.x_advance;
    }
    cairo_glyph_free(glyphs);
    if (codePoint < 128) {
        table.ascii[codePoint] = g;
        table.asciiKnown[codePoint] = true;
        return table.ascii[codePoint];
    }
    const auto at = std::lower_bound(table.other.begin(), table.other.end(), codePoint,
                                     [](const std::pair<uint32_t, Glyph>& e, uint32_t c) { return e.first < c; });
    return table.other.insert(at, {codePoint, g})->second;
}

double CairoPdfCanvas::TextWidth(const std::string& gbk) const {
    if (!cr_ || gbk.empty()) return 0;
    return Utf8Width(IsPlainAscii(gbk) ? gbk : GbkToUtf8(gbk));
}

double CairoPdfCanvas::Utf8Width(std::string_view utf8) const {
    // Measured at the normal width of the current size; the font matrix is switched for the
    // lookups only (texts waiting to be set are placed when they are flushed).
    const_cast<CairoPdfCanvas*>(this)->UseFont(fontSize_, 1.0);
    GlyphTable& table = TableFor(fontSize_);
    double width = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    for (size_t at = 0, bytes = 0; at < utf8.size(); at += bytes) {
        const uint32_t c = NextUtf8CodePoint(p + at, utf8.size() - at, bytes);
        width += Lookup(table, c == '\t' ? ' ' : c, c == '\t' ? " " : utf8.data() + at, c == '\t' ? 1 : bytes).advance;
    }
    return width;
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

void CairoPdfCanvas::ShowText(double x, double y, const std::string& gbk) { AddText(x, y, gbk, 0); }

void CairoPdfCanvas::ShowTextIn(double x, double y, const std::string& gbk, double width) { AddText(x, y, gbk, width); }

void CairoPdfCanvas::AddText(double x, double y, const std::string& gbk, double width) {
    if (!cr_ || gbk.empty()) return;
    const size_t offset = pendingBytes_.size();
    // Plain ASCII (every table row) is already UTF-8; other texts are converted once, for both
    // the measuring and the setting.
    if (IsPlainAscii(gbk)) {
        pendingBytes_ += gbk;
    } else {
        pendingBytes_ += GbkToUtf8(gbk);
    }
    double narrow = 1.0;
    if (width > 0) {
        const double natural = Utf8Width(std::string_view(pendingBytes_).substr(offset));
        if (natural > width) narrow = width / natural;
    }
    // A tab has no glyph (a label aligns with tabs): it is set as a blank.
    for (size_t i = offset; i < pendingBytes_.size(); ++i) {
        if (pendingBytes_[i] == '\t') pendingBytes_[i] = ' ';
    }
    pending_.push_back({x, y, fill_, narrow, offset, pendingBytes_.size() - offset});
}

void CairoPdfCanvas::FlushTexts() {
    if (pending_.empty() || !cr_) return;
    GlyphTable& table = TableFor(fontSize_);
    // Runs in the order their colour and width first appear; a page has very few.
    std::vector<std::pair<Rgb, double>> runs;
    for (const PendingText& t : pending_) {
        const std::pair<Rgb, double> key(t.color, t.narrow);
        if (std::find(runs.begin(), runs.end(), key) == runs.end()) runs.push_back(key);
    }
    GlyphRun& run = *run_;
    for (const auto& key : runs) {
        run.glyphs.clear();
        run.clusters.clear();
        run.text.clear();
        UseFont(fontSize_, 1.0);  // the glyphs are looked up at the normal width
        for (const PendingText& t : pending_) {
            if (!(t.color == key.first) || t.narrow != key.second) continue;
            double x = t.x;
            const double y = kPageHeight - t.y;
            const auto* p = reinterpret_cast<const unsigned char*>(pendingBytes_.data() + t.offset);
            for (size_t at = 0, bytes = 0; at < t.length; at += bytes) {
                const uint32_t c = NextUtf8CodePoint(p + at, t.length - at, bytes);
                const Glyph& g = Lookup(table, c, reinterpret_cast<const char*>(p + at), bytes);
                run.glyphs.push_back({g.index, x, y});
                run.clusters.push_back({static_cast<int>(bytes), 1});
                x += g.advance * key.second;
            }
            run.text.append(pendingBytes_, t.offset, t.length);
        }
        UseColor(key.first);
        UseFont(fontSize_, key.second);
        cairo_show_text_glyphs(cr_, run.text.data(), static_cast<int>(run.text.size()), run.glyphs.data(),
                               static_cast<int>(run.glyphs.size()), run.clusters.data(),
                               static_cast<int>(run.clusters.size()), static_cast<cairo_text_cluster_flags_t>(0));
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
