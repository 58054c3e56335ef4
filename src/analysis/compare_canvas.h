// The plot of the comparison window: the curves of the chosen files and channels on one
// clock-time axis, the pointer line, two cursors and the zoom rectangle.
//
// The curves are drawn only when what they show changes (window, curves, size): a drawing takes
// the scene as it is then and is painted as a DeferredCanvas (straight into the window's pixels
// the first time, no copy of an 8 MB image per drawing); pointer, cursors and the zoom rectangle
// are drawn over it. Widget coordinates are canvas coordinates (the curve area spans
// x = 50 … W − 10, y = 20 … H − 25).
//
// Zoom, pan and range work as in the history view, on times instead of record numbers:
// "Amplification" arms the zoom rectangle (the value ranges are recomputed for the records it
// shows), "Return" shows every file's whole recording again, the pan toggle moves the shown
// window by 10 pixels' worth of time per pointer step (earlier when the pointer moves right)
// without recomputing the value ranges. Unarmed, a click sets cursor 1 and a right click
// cursor 2.
//
// Threading: GUI thread only. The files are read-only while the canvas exists.
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include "analysis/compare_renderer.h"
#include "view/deferred_canvas.h"

namespace velorin {

struct CompareFile;
struct CompareSummary;

class CompareCanvas : public QWidget {
    Q_OBJECT
public:
    CompareCanvas(std::shared_ptr<const std::vector<CompareFile>> files, std::vector<CompareCurve> curves,
                  QWidget* parent = nullptr);

    const std::vector<CompareFile>& Files() const { return *files_; }
    const std::vector<CompareCurve>& Curves() const { return scene_.curves; }
    void SetCurveVisible(int curve, bool visible);

    // The shown time window and the whole one.
    TimeWindow Window() const { return window_; }
    TimeWindow Whole() const { return whole_; }
    // Shows [from, to] (kept inside the whole window; a window of no second is ignored) with
    // the value ranges recomputed. Returns whether the window changed.
    bool ShowWindow(int64_t from, int64_t to);
    void Amplify();
    void Return();
    void SetPanMode(bool on);
    bool ZoomArmed() const { return zoomArmed_; }
    bool PanMode() const { return panMode_; }

    // Cursor k (1 or 2) at time t; cleared by ClearCursors.
    void SetCursor(int k, int64_t t);
    void ClearCursors();
    bool HasCursor(int k) const { return hasCursor_[k - 1]; }
    int64_t CursorTime(int k) const { return cursor_[k - 1]; }

    // The values of a channel number in the shown window, and the value range of the axis (the
    // values with a margin).
    ValueRange Range(int channel) const { return range_[channel]; }
    // The values of a channel number over the whole window.
    ValueRange WholeRange(int channel) const;
    float AxisMax(int channel) const { return scene_.axisMax[channel]; }
    float AxisMin(int channel) const { return scene_.axisMin[channel]; }
    // The curves as last drawn (the kept image, drawn here if it was not yet).
    const QImage& Image() { return image_.Kept(); }
    // The canvas drawn anew with the given drawing (tests compare the two).
    QImage Render(CurveDrawing drawing) const;

signals:
    // The pointer is over the curve area at time t / has left it.
    void PointerMoved(qint64 t);
    void PointerLeft();
    void CursorsChanged();
    // The shown window changed (zoom, pan, "Return", range).
    void WindowChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void RecomputeRanges();
    // The scene as the window, curves, size and font are now.
    CompareScene SceneNow() const;
    void Redraw();
    bool InCurveArea(int x, int y) const;
    // The pointer line to column x (−1: none, and PointerLeft is told).
    void MovePointerLine(int x);
    int CursorX(int64_t t) const;

    std::shared_ptr<const std::vector<CompareFile>> files_;
    std::vector<CompareSummary> summaries_;
    CompareScene scene_;
    ValueRange range_[8];
    TimeWindow whole_, window_;
    CompareScene drawn_;    // the last drawing's scene
    DeferredCanvas image_;  // drawn from drawn_
    bool zoomArmed_ = false, panMode_ = false, dragging_ = false, panning_ = false;
    int pressX_ = 0, pressY_ = 0, panLastX_ = 0;
    QRect zoomRect_;
    int pointerX_ = -1;
    bool hasCursor_[2] = {false, false};
    int64_t cursor_[2] = {0, 0};
};

}  // namespace velorin
