#include "view/print_layout.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "common/text_codec.h"
#include "history/record_set.h"
#include "report/export_format.h"
#include "view/data_list.h"

namespace velorin {
namespace {

PrintTexts MakePrintTexts() {
    PrintTexts t;
    t.curveJobName = "Print 设备曲线!";
    t.listJobName = "Print 设备数据!";
    t.finished = "打印完毕";
    t.badRange = "您要打印的数据范围不正确!";
    t.aborted = "Encountered Error While Printing\nPrint Job Aborted";
    t.userName = "用户名:";
    t.title = "    标题：";
    t.recordCount = "记录次数:";
    t.interval = "  记录间隔:";
    t.recordMode = "  记录模式:";
    t.startTime = "开始时间:";
    t.endTime = "结束时间:";
    t.channelFormat = "通道%d";
    t.max = "  最大值:";
    t.min = "  最小值:";
    t.avg = "  平均值:";
    t.channelType = "  通道类型:";
    t.serial = "序号";
    t.date = "日期";
    t.time = "时间";
    return t;
}

std::string RecordTimeText(const SampleRecord& r) {
    std::string text;
    AppendRecordTime(text, r);
    return text;
}

// What is printed is GBK, like the data file's texts printed beside the labels.
std::string ChannelName(int channel) { return Utf8ToGbk(FormatC(PrintTextsOf().channelFormat.c_str(), channel + 1)); }

// The data list's column heads; `withUnits` on the first page only.
void DrawHeads(PrintSurface& surface, const RecordSet& set, const std::vector<int>& channels, int x0, int c, int top,
               int bottom, bool withUnits) {
    const PrintTexts& t = PrintTextsOf();
    surface.CellText(0, top, x0, bottom, Utf8ToGbk(t.serial));
    surface.CellText(x0, top, x0 + c, bottom, Utf8ToGbk(t.date));
    surface.CellText(x0 + c, top, x0 + 2 * c, bottom, Utf8ToGbk(t.time));
    int left = x0 + 2 * c;
    for (int channel : channels) {
        std::string head = ChannelName(channel);
        if (withUnits) head += "(" + UnitTextOf(set, channel) + ")  ";
        surface.CellText(left, top, left + c, bottom, head);
        left += c;
    }
}

void DrawRow(PrintSurface& surface, const RecordSet& set, const std::vector<int>& channels,
             const uint8_t (&channelType)[8], int index, int x0, int c, int top, int bottom) {
    const SampleRecord& r = set.records[static_cast<size_t>(index)];
    surface.CellText(0, top, x0, bottom, FormatC("%d", index + 1));
    surface.CellText(x0, top, x0 + c, bottom, FormatC("%d-%.2d-%.2d", r.year + 2000, r.month, r.day));
    surface.CellText(x0 + c, top, x0 + 2 * c, bottom, FormatC("%d:%.2d:%.2d", r.hour, r.minute, r.second));
    int left = x0 + 2 * c;
    for (int channel : channels) {
        // A missing sample reads as the data list shows it: its marker printed as a number
        // (0.0 for the 4-byte one) would pass for a measurement.
        surface.CellText(left, top, left + c, bottom,
                         ListValueText(r.value[channel], (channelType[channel] >> 4) == 2));
        left += c;
    }
}

}  // namespace

const PrintTexts& PrintTextsOf() {
    static const PrintTexts texts = MakePrintTexts();
    return texts;
}

std::vector<std::string> PrintSummaryLines(const RecordSet& set) {
    const PrintTexts& t = PrintTextsOf();
    auto g = [](const std::string& utf8) { return Utf8ToGbk(utf8); };
    const int32_t count = UsableRecordCount(set);
    std::vector<std::string> lines;
    lines.push_back(g(t.userName) + ReadField(set.userName) + g(t.title) + ReadField(set.title));
    lines.push_back(g(t.recordCount) + FormatC("%d", set.recordCount) + g(t.interval) +
                    FormatC("%02d:%02d:%02d", set.intervalHours, set.intervalMinutes, set.intervalSecondsPart) +
                    g(t.recordMode) + ReadField(set.recordModeText));
    // A set without records has no first or last time to print.
    lines.push_back(g(t.startTime) + (count > 0 ? RecordTimeText(set.records.front()) : std::string()));
    lines.push_back(g(t.endTime) +
                    (count > 0 ? RecordTimeText(set.records[static_cast<size_t>(count - 1)]) : std::string()));
    for (int channel : EnabledChannels(set)) {
        std::string line = ChannelName(channel) + g(t.max);
        AppendFixed(line, set.maxValue[channel], 1);
        line += g(t.min);
        AppendFixed(line, set.minValue[channel], 1);
        line += g(t.avg);
        AppendFixed(line, set.avgValue[channel], 2);
        line += g(t.channelType) + QuantityTextOf(set, channel);
        lines.push_back(line);
    }
    return lines;
}

PrintRange ListPrintRange(const RecordSet& set, int firstSerial, int lastSerial) {
    PrintRange range;
    range.first = std::max(firstSerial, 1) - 1;
    range.last = std::min(lastSerial, UsableRecordCount(set)) - 1;
    return range;
}

bool DrawCurvePage(PrintSurface& surface, const RecordSet& set, int firstIndex, int endIndex, int pageWidth,
                   int pageHeight) {
    if (!surface.BeginPage()) return false;
    const int pw = pageWidth, ph = pageHeight;
    const double h = ph / 50.0;
    const int x = static_cast<int>(std::trunc(pw / 8.0 - 100));

    surface.SetFont(PrintFont::Default);
    // Each line lies h below the one before, its position cut to whole units.
    int y = static_cast<int>(std::trunc(2 * h));
    int lastLine = y;
    for (const std::string& line : PrintSummaryLines(set)) {
        surface.Text(x, y, line);
        lastLine = y;
        y = static_cast<int>(std::trunc(y + h));
    }

    const int top = static_cast<int>(std::trunc(lastLine + 2 * h));
    const int bottom = 6 * ph / 7;
    surface.Frame(pw / 8, top, 7 * pw / 8, bottom, 10);
    surface.Plot(pw / 8 + pw / 200, top + ph / 200, 3 * pw / 4 - pw / 100, bottom - top - ph / 100);

    // The first and the last shown record's date and time under the frame's corners.
    const int count = UsableRecordCount(set);
    const int first = std::clamp(firstIndex, 0, count);
    const int last = std::clamp(endIndex, 0, count) - 1;
    if (first > last) return true;
    const int y1 = bottom + 20;
    const int y2 = static_cast<int>(std::trunc(y1 + h));
    const std::string from = RecordTimeText(set.records[static_cast<size_t>(first)]);
    const std::string to = RecordTimeText(set.records[static_cast<size_t>(last)]);
    surface.Text(3 * pw / 32, y1, from.substr(0, 10));
    surface.Text(3 * pw / 32, y2, from.size() > 11 ? from.substr(11, 8) : std::string());
    surface.Text(27 * pw / 32, y1, to.substr(0, 10));
    surface.Text(27 * pw / 32, y2, to.size() > 11 ? to.substr(11, 8) : std::string());
    return true;
}

ListPrintOutcome DrawDataList(PrintSurface& surface, const RecordSet& set, const uint8_t (&channelType)[8],
                              int firstSerial, int lastSerial, int pageWidth, int pageHeight) {
    const PrintRange range = ListPrintRange(set, firstSerial, lastSerial);
    if (range.empty()) return ListPrintOutcome::NothingToDraw;
    const std::vector<int> channels = EnabledChannels(set);
    if (channels.empty()) return ListPrintOutcome::NoChannel;

    const int L = pageHeight / 105;
    const int c = pageWidth / (static_cast<int>(channels.size()) + 3);
    const int x0 = c / 3;

    if (!surface.BeginPage()) return ListPrintOutcome::PageRefused;
    surface.SetFont(PrintFont::ListA);
    int y = 2 * L;
    for (const std::string& line : PrintSummaryLines(set)) {
        surface.Text(100, y, line);
        y += L;
    }
    surface.Text(0, y, std::string(139, '-'));
    y += L;
    DrawHeads(surface, set, channels, x0, c, y, y + L, true);
    y += L + L / 2;

    surface.SetFont(PrintFont::ListB);
    for (int index = range.first; index <= range.last; ++index) {
        DrawRow(surface, set, channels, channelType, index, x0, c, y, y + L);
        y += L;
        if (y >= pageHeight - 2 * L && index < range.last) {
            if (!surface.BeginPage()) return ListPrintOutcome::PageRefused;
            surface.SetFont(PrintFont::ListA);
            DrawHeads(surface, set, channels, x0, c, L, 2 * L, false);
            surface.SetFont(PrintFont::ListB);
            y = 2 * L + L / 2;
        }
    }
    return ListPrintOutcome::Drawn;
}

}  // namespace velorin
