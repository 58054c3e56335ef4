#include "view/deferred_canvas.h"

#include <QPainter>
#include <QRect>
#include <QRegion>
#include <cstring>
#include <utility>
#include <vector>

#include "view/paint_target.h"

namespace velorin {

const QImage& DeferredCanvas::Kept() {
    if (keptOwed_) {
        draw_(kept_);
        keptOwed_ = false;
    }
    return kept_;
}

void DeferredCanvas::Paint(QPainter& painter, const QRect& at, const QRegion& region, const QRegion& opaque) {
    // The widgets' pixels this paint leaves: it shows the whole plot when it paints the rest.
    const QRegion left = (opaque & at) - region;
    const bool whole = (QRegion(at) - region - left).isEmpty();
    QImage window;
    if (windowOwed_ && whole) window = PaintTargetPixels(painter, at);
    if (!window.isNull()) {
        // The drawing fills the whole plot, under those widgets too: their pixels go back.
        std::vector<std::pair<QRect, QImage>> kept;
        for (const QRect& r : left) {
            const QRect inPlot = r.translated(-at.topLeft());
            kept.emplace_back(inPlot, window.copy(inPlot));
        }
        draw_(window);
        for (const auto& [r, pixels] : kept) {
            for (int y = 0; y < r.height(); ++y) {
                std::memcpy(window.scanLine(r.top() + y) + static_cast<size_t>(r.left()) * 4, pixels.constScanLine(y),
                            static_cast<size_t>(r.width()) * 4);
            }
        }
    } else if (region.intersects(at)) {
        painter.drawImage(at.topLeft(), Kept());
    }
    if (whole) windowOwed_ = false;
}

}  // namespace velorin
