// CChildFrame: the MDI window of one data set. Closing it asks the user to confirm that the data
// are saved, except while the live view is open (then data windows close without asking).
// GUI thread only.
#pragma once

#include <QMdiSubWindow>
#include <functional>

namespace velorin {

class Presenter;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    // `liveViewOpen` tells at close time whether the live view is open.
    CChildFrame(Presenter& presenter, std::function<bool()> liveViewOpen, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Presenter& presenter_;
    std::function<bool()> liveViewOpen_;
};

}  // namespace velorin
