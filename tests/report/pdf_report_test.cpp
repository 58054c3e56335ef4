// What the PDF report draws, asserted on the canvas calls: page count, first-page texts and
// values in both languages, alarm table rows, the curve's labels, scale, gaps and alarm lines,
// and the data table's headings, cells and colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "common/language.h"
#include "history/kv_file.h"
#include "report/report_test_data.h"

namespace velorin::test {
namespace {

bool IsAscii(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char ch) { return static_cast<unsigned char>(ch) < 0x80; });
}

int CountTextsAtY(const RecordingCanvas& canvas, int page, double y) {
    int n = 0;
    for (const CanvasCall& c : canvas.Texts(page)) n += c.y == y ? 1 : 0;
    return n;
}

TEST(PdfReportPages, TableLayoutAndPageCount) {
    const TableLayout eight = TableLayoutOf(8);
    EXPECT_EQ(eight.w, 224);
    EXPECT_EQ(eight.perRow, 2);
    EXPECT_EQ(eight.colW, 252);
    EXPECT_EQ(eight.rowsPerPage, 140);
    const TableLayout two = TableLayoutOf(2);  // w 104: four blocks, widened by 88 div 4
    EXPECT_EQ(two.perRow, 4);
    EXPECT_EQ(two.colW, 126);
    EXPECT_EQ(DataPageCount(eight, 0), 0);
    EXPECT_EQ(DataPageCount(eight, 140), 1);
    EXPECT_EQ(DataPageCount(eight, 141), 2);

    RecordSet set = ReportSet(281, {1, 2, 3, 4, 5, 6, 7, 8});
    RecordingCanvas canvas = DrawReport(set, ReportOptions(Language::English));
    EXPECT_EQ(canvas.Pages(), 4);
    EXPECT_EQ(TextAt(canvas, 1, 520, 20), "Page 1/4");
    EXPECT_EQ(TextAt(canvas, 4, 520, 20), "Page 4/4");
    // The last page holds the one remaining record in the first row of block 0.
    EXPECT_EQ(CountTextsAtY(canvas, 4, 730), 8);  // time + slot 1, then slots 2..8
    EXPECT_EQ(CountTextsAtY(canvas, 4, 720), 0);
}

TEST(PdfReportPages, EmptyRangeHasOnlyTheFirstPageAndNoCurve) {
    RecordSet set = ReportSet(0, {1});
    RecordingCanvas canvas = DrawReport(set, ReportOptions(Language::English));
    EXPECT_EQ(canvas.Pages(), 1);
    EXPECT_EQ(CountTextsAtY(canvas, 1, 70), 0);  // no time labels
    for (const auto& s : canvas.Segments(1)) {
        EXPECT_FALSE(s.color == (Rgb{0.1, 0.1, 0.1}) && s.y1 != 55 && s.x1 >= 75) << s.x1 << "," << s.y1;
    }
    // Without a valid value there is no maximum, minimum, average or MKT to show.
    EXPECT_EQ(TextAt(canvas, 1, 72, 645), "N/A ,");
    EXPECT_EQ(TextAt(canvas, 1, 72, 621), "N/A ,");
    EXPECT_EQ(TextAt(canvas, 1, 382, 629), "<none>");
}

TEST(PdfReportFirstPage, EnglishLabelsExceptMktAndRecorded) {
    RecordSet set = ReportSet(5, {1, 2});
    RecordingCanvas canvas = DrawReport(set, ReportOptions(Language::English));
    int chinese = 0;
    for (const CanvasCall& c : canvas.Texts(1)) {
        if (IsAscii(c.text)) continue;
        ++chinese;
        EXPECT_NE(c.text.find(G("已记录")), std::string::npos) << GbkToUtf8(c.text);
    }
    EXPECT_EQ(chinese, 1);
    EXPECT_EQ(TextAt(canvas, 1, 50, 752), "DataLogger PDF Report");
    EXPECT_EQ(TextAt(canvas, 1, 52, 621), "MKT:");
    EXPECT_EQ(TextAt(canvas, 1, 200, 679), "Stop mode");
    EXPECT_EQ(TextAt(canvas, 1, 382, 687), "32000" + G(" / 已记录:") + "5");

    RecordingCanvas zh = DrawReport(set, ReportOptions(Language::Chinese));
    EXPECT_EQ(TextAt(zh, 1, 50, 752), G("数据记录仪PDF报告"));
    EXPECT_EQ(TextAt(zh, 1, 52, 621), "MKT:");
    EXPECT_EQ(TextAt(zh, 1, 50, 796), G("序\t  列\t  号:"));
    EXPECT_EQ(TextAt(zh, 1, 270, 436), G("数据曲线图"));
    EXPECT_EQ(TextAt(zh, 1, 450, 586), "N/A");
    EXPECT_EQ(TextAt(zh, 1, 520, 586), G("持续报警"));
    EXPECT_EQ(TextAt(zh, 1, 40, 20), G("维洛林仪器有限公司"));
}

