// A plot drawn only when it is shown: a drawing is recorded (the owner keeps its scene), the
// first paint after it that shows it whole draws it straight into the window's pixels (no copy
// of a large image per drawing), and the kept image is drawn from the same scene the first time
// anything else needs it: later paints copy it, with overlays painted over it by the owner.
//
// Threading: GUI thread only, like the widget that owns it.
#pragma once

#include <QImage>
#include <functional>

class QPainter;
class QRect;
class QRegion;

namespace velorin {

class DeferredCanvas {
public:
    // `draw` draws the last drawing's scene into an image of the plot's size (RGB32).
    explicit DeferredCanvas(std::function<void(QImage&)> draw) : draw_(std::move(draw)) {}

    // A new drawing: neither the window nor the kept image shows it yet.
    void Drawn() { drawn_ = keptOwed_ = windowOwed_ = true; }
    // Whether there has been a drawing.
    bool HasDrawing() const { return drawn_; }
    // The kept image of the last drawing (drawn here if it was not yet); null before any.
    const QImage& Kept();
    // The plot at `at` as part of a paint of `region`. `opaque`: where opaque widgets lie over
    // the plot; where they lie outside `region` this paint leaves their pixels as they are (a
    // drawing need not repaint them: nothing of the plot shows there).
    void Paint(QPainter& painter, const QRect& at, const QRegion& region, const QRegion& opaque = QRegion());

private:
    std::function<void(QImage&)> draw_;
    QImage kept_;
    bool drawn_ = false;
    bool keptOwed_ = false;    // kept_ is not yet drawn from the last drawing
    bool windowOwed_ = false;  // no paint has shown the whole plot since the last drawing
};

}  // namespace velorin
