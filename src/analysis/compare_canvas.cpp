#include "analysis/compare_canvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "analysis/compare_files.h"
#include "view/curve_geometry.h"
#include "view/view_images.h"

namespace velorin {

namespace {

const QColor kCursorColour[2] = {QColor(0, 150, 0), QColor(200, 0, 160)};

}  // namespace

CompareCanvas::CompareCanvas(std::shared_ptr<const std::vector<CompareFile>> files, std::vector<CompareCurve> curves,
                             QWidget* parent)
    : QWidget(parent), files_(std::move(files)), image_([this](QImage& image) { RenderCompareCanvas(image, drawn_); }) {
    summaries_ = SummariseCompareFiles(*files_);
    scene_.files = files_.get();
    scene_.summaries = &summaries_;
    scene_.curves = std::move(curves);
    whole_ = WholeWindow(*files_);
    window_ = whole_;
    setMouseTracking(true);
    setMinimumSize(300, 160);
    setCursor(CurvePointerCursor());
    RecomputeRanges();
}

ValueRange CompareCanvas::WholeRange(int channel) const { return ChannelRange(*files_, summaries_, channel, whole_); }

void CompareCanvas::SetCurveVisible(int curve, bool visible) {
    if (curve < 0 || curve >= static_cast<int>(scene_.curves.size())) return;
    scene_.curves[static_cast<size_t>(curve)].visible = visible;
    Redraw();
}

bool CompareCanvas::ShowWindow(int64_t from, int64_t to) {
    from = std::max(from, whole_.from);
    to = std::min(to, whole_.to);
    if (to <= from && !(from == to && whole_.from == whole_.to)) return false;
    window_ = {from, to};
    RecomputeRanges();
    Redraw();
    emit WindowChanged();
    return true;
}

void CompareCanvas::Amplify() { zoomArmed_ = true; }

void CompareCanvas::Return() {
    zoomArmed_ = false;
    dragging_ = false;
    window_ = whole_;
    RecomputeRanges();
    Redraw();
    emit WindowChanged();
}

void CompareCanvas::SetPanMode(bool on) {
    panMode_ = on;
    panning_ = false;
    setCursor(on ? PanPointerCursor() : CurvePointerCursor());
}

void CompareCanvas::SetCursor(int k, int64_t t) {
    if (k < 1 || k > 2) return;
    hasCursor_[k - 1] = true;
    cursor_[k - 1] = t;
    update();
    emit CursorsChanged();
}

void CompareCanvas::ClearCursors() {
    hasCursor_[0] = hasCursor_[1] = false;
    update();
    emit CursorsChanged();
}

void CompareCanvas::RecomputeRanges() {
    // Every file's channel of one number shares one range, taken from the records shown.
    // The axis reaches a twentieth of the range beyond it on both sides, so that no curve hides
    // under the time axis or runs along the frame.
    for (int c = 0; c < 8; ++c) {
        range_[c] = ChannelRange(*files_, summaries_, c, window_);
        const float low = range_[c].found ? range_[c].low : 0.0f, high = range_[c].found ? range_[c].high : 0.0f;
        float pad = (high - low) / 20.0f;
        if (!(pad > 0.0f)) pad = std::max(std::fabs(high) / 20.0f, 0.5f);
        scene_.axisMax[c] = high + pad;
        scene_.axisMin[c] = low - pad;
    }
}

CompareScene CompareCanvas::SceneNow() const {
    CompareScene scene = scene_;
    scene.window = window_;
    scene.width = width();
    scene.height = height();
    scene.scaleChannel = -1;
    for (const CompareCurve& c : scene.curves) {
        if (c.visible) {
            scene.scaleChannel = c.channel;
            break;
        }
    }
    scene.font = font();
    return scene;
}

QImage CompareCanvas::Render(CurveDrawing drawing) const {
    QImage image;
    RenderCompareCanvas(image, SceneNow(), drawing);
    return image;
}

void CompareCanvas::Redraw() {
    drawn_ = SceneNow();
    image_.Drawn();
    update();
}

int CompareCanvas::CursorX(int64_t t) const { return TimeX(t, window_, width()); }

bool CompareCanvas::InCurveArea(int x, int y) const {
    return x >= kCurveLeft && x <= width() - kCurveRightMargin && y >= kCurveTop && y <= height() - kCurveBottomMargin;
}

void CompareCanvas::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    if (drawn_.width != width() || drawn_.height != height()) {
        drawn_ = SceneNow();
        image_.Drawn();
    }
    image_.Paint(p, rect(), event->region());
    const int top = kCurveTop, bottom = height() - kCurveBottomMargin;
    for (int k = 0; k < 2; ++k) {
        if (!hasCursor_[k] || cursor_[k] < window_.from || cursor_[k] > window_.to) continue;
        const int x = CursorX(cursor_[k]);
        p.setPen(QPen(kCursorColour[k], 1, Qt::DashLine));
        p.drawLine(x, top, x, bottom);
        p.drawText(x + 3, top + p.fontMetrics().ascent(), QString::number(k + 1));
    }
    if (pointerX_ >= 0 && !dragging_) {
        p.setPen(QPen(QColor(150, 150, 150), 1));
        p.drawLine(pointerX_, top, pointerX_, bottom);
    }
    if (dragging_) {
        p.setPen(QPen(QColor(100, 100, 100), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(zoomRect_.normalized());
    }
}

void CompareCanvas::resizeEvent(QResizeEvent*) { Redraw(); }

void CompareCanvas::mousePressEvent(QMouseEvent* event) {
    const int x = static_cast<int>(event->position().x()), y = static_cast<int>(event->position().y());
    if (!InCurveArea(x, y)) return;
    if (event->button() == Qt::RightButton) {
        SetCursor(2, TimeAtX(x, window_, width()));
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    if (panMode_) {
        panning_ = true;
        panLastX_ = x;
    } else if (zoomArmed_) {
        dragging_ = true;
        pressX_ = x;
        pressY_ = y;
        zoomRect_ = QRect(QPoint(x, y), QPoint(x, y));
        update();
    } else {
        SetCursor(1, TimeAtX(x, window_, width()));
    }
}

void CompareCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    panning_ = false;
    if (!dragging_) return;
    dragging_ = false;
    const int x = std::clamp(static_cast<int>(event->position().x()), kCurveLeft, width() - kCurveRightMargin);
    const int x0 = std::min(pressX_, x), x1 = std::max(pressX_, x);
    // A rectangle narrower than 4 pixels is a click, not a zoom.
    if (x1 - x0 > 3) ShowWindow(TimeAtX(x0, window_, width()), TimeAtX(x1, window_, width()));
    update();
}

void CompareCanvas::mouseMoveEvent(QMouseEvent* event) {
    const int x = static_cast<int>(event->position().x()), y = static_cast<int>(event->position().y());
    if (dragging_) {
        zoomRect_ = QRect(QPoint(pressX_, pressY_), QPoint(x, y));
        update();
        return;
    }
    if (panning_) {
        // 10 pixels' worth of time per step (at least a second), within the whole window.
        const int64_t span = window_.to - window_.from;
        const int pixels = std::max(width() - kCurveLeft - kCurveRightMargin, 1);
        const int64_t step = std::max<int64_t>(span * 10 / pixels, 1);
        int64_t shift = x > panLastX_ ? -step : (x < panLastX_ ? step : 0);
        shift = std::clamp(shift, whole_.from - window_.from, whole_.to - window_.to);
        panLastX_ = x;
        if (shift != 0) {
            window_ = {window_.from + shift, window_.to + shift};
            Redraw();
            emit WindowChanged();
        }
        return;
    }
    if (!InCurveArea(x, y)) {
        if (pointerX_ >= 0) MovePointerLine(-1);
        return;
    }
    const int64_t t = TimeAtX(x, window_, width());
    MovePointerLine(std::clamp(x, kCurveLeft, width() - kCurveRightMargin));
    emit PointerMoved(t);
}

void CompareCanvas::MovePointerLine(int x) {
    // Only around the line's old and new columns is repainted (from the kept image), not the
    // whole canvas.
    const int top = kCurveTop, bottom = height() - kCurveBottomMargin;
    if (pointerX_ >= 0) update(QRect(pointerX_ - 1, top - 1, 3, bottom - top + 3));
    pointerX_ = x;
    if (pointerX_ >= 0)
        update(QRect(pointerX_ - 1, top - 1, 3, bottom - top + 3));
    else
        emit PointerLeft();
}

void CompareCanvas::leaveEvent(QEvent*) {
    if (pointerX_ >= 0) MovePointerLine(-1);
}

}  // namespace velorin