TEST(PdfReportFirstPage, NoteNamesTheComputersUtcOffsetInRed) {
    RecordSet set = ReportSet(1, {1});
    PdfOptions o = ReportOptions(Language::English);
    RecordingCanvas east = DrawReport(set, o);
    const CanvasCall* note = east.TextAt(1, 50, 742);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text, "Note: All data are based on UTC+01:00 24-hour system [MM/dd/yy hh/mm/ss]");
    EXPECT_TRUE(note->color == kRed);
    EXPECT_EQ(note->fontSize, 8);
    o.clock.utcOffsetSeconds = -(5 * 3600 + 30 * 60);
    o.display.language = Language::Chinese;
    EXPECT_EQ(TextAt(DrawReport(set, o), 1, 50, 742), G("注:所有数据基于UTC-05:30 24小时制[月/日/年 时/分/秒]"));
}

TEST(PdfReportFirstPage, ValuesStatisticsAndMkt) {
    RecordSet set = ReportSet(3, {1, 2});
    set.records[0].value[0] = 22.5f;
    set.records[1].value[0] = 20.25f;
    set.records[2].value[0] = kMissingValue2Byte;
    SetQuantityText(set, 0, G("温度"));
    SetQuantityText(set, 1, "Temp");  // not exactly "TEMP": no MKT
    SetUnitText(set, 1, "%RH");
    set.intervalSeconds = 3 * 3600 + 25 * 60 + 7;
    set.firmwareVersion = 12;
    std::string erased = "AB";
    erased += '\xff';
    StoreInField(set.title, erased);
    RecordingCanvas canvas = DrawReport(set, ReportOptions(Language::English));
    EXPECT_EQ(TextAt(canvas, 1, 90, 796), "A1234567");
    EXPECT_EQ(TextAt(canvas, 1, 90, 782), "03/04/26 05:06:07");
    EXPECT_EQ(TextAt(canvas, 1, 82, 695), "Lab 3");
    EXPECT_EQ(TextAt(canvas, 1, 82, 687), "");  // an erased logger field
    EXPECT_EQ(TextAt(canvas, 1, 82, 671), "03H:25M:07S");
    // The whole unit of each channel ("%RH", not its first two bytes).
    EXPECT_EQ(TextAt(canvas, 1, 230, 671), "1:30.0/10.0 C,2:30.0/10.0%RH,");
    EXPECT_EQ(TextAt(canvas, 1, 470, 695), "V1.2");
    EXPECT_EQ(TextAt(canvas, 1, 72, 645), "22.5@03/09/25 07:05:00 ,22.0@03/09/25 07:05:00 ,");
    EXPECT_EQ(TextAt(canvas, 1, 72, 637), "20.2@03/09/25 07:06:00 ,22.0@03/09/25 07:05:00 ,");
    EXPECT_EQ(TextAt(canvas, 1, 72, 629), "21.38 ,22.00 ,");
    const std::string mkt = TextAt(canvas, 1, 72, 621);
    EXPECT_EQ(mkt.substr(mkt.size() - 5), " NA ,");
    EXPECT_EQ(mkt.substr(0, 3), "21.");
    EXPECT_EQ(TextAt(canvas, 1, 382, 629), "2025-03-09 07:05:00");
}

