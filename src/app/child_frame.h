// CChildFrame: the MDI window of one data set. Closing it asks the user to confirm that the data
// are saved, except while the live view is open (then data windows close without asking).
// GUI thread only.
#pragma once

#include <QMdiSubWindow>
#include <functional>
#include <memory>

namespace velorin {

class CDastrelDoc;
class Presenter;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    // `liveViewOpen` tells at close time whether the live view is open.
    CChildFrame(Presenter& presenter, std::function<bool()> liveViewOpen, QWidget* parent = nullptr);

    // The data set shown (null for windows without one).
    void SetDocument(std::shared_ptr<CDastrelDoc> doc) { doc_ = std::move(doc); }
    const std::shared_ptr<CDastrelDoc>& Document() const { return doc_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Presenter& presenter_;
    std::function<bool()> liveViewOpen_;
    std::shared_ptr<CDastrelDoc> doc_;
};

}  // namespace velorin
