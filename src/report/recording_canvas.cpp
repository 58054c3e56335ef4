#include "report/recording_canvas.h"

#include <cmath>

namespace velorin {

void RecordingCanvas::Add(CanvasCall call) {
    call.page = page_;
    calls_.push_back(std::move(call));
}

void RecordingCanvas::BeginPage() {
    ++page_;
    Add(CanvasCall(CanvasCall::BeginPage));
}

void RecordingCanvas::EndPage() { Add(CanvasCall(CanvasCall::EndPage)); }

void RecordingCanvas::SetFontSize(double points) {
    fontSize_ = points;
    CanvasCall c(CanvasCall::FontSize);
    c.x = points;
    Add(c);
}

void RecordingCanvas::SetColor(ColorTarget target, Rgb color) {
    (target == ColorTarget::Fill ? fill_ : stroke_) = color;
    CanvasCall c(CanvasCall::Color);
    c.target = target;
    c.color = color;
    Add(c);
}

void RecordingCanvas::ShowText(double x, double y, const std::string& gbk) {
    CanvasCall c(CanvasCall::Text);
    c.x = x;
    c.y = y;
    c.color = fill_;
    c.fontSize = fontSize_;
    c.text = gbk;
    Add(std::move(c));
}

void RecordingCanvas::ShowTextIn(double x, double y, const std::string& gbk, double width) {
    ShowText(x, y, gbk);
    calls_.back().w = width;
}

void RecordingCanvas::MoveTo(double x, double y) {
    CanvasCall c(CanvasCall::MoveTo);
    c.x = x;
    c.y = y;
    Add(c);
}

void RecordingCanvas::LineTo(double x, double y) {
    CanvasCall c(CanvasCall::LineTo);
    c.x = x;
    c.y = y;
    Add(c);
}

void RecordingCanvas::Rect(double x, double y, double width, double height) {
    CanvasCall c(CanvasCall::Rect);
    c.x = x;
    c.y = y;
    c.w = width;
    c.h = height;
    Add(c);
}

void RecordingCanvas::Stroke() {
    CanvasCall c(CanvasCall::Stroke);
    c.color = stroke_;
    Add(c);
}

bool RecordingCanvas::PlaceImage(const std::string& pngPath, double x, double y, double scale) {
    CanvasCall c(CanvasCall::Image);
    c.x = x;
    c.y = y;
    c.w = scale;
    c.text = pngPath;
    Add(std::move(c));
    return imagesExist_;
}

std::vector<CanvasCall> RecordingCanvas::Texts(int page) const {
    std::vector<CanvasCall> out;
    for (const CanvasCall& c : calls_) {
        if (c.kind == CanvasCall::Text && (page == 0 || c.page == page)) out.push_back(c);
    }
    return out;
}

const CanvasCall* RecordingCanvas::TextAt(int page, double x, double y) const {
    for (const CanvasCall& c : calls_) {
        if (c.kind == CanvasCall::Text && c.page == page && std::fabs(c.x - x) < 1e-6 && std::fabs(c.y - y) < 1e-6) {
            return &c;
        }
    }
    return nullptr;
}

std::vector<RecordingCanvas::Segment> RecordingCanvas::Segments(int page) const {
    // A path's segments get the stroke colour in force when the path is stroked.
    std::vector<Segment> out;
    size_t pathStart = out.size();
    double cx = 0, cy = 0;
    for (const CanvasCall& c : calls_) {
        if (c.page != page) continue;
        switch (c.kind) {
            case CanvasCall::MoveTo:
                cx = c.x;
                cy = c.y;
                break;
            case CanvasCall::LineTo:
                out.push_back({cx, cy, c.x, c.y, Rgb{}});
                cx = c.x;
                cy = c.y;
                break;
            case CanvasCall::Stroke:
                for (size_t i = pathStart; i < out.size(); ++i) out[i].color = c.color;
                pathStart = out.size();
                break;
            default: break;
        }
    }
    out.resize(pathStart);  // segments never stroked are not drawn
    return out;
}

}  // namespace velorin