TEST(PdfReportFirstPage, MissingFourByteSamplesAreNoFiguresNoAlarmsAndErrInTheTable) {
    RecordSet set = ReportSet(3, {1});
    set.records[0].value[0] = kMissingValue4Byte;  // 0.0001 lies below the lower limit 10.0
    set.records[1].value[0] = 25.0f;
    set.records[2].value[0] = kMissingValue2Byte;
    SetQuantityText(set, 0, "TEMP");
    const std::string before = SerializeKv(set);
    RecordingCanvas canvas = DrawReport(set, ReportOptions(Language::English));
    EXPECT_EQ(TextAt(canvas, 1, 72, 645), "25.0@03/09/25 07:06:00 ,");
    EXPECT_EQ(TextAt(canvas, 1, 72, 637), "25.0@03/09/25 07:06:00 ,");
    EXPECT_EQ(TextAt(canvas, 1, 72, 629), "25.00 ,");
    EXPECT_EQ(TextAt(canvas, 1, 72, 621), "25.00 ,");
    // Neither marker is a lower-limit alarm.
    EXPECT_EQ(TextAt(canvas, 1, 300, 578), "0");
    EXPECT_EQ(TextAt(canvas, 1, 200, 578), "0Day:00H:00M:00S");
    EXPECT_EQ(TextAt(canvas, 1, 450, 578), "N/A");
    const CanvasCall* row0 = canvas.TextAt(2, 50, 730);
    ASSERT_NE(row0, nullptr);
    EXPECT_EQ(row0->text, "03/09/25 07:05:00  Err");
    // The report only read the data set.
    EXPECT_EQ(SerializeKv(set), before);
}

TEST(PdfReportFirstPage, AlarmRowsBelongToChannelNumbers) {
    RecordSet set = ReportSet(4, {1, 3});
    set.intervalSeconds = 90000;  // one day and one hour
    set.records[1].value[2] = 35.0f;
    set.records[3].value[2] = 36.0f;
    set.records[2].value[2] = 5.0f;
    RecordingCanvas canvas = DrawReport(set, ReportOptions(Language::English));
    EXPECT_EQ(TextAt(canvas, 1, 50, 586), "1:Upper limit>30.0");
    // Channel 2 is disabled: its rows (570, 562) stay empty and channel 3 keeps 554 / 546.
    EXPECT_EQ(CountTextsAtY(canvas, 1, 570), 0);
    EXPECT_EQ(CountTextsAtY(canvas, 1, 562), 0);
    EXPECT_EQ(TextAt(canvas, 1, 50, 554), "3:Upper limit>30.0");
    EXPECT_EQ(TextAt(canvas, 1, 50, 546), "3:Lower limit<10.0");
    EXPECT_EQ(TextAt(canvas, 1, 150, 554), "0 Min");
    EXPECT_EQ(TextAt(canvas, 1, 200, 554), "2Day:02H:00M:00S");
    EXPECT_EQ(TextAt(canvas, 1, 300, 554), "2");
    EXPECT_EQ(TextAt(canvas, 1, 350, 554), "03/09/25 07:06:00 ,");
    EXPECT_EQ(TextAt(canvas, 1, 450, 554), "Over limit alarm");
    EXPECT_EQ(TextAt(canvas, 1, 300, 546), "1");
    EXPECT_EQ(TextAt(canvas, 1, 450, 546), "Over lower limit alarm");
    EXPECT_EQ(TextAt(canvas, 1, 350, 586), "00/00/00 00:00:00 ,");
    EXPECT_EQ(TextAt(canvas, 1, 450, 586), "N/A");
}

