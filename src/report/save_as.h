// Save As of a data set: the form is the filter the user chose in the save dialog (not the
// typed extension), the form's extension is appended when the name does not contain it, and
// the document goes to the form's writer. Any single thread that owns the document.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "device/display_options.h"

namespace velorin {

class CDastrelDoc;
struct PdfOptions;
struct PdfResult;

// The values are the 1-based positions of the forms in the dialog's filter list.
enum class SaveForm { Pdf = 1, Csv = 2, Txt = 3, Kv = 4, CsvUtf8 = 5, TxtUtf8 = 6 };

// The form of the dialog's filter `filterIndex` (1-based, in the order of the filter list);
// false for any other index.
bool SaveFormOfFilter(int filterIndex, SaveForm& form);
// ".pdf", ".csv", ".txt" or ".kv" (the UTF-8 forms share the extension of their GBK form).
const char* ExtensionOf(SaveForm form);
// `path` with the form's extension appended unless it occurs anywhere in it (case-sensitive):
// "report.csv" saved as PDF becomes "report.csv.pdf".
std::string SaveAsTarget(const std::string& path, SaveForm form);

struct SaveAsOptions {
    DisplayOptions display;
    int32_t firstIndex = 0, endIndex = 0;  // the shown range (PDF); endIndex ≤ firstIndex: all
    std::string logoPath;                  // the report's logo
};

struct SaveAsResult {
    bool ok = false;
    bool cancelled = false;             // the user stopped the report (no failure message)
    std::string path;                   // the file written
    std::string failure;                // GBK message for the user when !ok
    std::vector<std::string> warnings;  // GBK messages the user should see (a missing CJK font)
};

SaveAsResult SaveDocumentAs(CDastrelDoc& doc, SaveForm form, const std::string& path, const SaveAsOptions& options);

// The report's options for a Save As, and the Save As result of a finished report: the GUI
// runs the PDF form on a worker (report_worker.h) between the two.
PdfOptions PdfOptionsOf(const SaveAsOptions& options);
SaveAsResult PdfSaveResult(const PdfResult& report, const SaveAsOptions& options);

}  // namespace velorin
