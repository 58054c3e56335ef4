// One pane of the status bar. A pane can be given a width in pixels; like a status bar pane of
// a classic frame window it then asks for that width but yields when the window is narrower
// (a pane wider than the window is cut off instead of widening the window).
#pragma once

#include <QLabel>

namespace velorin {

class StatusPane : public QLabel {
public:
    explicit StatusPane(const QString& text, QWidget* parent = nullptr) : QLabel(text, parent) {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    }
    void SetPaneWidth(int pixels) {
        width_ = pixels;
        updateGeometry();
    }
    int PaneWidth() const { return width_; }
    // An indicator pane (CAP, NUM, SCRL) keeps the width of its text whatever width it is
    // given, so the indicators stay together at the right edge.
    void KeepTextWidth() {
        keepTextWidth_ = true;
        updateGeometry();
    }
    QSize sizeHint() const override {
        QSize size = QLabel::sizeHint();
        if (width_ > 0 && !keepTextWidth_) size.setWidth(width_);
        return size;
    }
    QSize minimumSizeHint() const override {
        QSize size = QLabel::minimumSizeHint();
        if (!keepTextWidth_) size.setWidth(width_ > 0 ? 0 : size.width());
        return size;
    }

private:
    int width_ = 0;  // 0: as wide as the text
    bool keepTextWidth_ = false;
};

}  // namespace velorin
