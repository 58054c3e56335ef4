// The PDF report written on a worker thread while the window goes on painting: a modal progress
// dialog shows the pages done and can cancel (the report then stops after its current page and
// leaves an existing target as it was).
//
// Threading: RunReportInBackground is called on the GUI thread and returns there when the report
// has ended; meanwhile it runs the GUI event loop. The report runs on one std::thread over its
// own copy of the data set (the window may change the document meanwhile, e.g. F0 mode writes
// channel 2); its page progress reaches the dialog by queued calls, and the cancel request goes
// the other way through an atomic flag.
#pragma once

#include <string>

class QWidget;

namespace velorin {

struct PdfOptions;
struct PdfResult;
struct RecordSet;

// Writes the report of `set` to `path` (ExportPdf) with a progress dialog over `parent` in the
// interface language; `options.progress` is replaced by the dialog's.
PdfResult RunReportInBackground(QWidget* parent, const RecordSet& set, const std::string& path,
                                const PdfOptions& options);

}  // namespace velorin
