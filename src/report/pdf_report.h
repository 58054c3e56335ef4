// The PDF report of a data set: a first page with identity, configuration, statistics, alarm
// table and data curve, then data table pages listing every record of the range.
//
// The report is drawn through a ReportCanvas; ExportPdf puts it on a cairo PDF surface that
// writes a temporary file renamed over the target only when the document is complete. The
// report computes the statistics of its range for itself and only reads the record set: the
// data window's statistics and a later save stay as they were. Any single thread; the set must
// not change meanwhile.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "common/language.h"
#include "device/display_options.h"
#include "report/report_canvas.h"
#include "report/report_statistics.h"

namespace velorin {

struct ReportTexts;

// The computer's clock as the report shows it: the local time of creation and the offset of
// local time from UTC (the logger's clock was set from this computer's local time).
struct ReportClock {
    std::tm local = {};
    long utcOffsetSeconds = 0;
};
ReportClock ReportClockNow();

struct PdfOptions {
    DisplayOptions display;
    int32_t firstIndex = 0;  // range of the records: firstIndex … endIndex − 1;
    int32_t endIndex = 0;    // endIndex ≤ firstIndex means the whole set
    std::string logoPath;    // PNG placed on the first page; empty: none
    ReportClock clock;       // fills `local` and the offset with ReportClockNow() by default
    // Called after each finished page with its number and the total; false cancels the report
    // (no file is written). Runs on the drawing thread.
    std::function<bool(int page, int total)> progress;
    PdfOptions();
};

enum class PdfWarning {
    LogoMissing,     // the logo could not be read; the page has none
    CjkFontMissing,  // AR PL UMing is not installed; another font was used
};

struct PdfResult {
    bool ok = false;
    bool cancelled = false;  // the progress callback stopped it
    std::string path;        // the file written (".pdf" appended when missing)
    std::string detail;      // why it failed (system or PDF error text)
    int pages = 0;           // pages drawn
    std::vector<PdfWarning> warnings;
    std::string fontUsed;  // family of the font the text was set in
    std::string logoPath;  // the logo that could not be read (LogoMissing)
};

// The user's messages of a result (GBK): the failure message, or one line per warning.
std::string PdfFailureMessage(const PdfResult& result);
std::string PdfWarningMessage(const PdfResult& result, PdfWarning warning, Language language);

// The data table's columns: n enabled channels make blocks of w = 20n + 64 points, perRow of
// them side by side in 504 points, each widened to colW, 70 rows each.
struct TableLayout {
    int channels = 0;
    int w = 0, perRow = 0, colW = 0;
    int rowsPerPage = 0;
};
TableLayout TableLayoutOf(int enabledChannels);
// Data pages for `rows` table rows (at least one row per page).
int32_t DataPageCount(const TableLayout& layout, int32_t rows);

PdfResult ExportPdf(const RecordSet& set, const std::string& path, const PdfOptions& options);

// The drawing of one report on a canvas.
class PdfReport {
public:
    PdfReport(ReportCanvas& canvas, const RecordSet& set, const PdfOptions& options);

    // Every page: the first page, then the data pages, unless the progress callback cancels.
    // Returns the number of pages of the report.
    int Draw();
    bool Cancelled() const { return cancelled_; }
    // Parts of the first page.
    void DrawFirstPageFrame();
    void DrawFirstPageLabels();
    void DrawFirstPageValues();  // the statistics of the range and AlarmStatistics
    void DrawCurve();
    void DrawDataPages();
    void DrawPageHeader();
    void DrawFooter(int page, int total);

    const ReportRange& Range() const { return range_; }
    int32_t TableRows() const { return tableRows_; }
    const TableLayout& Layout() const { return layout_; }
    int TotalPages() const { return 1 + static_cast<int>(DataPageCount(layout_, tableRows_)); }
    bool LogoPlaced() const { return logoPlaced_; }

private:
    void DashedLine(double x1, double y1, double x2, double y2);
    // A black line from (x1, y) to (x2, y), stroked; then texts of `fontSize` in black follow.
    void RuleThenText(double x1, double x2, double y, double fontSize);
    void Text(double x, double y, const std::string& gbk) { canvas_.ShowText(x, y, gbk); }
    // A text that must end before x + width (where the next text of its line starts).
    void TextIn(double x, double y, double width, const std::string& gbk) { canvas_.ShowTextIn(x, y, gbk, width); }
    void DrawAlarmTable(const AlarmStats& alarms);
    void AppendCell(std::string& out, int slot, float v, Rgb& color) const;

    ReportCanvas& canvas_;
    const RecordSet& set_;
    const PdfOptions& options_;
    const ReportTexts& texts_;
    ReportRange range_;
    int32_t tableRows_ = 0;
    std::vector<int> channels_;  // enabled channels, 0-based, in order: slot s is channels_[s − 1]
    // The range's figures of each enabled channel, computed once when the report is made.
    ChannelStatistics stats_[kRecordSetChannels];
    TableLayout layout_;
    bool logoPlaced_ = false;
    bool cancelled_ = false;
    // Ends the page `page` of `total` and asks the progress callback whether to go on.
    bool PageDone(int page, int total);
};

}  // namespace velorin
