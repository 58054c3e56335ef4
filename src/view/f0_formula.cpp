#include "view/f0_formula.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace velorin {

namespace {

// Everything is laid out on a 400 × 150 grid and scaled.
constexpr double kBaseWidth = 400.0;
const QRectF kReferenceBox(318, 16, 72, 30);
const QRectF kZBox(302, 66, 72, 30);

QRect Scaled(const QRectF& r, int width) {
    const double s = width / kBaseWidth;
    return QRectF(r.x() * s, r.y() * s, r.width() * s, r.height() * s).toRect();
}

void Text(QPainter& p, double x, double baseline, int pixelSize, const QString& text, bool italic = false) {
    QFont font(QStringLiteral("Serif"));
    font.setPixelSize(pixelSize);
    font.setItalic(italic);
    p.setFont(font);
    p.drawText(QPointF(x, baseline), text);
}

}  // namespace

QRect F0ReferenceEditRect(int width) { return Scaled(kReferenceBox, width); }
QRect F0ZValueEditRect(int width) { return Scaled(kZBox, width); }

QPixmap DrawF0Formula(int width) {
    if (width < 1) width = 1;
    const int height = static_cast<int>(width / kF0FormulaAspect);
    QPixmap picture(width, height < 1 ? 1 : height);
    picture.fill(QColor(250, 250, 244));
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(width / kBaseWidth, width / kBaseWidth);

    p.setPen(QPen(QColor(120, 140, 150), 1.5));
    p.drawRoundedRect(QRectF(2, 2, 396, 146), 8, 8);

    p.setPen(Qt::black);
    Text(p, 14, 92, 40, QStringLiteral("F"), true);
    Text(p, 38, 102, 20, QStringLiteral("0"));
    Text(p, 62, 90, 34, QStringLiteral("="));

    // Summation sign over the records.
    Text(p, 96, 100, 58, QString(QChar(0x03A3)));
    Text(p, 104, 124, 14, QStringLiteral("i"), true);
    Text(p, 148, 92, 30, QString(QChar(0x0394)) + QStringLiteral("t"), true);
    Text(p, 196, 90, 30, QString(QChar(0x00B7)));
    Text(p, 214, 100, 40, QStringLiteral("10"));

    // The exponent: (T − Tref) over z, the two numbers in boxes where the edits sit.
    Text(p, 262, 40, 22, QStringLiteral("T"), true);
    Text(p, 284, 40, 22, QString(QChar(0x2212)));
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(QPointF(262, 56), QPointF(394, 56));
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.setBrush(Qt::white);
    p.drawRect(kReferenceBox);
    p.drawRect(kZBox);

    // What the symbols stand for, in symbols only (the same in both languages).
    p.setPen(QColor(80, 80, 80));
    Text(p, 14, 140, 12, QString(QChar(0x0394)) + QStringLiteral("t: min    T: CH1 ") + QChar(0x2103), false);
    Text(p, 318, 12, 11, QStringLiteral("Tref"), true);
    Text(p, 380, 86, 13, QStringLiteral("z"), true);
    return picture;
}

}  // namespace velorin
