#include "app/child_frame.h"

#include <QCloseEvent>

#include "common/texts.h"
#include "ui/gui_text.h"
#include "ui/presenter.h"

namespace velorin {

CChildFrame::CChildFrame(Presenter& presenter, std::function<bool()> liveViewOpen, QWidget* parent)
    : QMdiSubWindow(parent), presenter_(presenter), liveViewOpen_(std::move(liveViewOpen)) {
    setAttribute(Qt::WA_DeleteOnClose);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (!liveViewOpen_()) {
        const FixedTexts& f = Fixed();
        if (!presenter_.AskOkCancel(FromUtf8(f.closeQuestion), FromUtf8(f.closeTitle), BoxIcon::Warning)) {
            event->ignore();
            return;
        }
    }
    QMdiSubWindow::closeEvent(event);
}

}  // namespace velorin
