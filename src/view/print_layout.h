// The two printouts of a data set — the curve page and the data list — laid out in printer
// device units over a small drawing interface, so that the positions are computed (and tested)
// without a printer. The GUI draws them with QPainter on a QPrinter (view/print_job.h).
//
// Printed texts are Chinese in both interface languages (GBK bytes). A position (x, y) of
// `Text` is the top-left corner of the text, as printers place text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velorin {

struct RecordSet;

enum class PrintFont {
    Default,  // the printer's default font (curve page)
    ListA,    // Song style, height PW ÷ 80, character width PW ÷ 120
    ListB,    // Times New Roman, height PW ÷ 100, character width PW ÷ 140
};

// What the layouts draw. Pages: the first BeginPage starts the job's first page; later ones
// end the page before. The caller ends the last page when it ends the job.
class PrintSurface {
public:
    virtual ~PrintSurface() = default;
    // False when the printer refused the page.
    virtual bool BeginPage() = 0;
    virtual void SetFont(PrintFont font) = 0;
    virtual void Text(int x, int y, const std::string& gbk) = 0;
    // One line centred horizontally and vertically in the cell.
    virtual void CellText(int left, int top, int right, int bottom, const std::string& gbk) = 0;
    // A black solid rectangle outline with a pen `penWidth` units wide.
    virtual void Frame(int left, int top, int right, int bottom, int penWidth) = 0;
    // The curve plot stretched into the rectangle.
    virtual void Plot(int left, int top, int width, int height) = 0;
};

// The summary block: user name and title; count, interval and record mode; start time; end
// time; then one statistics line per enabled channel. With no records the two times are empty.
std::vector<std::string> PrintSummaryLines(const RecordSet& set);

// The record indices a list print of serial numbers F … T covers (serials count from 1; below
// 1 counts as 1; T is cut to the record count). `empty` when no record lies in the range.
struct PrintRange {
    int first = 0, last = -1;
    bool empty() const { return last < first; }
};
PrintRange ListPrintRange(const RecordSet& set, int firstSerial, int lastSerial);
// A range the user may print: F < T.
inline bool ListRangeAccepted(int firstSerial, int lastSerial) { return firstSerial < lastSerial; }

// The curve page for the records firstIndex … endIndex − 1 on a page PW × PH units: begins
// its page and draws it; false only when the printer refused the page.
bool DrawCurvePage(PrintSurface& surface, const RecordSet& set, int firstIndex, int endIndex, int pageWidth,
                   int pageHeight);

enum class ListPrintOutcome {
    Drawn,          // pages begun and drawn; the caller ends the last one
    NothingToDraw,  // no record in the range: no page begun, counts as success
    NoChannel,      // no enabled channel: nothing drawn, counts as a failure
    PageRefused,    // the printer refused a new page
};

// The data list of serial numbers F … T. `channelType`: the ChannelType byte of each channel
// in the DeviceInfo read last (a high nibble of 2 prints two decimals, anything else one).
ListPrintOutcome DrawDataList(PrintSurface& surface, const RecordSet& set, const uint8_t (&channelType)[8],
                              int firstSerial, int lastSerial, int pageWidth, int pageHeight);

// The texts of printing: Chinese in both interface languages (UTF-8), except the abort message,
// which exists in English only.
struct PrintTexts {
    std::string curveJobName, listJobName;  // "Print 设备曲线!", "Print 设备数据!"
    std::string finished;                   // "打印完毕"
    std::string badRange;                   // "您要打印的数据范围不正确!"
    std::string aborted;                    // "Encountered Error While Printing\nPrint Job Aborted"
    // Summary block and list heads.
    std::string userName, title, recordCount, interval, recordMode, startTime, endTime;
    std::string channelFormat;  // "通道%d"
    std::string max, min, avg, channelType;
    std::string serial, date, time;
};
const PrintTexts& PrintTextsOf();

}  // namespace velorin
