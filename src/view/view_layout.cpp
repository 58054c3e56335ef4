#include "view/view_layout.h"

#include <algorithm>

namespace velorin {

namespace {

// Every position that involves the scale is computed in floating point and truncated.
int T(double value) { return static_cast<int>(value); }

// The template positions of the three bitmap buttons in dialog units (x; all 62 × 14 units)
// and the size of a dialog unit in pixels at 96 dots per inch.
constexpr double kDluX = 1.5, kDluY = 1.625;
constexpr int kBitmapButtonX[3] = {89, 163, 237};

// Controls never come closer than this (pixels).
constexpr int kGap = 2;
// The statistics list never grows the plot below this height (× scale).
constexpr double kMinPlotHeight = 150;

}  // namespace

ViewLayout ComputeViewLayout(int cw, int ch, double s, const ViewLayoutNeeds& n) {
    ViewLayout L;

    // The header row: the tab headers, then the three image buttons beside them.
    const int tabHeight = std::max(n.tabHeight, 1);
    L.tabs = QRect(5, 0, std::min(400, std::max(n.tabWidth, 1)), tabHeight);
    {
        const int buttonHeight = std::max(T(14 * kDluY * s), 1);
        int width = std::max(T(62 * kDluX * s), n.bitmapButtonWidth);
        int x[3];
        for (int i = 0; i < 3; ++i) x[i] = T(kBitmapButtonX[i] * kDluX * s);
        // Moved right when the tab headers reach them, packed when the window is too narrow.
        const int shift = std::max(0, L.tabs.right() + 1 + kGap - x[0]);
        for (int& xi : x) xi += shift;
        if (x[2] + width > cw - kGap) {
            width = std::max(n.bitmapButtonWidth, (cw - kGap - x[0]) / 3 - kGap);
            for (int i = 1; i < 3; ++i) x[i] = x[i - 1] + width + kGap;
        }
        for (int i = 0; i < 3; ++i) L.bitmapButton[i] = QRect(x[i], 0, width, buttonHeight);
        // The plot (and the data list in its place) starts under the tab headers when they are
        // taller than its usual top. The image buttons may reach into the canvas's blank top
        // margin, as the template has them.
        L.plotTop = std::max(T(20 * s), tabHeight);
    }
    const int shiftDown = L.plotTop - T(20 * s);

    // Heights: the plot gives way to a statistics list that shows every row, down to a minimum.
    const int usualStatistics = [&] {
        const int h = T(ch - 155 * s);
        const int b = T(h + 46 * s + 5);
        return ch - b - 5;
    }();
    const int extraAllowed = std::max(0, T(ch - 155 * s) - shiftDown - T(kMinPlotHeight * s));
    const int extra = std::clamp(n.statisticsHeight - usualStatistics, 0, extraAllowed);
    L.plotHeight = T(ch - 155 * s) - shiftDown - extra;
    const int h = L.plotHeight;
    L.stripTop = T(h + 46 * s) + shiftDown;
    const int b = T(h + 46 * s + 5) + shiftDown;

    const int boxHeight = std::max(T(16 * s), n.checkBoxHeight);
    const int buttonHeight = std::max(T(30 * s), n.buttonHeight);
    const int buttonWidth = std::max(T(54 * s), n.buttonWidth);

    // The column at its usual spacing: does it end above the print buttons?
    int y8 = T(20 * s);
    for (int k = 0; k < 8; ++k) y8 = T(y8 + 40 * s);
    const int rangeBottom = T(y8 + 120 * s) + buttonHeight;
    const int printTop = T(b + 10 * s);
    const int printListBottom = T(b + 50 * s) + buttonHeight;
    L.packed = rangeBottom + kGap > printTop || printListBottom > ch || boxHeight + kGap > T(40 * s) ||
               buttonHeight + kGap > T(40 * s);

    // A view too low even for the packed column (a tiled window) puts the channel boxes two to
    // a row.
    L.channelColumns = L.packed && T(20 * s) + 9 * boxHeight + 5 * buttonHeight + 15 * kGap > ch ? 2 : 1;

    // Width of the column right of the plot: the usual 68s, or what its texts need.
    const int swatchWidth = T(45 * s);
    const int packedSwatch = T(14 * s);
    const int packedCell = n.channelBoxWidth + 2 * kGap + packedSwatch + kGap;
    int column = std::max({T(68 * s), T(13 * s) + n.checkBoxWidth + kGap, T(14 * s) + buttonWidth});
    if (L.packed) column = std::max(column, T(13 * s) + L.channelColumns * packedCell);
    L.plotWidth = std::max(cw - column, 1);
    const int w = L.plotWidth;
    const int boxX = T(w + 13 * s);
    const int boxWidth = std::max(std::min(T(60 * s), cw - boxX), n.checkBoxWidth);
    const int buttonX = T(w + 10 * s);
    const int printX = std::max(buttonX, cw - T(4 * s) - buttonWidth);

    if (!L.packed) {
        int y = T(20 * s);
        for (int k = 0; k < 8; ++k) {
            // A box taller than the template's keeps its centre.
            L.channelBox[k] = QRect(boxX, T(y + 5 * s) - (boxHeight - T(16 * s)) / 2, boxWidth, boxHeight);
            // The swatch lies under its box, where the template puts it (x = width − 55s … width
            // − 10s for the usual column).
            L.swatch[k] =
                QRect(boxX, T(40 * s + 40 * s * k), swatchWidth, T(52 * s + 40 * s * k) - T(40 * s + 40 * s * k));
            y = T(y + 40 * s);
        }
        L.coordinate = QRect(boxX, y - (boxHeight - T(16 * s)) / 2, boxWidth, boxHeight);
        L.returnButton = QRect(buttonX, T(y + 40 * s), buttonWidth, buttonHeight);
        L.amplification = QRect(buttonX, T(y + 80 * s), buttonWidth, buttonHeight);
        L.range = QRect(buttonX, T(y + 120 * s), buttonWidth, buttonHeight);
        L.printCurve = QRect(printX, printTop, buttonWidth, buttonHeight);
        L.printList = QRect(printX, T(b + 50 * s), buttonWidth, buttonHeight);
    } else {
        // Stacked from the top with an even gap; what is left goes above the print buttons, which
        // end at the foot of the view.
        const int top = T(20 * s);
        const int bottom = ch - kGap;
        const int rows = 8 / L.channelColumns;
        const int used = (rows + 1) * boxHeight + 5 * buttonHeight;
        const int gap = std::clamp((bottom - top - used) / (rows + 6), kGap, T(24 * s));
        const int channelWidth = n.channelBoxWidth + kGap;
        for (int k = 0; k < 8; ++k) {
            const int x = boxX + (k % L.channelColumns) * packedCell;
            const int rowTop = top + gap + (k / L.channelColumns) * (boxHeight + gap);
            L.channelBox[k] = QRect(x, rowTop, channelWidth, boxHeight);
            const int swatchHeight = std::max(std::min(T(12 * s), boxHeight - 4), 1);
            L.swatch[k] =
                QRect(x + channelWidth + kGap, rowTop + (boxHeight - swatchHeight) / 2, packedSwatch, swatchHeight);
        }
        int y = top + gap + rows * (boxHeight + gap);
        L.coordinate = QRect(boxX, y, boxWidth, boxHeight);
        y += boxHeight + gap;
        L.returnButton = QRect(buttonX, y, buttonWidth, buttonHeight);
        y += buttonHeight + gap;
        L.amplification = QRect(buttonX, y, buttonWidth, buttonHeight);
        y += buttonHeight + gap;
        L.range = QRect(buttonX, y, buttonWidth, buttonHeight);
        y += buttonHeight + gap;
        const int listTop = std::max(y + buttonHeight + gap, bottom - buttonHeight);
        L.printList = QRect(printX, listTop, buttonWidth, buttonHeight);
        L.printCurve = QRect(printX, std::max(y, listTop - gap - buttonHeight), buttonWidth, buttonHeight);
    }

    // The data list covers the plot area of the "Data" tab; the statistics list lies under both.
    const int r = cw;
    L.dataList = QRect(10, L.plotTop, std::max(r - 10, 0), std::max(b - L.plotTop - 8, 0));
    // Print buttons packed into the column stay clear of it.
    if (L.printCurve.top() <= L.dataList.bottom()) L.dataList.setRight(std::max(printX - kGap - 1, 10));
    L.statistics = QRect(10, b, std::max(w, 0), std::max(ch - b - 5, 0));

    // The range texts: the first at the left end of the plot, the last ending 7s right of it;
    // each wide enough for its text, and halves of the plot's width when both do not fit.
    const int timeTop = T(h + 19 * s) + shiftDown;
    const int timeHeight = std::max(T(20 * s), n.timeHeight);
    int firstWidth = std::max(T(150 * s), n.firstTimeWidth);
    int lastWidth = std::max(T(115 * s), n.lastTimeWidth);
    const int lastRight = T(w - 108 * s) + T(115 * s);
    if (10 + firstWidth + kGap > lastRight - lastWidth) {
        firstWidth = std::max((lastRight - 10 - kGap) / 2, 1);
        lastWidth = std::max(lastRight - 10 - kGap - firstWidth, 1);
    }
    L.firstTime = QRect(10, timeTop, firstWidth, timeHeight);
    L.lastTime = QRect(lastRight - lastWidth, timeTop, lastWidth, timeHeight);
    return L;
}

}  // namespace velorin
