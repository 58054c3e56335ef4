// UserMessages for the GUI: message boxes through the Presenter, status texts in pane 0.
//
// Threading: callable from any thread. On the GUI thread it acts at once; from a worker, a
// message box is handed to the GUI thread and the worker waits until the user acknowledged it
// (so a worker's later status text cannot overtake its box), a status text is queued.
#pragma once

#include <QObject>
#include <functional>

#include "common/user_messages.h"

namespace velorin {

class Presenter;

class QtMessages final : public UserMessages {
public:
    // `context` lives on the GUI thread; `status` shows a text in pane 0 (GUI thread).
    QtMessages(QObject* context, Presenter& presenter, std::function<void(const QString&)> status);

    void MessageBox(const std::string& text, const std::string& caption, MessageIcon icon) override;
    void Status(const std::string& text) override;

private:
    QObject* context_;
    Presenter& presenter_;
    std::function<void(const QString&)> status_;
};

}  // namespace velorin
