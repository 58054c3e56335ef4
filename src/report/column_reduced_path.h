// A curve as it goes to a report canvas, shared by the data report and the comparison report.
#pragma once

#include <algorithm>
#include <cmath>
#include <iterator>

#include "report/report_canvas.h"

namespace velorin {

// A channel's curve as it goes to the canvas: within each column of 1/20 point (1/1440 inch,
// finer than any screen or printer resolves) a connected run keeps only its first, lowest,
// highest and last point, in the order they came. The lines drawn are the same at every
// resolution the report is seen at, while a full data set writes some 36,000 points per
// channel instead of 540,000 (which also makes the file quick to open). A column holding one
// or two points keeps them all, so small data sets are drawn point for point.
class ColumnReducedPath {
public:
    // Columns are counted from x = `left` (the curve frame's left edge).
    ColumnReducedPath(ReportCanvas& canvas, double left) : canvas_(canvas), left_(left) {}

    // Starts a new connected run at (x, y).
    void MoveTo(double x, double y) {
        Flush();
        runStarted_ = false;
        Add(x, y);
    }
    void LineTo(double x, double y) { Add(x, y); }
    // Sends what is held to the canvas (before stroking).
    void Flush() {
        if (count_ == 0) return;
        const Point* keep[4] = {&first_, &low_, &high_, &last_};
        std::sort(std::begin(keep), std::end(keep), [](const Point* a, const Point* b) { return a->seq < b->seq; });
        long sent = -1;
        for (const Point* p : keep) {
            if (p->seq == sent) continue;
            sent = p->seq;
            if (!runStarted_) {
                canvas_.MoveTo(p->x, p->y);
                runStarted_ = true;
            } else {
                canvas_.LineTo(p->x, p->y);
            }
        }
        count_ = 0;
    }

private:
    struct Point {
        double x = 0, y = 0;
        long seq = 0;
    };
    static constexpr double kColumn = 0.05;

    void Add(double x, double y) {
        const long column = static_cast<long>(std::floor((x - left_) / kColumn));
        if (count_ > 0 && column != column_) Flush();
        const Point p{x, y, seq_++};
        if (count_ == 0) {
            column_ = column;
            first_ = low_ = high_ = p;
        } else {
            if (y < low_.y) low_ = p;
            if (y > high_.y) high_ = p;
        }
        last_ = p;
        ++count_;
    }

    ReportCanvas& canvas_;
    double left_;
    Point first_, low_, high_, last_;
    long column_ = 0, seq_ = 0;
    int count_ = 0;
    bool runStarted_ = false;
};

}  // namespace velorin
