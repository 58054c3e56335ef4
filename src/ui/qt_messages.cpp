#include "ui/qt_messages.h"

#include <QThread>

#include "ui/gui_text.h"
#include "ui/presenter.h"

namespace velorin {

namespace {
BoxIcon ToBoxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information: return BoxIcon::Information;
        case MessageIcon::Warning: return BoxIcon::Warning;
        case MessageIcon::Error: return BoxIcon::Error;
        case MessageIcon::Question: return BoxIcon::Question;
        case MessageIcon::None: break;
    }
    return BoxIcon::None;
}
}  // namespace

QtMessages::QtMessages(QObject* context, Presenter& presenter, std::function<void(const QString&)> status)
    : context_(context), presenter_(presenter), status_(std::move(status)) {}

void QtMessages::MessageBox(const std::string& text, const std::string& caption, MessageIcon icon) {
    const QString t = FromGbk(text);
    const QString c = FromGbk(caption);
    auto show = [this, t, c, icon] { presenter_.Message(t, c, ToBoxIcon(icon)); };
    if (QThread::currentThread() == context_->thread()) {
        show();
    } else {
        QMetaObject::invokeMethod(context_, show, Qt::BlockingQueuedConnection);
    }
}

void QtMessages::Status(const std::string& text) {
    const QString t = FromGbk(text);
    if (QThread::currentThread() == context_->thread()) {
        status_(t);
    } else {
        auto status = status_;
        QMetaObject::invokeMethod(
            context_, [status, t] { status(t); }, Qt::QueuedConnection);
    }
}

}  // namespace velorin