TEST(PdfReportCurve, TimeLabelsAndTheOmittedLeftmostLabel) {
    RecordSet set = ReportSet(91, {1});
    RecordingCanvas whole = DrawReport(set, ReportOptions(Language::English));
    EXPECT_EQ(CountTextsAtY(whole, 1, 70), 9);
    EXPECT_EQ(TextAt(whole, 1, 65, 70), "<none>");
    EXPECT_EQ(TextAt(whole, 1, 115, 70), "03/09/25 ");
    EXPECT_EQ(TextAt(whole, 1, 115, 62), "07:15:00 ");  // record trunc(91 ÷ 9) = 10
    EXPECT_EQ(TextAt(whole, 1, 515, 62), "08:35:00 ");  // the last record, 90

    PdfOptions from5 = ReportOptions(Language::English);
    from5.firstIndex = 5;
    from5.endIndex = 50;
    RecordingCanvas part = DrawReport(set, from5);
    EXPECT_EQ(CountTextsAtY(part, 1, 70), 10);
    EXPECT_EQ(TextAt(part, 1, 65, 62), "07:10:00 ");
    EXPECT_EQ(TextAt(part, 1, 515, 62), "07:54:00 ");  // record 49
}

TEST(PdfReportCurve, ValueLabelsStayOnThePageWithManyChannels) {
    // One channel: "lo/" labels at 2 × (35 − length), as they always stood.
    RecordSet one = ReportSet(20, {1});
    RecordingCanvas a = DrawReport(one, ReportOptions(Language::English));
    const CanvasCall* label = a.TextAt(1, 2.0 * (35 - 6), 82);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text, "21.00/");
    EXPECT_EQ(label->w, 0);
    // Six channels: 36-byte labels would start at x = −2; they start at the margin and are
    // fitted to end before the tick at x = 70.
    RecordSet six = ReportSet(20, {1, 2, 3, 4, 5, 6});
    RecordingCanvas b = DrawReport(six, ReportOptions(Language::English));
    int labels = 0;
    for (const CanvasCall& c : b.Texts(1)) {
        if (c.x < 70 && c.y >= 80 && c.y <= 432 && c.text.find('/') != std::string::npos) {
            ++labels;
            EXPECT_GE(c.x, 0) << c.text;
            EXPECT_GT(c.w, 0) << c.text;
            EXPECT_LE(c.x + c.w, 70) << c.text;
        }
    }
    EXPECT_EQ(labels, 11);
}

// The curve segments of channel 1 (drawn in its colour), without the legend line at y 55.
std::vector<RecordingCanvas::Segment> CurveOfChannel1(const RecordingCanvas& canvas) {
    std::vector<RecordingCanvas::Segment> out;
    for (const auto& s : canvas.Segments(1)) {
        if (s.color == (Rgb{0.1, 0.1, 0.1}) && s.y1 != 55 && s.x1 >= 75) out.push_back(s);
    }
    return out;
}

TEST(PdfReportCurve, MissingValuesMoveThePenAndTheNextValueJoinsFromTheLastHeight) {
    RecordSet set = ReportSet(10, {1});
    for (SampleRecord& r : set.records) r.value[0] = 20.0f;
    set.records[0].value[0] = 15.0f;  // lo 15, hi 25: y = 80 + (v − 15) × 35
    set.records[9].value[0] = 25.0f;
    set.records[1].value[0] = kMissingValue2Byte;
    set.records[2].value[0] = kMissingValue2Byte;
    RecordingCanvas canvas = DrawReport(set, ReportOptions(Language::English));
    const auto curve = CurveOfChannel1(canvas);
    ASSERT_EQ(curve.size(), 8u);  // the first record's point, then records 3..9
    EXPECT_DOUBLE_EQ(curve[0].x1, 75);
    EXPECT_DOUBLE_EQ(curve[0].x2, 75);
    EXPECT_DOUBLE_EQ(curve[0].y1, 80);
    // Step 45: two missing values move the pen to 165; record 3 is joined from height 80.
    EXPECT_DOUBLE_EQ(curve[1].x1, 165);
    EXPECT_DOUBLE_EQ(curve[1].y1, 80);
    EXPECT_DOUBLE_EQ(curve[1].x2, 210);
    EXPECT_DOUBLE_EQ(curve[1].y2, 255);
    EXPECT_DOUBLE_EQ(curve[7].x2, 480);  // the first record takes x 75, so the last is one step short of 525
    EXPECT_DOUBLE_EQ(curve[7].y2, 430);
    // Value labels: lo + j × (hi − lo) ÷ 10 on the left, in the axis colour.
    EXPECT_EQ(TextAt(canvas, 1, 2 * (35 - 6), 82), "15.00/");
    EXPECT_EQ(TextAt(canvas, 1, 2 * (35 - 6), 432), "25.00/");
}

