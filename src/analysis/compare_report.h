// The comparison report (PDF) of several data files: pages with each file's identity and the
// statistics of the range per file and channel, then a page with every file's curves overlaid
// on one clock-time axis and their legend. Set in the report's font on the report's canvas;
// ExportCompareReport writes a temporary file renamed over the target only when the document is
// complete, and a missing font or logo only adds a warning.
//
// Any single thread (the CLI's, or a worker of the GUI); the files must not change meanwhile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analysis/range_statistics.h"
#include "common/language.h"
#include "report/pdf_report.h"

namespace velorin {

struct CompareFile;
class ReportCanvas;

struct CompareReportOptions {
    Language language = Language::Chinese;
    int64_t from = 0;  // the range, clock seconds, both ends included
    int64_t to = 0;
    std::string logoPath;  // PNG placed on the first page; empty: none
    // Called after each finished page with its number and the total; false cancels (no file).
    std::function<bool(int page, int total)> progress;
};

class CompareReport {
public:
    CompareReport(ReportCanvas& canvas, const std::vector<CompareFile>& files, const CompareReportOptions& options);

    // Every page; returns their number.
    int Draw();
    bool Cancelled() const { return cancelled_; }
    bool LogoPlaced() const { return logoPlaced_; }
    int TotalPages() const { return statisticsPages_ + 1; }
    // The statistics of file `k` over the range (what the pages show).
    const RangeStatistics& StatisticsOf(size_t k) const { return stats_[k]; }

private:
    // A line of the statistics pages: a file's identity (channelIndex < 0) or one channel's
    // figures (index into stats_[file].channels).
    struct Row {
        size_t file = 0;
        int channelIndex = -1;
        int page = 1;
        double y = 0;
        const char* mark = nullptr;  // "warmest" / "coldest" text (UTF-8, of the text table), or none
    };
    void BuildRows();
    void DrawStatisticsPage(int page, size_t& row);
    void DrawCurvePage();
    void DrawFooter(int page);
    bool PageDone(int page);
    void Text(double x, double y, const std::string& gbk);
    void Label(double x, double y, const std::string& utf8);

    ReportCanvas& canvas_;
    const std::vector<CompareFile>& files_;
    const CompareReportOptions options_;  // a copy: callers may pass a temporary
    std::vector<RangeStatistics> stats_;
    std::vector<Row> rows_;
    int statisticsPages_ = 1;
    bool logoPlaced_ = false;
    bool cancelled_ = false;
};

PdfResult ExportCompareReport(const std::vector<CompareFile>& files, const std::string& path,
                              const CompareReportOptions& options);

}  // namespace velorin
