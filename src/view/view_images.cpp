#include "view/view_images.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace velorin {

namespace {

constexpr int kDesign = 24;

// An image of `scale` × the 24-unit design, drawn by `draw` in design units.
template <typename Draw>
QPixmap DesignImage(double scale, Draw draw) {
    const int side = std::max(8, static_cast<int>(std::lround(kDesign * scale)));
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / double(kDesign), side / double(kDesign));
    draw(p);
    return pixmap;
}

// A horizontal double arrow along y = 12 of the design: heads at both ends pointing outwards
// or inwards, under a short curve stroke so the image reads as "curve".
void Arrows(QPainter& p, bool inwards) {
    p.setPen(QPen(QColor(30, 60, 140), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(2, 12), QPointF(22, 12));
    p.setBrush(QColor(30, 60, 140));
    const double tip = inwards ? 10.0 : 2.0;
    const double back = inwards ? 5.0 : 7.0;
    p.drawPolygon(QPolygonF({QPointF(tip, 12), QPointF(back, 8), QPointF(back, 16)}));
    p.drawPolygon(QPolygonF({QPointF(24 - tip, 12), QPointF(24 - back, 8), QPointF(24 - back, 16)}));
    p.setPen(QPen(QColor(200, 40, 40), 1.5));
    p.setBrush(Qt::NoBrush);
    QPainterPath wave;
    wave.moveTo(3, 5);
    wave.cubicTo(8, 1, 14, 9, 21, 4);
    p.drawPath(wave);
}

}  // namespace

QPixmap CompressionImage(double scale) {
    return DesignImage(scale, [](QPainter& p) { Arrows(p, true); });
}

QPixmap ExpansionImage(double scale) {
    return DesignImage(scale, [](QPainter& p) { Arrows(p, false); });
}

QPixmap PanImage(double scale) {
    return DesignImage(scale, [](QPainter& p) {
        p.setPen(QPen(QColor(40, 40, 40), 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 3), QPointF(12, 21));
        p.drawLine(QPointF(3, 12), QPointF(21, 12));
        p.setBrush(QColor(40, 40, 40));
        p.drawPolygon(QPolygonF({QPointF(12, 1), QPointF(9, 5), QPointF(15, 5)}));
        p.drawPolygon(QPolygonF({QPointF(12, 23), QPointF(9, 19), QPointF(15, 19)}));
        p.drawPolygon(QPolygonF({QPointF(1, 12), QPointF(5, 9), QPointF(5, 15)}));
        p.drawPolygon(QPolygonF({QPointF(23, 12), QPointF(19, 9), QPointF(19, 15)}));
    });
}

QCursor CurvePointerCursor() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    // A white outline under a black cross keeps it visible over curves and background.
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(16, 4, 16, 28);
    p.drawLine(4, 16, 28, 16);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(16, 4, 16, 28);
    p.drawLine(4, 16, 28, 16);
    p.end();
    return QCursor(pixmap, 16, 16);
}

QCursor PanPointerCursor() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(9, 13, 15, 13), 4, 4);  // palm
    for (int f = 0; f < 4; ++f)
        hand.addRoundedRect(QRectF(9.5 + f * 3.6, 5 + (f == 0 || f == 3 ? 3 : 0), 3.2, 11), 1.6, 1.6);
    hand.addRoundedRect(QRectF(4, 15, 7, 3.2), 1.6, 1.6);  // thumb
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(Qt::white);
    p.drawPath(hand.simplified());
    p.end();
    return QCursor(pixmap, 16, 16);
}

}  // namespace velorin
