#include "report/pdf_document.h"

#include <memory>

#include "report/cairo_canvas.h"
#include "report/pdf_canvas.h"
#include "report/report_font.h"
#include "report/report_texts.h"
#include "report/truetype_font.h"

namespace velorin {

PdfDocumentInfo ReportDocumentInfo() {
    const ReportFixedTexts& fixed = ReportFixed();
    PdfDocumentInfo info;
    info.creator = fixed.creator;
    info.author = fixed.author;
    info.title = fixed.title;
    info.subject = fixed.subject;
    info.keywords = fixed.keywords;
    return info;
}

std::unique_ptr<PdfFileCanvas> OpenPdfCanvas(const std::string& path, const PdfDocumentInfo& info) {
    const ReportFontMatch match = MatchReportFont();
    std::shared_ptr<const TrueTypeFont> font;
    if (!match.file.empty()) font = TrueTypeFont::LoadFile(match.file, match.face, nullptr);
    // A font this writer cannot embed (PostScript outlines, say) goes through cairo.
    if (!font) return std::make_unique<CairoPdfCanvas>(path, info);
    return std::make_unique<PdfCanvas>(path, info, std::move(font), match.family, match.IsCjk());
}

PdfResult WritePdfDocument(const std::string& path, const PdfDocumentInfo& info, const std::string& logoPath,
                           const std::function<PdfDrawing(ReportCanvas&)>& draw) {
    PdfResult result;
    result.path = path.find(".pdf") == std::string::npos ? path + ".pdf" : path;
    std::unique_ptr<PdfFileCanvas> file = OpenPdfCanvas(result.path, info);
    PdfFileCanvas& canvas = *file;
    if (!canvas.Ok()) {
        result.detail = canvas.Error();
        return result;
    }
    result.fontUsed = canvas.FontFamily();
    if (!canvas.HasCjkFont()) result.warnings.push_back(PdfWarning::CjkFontMissing);
    const PdfDrawing drawing = draw(canvas);
    result.pages = drawing.pages;
    if (drawing.cancelled) {
        // The canvas discards its temporary file: an existing target stays as it was.
        result.cancelled = true;
        result.detail = "cancelled";
        return result;
    }
    if (!logoPath.empty() && !drawing.logoPlaced) {
        result.logoPath = logoPath;
        result.warnings.push_back(PdfWarning::LogoMissing);
    }
    result.ok = canvas.Finish();
    if (!result.ok) result.detail = canvas.Error();
    return result;
}

}  // namespace velorin
