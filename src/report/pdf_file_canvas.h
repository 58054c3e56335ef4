// A report canvas that writes a PDF file: the drawing goes to a temporary file in the target's
// folder, which Finish() renames over the target only when the document is complete. A canvas
// destroyed without Finish() (a cancelled report) leaves the target as it was.
#pragma once

#include <string>

#include "report/report_canvas.h"

namespace velorin {

// Document information entries (UTF-8).
struct PdfDocumentInfo {
    std::string creator, author, title, subject, keywords;
};

class PdfFileCanvas : public ReportCanvas {
public:
    // False when the file could not be started; Error() says why.
    virtual bool Ok() const = 0;
    virtual const std::string& Error() const = 0;
    // The family fontconfig chose for the report's font, and whether it is the CJK font.
    virtual const std::string& FontFamily() const = 0;
    virtual bool HasCjkFont() const = 0;
    // Ends the document and replaces the target; false (target untouched) on any error.
    virtual bool Finish() = 0;
};

}  // namespace velorin
