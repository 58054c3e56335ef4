#include "report/pdf_document.h"

#include "report/cairo_canvas.h"
#include "report/report_texts.h"

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

PdfResult WritePdfDocument(const std::string& path, const PdfDocumentInfo& info, const std::string& logoPath,
                           const std::function<PdfDrawing(ReportCanvas&)>& draw) {
    PdfResult result;
    result.path = path.find(".pdf") == std::string::npos ? path + ".pdf" : path;
    CairoPdfCanvas canvas(result.path, info);
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
