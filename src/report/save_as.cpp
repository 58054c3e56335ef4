#include "report/save_as.h"

#include "common/format.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "history/dastrel_doc.h"
#include "report/export_format.h"
#include "report/pdf_report.h"
#include "report/text_export.h"

namespace velorin {

namespace {

// "Cannot store the data file %s: %s" of the interface language, as a GBK message.
std::string StoreFailed(Language language, const std::string& path, const std::string& detail) {
    return Utf8ToGbk(FormatC(TextsFor(language).storeFailed.c_str(), path.c_str(), detail.c_str()));
}

}  // namespace

bool SaveFormOfFilter(int filterIndex, SaveForm& form) {
    if (filterIndex < 1 || filterIndex > 6) return false;
    form = static_cast<SaveForm>(filterIndex);
    return true;
}

const char* ExtensionOf(SaveForm form) {
    switch (form) {
        case SaveForm::Pdf: return ".pdf";
        case SaveForm::Csv:
        case SaveForm::CsvUtf8: return ".csv";
        case SaveForm::Txt:
        case SaveForm::TxtUtf8: return ".txt";
        case SaveForm::Kv: return ".kv";
    }
    return "";
}

std::string SaveAsTarget(const std::string& path, SaveForm form) { return WithExtension(path, ExtensionOf(form)); }

PdfOptions PdfOptionsOf(const SaveAsOptions& options) {
    PdfOptions pdf;
    pdf.display = options.display;
    pdf.firstIndex = options.firstIndex;
    pdf.endIndex = options.endIndex;
    pdf.logoPath = options.logoPath;
    return pdf;
}

SaveAsResult PdfSaveResult(const PdfResult& report, const SaveAsOptions& options) {
    SaveAsResult result;
    result.path = report.path;
    result.ok = report.ok;
    result.cancelled = report.cancelled;
    // The user who cancelled knows: no failure message then.
    if (!report.ok && !report.cancelled) result.failure = PdfFailureMessage(report);
    // A report without its logo is complete; a missing CJK font is not silent.
    for (PdfWarning w : report.warnings) {
        if (w == PdfWarning::CjkFontMissing)
            result.warnings.push_back(PdfWarningMessage(report, w, options.display.language));
    }
    return result;
}

SaveAsResult SaveDocumentAs(CDastrelDoc& doc, SaveForm form, const std::string& path, const SaveAsOptions& options) {
    SaveAsResult result;
    result.path = SaveAsTarget(path, form);
    switch (form) {
        case SaveForm::Pdf: return PdfSaveResult(ExportPdf(doc.Set(), result.path, PdfOptionsOf(options)), options);
        case SaveForm::Csv:
        case SaveForm::Txt:
        case SaveForm::CsvUtf8:
        case SaveForm::TxtUtf8: {
            ExportOptions text;
            text.display = options.display;
            text.encoding =
                form == SaveForm::CsvUtf8 || form == SaveForm::TxtUtf8 ? ExportEncoding::Utf8 : ExportEncoding::Gbk;
            const bool csv = form == SaveForm::Csv || form == SaveForm::CsvUtf8;
            const ExportResult r =
                csv ? ExportCsv(doc.Set(), result.path, text) : ExportTxt(doc.Set(), result.path, text);
            result.ok = r.ok;
            if (!r.ok) result.failure = StoreFailed(options.display.language, r.path, r.detail);
            return result;
        }
        case SaveForm::Kv: {
            const KvWriteResult r = doc.OnSaveDocument(result.path);
            result.ok = r.ok;
            if (!r.ok) result.failure = StoreFailed(options.display.language, result.path, r.detail);
            return result;
        }
    }
    return result;
}

}  // namespace velorin
