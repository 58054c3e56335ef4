// Every picture is drawn on a 32-unit grid and scaled to the size asked for, so an icon looks the
// same at 16, 24, 32 and 48 pixels. The pictures are made once per application object and kept
// until the application goes away (QPixmap must not outlive it).
//
// Threading: GUI thread only.
#include "ui/icons.h"

#include <QCoreApplication>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QtMath>
#include <functional>
#include <map>

namespace velorin {

namespace {

// One palette for all pictures.
const QColor kInk(0x24, 0x33, 0x44);        // outlines and dark strokes
const QColor kBlue(0x2f, 0x6f, 0xb5);       // main colour
const QColor kBlueLight(0x8c, 0xc4, 0xf0);  // highlights
const QColor kBlueDark(0x1d, 0x4a, 0x7e);
const QColor kGreen(0x2e, 0x9e, 0x4f);  // live data, success
const QColor kRed(0xd6, 0x45, 0x41);    // stop
const QColor kRedDark(0x98, 0x27, 0x25);
const QColor kAmber(0xf0, 0xa8, 0x30);
const QColor kMetal(0xa9, 0xb4, 0xc0);
const QColor kMetalDark(0x6c, 0x7a, 0x8a);
const QColor kPaper(0xf8, 0xfa, 0xfc);
const QColor kScreen(0x1c, 0x2a, 0x38);  // display background

constexpr int kGrid = 32;
const int kIconSizes[] = {16, 24, 32, 48};

using Drawing = std::function<void(QPainter&)>;

QPen Stroke(const QColor& colour, qreal width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QLinearGradient Vertical(qreal top, qreal bottom, const QColor& upper, const QColor& lower) {
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, upper);
    g.setColorAt(1, lower);
    return g;
}

QPixmap Render(const Drawing& draw, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(qreal(size) / kGrid, qreal(size) / kGrid);
    draw(p);
    return pixmap;
}

QIcon MakeIcon(const Drawing& draw, std::initializer_list<int> sizes) {
    QIcon icon;
    for (int size : sizes) icon.addPixmap(Render(draw, size));
    return icon;
}

// --- shared pieces ---------------------------------------------------------------------------

// A small chart display: dark screen with a grid; the curve is drawn by the caller.
void ChartScreen(QPainter& p, const QRectF& r) {
    p.setPen(Stroke(kInk, 1.2));
    p.setBrush(Vertical(r.top(), r.bottom(), kScreen.lighter(130), kScreen));
    p.drawRoundedRect(r, 2.5, 2.5);
    p.setPen(QPen(QColor(0x4a, 0x5e, 0x74), 0.6, Qt::DotLine));
    for (int i = 1; i < 3; ++i) {
        const qreal y = r.top() + r.height() * i / 3;
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
    }
}

QPainterPath LiveCurve(const QRectF& r) {
    QPainterPath path;
    const qreal h = r.height();
    path.moveTo(r.left() + 2, r.top() + h * 0.70);
    path.cubicTo(r.left() + r.width() * 0.22, r.top() + h * 0.10, r.left() + r.width() * 0.35, r.top() + h * 0.20,
                 r.left() + r.width() * 0.48, r.top() + h * 0.55);
    path.cubicTo(r.left() + r.width() * 0.60, r.top() + h * 0.90, r.left() + r.width() * 0.72, r.top() + h * 0.75,
                 r.right() - 2, r.top() + h * 0.28);
    return path;
}

void Arrowhead(QPainter& p, QPointF tip, qreal angleDegrees, qreal length, const QColor& colour) {
    const qreal a = qDegreesToRadians(angleDegrees);
    const QPointF back(tip.x() - length * qCos(a), tip.y() + length * qSin(a));
    const QPointF side(length * 0.55 * qSin(a), length * 0.55 * qCos(a));
    p.setPen(Stroke(colour.darker(120), 0.8));
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({tip, back + side, back - side}));
}

// --- toolbar icons ---------------------------------------------------------------------------

// 161 Connect: a plug on its cable going into a socket, a spark between them.
void DrawConnect(QPainter& p) {
    // cable
    p.setPen(Stroke(kInk, 2.6));
    p.setBrush(Qt::NoBrush);
    QPainterPath cable;
    cable.moveTo(2, 29);
    cable.cubicTo(4, 20, 8, 22, 9.5, 17.5);
    p.drawPath(cable);
    // socket (right)
    p.setPen(Stroke(kInk, 1.2));
    p.setBrush(Vertical(6, 26, kMetal.lighter(120), kMetalDark));
    p.drawRoundedRect(QRectF(22, 6, 8, 20), 2, 2);
    p.setBrush(kScreen);
    p.drawRect(QRectF(22, 10.5, 3, 2.2));
    p.drawRect(QRectF(22, 19.3, 3, 2.2));
    // plug body, tilted a little
    p.save();
    p.translate(13, 15);
    p.rotate(-20);
    p.setPen(Stroke(kBlueDark, 1.2));
    p.setBrush(Vertical(-6, 6, kBlueLight, kBlue));
    p.drawRoundedRect(QRectF(-5, -6, 9, 12), 2.5, 2.5);
    p.setPen(Stroke(kMetalDark, 0.8));
    p.setBrush(kMetal);
    p.drawRect(QRectF(4, -4, 5, 2));
    p.drawRect(QRectF(4, 2, 5, 2));
    p.restore();
    // spark
    p.setPen(Stroke(kAmber.darker(130), 0.7));
    p.setBrush(kAmber);
    p.drawPolygon(QPolygonF({QPointF(18, 2), QPointF(21.5, 2.5), QPointF(19.5, 5), QPointF(22.5, 5.5),
                             QPointF(17.5, 10), QPointF(19, 6.5), QPointF(16.5, 6)}));
}

// 136 Restart Device (setup wizard): a gear inside a circular restart arrow.
void DrawRestart(QPainter& p) {
    const QPointF c(16, 16.5);
    // gear
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal outer = (i % 2 == 0) ? 8.6 : 6.6;
        for (int k = 0; k < 2; ++k) {
            const qreal a = qDegreesToRadians((i + k * 0.8 + 0.1) * 360.0 / (teeth * 2));
            const QPointF pt(c.x() + outer * qCos(a), c.y() + outer * qSin(a));
            if (i == 0 && k == 0)
                gear.moveTo(pt);
            else
                gear.lineTo(pt);
        }
    }
    gear.closeSubpath();
    gear.addEllipse(c, 2.6, 2.6);
    gear.setFillRule(Qt::OddEvenFill);
    p.setPen(Stroke(kInk, 1.0));
    p.setBrush(Vertical(8, 25, kMetal.lighter(115), kMetalDark));
    p.drawPath(gear);
    // restart arrow, open at the top right
    p.setPen(Stroke(kGreen, 2.6));
    p.setBrush(Qt::NoBrush);
    const QRectF ring(c.x() - 13, c.y() - 13, 26, 26);
    p.drawArc(ring, 70 * 16, 290 * 16);
    const qreal end = qDegreesToRadians(70.0);
    Arrowhead(p, QPointF(c.x() + 13 * qCos(end) + 4.2, c.y() - 13 * qSin(end) + 0.4), -5, 6.5, kGreen);
}