// A long data set keeps per 1/20 point only the first, lowest, highest and last point of the
// curve: far fewer segments, but the same extremes, the same ends and every gap.
TEST(PdfReportCurve, ALongCurveKeepsItsExtremesEndsAndGapsWithFarFewerPoints) {
    const int n = 200000;
    RecordSet set = ReportSet(n, {1});
    set.storageCapacity = n;
    set.deviceRecordCount = n;
    for (int i = 0; i < n; ++i) set.records[static_cast<size_t>(i)].value[0] = 20.0f + static_cast<float>(i % 7);
    set.records[123457].value[0] = 99.0f;               // one spike
    set.records[150001].value[0] = -50.0f;              // one dip
    set.records[100000].value[0] = kMissingValue2Byte;  // one gap
    set.maxValue[0] = 99.0f;
    set.minValue[0] = -50.0f;
    RecordingCanvas canvas = DrawReport(set, ReportOptions(Language::English));
    const auto curve = CurveOfChannel1(canvas);
    EXPECT_LT(curve.size(), 4u * 9001u + 10u) << "at most four points per 1/20 point";
    EXPECT_GT(curve.size(), 9000u);
    double top = 0, bottom = 1000, rightmost = 0;
    int gaps = 0;
    for (size_t k = 0; k < curve.size(); ++k) {
        top = std::max({top, curve[k].y1, curve[k].y2});
        bottom = std::min({bottom, curve[k].y1, curve[k].y2});
        rightmost = std::max(rightmost, curve[k].x2);
        if (k > 0 && curve[k].x1 != curve[k - 1].x2) ++gaps;
    }
    EXPECT_DOUBLE_EQ(top, 430) << "the spike is drawn";
    EXPECT_DOUBLE_EQ(bottom, 80) << "the dip is drawn";
    EXPECT_DOUBLE_EQ(curve.front().x1, 75);
    EXPECT_NEAR(rightmost, 75 + 450.0 / n * (n - 1), 1e-6) << "the last record is drawn";
    EXPECT_EQ(gaps, 1) << "the missing value still breaks the line";
}

TEST(PdfReportCurve, DamagedValuesAndStatisticsNeverGiveCoordinatesThatAreNotNumbers) {
    RecordSet set = ReportSet(5, {1, 2});
    set.records[1].value[0] = std::nanf("");
    set.records[3].value[0] = -HUGE_VALF;
    for (SampleRecord& r : set.records) r.value[1] = kMissingValue2Byte;  // channel 2: no valid value
    set.maxValue[1] = std::nanf("");                                      // and stored statistics of a damaged file
    set.minValue[1] = HUGE_VALF;
    RecordingCanvas canvas = DrawReport(set, ReportOptions(Language::English));
    for (const CanvasCall& c : canvas.Calls()) {
        ASSERT_TRUE(std::isfinite(c.x) && std::isfinite(c.y)) << "call kind " << c.kind << " on page " << c.page;
    }
    EXPECT_EQ(CurveOfChannel1(canvas).size(), 3u);  // records 0, 2 and 4
}

TEST(PdfReportCurve, AlarmLinesOnlyStrictlyInsideTheScale) {
    RecordSet set = ReportSet(3, {1});
    set.records[0].value[0] = 10.2f;
    set.records[1].value[0] = 29.6f;  // lo 10, hi 30
    set.upperAlarmX10[0] = 300;       // equal to hi: no line
    set.lowerAlarmX10[0] = 150;
    RecordingCanvas canvas = DrawReport(set, ReportOptions(Language::English));
    double redY = -1;
    int red = 0;
    for (const auto& s : canvas.Segments(1)) {
        if (s.color == kRed) {
            ++red;
            redY = s.y1;
        }
    }
    EXPECT_EQ(red, 113);  // one dashed line over 450 points: 2 on, 2 off
    EXPECT_DOUBLE_EQ(redY, 80 + 5.0 / 20 * 350);
    EXPECT_EQ(TextAt(canvas, 1, 527, redY), "1,15.0(Lo)");
    for (const CanvasCall& c : canvas.Texts(1)) EXPECT_EQ(c.text.find("(Hi)"), std::string::npos);
}

