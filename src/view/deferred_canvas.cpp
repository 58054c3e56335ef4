#include "view/deferred_canvas.h"

#include <QPainter>
#include <QRect>
#include <QRegion>

#include "view/paint_target.h"

namespace velorin {

const QImage& DeferredCanvas::Kept() {
    if (keptOwed_) {
        draw_(kept_);
        keptOwed_ = false;
    }
    return kept_;
}

void DeferredCanvas::Paint(QPainter& painter, const QRect& at, const QRegion& region) {
    const bool whole = QRegion(at).subtracted(region).isEmpty();
    QImage window;
    if (windowOwed_ && whole) window = PaintTargetPixels(painter, at);
    if (!window.isNull())
        draw_(window);
    else if (region.intersects(at))
        painter.drawImage(at.topLeft(), Kept());
    if (whole) windowOwed_ = false;
}

}  // namespace velorin
