#include "view/paint_target.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QRect>
#include <QRegion>
#include <QTransform>
#include <cmath>

namespace velorin {

QImage PaintTargetPixels(QPainter& painter, const QRect& rect) {
    QPaintEngine* engine = painter.paintEngine();
    if (engine == nullptr || engine->type() != QPaintEngine::Raster || rect.isEmpty()) return QImage();
    QPaintDevice* device = engine->paintDevice();
    if (device == nullptr || device->devType() != QInternal::Image) return QImage();
    auto* image = static_cast<QImage*>(device);
    // Opaque pixels are the same words in all three layouts.
    const QImage::Format format = image->format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied)
        return QImage();
    // Pixels written straight are what drawing the opaque image would give only where the
    // painter would draw it as it is: wholly inside any clip, not faded, not blended otherwise.
    if (painter.opacity() != 1.0 || painter.compositionMode() != QPainter::CompositionMode_SourceOver) return QImage();
    if (painter.hasClipping() && !QRegion(rect).subtracted(painter.clipRegion()).isEmpty()) return QImage();
    // A widget's painter is moved to the widget's place in its window's pixels; any scaling
    // (a high-resolution screen) leaves it to the painter.
    const QTransform transform = painter.deviceTransform();
    if (transform.type() > QTransform::TxTranslate || image->devicePixelRatio() != 1.0) return QImage();
    const double dx = transform.dx(), dy = transform.dy();
    if (dx != std::floor(dx) || dy != std::floor(dy)) return QImage();
    const QRect at = rect.translated(static_cast<int>(dx), static_cast<int>(dy));
    if (!image->rect().contains(at)) return QImage();
    // The memory the painter writes (it made the image its own when it began): constBits(), as
    // bits() would copy the image if anything else shared it, and leave the painter behind.
    uchar* first = const_cast<uchar*>(image->constBits()) + static_cast<qsizetype>(at.top()) * image->bytesPerLine() +
                   static_cast<qsizetype>(at.left()) * 4;
    return QImage(first, at.width(), at.height(), image->bytesPerLine(), QImage::Format_RGB32);
}

}  // namespace velorin