TEST(PdfReportTable, HeadingsShowEachEnabledChannelsOwnUnit) {
    RecordSet set = ReportSet(2, {1, 3, 4});
    SetUnitText(set, 0, "mV");
    SetUnitText(set, 2, "KPa");
    SetUnitText(set, 3, G("℃"));
    RecordingCanvas canvas = DrawReport(set, ReportOptions(Language::English));
    // Each heading stands over its own column: "DateTime" over the time, each unit one blank into
    // its slot, as the value under it (slot 1 follows the time and its two blanks, slot s at
    // 40 + 20 (s + 1) points); a third of the size (8) per byte.
    const double byte = 8.0 / 3.0;
    for (const double x : {50.0, 50.0 + TableLayoutOf(3).colW}) {
        EXPECT_EQ(TextAt(canvas, 2, x + 8 * byte, 746), "DateTime");
        EXPECT_EQ(TextAt(canvas, 2, x + 19 * byte + byte, 746), "mV");
        EXPECT_EQ(TextAt(canvas, 2, x + 80 + byte, 746), "KPa");
        EXPECT_EQ(TextAt(canvas, 2, x + 100 + byte, 746), G("℃"));
    }
    // The values stand under them: slot 2's cell starts at x + 80.
    EXPECT_EQ(TextAt(canvas, 2, 130, 730).substr(0, 3), "  2");
    EXPECT_EQ(TextAt(canvas, 2, 40, 800), "S/N:A1234567");
    EXPECT_EQ(TextAt(canvas, 2, 40, 778), "Report Creation Time:03/04/26 05:06:07");
    EXPECT_EQ(TextAt(canvas, 2, 520, 20), "Page 2/2");
}

TEST(PdfReportTable, SlotsAreTheEnabledChannelsWithTheirOwnValuesLimitsAndTypes) {
    RecordSet set = ReportSet(2, {1, 3});
    set.records[0].value[0] = 25.25f;  // one decimal of 25.26
    set.records[0].value[1] = 77.0f;   // disabled channel 2 must not show
    set.records[0].value[2] = 12.345f;
    set.upperAlarmX10[2] = 120;  // channel 3's own limit: 12.345 is above it
    set.records[1].value[0] = kMissingValue2Byte;
    set.records[1].value[2] = 5.0f;
    PdfOptions o = ReportOptions(Language::English);
    o.display.channelType[2] = 0x22;  // channel 3 in hundredths
    o.display.channelType[1] = 0x12;
    RecordingCanvas canvas = DrawReport(set, o);

    const CanvasCall* row0 = canvas.TextAt(2, 50, 730);
    ASSERT_NE(row0, nullptr);
    EXPECT_EQ(row0->text, "03/09/25 07:05:00   25.3 ");
    EXPECT_TRUE(row0->color == kBlack);
    const CanvasCall* slot2 = canvas.TextAt(2, 130, 730);
    ASSERT_NE(slot2, nullptr);
    EXPECT_EQ(slot2->text, "  12.35 " + G("↑"));  // 12.345f lies just above the tie
    EXPECT_TRUE(slot2->color == kRed);

    // A missing value reads "Err" in red, and the row's time takes the cell's colour.
    const CanvasCall* row1 = canvas.TextAt(2, 50, 720);
    ASSERT_NE(row1, nullptr);
    EXPECT_EQ(row1->text, "03/09/25 07:06:00  Err");
    EXPECT_TRUE(row1->color == kRed);
    const CanvasCall* low = canvas.TextAt(2, 130, 720);
    ASSERT_NE(low, nullptr);
    EXPECT_EQ(low->text, "  5.00 " + G("↓"));
    EXPECT_TRUE(low->color == kRed);
}

