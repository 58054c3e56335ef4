#include "view/view_printing.h"

#include <QDialog>
#include <QMdiSubWindow>

#include "common/texts.h"
#include "device/display_options.h"
#include "history/dastrel_doc.h"
#include "ui/gui_text.h"
#include "ui/presenter.h"
#include "view/dastrel_view.h"
#include "view/print_job.h"
#include "view/range_chooser.h"

namespace velorin {

CDastrelView* ViewOf(QMdiSubWindow* window) {
    return window != nullptr ? qobject_cast<CDastrelView*>(window->widget()) : nullptr;
}

namespace {

// Without an installed printer the print dialog offers nothing to print on and the job could
// only end aborted: the user is told why before any dialog, and nothing is printed.
bool PrinterInstalled(Presenter& presenter, Language language) {
    if (!presenter.PrinterNames().isEmpty()) return true;
    presenter.Message(FromUtf8(TextsFor(language).noPrinterInstalled), QString(), BoxIcon::Warning);
    return false;
}

}  // namespace

void PrintViewCurve(CDastrelView& view, Presenter& presenter) {
    if (!PrinterInstalled(presenter, view.TextLanguage())) return;
    // The printed plot is the one drawn now, not the kept copy.
    view.Redraw();
    PrintCurve(presenter, view.Document()->Set(), view.FirstIndex(), view.EndIndex(), view.Canvas());
}

void PrintViewList(CDastrelView& view, Presenter& presenter, const DisplayOptions& display) {
    if (!PrinterInstalled(presenter, display.language)) return;
    CTimeCho chooser(display.language, &view);
    chooser.SetMode(CTimeCho::Mode::Serial);
    if (presenter.Exec(chooser) != QDialog::Accepted) return;
    PrintList(presenter, view.Document()->Set(), display.channelType, chooser.FirstSerial(), chooser.LastSerial());
}

}  // namespace velorin
