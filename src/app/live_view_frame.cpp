#include "app/live_view_frame.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScrollArea>

#include "app/main_frame.h"
#include "live/live_texts.h"
#include "live/live_view_widget.h"
#include "ui/gui_text.h"

namespace velorin {

namespace {

const char* const kFrameName = "liveViewFrame";

QMdiSubWindow* LiveFrame(CMainFrame& frame) {
    for (QMdiSubWindow* w : frame.MdiArea()->subWindowList()) {
        if (w->objectName() == QLatin1String(kFrameName)) return w;
    }
    return nullptr;
}

}  // namespace

CRealImage* LiveView(CMainFrame& frame) {
    QMdiSubWindow* w = LiveFrame(frame);
    auto* scroll = w != nullptr ? qobject_cast<QScrollArea*>(w->widget()) : nullptr;
    return scroll != nullptr ? qobject_cast<CRealImage*>(scroll->widget()) : nullptr;
}

void CloseLiveView(CMainFrame& frame) {
    // Deleted now, not later: the view gives the commands back before the caller goes on.
    delete LiveFrame(frame);
}

CRealImage* OpenLiveView(CMainFrame& frame, LinkWorker& worker) {
    CloseLiveView(frame);
    CommandFlags& flags = frame.Flags();
    flags.connectEnabled = 0;
    flags.SetDeviceCommands(0);
    flags.liveViewOpen = 1;
    frame.UpdateCommands();

    // While the view lives the other device commands stay off; its polls are LivePoll jobs.
    QPointer<CMainFrame> owner(&frame);
    CRealImage::Hooks hooks;
    hooks.released = [owner] {
        if (!owner) return;
        CommandFlags& f = owner->Flags();
        f.connectEnabled = 1;
        f.SetDeviceCommands(1);
        f.liveViewOpen = 0;
        owner->UpdateCommands();
    };

    auto* child = new QMdiSubWindow;
    child->setObjectName(QLatin1String(kFrameName));
    child->setAttribute(Qt::WA_DeleteOnClose);
    // The view keeps its layout at its minimum size; a smaller window scrolls it.
    auto* scroll = new QScrollArea(child);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* view = new CRealImage(worker, frame.Info(), frame.TextLanguage(), std::move(hooks), scroll);
    scroll->setWidget(view);
    child->setWidget(scroll);
    child->setWindowTitle(FromUtf8(LiveTextsFor(frame.TextLanguage()).windowTitle));
    frame.MdiArea()->addSubWindow(child);
    child->showMaximized();
    view->Start();
    return view;
}

}  // namespace velorin
