// The report's setup, first page (frame, labels, values, statistics, alarm table) and footer.
// The curve and the data table pages are in pdf_report_pages.cpp.
#include "report/pdf_report.h"

#include <clocale>
#include <cstdio>
#include <ctime>
#include <locale.h>

#include "common/format.h"
#include "common/text_codec.h"
#include "report/export_format.h"
#include "report/pdf_document.h"
#include "report/report_texts.h"

namespace velorin {

namespace {

constexpr int kRowsPerBlock = 70;
constexpr int kTableWidth = 504;

// Numbers are formatted with printf under the "C" locale while a report is drawn, whatever
// LC_NUMERIC the GUI toolkit installed (uselocale switches only the calling thread).
class CLocaleScope {
public:
    CLocaleScope() {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
        previous_ = uselocale(c);
    }
    ~CLocaleScope() { uselocale(previous_); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t previous_;
};

bool HasErasedByte(const std::string& text) { return text.find('\xff') != std::string::npos; }

// A user name or title: empty when the logger's field was erased (a byte 255), otherwise at
// most its first 30 bytes.
std::string UserText(const std::string& field) {
    if (HasErasedByte(field)) return std::string();
    return field.substr(0, 30);
}

// The alarm table's columns start at 50, 150, 200, 300, 350, 450 and 520; a text of column i
// ends 2 points before the next column (the last one 10 points inside the page).
double ColumnWidth(int i) {
    static const double start[8] = {50, 150, 200, 300, 350, 450, 520, kPageWidth - 8};
    return start[i + 1] - start[i] - 2;
}

std::string TimeText(const RecordTime& t) {
    return FormatC("%02d/%02d/%02d %02d:%02d:%02d", t.month, t.day, t.year, t.hour, t.minute, t.second);
}

}  // namespace

ReportClock ReportClockNow() {
    ReportClock clock;
    const std::time_t now = std::time(nullptr);
    localtime_r(&now, &clock.local);
    clock.utcOffsetSeconds = clock.local.tm_gmtoff;
    return clock;
}

PdfOptions::PdfOptions() : clock(ReportClockNow()) {}

TableLayout TableLayoutOf(int enabledChannels) {
    TableLayout t;
    t.channels = enabledChannels < 0 ? 0 : (enabledChannels > 8 ? 8 : enabledChannels);
    t.w = 20 * t.channels + 64;
    t.perRow = kTableWidth / t.w;
    t.colW = t.w + (kTableWidth % t.w) / t.perRow;
    t.rowsPerPage = t.perRow * kRowsPerBlock;
    return t;
}

int32_t DataPageCount(const TableLayout& layout, int32_t rows) {
    if (rows <= 0 || layout.rowsPerPage <= 0) return 0;
    return (rows + layout.rowsPerPage - 1) / layout.rowsPerPage;
}

std::string PdfFailureMessage(const PdfResult& result) {
    // Formatted in UTF-8 (the text, the path, the system's reason), handed on as a GBK message.
    return Utf8ToGbk(FormatC(ReportFixed().createFailed.c_str(), result.path.c_str(), result.detail.c_str()));
}

std::string PdfWarningMessage(const PdfResult& result, PdfWarning warning, Language language) {
    const ReportTexts& t = ReportTextsFor(language);
    if (warning == PdfWarning::LogoMissing) return Utf8ToGbk(FormatC(t.logoMissing.c_str(), result.logoPath.c_str()));
    return Utf8ToGbk(FormatC(t.cjkFontMissing.c_str(), result.fontUsed.c_str()));
}

PdfReport::PdfReport(ReportCanvas& canvas, const RecordSet& set, const PdfOptions& options)
    : canvas_(canvas), set_(set), options_(options), texts_(ReportTextsFor(options.display.language)) {
    range_ = RangeOf(set, options.firstIndex, options.endIndex);
    // The table alone counts a whole-set range by the records the logger reported holding (when
    // it named a number), limited like the rest by the capacity and by the records that exist.
    int64_t rows = static_cast<int64_t>(options.endIndex) - options.firstIndex;
    if (rows <= 0) rows = set.deviceRecordCount > 0 ? set.deviceRecordCount : set.recordCount;
    if (set.storageCapacity > 0 && rows > set.storageCapacity) rows = set.storageCapacity;
    const int32_t available = UsableRecordCount(set) - range_.first;
    if (rows > available) rows = available;
    tableRows_ = rows < 0 ? 0 : static_cast<int32_t>(rows);
    channels_ = EnabledChannels(set);
    layout_ = TableLayoutOf(static_cast<int>(channels_.size()));
    for (int c : channels_) stats_[c] = ReportStatistics(set, range_, c);
}

int PdfReport::Draw() {
    CLocaleScope cLocale;
    const int total = TotalPages();
    canvas_.BeginPage();
    DrawFirstPageFrame();
    DrawFirstPageLabels();
    DrawFirstPageValues();
    DrawCurve();
    DrawFooter(1, total);
    if (PageDone(1, total)) DrawDataPages();
    return total;
}

bool PdfReport::PageDone(int page, int total) {
    canvas_.EndPage();
    if (options_.progress && !options_.progress(page, total)) cancelled_ = true;
    return !cancelled_;
}

void PdfReport::DashedLine(double x1, double y1, double x2, double y2) {
    // Segments of 2 points with gaps of 2 points from the start point on.
    const double dx = x2 - x1, dy = y2 - y1;
    const double length = dx != 0 ? (dx < 0 ? -dx : dx) : (dy < 0 ? -dy : dy);
    if (length <= 0) return;
    const double ux = dx / length, uy = dy / length;
    for (double s = 0; s < length; s += 4) {
        canvas_.MoveTo(x1 + ux * s, y1 + uy * s);
        canvas_.LineTo(x1 + ux * (s + 2), y1 + uy * (s + 2));
    }
}

void PdfReport::DrawFirstPageFrame() {
    canvas_.SetColor(ColorTarget::Stroke, kBlack);
    const double lines[4][4] = {{50, 702, 280, 702}, {350, 702, 550, 702}, {50, 652, 550, 652}, {50, 602, 550, 602}};
    for (const auto& l : lines) {
        canvas_.MoveTo(l[0], l[1]);
        canvas_.LineTo(l[2], l[3]);
    }
    DashedLine(50, 592, 550, 592);
    canvas_.Rect(75, 80, 450, 350);
    for (int i = 0; i < 9; ++i) DashedLine(75, 110 + 35 * i, 525, 110 + 35 * i);
    for (int i = 0; i < 8; ++i) DashedLine(125 + 50 * i, 80, 125 + 50 * i, 430);
    canvas_.Stroke();
}

void PdfReport::DrawFirstPageLabels() {
    const ReportTexts& t = texts_;
    // The canvas takes GBK, in which the data file's texts beside the labels come.
    auto g = [](const std::string& utf8) { return Utf8ToGbk(utf8); };
    canvas_.SetColor(ColorTarget::Fill, kBlack);
    canvas_.SetFontSize(24);
    TextIn(50, 752, 298, g(t.heading));

    // The logger's clock was set from this computer's local time, so the note names its offset.
    const long offset = options_.clock.utcOffsetSeconds;
    const long magnitude = offset < 0 ? -offset : offset;
    const std::string utc =
        FormatC("UTC%c%02ld:%02ld", offset < 0 ? '-' : '+', magnitude / 3600 % 100, magnitude / 60 % 60);
    canvas_.SetFontSize(8);
    canvas_.SetColor(ColorTarget::Fill, kRed);
    TextIn(50, 742, 298, g(t.noteBefore + utc + t.noteAfter));
    canvas_.SetColor(ColorTarget::Fill, kBlack);

    if (!options_.logoPath.empty()) logoPlaced_ = canvas_.PlaceImage(options_.logoPath, 350, 742, 0.5);

    canvas_.SetFontSize(12);
    TextIn(50, 707, 298, g(t.configInform));
    TextIn(350, 707, 200, g(t.deviceInform));
    TextIn(50, 657, 500, g(t.logInform));
    TextIn(50, 607, 500, g(t.alarmInform));

    canvas_.SetFontSize(6);
    const double columnX[7] = {50, 150, 200, 300, 350, 450, 520};
    for (int i = 0; i < 7; ++i) TextIn(columnX[i], 594, ColumnWidth(i), g(t.alarmColumns[i]));
    // Each label ends before its value (2 points of space).
    TextIn(50, 796, 38, g(t.serialNumber));
    TextIn(50, 782, 38, g(t.reportCreation));
    TextIn(52, 695, 28, g(t.userName));
    TextIn(52, 687, 28, g(t.title));
    TextIn(52, 679, 28, g(t.startMode));
    TextIn(200, 679, 28, g(t.stopMode));
    TextIn(52, 671, 28, g(t.interval));
    TextIn(200, 671, 28, g(t.startChannel));
    TextIn(352, 695, 28, g(t.model));
    TextIn(440, 695, 28, g(t.hardVersion));
    TextIn(352, 687, 28, g(t.capacity));
    TextIn(52, 645, 18, g(t.max));
    TextIn(52, 637, 18, g(t.min));
    TextIn(52, 629, 18, g(t.avg));
    TextIn(52, 621, 18, "MKT:");
    TextIn(352, 629, 28, g(t.startTime));

    canvas_.SetFontSize(12);
    TextIn(270, 436, 255, g(t.dataCurve));
}

void PdfReport::DrawFirstPageValues() {
    const RecordSet& s = set_;
    canvas_.SetFontSize(6);
    canvas_.SetColor(ColorTarget::Fill, kBlack);
    TextIn(90, 796, 458, ReadField(s.serialNumber));
    char now[64];
    std::strftime(now, sizeof now, "%m/%d/%y %H:%M:%S", &options_.clock.local);
    TextIn(90, 782, 458, now);
    TextIn(82, 695, 268, UserText(ReadField(s.userName)));
    TextIn(82, 687, 268, UserText(ReadField(s.title)));
    TextIn(82, 679, 116, ReadField(s.startModeText));
    TextIn(230, 679, 120, ReadField(s.stopModeText));
    const int32_t interval = s.intervalSeconds;
    TextIn(82, 671, 116, FormatC("%02dH:%02dM:%02dS", interval / 3600, interval / 60 % 60, interval % 60));

    // Each channel's own unit, whole (a unit cut to two bytes reads "%R" or splits a character).
    std::string limits;
    for (int c : channels_) {
        limits += FormatC("%d:%0.1f/%0.1f%2s,", c + 1, s.upperAlarmX10[c] / 10.0, s.lowerAlarmX10[c] / 10.0,
                          UnitTextOf(s, c).c_str());
    }
    TextIn(230, 671, 320, limits);
    TextIn(382, 695, 56, ReadField(s.model));
    TextIn(470, 695, 80, FormatC("V%.1f", s.firmwareVersion / 10.0));
    int64_t shownLength = static_cast<int64_t>(options_.endIndex) - options_.firstIndex;
    if (shownLength <= 0) shownLength = s.deviceRecordCount;
    static const std::string recorded = Utf8ToGbk(" / 已记录:");
    TextIn(382, 687, 168,
           FormatC("%d", s.storageCapacity) + recorded + FormatC("%lld", static_cast<long long>(shownLength)));

    // A channel without a valid value in the range has no maximum, minimum, average or MKT.
    static const std::string notAvailable = "N/A ,";
    std::string maxList, minList, avgList, mktList;
    for (int c : channels_) {
        if (!stats_[c].valid) {
            maxList += notAvailable;
            minList += notAvailable;
            avgList += notAvailable;
            mktList += notAvailable;
            continue;
        }
        maxList += FormatC("%0.1f@", stats_[c].max) + TimeText(stats_[c].maxTime) + " ,";
        minList += FormatC("%0.1f@", stats_[c].min) + TimeText(stats_[c].minTime) + " ,";
        avgList += FormatC("%0.2f ,", stats_[c].avg);
        mktList += IsTemperatureQuantity(QuantityTextOf(s, c)) ? FormatC("%0.2f ,", stats_[c].mkt) : " NA ,";
    }
    TextIn(72, 645, 478, maxList);
    TextIn(72, 637, 478, minList);
    TextIn(72, 629, 278, avgList);
    TextIn(72, 621, 478, mktList);
    if (range_.length > 0) {
        const SampleRecord& r = s.records[static_cast<size_t>(range_.first)];
        TextIn(382, 629, 168,
               FormatC("20%.2d-%.2d-%.2d %.2d:%.2d:%.2d", r.year, r.month, r.day, r.hour, r.minute, r.second));
    }
    DrawAlarmTable(AlarmStatistics(s, range_));
}

void PdfReport::DrawAlarmTable(const AlarmStats& a) {
    const RecordSet& s = set_;
    canvas_.SetFontSize(6);
    auto duration = [](int64_t d) {
        return FormatC("%lldDay:%02lldH:%02lldM:%02lldS", static_cast<long long>(d / 86400),
                       static_cast<long long>(d % 86400 / 3600), static_cast<long long>(d % 3600 / 60),
                       static_cast<long long>(d % 60));
    };
    for (int c : channels_) {
        // Rows belong to channel numbers, so a disabled channel leaves its rows empty.
        const double y1 = 586 - 16 * c;
        const double y2 = y1 - 8;
        TextIn(50, y1, ColumnWidth(0), FormatC("%d:Upper limit>%0.1f", c + 1, s.upperAlarmX10[c] / 10.0));
        TextIn(50, y2, ColumnWidth(0), FormatC("%d:Lower limit<%0.1f", c + 1, s.lowerAlarmX10[c] / 10.0));
        TextIn(150, y1, ColumnWidth(1), "0 Min");
        TextIn(150, y2, ColumnWidth(1), "0 Min");
        TextIn(200, y1, ColumnWidth(2), duration(a.upperSeconds[c]));
        TextIn(200, y2, ColumnWidth(2), duration(a.lowerSeconds[c]));
        TextIn(300, y1, ColumnWidth(3), FormatC("%d", a.upperCount[c]));
        TextIn(300, y2, ColumnWidth(3), FormatC("%d", a.lowerCount[c]));
        TextIn(350, y1, ColumnWidth(4), TimeText(a.upperFirst[c]) + " ,");
        TextIn(350, y2, ColumnWidth(4), TimeText(a.lowerFirst[c]) + " ,");
        TextIn(450, y1, ColumnWidth(5), a.upperFlag[c] ? Utf8ToGbk(texts_.upperAlarm) : "N/A");
        TextIn(450, y2, ColumnWidth(5), a.lowerFlag[c] ? Utf8ToGbk(texts_.lowerAlarm) : "N/A");
        const std::string continuous = Utf8ToGbk(texts_.continuousAlarm);
        TextIn(520, y1, ColumnWidth(6), continuous);
        TextIn(520, y2, ColumnWidth(6), continuous);
    }
}

void PdfReport::RuleThenText(double x1, double x2, double y, double fontSize) {
    canvas_.SetColor(ColorTarget::Stroke, kBlack);
    canvas_.MoveTo(x1, y);
    canvas_.LineTo(x2, y);
    canvas_.Stroke();
    canvas_.SetFontSize(fontSize);
    canvas_.SetColor(ColorTarget::Fill, kBlack);
}

void PdfReport::DrawFooter(int page, int total) {
    RuleThenText(40, 560, 30, 10);
    TextIn(40, 20, 208, Utf8ToGbk(texts_.companyName));
    TextIn(250, 20, 268, Utf8ToGbk(ReportFixed().webAddress));
    TextIn(520, 20, 60, FormatC("Page %d/%d", page, total));
}

PdfResult ExportPdf(const RecordSet& set, const std::string& path, const PdfOptions& options) {
    return WritePdfDocument(path, ReportDocumentInfo(), options.logoPath, [&set, &options](ReportCanvas& canvas) {
        PdfReport report(canvas, set, options);
        PdfDrawing drawing;
        drawing.pages = report.Draw();
        drawing.cancelled = report.Cancelled();
        drawing.logoPlaced = report.LogoPlaced();
        return drawing;
    });
}

}  // namespace velorin
