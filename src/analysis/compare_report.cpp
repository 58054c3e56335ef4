#include "analysis/compare_report.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "analysis/analysis_texts.h"
#include "analysis/clock_time.h"
#include "analysis/compare_files.h"
#include "analysis/number_text.h"
#include "common/format.h"
#include "common/text_codec.h"
#include "report/column_reduced_path.h"
#include "report/pdf_document.h"
#include "report/report_texts.h"
#include "view/curve_geometry.h"

namespace velorin {

namespace {

constexpr double kTopRowY = 728;    // first row under the page heading and column names
constexpr double kBottomRowY = 60;  // rows end above the footer
constexpr double kFileRowHeight = 14;
constexpr double kChannelRowHeight = 16;  // values, and their times in small print below

// Columns of the statistics table (x of each column's left edge).
constexpr double kColumnX[] = {60, 82, 150, 180, 212, 257, 302, 340, 380, 435, 500};

constexpr double kPlotLeft = 75, kPlotBottom = 430, kPlotWidth = 450, kPlotHeight = 340;

// One colour per file (cycled past twelve files); a file's later channels are lighter.
const Rgb kFileColors[] = {{0.85, 0.1, 0.1}, {0.1, 0.3, 0.85}, {0.1, 0.6, 0.2}, {0.9, 0.5, 0.0},
                           {0.5, 0.2, 0.7},  {0.0, 0.6, 0.7},  {0.6, 0.4, 0.2}, {0.9, 0.2, 0.6},
                           {0.4, 0.4, 0.4},  {0.6, 0.6, 0.0},  {0.2, 0.2, 0.5}, {0.0, 0.4, 0.3}};

Rgb CurveColor(size_t file, int channelOrdinal) {
    const Rgb base = kFileColors[file % (sizeof kFileColors / sizeof kFileColors[0])];
    const double mix = std::min(0.6, 0.2 * channelOrdinal);
    return {base.r + (1 - base.r) * mix, base.g + (1 - base.g) * mix, base.b + (1 - base.b) * mix};
}

// A GBK text cut to at most `bytes` bytes without splitting a two-byte character.
std::string CutGbk(const std::string& gbk, size_t bytes) {
    if (gbk.size() <= bytes) return gbk;
    size_t n = 0;
    while (n < gbk.size()) {
        const size_t width = static_cast<unsigned char>(gbk[n]) >= 0x81 ? 2 : 1;
        if (n + width > bytes) break;
        n += width;
    }
    return gbk.substr(0, n);
}

std::string FieldText(const char* field, size_t size) {
    std::string s(field, strnlen(field, size));
    // A field the logger erased holds 0xFF bytes: nothing to show.
    return s.find('\xFF') != std::string::npos ? std::string() : s;
}

std::string ValueOrNone(bool exists, const std::string& text, const AnalysisTexts& t) { return exists ? text : t.none; }

}  // namespace

CompareReport::CompareReport(ReportCanvas& canvas, const std::vector<CompareFile>& files,
                             const CompareReportOptions& options)
    : canvas_(canvas), files_(files), options_(options) {
    StatisticsRange range;
    range.hasFrom = range.hasTo = true;
    range.from = options.from;
    range.to = options.to;
    for (const CompareFile& f : files) stats_.push_back(ComputeRangeStatistics(f.set, range));
    BuildRows();
}

void CompareReport::BuildRows() {
    const AnalysisTexts& t = AnalysisTextsFor(options_.language);
    // The warmest and coldest temperature channel by its average over the range.
    Row* warmest = nullptr;
    Row* coldest = nullptr;
    double warm = 0, cold = 0;
    int page = 1;
    double y = kTopRowY;
    for (size_t k = 0; k < files_.size(); ++k) {
        const int channels = static_cast<int>(stats_[k].channels.size());
        for (int c = -1; c < channels; ++c) {
            const double height = c < 0 ? kFileRowHeight : kChannelRowHeight;
            // A file's line never ends a page on its own.
            const double needed = c < 0 ? height + (channels > 0 ? kChannelRowHeight : 0) : height;
            if (y - needed < kBottomRowY) {
                ++page;
                y = kTopRowY;
            }
            Row row;
            row.file = k;
            row.channelIndex = c;
            row.page = page;
            row.y = y;
            rows_.push_back(row);
            y -= height;
        }
    }
    for (Row& row : rows_) {
        if (row.channelIndex < 0) continue;
        const ChannelRangeStatistics& s = stats_[row.file].channels[static_cast<size_t>(row.channelIndex)];
        if (!s.temperature || !s.HasValues()) continue;
        if (!warmest || s.avg > warm) warmest = &row, warm = s.avg;
        if (!coldest || s.avg < cold) coldest = &row, cold = s.avg;
    }
    // Only when there is something to choose between.
    if (warmest && coldest && warmest != coldest) {
        warmest->mark = t.warmest.c_str();
        coldest->mark = t.coldest.c_str();
    }
    statisticsPages_ = page;
}

void CompareReport::Text(double x, double y, const std::string& gbk) { canvas_.ShowText(x, y, gbk); }

// The canvas takes GBK, the code page of the files' texts drawn beside the labels (UTF-8).
void CompareReport::Label(double x, double y, const std::string& utf8) { canvas_.ShowText(x, y, Utf8ToGbk(utf8)); }

int CompareReport::Draw() {
    size_t row = 0;
    for (int page = 1; page <= statisticsPages_; ++page) {
        canvas_.BeginPage();
        DrawStatisticsPage(page, row);
        DrawFooter(page);
        if (!PageDone(page)) return TotalPages();
    }
    canvas_.BeginPage();
    DrawCurvePage();
    DrawFooter(TotalPages());
    PageDone(TotalPages());
    return TotalPages();
}

bool CompareReport::PageDone(int page) {
    canvas_.EndPage();
    if (options_.progress && !options_.progress(page, TotalPages())) cancelled_ = true;
    return !cancelled_;
}

void CompareReport::DrawFooter(int page) {
    const AnalysisTexts& t = AnalysisTextsFor(options_.language);
    canvas_.SetColor(ColorTarget::Stroke, kBlack);
    canvas_.MoveTo(50, 40);
    canvas_.LineTo(550, 40);
    canvas_.Stroke();
    canvas_.SetFontSize(8);
    canvas_.SetColor(ColorTarget::Fill, kBlack);
    Label(520, 30, FormatC(t.pageFormat.c_str(), page, TotalPages()));
    Label(50, 30, ReportFixed().webAddress);
}

void CompareReport::DrawStatisticsPage(int page, size_t& next) {
    const AnalysisTexts& t = AnalysisTextsFor(options_.language);
    canvas_.SetColor(ColorTarget::Fill, kBlack);
    canvas_.SetFontSize(20);
    Label(50, 790, t.compareTitle);
    if (page == 1 && !options_.logoPath.empty()) logoPlaced_ = canvas_.PlaceImage(options_.logoPath, 350, 772, 0.5);
    canvas_.SetFontSize(9);
    Label(50, 770, t.period + ": " + ClockTimeText(options_.from) + "  ...  " + ClockTimeText(options_.to));
    Label(420, 770, t.compareFiles + ": " + std::to_string(files_.size()));
    canvas_.SetFontSize(8);
    Label(50, 757, t.compareStatistics);
    canvas_.SetFontSize(6);
    const std::string headers[] = {"",    "",    t.count,      t.missing,    t.min, t.max,
                                   t.avg, t.mkt, t.aboveUpper, t.belowLower, ""};
    for (size_t i = 0; i < sizeof headers / sizeof headers[0]; ++i) Label(kColumnX[i], 748, headers[i]);
    canvas_.SetColor(ColorTarget::Stroke, kBlack);
    canvas_.MoveTo(50, 744);
    canvas_.LineTo(550, 744);
    canvas_.Stroke();

    for (; next < rows_.size() && rows_[next].page == page; ++next) {
        const Row& row = rows_[next];
        const CompareFile& f = files_[row.file];
        const RangeStatistics& stats = stats_[row.file];
        canvas_.SetColor(ColorTarget::Fill, kBlack);
        if (row.channelIndex < 0) {
            canvas_.SetFontSize(8);
            std::string line = CutGbk(Utf8ToGbk(f.label), 60);
            const std::string user = FieldText(f.set.userName, sizeof f.set.userName);
            const std::string title = FieldText(f.set.title, sizeof f.set.title);
            if (!user.empty()) line += "   " + Utf8ToGbk(t.userName) + ": " + user;
            if (!title.empty()) line += "   " + Utf8ToGbk(t.title) + ": " + title;
            Text(50, row.y, line);
            Label(400, row.y,
                  t.records + ": " + std::to_string(stats.records) + "   " + t.interval + ": " +
                      std::to_string(stats.intervalSeconds) + " " + t.seconds);
            continue;
        }
        const ChannelRangeStatistics& c = stats.channels[static_cast<size_t>(row.channelIndex)];
        const bool v = c.HasValues();
        canvas_.SetFontSize(7);
        // GBK, like the quantity and unit cell.
        const std::string cells[] = {
            Utf8ToGbk(FormatC(t.channel.c_str(), c.channel + 1)),
            CutGbk(c.quantity + " (" + c.unit + ")", 22),
            std::to_string(c.count),
            std::to_string(c.missing),
            Utf8ToGbk(ValueOrNone(v, ShortestText(c.min), t)),
            Utf8ToGbk(ValueOrNone(v, ShortestText(c.max), t)),
            Utf8ToGbk(ValueOrNone(v, FigureText(c.avg), t)),
            Utf8ToGbk(ValueOrNone(c.hasMkt && std::isfinite(c.mkt), FigureText(c.mkt), t)),
            DurationText(c.aboveUpperSeconds),
            DurationText(c.belowLowerSeconds),
        };
        for (size_t i = 0; i < sizeof cells / sizeof cells[0]; ++i) Text(kColumnX[i], row.y, cells[i]);
        if (row.mark) {
            canvas_.SetColor(ColorTarget::Fill, kRed);
            Label(kColumnX[10], row.y, row.mark);
            canvas_.SetColor(ColorTarget::Fill, kBlack);
        }
        // The times of the figures above them, in small print.
        canvas_.SetFontSize(5);
        if (v) {
            Text(kColumnX[4], row.y - 6, ClockTimeText(c.minTime));
            Text(kColumnX[5], row.y - 6, ClockTimeText(c.maxTime));
        }
        if (c.crossedUpper) Text(kColumnX[8], row.y - 6, ClockTimeText(c.firstAbove));
        if (c.crossedLower) Text(kColumnX[9], row.y - 6, ClockTimeText(c.firstBelow));
    }
}

void CompareReport::DrawCurvePage() {
    const AnalysisTexts& t = AnalysisTextsFor(options_.language);
    canvas_.SetColor(ColorTarget::Fill, kBlack);
    canvas_.SetFontSize(20);
    Label(50, 790, t.compareCurves);

    // The time axis spans the records the range holds; the value axis every value shown.
    int64_t from = options_.to, to = options_.from;
    bool anyValue = false;
    double lo = 0, hi = 0;
    for (size_t k = 0; k < files_.size(); ++k) {
        if (stats_[k].Empty()) continue;
        from = std::min(from, ClockSeconds(stats_[k].firstTime));
        to = std::max(to, ClockSeconds(stats_[k].lastTime));
        for (const ChannelRangeStatistics& c : stats_[k].channels) {
            if (!c.HasValues()) continue;
            lo = anyValue ? std::min(lo, static_cast<double>(c.min)) : c.min;
            hi = anyValue ? std::max(hi, static_cast<double>(c.max)) : c.max;
            anyValue = true;
        }
    }
    lo = std::floor(lo);
    hi = std::ceil(hi);
    if (!(hi > lo)) hi = lo + 1;
    const double span = to > from ? static_cast<double>(to - from) : 0;
    const auto X = [&](int64_t s) {
        return span > 0 ? kPlotLeft + (s - from) / span * kPlotWidth : kPlotLeft + kPlotWidth / 2;
    };
    const auto Y = [&](double v) { return kPlotBottom + (v - lo) / (hi - lo) * kPlotHeight; };

    canvas_.SetColor(ColorTarget::Stroke, kBlack);
    canvas_.Rect(kPlotLeft, kPlotBottom, kPlotWidth, kPlotHeight);
    canvas_.Stroke();
    canvas_.SetFontSize(6);
    for (int j = 0; j <= 10; ++j) {
        const double v = lo + (hi - lo) * j / 10;
        const double y = kPlotBottom + kPlotHeight * j / 10;
        Text(40, y - 2, FormatC("%.1f", v));
        canvas_.MoveTo(70, y);
        canvas_.LineTo(75, y);
    }
    if (from <= to) {
        for (int k = 0; k <= 4; ++k) {
            const int64_t s = from + static_cast<int64_t>(std::llround(span * k / 4));
            const std::string text = ClockTimeText(s);
            const double x = kPlotLeft + kPlotWidth * k / 4;
            Text(x - 15, kPlotBottom - 10, text.substr(0, 10));
            Text(x - 12, kPlotBottom - 18, text.substr(11));
            canvas_.MoveTo(x, kPlotBottom);
            canvas_.LineTo(x, kPlotBottom - 4);
        }
    }
    canvas_.Stroke();

    // Curves: a missing sample or a gap in the recording lifts the pen.
    size_t legend = 0;
    for (size_t k = 0; k < files_.size(); ++k) {
        const CompareFile& f = files_[k];
        const auto window = f.OrderedRange(options_.from, options_.to);
        int ordinal = 0;
        for (int c = 0; c < kRecordSetChannels; ++c) {
            if (f.set.channelEnabled[c] != 1) continue;
            const Rgb color = CurveColor(k, ordinal++);
            canvas_.SetColor(ColorTarget::Stroke, color);
            ColumnReducedPath path(canvas_, kPlotLeft);
            bool connected = false;
            int64_t previous = 0;
            for (size_t i = window.first; i < window.second; ++i) {
                const float v = f.set.records[static_cast<size_t>(f.order[i])].value[c];
                const int64_t s = f.times[i];
                if (IsMissingSample(v) || !std::isfinite(v)) {
                    connected = false;
                    continue;
                }
                if (connected && IsGap(s - previous, f.set.intervalSeconds)) connected = false;
                if (!connected) {
                    path.MoveTo(X(s), Y(v));
                }
                path.LineTo(X(s), Y(v));
                connected = true;
                previous = s;
            }
            path.Flush();
            canvas_.Stroke();

            // Legend: four columns under the curve.
            const double lx = 50 + 125 * static_cast<double>(legend % 4);
            const double ly = kPlotBottom - 40 - 8 * static_cast<double>(legend / 4);
            ++legend;
            canvas_.MoveTo(lx, ly + 2);
            canvas_.LineTo(lx + 10, ly + 2);
            canvas_.Stroke();
            canvas_.SetColor(ColorTarget::Fill, kBlack);
            canvas_.SetFontSize(5.5);
            Text(lx + 13, ly,
                 CutGbk(Utf8ToGbk(f.label), 40) + " " + Utf8ToGbk(FormatC(t.channel.c_str(), c + 1)) + " " +
                     CutGbk(QuantityTextOf(f.set, c), 10));
        }
    }
}

PdfResult ExportCompareReport(const std::vector<CompareFile>& files, const std::string& path,
                              const CompareReportOptions& options) {
    PdfDocumentInfo info = ReportDocumentInfo();
    info.title = AnalysisTextsFor(options.language).compareTitle;
    return WritePdfDocument(path, info, options.logoPath, [&files, &options](ReportCanvas& canvas) {
        CompareReport report(canvas, files, options);
        PdfDrawing drawing;
        drawing.pages = report.Draw();
        drawing.cancelled = report.Cancelled();
        drawing.logoPlaced = report.LogoPlaced();
        return drawing;
    });
}

}  // namespace velorin
