// Where the controls of a history view go for a given client size.
//
// The usual positions come from the form's template, in pixels at 96 dots per inch times the
// screen scale s: plot W × H at (10, 20s) with W = width − 68s, H = height − 155s; the column of
// channel boxes, "Coordinate", "Return", "Amplification" and "Range" right of the plot, 40s
// apart; the statistics list and the two print buttons under it. Those positions are kept as
// long as the controls' texts fit them and the column fits the height. Otherwise:
// - the column (and so the right margin of the plot) widens to the widest text of its controls;
// - the statistics list grows until it shows every row, but never shrinks the plot below a
//   minimum (it scrolls then);
// - a column too long for the height is packed: the controls are stacked closer, the colour
//   swatches go beside the channel boxes instead of under them and the print buttons sit at
//   the column's foot; in a view lower still (a tiled window) the channel boxes go two to a row.
// No two controls then overlap at any size down to that of a data window in an 800 × 600 main
// window.
//
// Plain arithmetic on sizes: usable on any thread.
#pragma once

#include <QRect>

namespace velorin {

// What the controls need to show their texts whole, in pixels, measured with their own fonts.
struct ViewLayoutNeeds {
    int checkBoxWidth = 0;    // widest of the channel boxes and "Coordinate"
    int channelBoxWidth = 0;  // widest channel box alone
    int checkBoxHeight = 0;
    int buttonWidth = 0;  // widest of "Return", "Amplification", "Range", "Print Curve", "Print List"
    int buttonHeight = 0;
    int tabWidth = 0, tabHeight = 0;                            // the tab headers
    int bitmapButtonWidth = 0;                                  // an image button's image and frame
    int firstTimeWidth = 0, lastTimeWidth = 0, timeHeight = 0;  // the range texts under the plot
    int statisticsHeight = 0;  // the statistics list with every row, its header, frame and scroll bar
};

struct ViewLayout {
    int plotWidth = 0, plotHeight = 0, plotTop = 0;  // the canvas: W, H and its top (view y)
    int stripTop = 0;                                // top of the coloured strip under the plot
    bool packed = false;                             // the column was packed to fit the height
    int channelColumns = 1;                          // channel boxes per row (2 in a very low view)
    QRect tabs;
    QRect bitmapButton[3];  // compression, expansion, pan
    QRect channelBox[8];
    QRect swatch[8];  // colour swatch of each channel, painted by the view
    QRect coordinate, returnButton, amplification, range;
    QRect printCurve, printList;
    QRect firstTime, lastTime;
    QRect dataList, statistics;
};

ViewLayout ComputeViewLayout(int clientWidth, int clientHeight, double scale, const ViewLayoutNeeds& needs);

}  // namespace velorin
