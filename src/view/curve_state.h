// The shown range and display state of one curve view, and the transitions that change it:
// rectangle zoom, panning, "Amplification", "Return", the compression buttons and the time-range
// search of "Range". Qt-free; the view calls these on the GUI thread and repaints when asked to.
//
// Pointer positions are view coordinates (the canvas starts at view x = 10, y = top). Every
// mapping converts them to canvas coordinates first, so the cursor line, the readout, the zoom
// rectangle and the zoomed range all refer to the same records.
#pragma once

#include <cstdint>

namespace velorin {

struct RecordSet;
class RecordTimes;

struct CurveState {
    int32_t recordCount = 0;
    int32_t firstIndex = 0;
    int32_t endIndex = 0;  // one past the last record shown
    float axisMax[8] = {};
    float axisMin[8] = {};
    int32_t channelEnabled[8] = {};
    int32_t channelVisible[8] = {1, 1, 1, 1, 1, 1, 1, 1};
    bool recomputeRange = false;
    bool showScale = true;
    bool zoomArmed = false;
    bool panMode = false;
    bool dragging = false;
    float pressX = 0;    // canvas x where the drag started
    float pressY = 0;    // view y where the drag started
    float panLastX = 0;  // canvas x of the previous pan step
    float pixelsPerRecord = 0;
    int32_t compressionLevel = 2;
    bool graphShown = true;
    bool firstDrawPending = true;
    bool returnEnabled = false;
    bool amplificationEnabled = true;
    bool panEnabled = false;
    int plotWidth = 0;   // W
    int plotHeight = 0;  // H
    int plotTop = 20;    // the canvas's top in view coordinates: trunc(20 × dpiScale)
};

// The state of a freshly opened view of `set`: the whole set shown, the stored statistics as the
// value range, every channel visible.
CurveState OpenedCurveState(const RecordSet& set);

// Called by every drawing: pixelsPerRecord = W ÷ n (W when nothing is shown), the pan toggle
// enabled only while firstIndex ≠ 0 (otherwise also unchecked), then recomputeRange and
// firstDrawPending cleared. Returns whether the value range must be recomputed by this drawing.
bool BeginDrawing(CurveState& s);
void EndDrawing(CurveState& s);

// The pointer lies inside the canvas: 10 < x < W + 10 and top < y < top + H.
bool InPlot(const CurveState& s, int x, int y);

// "Amplification": armed; "Amplification" disabled, "Return" enabled.
void ArmZoom(CurveState& s);
// "Return": the whole data set, range recomputed, zoom disarmed, compression 2, pan off.
// The caller also drops its canvas copy and switches F0 mode off.
void ReturnToWholeSet(CurveState& s);
// "Compression" (+1) and its companion (−1, not below 2).
void ChangeCompression(CurveState& s, int delta);

// Left button down: starts a drag when armed and inside the plot. Returns whether it did.
bool PressLeft(CurveState& s, int x, int y);
// Left button up: when armed, ends the drag and, unless panning, zooms to the records under
// the rectangle's two edges when it is wider than 3 pixels and covers two or more records.
// Returns whether the shown range changed (the caller drops its canvas copy and repaints).
bool ReleaseLeft(CurveState& s, int x, int y);
// A pointer move while panning and dragging, inside the plot: a move to the right shows earlier
// records, a move to the left later ones, by 10 pixels' worth of records (at least one).
// Returns whether the range changed.
bool PanMove(CurveState& s, int x, int y);

// "Range": searches the records for the chosen start and end (seconds, local time). A start
// that matches no record keeps firstIndex, an end that matches none keeps endIndex (so a range
// wholly before or after the data changes nothing); a search that would leave no record shown
// keeps the previous range. Always sets recomputeRange and enables "Return".
void ApplyTimeRange(CurveState& s, const RecordTimes& times, int64_t start, int64_t end);

}  // namespace velorin
