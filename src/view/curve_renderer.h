// Draws the curve canvas of a view into a QImage (RGB32): frame, curves with grey segments into
// missing samples, gap markers, the value scale of the first visible channel and the time axis.
// Curve lines are 1-pixel lines (both end points included) written straight into the image;
// texts, frame and axis are drawn with QPainter.
//
// A missing sample of either kind (the 2-byte marker −3276.7 or exactly the 4-byte marker
// 0.0001) is no curve point: the segment into it is grey and runs to the 2-byte marker's height,
// the bottom edge of any value range of real values.
//
// Two ways to draw the curves give the same pixels:
//  - EverySegment draws one line per record, each with its own colour, exactly as the curve is
//    defined (the reference);
//  - Reduced works per pixel column: the line into the column, then the column's vertical
//    strokes, found from its last record backwards (each segment is drawn over the earlier ones,
//    so a pixel keeps the ink of the latest segment through it). Whole groups and blocks of
//    records without missing samples come from the scene's CurveSummary (their extremes; the last
//    value from its values), so the work follows the plot's width, not the record count; a column of such values
//    only is one interval from its extremes; a column holding other values is read from its end
//    back, record by record where it must, skipping whole blocks whose points all lie where the
//    later segments are drawn; a column with gap markers is drawn stretch by stretch between
//    them. Vertical lines wholly drawn over by a later one in the same column are skipped;
//    the image is written in bands of 32 columns, all channels in their order per band (the
//    value scale's columns apart: the channels up to its own, the scale, then the others). So
//    the result is identical pixel for pixel (the pixel layer is view/stroke_raster.h).
// Any thread may render into its own QImage; the scene must not change meanwhile. The reduced
// drawing shares its work (the channels' column walks, then the bands of the canvas) with a
// helper of Qt's global thread pool and returns when all of it is done.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <cstdint>
#include <vector>

class QImage;

namespace velorin {

class CurveSummary;
struct CurveState;
struct RecordSet;
class RecordTimes;

enum class CurveDrawing { EverySegment, Reduced };

struct CurveScene {
    const RecordSet* set = nullptr;
    const RecordTimes* times = nullptr;
    const CurveState* state = nullptr;  // shown range, value range, visibility, scale, W × H
    // Block summaries of `set` as it is now; null: the reduced drawing reads every record.
    const CurveSummary* summary = nullptr;
    QColor colour[8];
    QFont font;  // scale and time-axis labels
};

// A value scale at canvas x = 10 in `colour`: a line from y = 20 to H − 25, five ticks with the
// values they stand for ("%.2f", black) and `caption` at (15, H − 20).
void DrawValueScale(QImage& canvas, const QFont& font, const QColor& colour, float axisMax, float axisMin, int height,
                    const QString& caption);

// A column right of every pixel DrawValueScale writes onto `canvas` with these values and caption.
int ValueScaleRight(const QImage& canvas, const QFont& font, float axisMax, float axisMin, const QString& caption);

// The time axis: a 2-pixel line along the bottom of the curve area (y = H − 25, x = 50 … W − 10)
// and ticks j = 0 … d at their x with their labels placed by TimeLabelLeft (top at H − 17).
struct AxisTick {
    int x = 0;
    QString label;
};
// A label that would run into another is left out.
void DrawTimeAxis(QImage& canvas, const QFont& font, int width, int height, const std::vector<AxisTick>& ticks);

// Renders the whole canvas, W × H of the state, into `canvas` (resized when its size differs).
void RenderCurveCanvas(QImage& canvas, const CurveScene& scene, CurveDrawing drawing = CurveDrawing::Reduced);

}  // namespace velorin