// The cells' digits must be printf's "%.1f" of v + 0.01 and "%.2f" of v, byte for byte, over
// ties, signs, negative zero and large values (the table formats them without printf).
TEST(PdfReportTable, CellDigitsAreExactlyPrintfs) {
    const float values[] = {0.0f,    -0.0f,  0.04f,    -0.04f,  -0.06f,   25.25f,   12.345f, 0.125f, 99.95f,
                            -99.95f, 1.005f, -273.15f, 3276.0f, 1234.56f, -3000.0f, 2.5e-5f, 36.65f, 0.95f};
    const int n = static_cast<int>(std::size(values));
    RecordSet set = ReportSet(n, {1, 2});
    for (int c = 0; c < 2; ++c) {
        set.upperAlarmX10[c] = 32767;  // no arrows: the digits alone
        set.lowerAlarmX10[c] = -32768;
    }
    for (int i = 0; i < n; ++i)
        set.records[static_cast<size_t>(i)].value[0] = set.records[static_cast<size_t>(i)].value[1] = values[i];
    PdfOptions o = ReportOptions(Language::English);
    o.display.channelType[1] = 0x22;  // channel 2 in hundredths
    RecordingCanvas canvas = DrawReport(set, o);
    for (int i = 0; i < n; ++i) {
        const double y = 730 - 10 * i;
        const CanvasCall* row = canvas.TextAt(2, 50, y);
        const CanvasCall* slot2 = canvas.TextAt(2, 130, y);
        ASSERT_NE(row, nullptr);
        ASSERT_NE(slot2, nullptr);
        char tenths[64], hundredths[64];
        std::snprintf(tenths, sizeof tenths, " %.1f ", static_cast<double>(values[i]) + 0.01);
        std::snprintf(hundredths, sizeof hundredths, "  %.2f ", static_cast<double>(values[i]));
        EXPECT_EQ(row->text.substr(19), tenths) << values[i];
        EXPECT_EQ(slot2->text, hundredths) << values[i];
    }
}

TEST(PdfReportTable, RowsFillBlocksTopToBottomAndStopAtTheRangeEnd) {
    RecordSet set = ReportSet(300, {1, 2});  // 280 rows a page in four blocks
    PdfOptions o = ReportOptions(Language::English);
    o.firstIndex = 10;
    o.endIndex = 295;
    RecordingCanvas canvas = DrawReport(set, o);
    ASSERT_EQ(canvas.Pages(), 3);
    const TableLayout t = TableLayoutOf(2);
    EXPECT_EQ(TextAt(canvas, 2, 50, 730).substr(9, 8), "07:15:00");              // record 10
    EXPECT_EQ(TextAt(canvas, 2, 50 + t.colW, 730).substr(9, 8), "08:25:00");     // record 80
    EXPECT_EQ(TextAt(canvas, 2, 50 + 3 * t.colW, 40).substr(9, 8), "11:54:00");  // record 289
    EXPECT_EQ(TextAt(canvas, 3, 50, 730).substr(9, 8), "11:55:00");              // record 290
    EXPECT_EQ(TextAt(canvas, 3, 50, 690).substr(9, 8), "11:59:00");              // record 294
    EXPECT_EQ(TextAt(canvas, 3, 50, 680), "<none>");
}

TEST(PdfReportFirstPage, LogoAtItsPlaceAndAReportWithoutIt) {
    RecordSet set = ReportSet(2, {1});
    PdfOptions o = ReportOptions(Language::English);
    o.logoPath = "/nowhere/logo.png";
    RecordingCanvas withLogo;
    PdfReport report(withLogo, set, o);
    report.Draw();
    bool placed = false;
    for (const CanvasCall& c : withLogo.Calls()) {
        if (c.kind == CanvasCall::Image) {
            placed = true;
            EXPECT_EQ(c.x, 350);
            EXPECT_EQ(c.y, 742);
            EXPECT_EQ(c.w, 0.5);
        }
    }
    EXPECT_TRUE(placed);
    RecordingCanvas missing(false);
    PdfReport without(missing, set, o);
    EXPECT_EQ(without.Draw(), 2);
    EXPECT_FALSE(without.LogoPlaced());
    EXPECT_EQ(TextAt(missing, 1, 50, 752), "DataLogger PDF Report");
}

}  // namespace
}  // namespace velorin::test