// 162 Update Time: a clock face with a small sync arrow.
void DrawClock(QPainter& p) {
    const QPointF c(15.5, 16.5);
    p.setPen(Stroke(kBlueDark, 1.4));
    QRadialGradient rim(c, 14);
    rim.setColorAt(0.8, kBlue);
    rim.setColorAt(1.0, kBlueDark);
    p.setBrush(rim);
    p.drawEllipse(c, 13.5, 13.5);
    p.setPen(Stroke(kMetalDark, 0.6));
    p.setBrush(kPaper);
    p.drawEllipse(c, 10.5, 10.5);
    // hour ticks
    for (int i = 0; i < 12; ++i) {
        const qreal a = qDegreesToRadians(i * 30.0);
        const qreal inner = (i % 3 == 0) ? 7.6 : 8.8;
        p.setPen(Stroke(kInk, i % 3 == 0 ? 1.4 : 0.8));
        p.drawLine(QPointF(c.x() + inner * qCos(a), c.y() + inner * qSin(a)),
                   QPointF(c.x() + 9.8 * qCos(a), c.y() + 9.8 * qSin(a)));
    }
    // hands at ten past ten
    p.setPen(Stroke(kInk, 2.0));
    p.drawLine(c, QPointF(c.x() - 4.6, c.y() - 2.8));
    p.setPen(Stroke(kInk, 1.4));
    p.drawLine(c, QPointF(c.x() + 4.0, c.y() - 6.6));
    p.setPen(Stroke(kRed, 0.8));
    p.drawLine(QPointF(c.x() - 2, c.y() + 2.5), QPointF(c.x() + 3.5, c.y() + 7));
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(c, 1.4, 1.4);
    // sync arrow at the bottom right
    p.setPen(Stroke(Qt::white, 4.2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(19, 19, 11, 11), 200 * 16, 230 * 16);
    p.setPen(Stroke(kGreen, 2.0));
    p.drawArc(QRectF(19, 19, 11, 11), 200 * 16, 230 * 16);
    Arrowhead(p, QPointF(30.8, 21.6), 100, 4.6, kGreen);
}

// 141 Stop: a red stop square.
void DrawStop(QPainter& p) {
    p.setPen(Stroke(kRedDark, 1.4));
    p.setBrush(Vertical(4, 28, kRed.lighter(125), kRed.darker(115)));
    p.drawRoundedRect(QRectF(4.5, 4.5, 23, 23), 4.5, 4.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 70));
    p.drawRoundedRect(QRectF(7, 6.5, 18, 7), 3, 3);
    p.setPen(Stroke(QColor(255, 255, 255, 230), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(10.5, 10.5, 11, 11), 1.5, 1.5);
}

// 160 History download: an arrow going down into a tray.
void DrawDownload(QPainter& p) {
    // tray
    p.setPen(Stroke(kInk, 1.2));
    p.setBrush(Vertical(18, 29, kMetal.lighter(120), kMetalDark));
    QPainterPath tray;
    tray.moveTo(2.5, 19);
    tray.lineTo(9, 19);
    tray.lineTo(11, 23);
    tray.lineTo(21, 23);
    tray.lineTo(23, 19);
    tray.lineTo(29.5, 19);
    tray.lineTo(29.5, 27);
    tray.quadTo(29.5, 29.5, 27, 29.5);
    tray.lineTo(5, 29.5);
    tray.quadTo(2.5, 29.5, 2.5, 27);
    tray.closeSubpath();
    p.drawPath(tray);
    // arrow
    p.setPen(Stroke(kBlueDark, 1.2));
    p.setBrush(Vertical(2, 24, kBlueLight, kBlue));
    p.drawPolygon(QPolygonF({QPointF(12.5, 2.5), QPointF(19.5, 2.5), QPointF(19.5, 11.5), QPointF(25, 11.5),
                             QPointF(16, 21.5), QPointF(7, 11.5), QPointF(12.5, 11.5)}));
}

// 134 COM port: a nine-pin serial connector seen from the front.
void DrawSerialPort(QPainter& p) {
    // mounting plate with its two screws
    p.setPen(Stroke(kMetalDark, 1.0));
    p.setBrush(Vertical(8, 24, kMetal.lighter(125), kMetal));
    p.drawRoundedRect(QRectF(1, 8.5, 30, 15), 2, 2);
    p.setBrush(kMetal.darker(110));
    for (qreal x : {4.5, 27.5}) {
        p.setPen(Stroke(kInk, 0.8));
        p.drawEllipse(QPointF(x, 16), 2.1, 2.1);
        p.drawLine(QPointF(x - 1.3, 16), QPointF(x + 1.3, 16));
    }
    // D-shaped shell
    p.setPen(Stroke(kInk, 1.3));
    p.setBrush(Vertical(10, 22, kBlue, kBlueDark));
    QPainterPath shell;
    shell.moveTo(8, 10.5);
    shell.lineTo(24, 10.5);
    shell.quadTo(25.2, 10.5, 24.9, 11.8);
    shell.lineTo(22.6, 20.5);
    shell.quadTo(22.3, 21.5, 21.2, 21.5);
    shell.lineTo(10.8, 21.5);
    shell.quadTo(9.7, 21.5, 9.4, 20.5);
    shell.lineTo(7.1, 11.8);
    shell.quadTo(6.8, 10.5, 8, 10.5);
    p.drawPath(shell);
    // pins: five above, four below
    p.setPen(Qt::NoPen);
    p.setBrush(kAmber);
    for (int i = 0; i < 5; ++i) p.drawEllipse(QPointF(10 + i * 3, 13.8), 1.15, 1.15);
    for (int i = 0; i < 4; ++i) p.drawEllipse(QPointF(11.5 + i * 3, 18.2), 1.15, 1.15);
}

// 166 Properties: a sheet with a list of entries.
void DrawProperties(QPainter& p) {
    p.setPen(Stroke(kMetalDark, 1.1));
    p.setBrush(kPaper);
    QPainterPath sheet;
    sheet.moveTo(5.5, 2.5);
    sheet.lineTo(21, 2.5);
    sheet.lineTo(26.5, 8);
    sheet.lineTo(26.5, 29.5);
    sheet.lineTo(5.5, 29.5);
    sheet.closeSubpath();
    p.drawPath(sheet);
    p.setBrush(kMetal.lighter(120));
    p.drawPolygon(QPolygonF({QPointF(21, 2.5), QPointF(21, 8), QPointF(26.5, 8)}));
    // header bar
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawRect(QRectF(8.5, 6, 10, 2.6));
    // entries: a bullet and a line each, the second entry opened with a child line
    const qreal rows[] = {12.5, 17, 21.5, 26};
    for (int i = 0; i < 4; ++i) {
        const qreal y = rows[i];
        const qreal indent = (i == 2) ? 3.5 : 0;
        p.setPen(Qt::NoPen);
        p.setBrush(i == 2 ? kGreen : kBlue);
        p.drawRect(QRectF(8.5 + indent, y - 1.3, 2.6, 2.6));
        p.setPen(Stroke(kInk, 1.3));
        p.drawLine(QPointF(13.5 + indent, y), QPointF(i % 2 ? 22 : 23.5, y));
    }
}

// 131 Live view: a screen with a green curve and a red "on air" dot.
void DrawLive(QPainter& p) {
    const QRectF screen(2, 5, 28, 20);
    ChartScreen(p, screen);
    p.setPen(Stroke(kGreen.lighter(140), 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(LiveCurve(screen));
    p.setPen(Stroke(Qt::white, 0.8));
    p.setBrush(kRed);
    p.drawEllipse(QPointF(25.5, 9.5), 2.3, 2.3);
    // stand
    p.setPen(Stroke(kInk, 1.6));
    p.drawLine(QPointF(16, 25), QPointF(16, 28.5));
    p.drawLine(QPointF(10.5, 29), QPointF(21.5, 29));
}

// 177 Close live view: the same screen with its curve, and a red stop mark over the corner.
void DrawLiveStop(QPainter& p) {
    const QRectF screen(2, 5, 28, 20);
    ChartScreen(p, screen);
    p.setPen(Stroke(kMetal, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(LiveCurve(screen));
    p.setPen(Stroke(kInk, 1.6));
    p.drawLine(QPointF(16, 25), QPointF(16, 28.5));
    p.drawLine(QPointF(10.5, 29), QPointF(21.5, 29));
    // stop mark
    p.setPen(Stroke(Qt::white, 1.4));
    p.setBrush(kRed);
    p.drawEllipse(QPointF(24.5, 23.5), 6.8, 6.8);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(21.3, 20.3, 6.4, 6.4), 0.8, 0.8);
}

// 164 Save As: a floppy disk.
void DrawSave(QPainter& p) {
    p.setPen(Stroke(kBlueDark, 1.3));
    p.setBrush(Vertical(3, 29, kBlue.lighter(115), kBlueDark));
    QPainterPath disk;
    disk.moveTo(4.5, 3.5);
    disk.lineTo(24.5, 3.5);
    disk.lineTo(28.5, 7.5);
    disk.lineTo(28.5, 27);
    disk.quadTo(28.5, 28.5, 27, 28.5);
    disk.lineTo(5, 28.5);
    disk.quadTo(3.5, 28.5, 3.5, 27);
    disk.lineTo(3.5, 4.5);
    disk.quadTo(3.5, 3.5, 4.5, 3.5);
    p.drawPath(disk);
    // metal shutter with its window
    p.setPen(Stroke(kMetalDark, 0.8));
    p.setBrush(Vertical(3.5, 12, kMetal.lighter(125), kMetal));
    p.drawRect(QRectF(9, 3.5, 14, 9));
    p.setPen(Qt::NoPen);
    p.setBrush(kBlueDark);
    p.drawRect(QRectF(18, 5, 3, 6));
    // label
    p.setPen(Stroke(kMetalDark, 0.8));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(7, 16, 18, 11), 1.2, 1.2);
    p.setPen(Stroke(kBlueLight, 1.0));
    p.drawLine(QPointF(9.5, 19.5), QPointF(22.5, 19.5));
    p.drawLine(QPointF(9.5, 23), QPointF(19.5, 23));
}

// 163 About: a blue disc with a white "i".
void DrawAbout(QPainter& p) {
    const QPointF c(16, 16);
    QRadialGradient disc(QPointF(12, 10), 20);
    disc.setColorAt(0, kBlueLight);
    disc.setColorAt(0.55, kBlue);
    disc.setColorAt(1, kBlueDark);
    p.setPen(Stroke(kBlueDark, 1.2));
    p.setBrush(disc);
    p.drawEllipse(c, 13.5, 13.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 9.2), 2.3, 2.3);
    QPainterPath stem;
    stem.moveTo(12.5, 13.5);
    stem.lineTo(18, 13.5);
    stem.lineTo(18, 22.5);
    stem.lineTo(20, 22.5);
    stem.lineTo(20, 25);
    stem.lineTo(12, 25);
    stem.lineTo(12, 22.5);
    stem.lineTo(14, 22.5);
    stem.lineTo(14, 16);
    stem.lineTo(12.5, 16);
    stem.closeSubpath();
    p.drawPath(stem);
}

// --- panel and application pictures ----------------------------------------------------------

// The panel's hide button: a "«" pointing to the docking edge, on a light pad so that it reads
// on the banner as well as on a plain panel.
void DrawHide(QPainter& p) {
    p.setPen(Stroke(kMetalDark, 1.0));
    p.setBrush(QColor(255, 255, 255, 215));
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    p.setPen(Stroke(kInk, 3.2));
    p.setBrush(Qt::NoBrush);
    for (qreal x : {6.5, 14.5}) {
        p.drawPolyline(QPolygonF({QPointF(x + 8, 8), QPointF(x, 16), QPointF(x + 8, 24)}));
    }
}

// A logger: dark-blue case, a display with a curve, two keys and a sensor lead. Bold shapes so
// that it still reads at 16 pixels.
void DrawLogger(QPainter& p) {
    // sensor lead
    p.setPen(Stroke(kInk, 2.4));
    p.setBrush(Qt::NoBrush);
    QPainterPath lead;
    lead.moveTo(16, 4);
    lead.cubicTo(16, 1.5, 22, 1.5, 25, 2.5);
    p.drawPath(lead);
    p.setPen(Stroke(kMetalDark, 1.0));
    p.setBrush(kMetal);
    p.drawRoundedRect(QRectF(24, 0.8, 6.5, 3.6), 1.6, 1.6);
    // case
    p.setPen(Stroke(kBlueDark.darker(130), 1.4));
    p.setBrush(Vertical(4, 31, kBlue, kBlueDark));
    p.drawRoundedRect(QRectF(4, 4, 24, 27), 5, 5);
    // display
    const QRectF screen(7.5, 8, 17, 13);
    p.setPen(Stroke(kInk, 1.0));
    p.setBrush(kScreen);
    p.drawRoundedRect(screen, 1.8, 1.8);
    p.setPen(Stroke(kGreen.lighter(150), 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(LiveCurve(screen));
    // keys
    p.setPen(Qt::NoPen);
    p.setBrush(kAmber);
    p.drawEllipse(QPointF(12, 26), 2.3, 2.3);
    p.setBrush(kBlueLight);
    p.drawEllipse(QPointF(20, 26), 2.3, 2.3);
}

struct Cache {
    std::map<int, QIcon> toolbar;
    QIcon hide;
    QIcon application;
    QPixmap title;
    QPixmap background;
};

Cache* g_cache = nullptr;

void DropCache() {
    delete g_cache;
    g_cache = nullptr;
}

Cache& TheCache() {
    if (!g_cache) {
        g_cache = new Cache;
        qAddPostRoutine(DropCache);  // before the application object is gone
    }
    return *g_cache;
}

Drawing ToolbarDrawing(int iconResource) {
    switch (iconResource) {
        case 161: return DrawConnect;
        case 136: return DrawRestart;
        case 162: return DrawClock;
        case 141: return DrawStop;
        case 160: return DrawDownload;
        case 134: return DrawSerialPort;
        case 166: return DrawProperties;
        case 131: return DrawLive;
        case 177: return DrawLiveStop;
        case 164: return DrawSave;
        case 163: return DrawAbout;
        default: return nullptr;
    }
}

constexpr int kTitleWidth = 224;
constexpr int kTitleHeight = 40;
constexpr int kBackgroundWidth = 224;
constexpr int kBackgroundHeight = 640;

QPixmap DrawTitle() {
    QPixmap pixmap(kTitleWidth, kTitleHeight);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF band(0, 0, kTitleWidth, kTitleHeight);
    QLinearGradient g(0, 0, kTitleWidth, 0);
    g.setColorAt(0, kBlueDark);
    g.setColorAt(1, kBlue);
    p.fillRect(band, g);
    // a faint recorded curve running through the banner
    QPainterPath trace;
    trace.moveTo(40, 30);
    // (it fades before the right edge, whose last column continues the banner on wide panels)
    for (int x = 40; x <= kTitleWidth - 16; x += 4) {
        trace.lineTo(x, 27 - 6 * qSin(x / 15.0) - 3 * qSin(x / 5.0));
    }
    p.setPen(Stroke(QColor(255, 255, 255, 45), 2.0));
    p.drawPath(trace);
    // a thin light line along the bottom edge
    p.setPen(QPen(kBlueLight, 1.0));
    p.drawLine(QPointF(0, kTitleHeight - 0.5), QPointF(kTitleWidth, kTitleHeight - 0.5));
    // logger motif at the left
    p.save();
    p.translate(6, 4);
    DrawLogger(p);
    p.restore();
    // the name
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(21);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
    p.setFont(font);
    p.setPen(QColor(0, 0, 0, 70));
    p.drawText(QRectF(46, 1, 160, kTitleHeight), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Velorin"));
    p.setPen(Qt::white);
    p.drawText(QRectF(45, 0, 160, kTitleHeight), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Velorin"));
    return pixmap;
}

QPixmap DrawBackground() {
    QPixmap pixmap(kBackgroundWidth, kBackgroundHeight);
    QPainter p(&pixmap);
    p.fillRect(pixmap.rect(), Vertical(0, kBackgroundHeight, QColor(0xe4, 0xee, 0xf8), QColor(0xfb, 0xfc, 0xfe)));
    // a fine ruled texture, like chart paper
    p.setPen(QPen(QColor(0x2f, 0x6f, 0xb5, 14), 1));
    for (int y = 3; y < kBackgroundHeight; y += 6) p.drawLine(0, y, kBackgroundWidth, y);
    p.setPen(QPen(QColor(0x2f, 0x6f, 0xb5, 10), 1));
    for (int x = 5; x < kBackgroundWidth; x += 24) p.drawLine(x, 0, x, kBackgroundHeight);
    return pixmap;
}

}  // namespace

QIcon ToolbarIcon(int iconResource) {
    Cache& cache = TheCache();
    auto found = cache.toolbar.find(iconResource);
    if (found != cache.toolbar.end()) return found->second;
    const Drawing draw = ToolbarDrawing(iconResource);
    if (!draw) return QIcon();
    QIcon icon;
    for (int size : kIconSizes) icon.addPixmap(Render(draw, size));
    return cache.toolbar.emplace(iconResource, icon).first->second;
}

QPixmap PanelTitlePixmap() {
    Cache& cache = TheCache();
    if (cache.title.isNull()) cache.title = DrawTitle();
    return cache.title;
}

QPixmap PanelBackgroundPixmap() {
    Cache& cache = TheCache();
    if (cache.background.isNull()) cache.background = DrawBackground();
    return cache.background;
}

QIcon PanelHideIcon() {
    Cache& cache = TheCache();
    if (cache.hide.isNull()) cache.hide = MakeIcon(DrawHide, {12, 16, 24, 32});
    return cache.hide;
}

QIcon ApplicationIcon() {
    Cache& cache = TheCache();
    if (cache.application.isNull()) cache.application = MakeIcon(DrawLogger, {16, 24, 32, 48, 64, 128, 256});
    return cache.application;
}

}  // namespace velorin
