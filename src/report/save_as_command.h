// The data window's Save As command: asks for a file and a form (PDF report, CSV table, TXT
// table or .kv data file) and writes the active document in that form. GUI thread only; the PDF
// report runs on a worker over a copy of the document with a progress dialog that can cancel
// it, while the windows go on painting (report_worker.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class QWidget;

namespace velorin {

class CDastrelDoc;
class Presenter;
struct DisplayOptions;

// Nothing happens without a document or when the user cancels. Failures and a missing CJK
// font are shown through `presenter`. `display`: the language and the channel types of the
// DeviceInfo read last. The PDF report covers the records firstIndex … endIndex − 1 that the
// data window shows (endIndex ≤ firstIndex: the whole set). Returns true when a file was
// written. `parent`: the window the progress dialog belongs to.
bool SaveAsCommand(const std::shared_ptr<CDastrelDoc>& doc, const DisplayOptions& display, Presenter& presenter,
                   int32_t firstIndex = 0, int32_t endIndex = 0, QWidget* parent = nullptr);

}  // namespace velorin
