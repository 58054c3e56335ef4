// The frame every PDF of the program is written in (the data report, the comparison report): a
// PDF canvas over a temporary file that replaces the target only when the document is
// complete, ".pdf" appended to a name without it, the font and logo warnings, cancellation.
// Any single thread.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "report/pdf_file_canvas.h"
#include "report/pdf_report.h"

namespace velorin {

// What a drawing tells the frame.
struct PdfDrawing {
    int pages = 0;
    bool cancelled = false;   // the progress callback stopped it: no file is written
    bool logoPlaced = false;  // checked only when a logo was asked for
};

// The document information of the data report (UTF-8).
PdfDocumentInfo ReportDocumentInfo();

// The canvas for a PDF file at `path`: the program's own writer when the report font is a
// TrueType font it can embed, else cairo's PDF surface.
std::unique_ptr<PdfFileCanvas> OpenPdfCanvas(const std::string& path, const PdfDocumentInfo& info);

// Draws with `draw` on the canvas and finishes the file. `logoPath` empty: no logo asked for.
PdfResult WritePdfDocument(const std::string& path, const PdfDocumentInfo& info, const std::string& logoPath,
                           const std::function<PdfDrawing(ReportCanvas&)>& draw);

}  // namespace velorin
