#include "view/view_printing.h"

#include <QDialog>
#include <QMdiSubWindow>

#include "app/presenter.h"
#include "device/device_info.h"
#include "history/dastrel_doc.h"
#include "view/dastrel_view.h"
#include "view/print_job.h"
#include "view/time_cho.h"

namespace velorin {

CDastrelView* ViewOf(QMdiSubWindow* window) {
    return window != nullptr ? qobject_cast<CDastrelView*>(window->widget()) : nullptr;
}

void ChannelTypesOf(const DeviceInfo& info, uint8_t (&types)[8]) {
    for (int c = 0; c < 8; ++c) types[c] = info.channel[c].channelType;
}

void PrintViewCurve(CDastrelView& view, Presenter& presenter) {
    // The printed plot is the one drawn now, not the kept copy.
    view.Redraw();
    PrintCurve(presenter, view.Document()->Set(), view.FirstIndex(), view.EndIndex(), view.Canvas());
}

void PrintViewList(CDastrelView& view, Presenter& presenter, const std::string& languageName,
                   const uint8_t (&channelType)[8]) {
    CTimeCho chooser(languageName, &view);
    chooser.SetMode(CTimeCho::Mode::Serial);
    if (presenter.Exec(chooser) != QDialog::Accepted) return;
    PrintList(presenter, view.Document()->Set(), channelType, chooser.FirstSerial(), chooser.LastSerial());
}

}  // namespace velorin
