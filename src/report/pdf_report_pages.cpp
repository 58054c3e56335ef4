// The report's data curve (inside the first page's frame, 75..525 × 80..430 points) and the
// data table pages.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/format.h"
#include "common/text_codec.h"
#include "report/column_reduced_path.h"
#include "report/export_format.h"
#include "report/pdf_report.h"

namespace velorin {

namespace {

const Rgb kChannelColors[kRecordSetChannels] = {
    {0.1, 0.1, 0.1}, {0, 0.128, 1}, {0, 0, 1}, {0.128, 0, 1}, {1, 1, 0}, {1, 0, 1}, {0, 1, 0}, {1, 0, 0},
};
constexpr Rgb kAxisColor{0.1, 0.1, 0.1};

constexpr double kLimitLabelPitch = 7;  // points between the baselines of two limit labels (size 6)
constexpr double kCurveLeft = 75, kCurveBottom = 80, kCurveWidth = 450, kCurveHeight = 350;

// The vertical scale of one channel: whole numbers below its minimum and above its maximum.
struct Scale {
    double lo = 0, hi = 0;
    double Y(double v) const { return hi - lo > 0 ? kCurveBottom + (v - lo) / (hi - lo) * kCurveHeight : kCurveBottom; }
};

// The left page margin of the curve's value labels (points).
constexpr double kValueLabelMargin = 2;

// snprintf under the report's "C" locale (set by PdfReport::Draw) into `out`.
template <typename... Args>
void AppendPrintf(std::string& out, const char* format, Args... args) {
    char buffer[96];
    const int n = std::snprintf(buffer, sizeof buffer, format, args...);
    if (n > 0) out.append(buffer, static_cast<size_t>(n) < sizeof buffer ? static_cast<size_t>(n) : sizeof buffer - 1);
}

// " <v with `decimals` decimals> ", the digits exactly as printf's "%.Nf" gives them (both round
// the binary value correctly), without printf's cost: a report formats a million of them.
void AppendFixedCell(std::string& out, double v, int decimals) {
    char buffer[64];
    buffer[0] = ' ';
    const std::to_chars_result r =
        std::to_chars(buffer + 1, buffer + sizeof buffer - 1, v, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) {
        AppendPrintf(out, decimals == 2 ? " %.2f " : " %.1f ", v);
        return;
    }
    *r.ptr = ' ';
    out.append(buffer, static_cast<size_t>(r.ptr + 1 - buffer));
}

}  // namespace

void PdfReport::DrawCurve() {
    const RecordSet& s = set_;
    const int32_t n = range_.limited;
    std::string valueLabels[11];
    std::vector<double> limitLabelYs;  // baselines of the alarm limit labels drawn so far
    canvas_.SetFontSize(6);
    for (int c : channels_) {
        canvas_.SetColor(ColorTarget::Fill, kBlack);
        // Time labels under the frame; a range that starts at record 0 has no leftmost label.
        if (n > 0) {
            for (int k = 0; k <= 9; ++k) {
                const int32_t index =
                    k == 9 ? range_.first + n - 1
                           : static_cast<int32_t>(std::trunc(k * static_cast<double>(n) / 9.0 + range_.first));
                if ((k == 0 || k == 9) && index == 0) continue;
                const SampleRecord& r = s.records[static_cast<size_t>(index)];
                Text(65 + 50 * k, 70, FormatC("%.2d/%.2d/%.2d ", r.month, r.day, r.year));
                Text(65 + 50 * k, 62, FormatC("%.2d:%.2d:%.2d ", r.hour, r.minute, r.second));
            }
        }

        Scale scale;
        // The range's own figures; a channel without a usable value there keeps the set's.
        const ChannelStatistics& stats = stats_[c];
        scale.lo = std::floor(static_cast<double>(stats.valid ? stats.min : s.minValue[c]));
        scale.hi = std::ceil(static_cast<double>(stats.valid ? stats.max : s.maxValue[c]));
        // Statistics read from a damaged file may not be numbers: the channel is then drawn
        // flat at the bottom of the frame.
        if (!std::isfinite(scale.lo) || !std::isfinite(scale.hi)) scale.lo = scale.hi = 0;
        const double step = (scale.hi - scale.lo) / 10;
        for (int j = 0; j <= 10; ++j) valueLabels[j] += FormatC("%.2f/", scale.lo + j * step);

        struct Limit {
            double value;
            const char* format;
        };
        const Limit limits[2] = {{s.upperAlarmX10[c] / 10.0, "%d,%.1f(Hi)"},
                                 {s.lowerAlarmX10[c] / 10.0, "%d,%.1f(Lo)"}};
        for (const Limit& l : limits) {
            if (!(scale.lo < l.value && l.value < scale.hi)) continue;
            const double y = scale.Y(l.value);
            canvas_.SetColor(ColorTarget::Stroke, kRed);
            DashedLine(kCurveLeft, y, kCurveLeft + kCurveWidth, y);
            canvas_.Stroke();
            // Channels with the same limit would print their labels over one another: a label
            // that meets an earlier one moves down below it (the dashed line stays at its value).
            double labelY = y;
            for (bool moved = true; moved;) {
                moved = false;
                for (double used : limitLabelYs) {
                    if (std::fabs(labelY - used) < kLimitLabelPitch) {
                        labelY = used - kLimitLabelPitch;
                        moved = true;
                    }
                }
            }
            limitLabelYs.push_back(labelY);
            Text(527, labelY, FormatC(l.format, c + 1, l.value));
        }

        const Rgb color = kChannelColors[c];
        canvas_.SetColor(ColorTarget::Stroke, color);
        canvas_.SetColor(ColorTarget::Fill, color);
        canvas_.MoveTo(70 + 30 * c, 55);
        canvas_.LineTo(80 + 30 * c, 55);
        canvas_.Stroke();
        Text(82 + 30 * c, 55, FormatC("CH%d ", c + 1));
        canvas_.SetColor(ColorTarget::Fill, kBlack);

        if (n <= 0) continue;  // no records: no curve (its step would be undefined)
        // A missing value moves the pen one step without drawing; the next value is joined
        // from the last drawn height (a value that is not a finite number counts as missing).
        // The segments of a channel form one stroked path (a new
        // subpath where a gap moved the pen), which draws the same lines as stroking each
        // segment alone at a fraction of the cost for hundreds of thousands of records.
        const double curveStep = kCurveWidth / n;
        double px = kCurveLeft, py = kCurveBottom;
        bool connected = false;  // the path's current point is (px, py)
        ColumnReducedPath path(canvas_, kCurveLeft);
        for (int32_t i = range_.first; i < range_.first + n; ++i) {
            const float v = s.records[static_cast<size_t>(i)].value[c];
            if (!IsUsableValue(v)) {
                px += curveStep;
                connected = false;
                continue;
            }
            const double y = scale.Y(v);
            if (i == range_.first) {
                path.MoveTo(px, y);  // the first record: a segment of zero length
                path.LineTo(px, y);
                py = y;
            } else {
                if (!connected) path.MoveTo(px, py);
                px += curveStep;
                py = y;
                path.LineTo(px, py);
            }
            connected = true;
        }
        path.Flush();
        canvas_.Stroke();
    }

    canvas_.SetColor(ColorTarget::Stroke, kAxisColor);
    canvas_.SetColor(ColorTarget::Fill, kAxisColor);
    for (int j = 0; j <= 10; ++j) {
        const double y = kCurveBottom + 35 * j;
        // The labels of many channels would start left of the page (six channels give 36 bytes
        // and x < 0): such a label starts at the margin and is narrowed to end at the tick.
        const double x = 2.0 * (35 - static_cast<double>(valueLabels[j].size()));
        if (x >= kValueLabelMargin) {
            Text(x, y + 2, valueLabels[j]);
        } else {
            TextIn(kValueLabelMargin, y + 2, 70 - 2 - kValueLabelMargin, valueLabels[j]);
        }
        canvas_.MoveTo(70, y);
        canvas_.LineTo(75, y);
    }
    canvas_.Stroke();
    canvas_.SetColor(ColorTarget::Fill, kBlack);
    Text(500, 35, "Date/Time");
}

void PdfReport::DrawPageHeader() {
    RuleThenText(40, 560, 774, 16);
    Text(40, 800, "S/N:" + ReadField(set_.serialNumber));
    char now[64];
    std::strftime(now, sizeof now, "%m/%d/%y %H:%M:%S", &options_.clock.local);
    Text(40, 778, std::string("Report Creation Time:") + now);
}

void PdfReport::AppendCell(std::string& out, int slot, float v, Rgb& color) const {
    const int c = channels_[static_cast<size_t>(slot)];
    if (IsMissingSample(v)) {
        out += "Err";
        color = kRed;
        return;
    }
    // One decimal is printed from v + 0.01, so 25.25 reads 25.3.
    if ((options_.display.channelType[c] >> 4) == 2) {
        AppendFixedCell(out, static_cast<double>(v), 2);
    } else {
        AppendFixedCell(out, static_cast<double>(v) + 0.01, 1);
    }
    static const std::string up = Utf8ToGbk("↑");
    static const std::string down = Utf8ToGbk("↓");
    color = kBlack;
    if (v * 10.0f > static_cast<float>(set_.upperAlarmX10[c])) {
        color = kRed;
        out += up;
    } else if (v * 10.0f < static_cast<float>(set_.lowerAlarmX10[c])) {
        color = kRed;
        out += down;
    }
}

void PdfReport::DrawDataPages() {
    const TableLayout& t = layout_;
    const int32_t pages = DataPageCount(t, tableRows_);
    const int total = TotalPages();
    const int32_t end = range_.first + tableRows_;
    const size_t slots = channels_.size();
    // Slot 0 follows the time in the same text; slot s ≥ 1 starts at 40 + 20 (s + 1) points into
    // the block. Every cell ends where the next one starts (the last slot at the block's edge).
    canvas_.SetFontSize(8);
    const double slot0 = canvas_.TextWidth("00/00/00 00:00:00  ");
    const auto slotX = [&](size_t s) { return s == 0 ? slot0 : 40.0 + 20.0 * static_cast<double>(s + 1); };
    const auto slotWidth = [&](size_t s) {
        return (s + 1 < slots ? slotX(s + 1) : static_cast<double>(t.colW) - 2.0) - slotX(s);
    };

    std::string text;
    Rgb fill = kBlack;
    for (int32_t k = 0; k < pages; ++k) {
        canvas_.BeginPage();
        DrawPageHeader();
        canvas_.SetColor(ColorTarget::Stroke, kBlack);
        const double right = 48 + t.perRow * t.colW;
        for (int j = 0; j <= t.perRow; ++j) {
            canvas_.MoveTo(48 + j * t.colW, 756);
            canvas_.LineTo(48 + j * t.colW, 38);
        }
        for (double y : {756.0, 740.0, 38.0}) {
            canvas_.MoveTo(48, y);
            canvas_.LineTo(right, y);
        }
        canvas_.Stroke();
        canvas_.SetFontSize(8);
        canvas_.SetColor(ColorTarget::Fill, kBlack);
        fill = kBlack;
        // Each heading over its own column: "DateTime" over the time, each unit over its slot.
        for (int b = 0; b < t.perRow; ++b) {
            const double x = 50 + b * t.colW;
            TextIn(x + canvas_.TextWidth("        "), 746, slot0 - canvas_.TextWidth("        "), "DateTime");
            for (size_t sl = 0; sl < slots; ++sl) {
                const double blank = canvas_.TextWidth(" ");
                TextIn(x + slotX(sl) + blank, 746, slotWidth(sl) - blank, UnitTextOf(set_, channels_[sl]));
            }
        }

        const int32_t start = range_.first + k * t.rowsPerPage;
        for (int32_t r = 0; r < t.rowsPerPage && start + r < end; ++r) {
            const SampleRecord& rec = set_.records[static_cast<size_t>(start + r)];
            const double x = 50 + (r / 70) * t.colW;
            const double y = 730 - 10 * (r % 70);
            // The time and slot 1 are one text: the cell's colour applies to both.
            text.clear();
            AppendInt(text, rec.month, 2);
            text += '/';
            AppendInt(text, rec.day, 2);
            text += '/';
            AppendInt(text, rec.year, 2);
            text += ' ';
            AppendInt(text, rec.hour, 2);
            text += ':';
            AppendInt(text, rec.minute, 2);
            text += ':';
            AppendInt(text, rec.second, 2);
            text += "  ";
            Rgb color = kBlack;
            if (slots > 0) AppendCell(text, 0, rec.value[channels_[0]], color);
            if (!(color == fill)) canvas_.SetColor(ColorTarget::Fill, fill = color);
            TextIn(x, y, slots > 0 ? slot0 + slotWidth(0) : t.colW - 2.0, text);
            // Slot s is the s-th enabled channel, with its own values, limits and type.
            for (size_t s = 1; s < slots; ++s) {
                text.assign(1, ' ');
                AppendCell(text, static_cast<int>(s), rec.value[channels_[s]], color);
                if (!(color == fill)) canvas_.SetColor(ColorTarget::Fill, fill = color);
                TextIn(x + slotX(s), y, slotWidth(s), text);
            }
        }
        DrawFooter(static_cast<int>(k) + 2, total);
        if (!PageDone(static_cast<int>(k) + 2, total)) return;
    }
}

}  // namespace velorin
