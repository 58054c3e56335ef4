// Draws the comparison canvas into a QImage (RGB32): frame, the value scale of one channel
// number, the curves of every file's chosen channels on one clock-time axis, and the time axis.
//
// A curve joins the records of one file and channel that lie in the shown time window, in
// clock-time order, with 1-pixel lines in the file's colour and the channel's line style; a segment into a
// missing sample (either marker, or NaN) is grey and ends on the bottom line. Curves are drawn
// in the order given, each over the ones before.
//
// Two drawings give the same pixels: EverySegment draws one line per record (the reference);
// Reduced finds each pixel column's records by their times, takes the column's lowest and
// highest value from per-block summaries and merges the column into one vertical stroke
// (view/stroke_raster.h), sweeping the image once for all curves.
// Any thread may render into its own QImage; the files must not change meanwhile.
#pragma once

#include <QColor>
#include <QFont>
#include <vector>

#include "analysis/compare_axis.h"
#include "view/curve_renderer.h"
#include "view/stroke_raster.h"

class QImage;

namespace velorin {

struct CompareFile;
struct CompareSummary;

struct CompareCurve {
    int file = 0;     // index into the files
    int channel = 0;  // 0-based
    bool visible = true;
    QColor colour;
    LineStyle style = LineStyle::Solid;
};

struct CompareScene {
    const std::vector<CompareFile>* files = nullptr;
    const std::vector<CompareSummary>* summaries = nullptr;  // one per file
    std::vector<CompareCurve> curves;                        // in drawing order
    TimeWindow window;
    float axisMax[8] = {};  // value at the top of the curve area, per channel number
    float axisMin[8] = {};
    int width = 0, height = 0;  // W × H
    int scaleChannel = -1;      // the channel number whose value scale is drawn; −1: none
    QColor scaleColour = Qt::black;
    QFont font;
};

// Renders the whole canvas, W × H, into `canvas` (resized when its size differs).
void RenderCompareCanvas(QImage& canvas, const CompareScene& scene, CurveDrawing drawing = CurveDrawing::Reduced);

}  // namespace velorin
