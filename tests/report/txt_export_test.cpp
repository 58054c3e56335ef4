// The fixed-width TXT table: complete heads in both languages and the widths of its cells.
#include <gtest/gtest.h>

#include <string>

#include "common/language.h"
#include "history/record_set.h"
#include "report/export_test_data.h"
#include "report/text_export.h"
#include "support/temp_dir.h"

namespace velorin {
namespace {

using test::G;
using test::Line;

std::string Txt(const RecordSet& set, const ExportOptions& options = ExportOptions()) {
    test::TempDir dir;
    const ExportResult r = ExportTxt(set, dir.Path() + "/out.txt", options);
    EXPECT_TRUE(r.ok) << r.detail;
    return test::ReadFileBytes(r.path);
}

std::string B(size_t n) { return std::string(n, ' '); }

constexpr size_t kHeadLines = 10;  // head lines before the column header

TEST(TxtExport, EnglishFileIsExactlyTheExpectedBytes) {
    ExportOptions options;
    options.display.language = Language::English;
    // Cells: serial 6 + 1 blank; value cells as wide as the unit text + 7 ("℃" is 2 bytes,
    // "%RH" 3), then 2 blanks.
    const std::string expected =
        "User name:Lab 3  Title:Run 7\r\n"
        "Record Numbers3\r\n"
        "Record Interval:00:01:30\r\n"
        "Record Mode:AutoMode\r\n"
        "Start ChannelCH1 CH3 \r\n"
        "Start time:2025-03-09 07:05:00\r\n"
        "Stop time:2025-03-09 07:07:00\r\n"
        "CH1MAX:26.5MIN:-1.2AVG:12.25channel type:TEMP\r\n"
        "CH3MAX:80.0MIN:30.0AVG:55.12channel type:" +
        G("湿度") +
        "\r\n"
        "\r\n"
        "SN    Record time    CH1(" +
        G("℃") +
        ")  CH3(%RH)  \r\n"
        "1" +
        B(5) + B(1) + "2025-03-09 07:05:00" + B(3) + "25.3" + B(5) + B(2) + "-3276.7" + B(3) + B(2) +
        "\r\n"
        "2" +
        B(5) + B(1) + "2025-03-09 07:06:00" + B(3) + "25.3" + B(5) + B(2) + "-3276.7" + B(3) + B(2) +
        "\r\n"
        "3" +
        B(5) + B(1) + "2025-03-09 07:07:00" + B(3) + "25.3" + B(5) + B(2) + "-3276.7" + B(3) + B(2) + "\r\n";
    EXPECT_EQ(Txt(test::SmallSet(3), options), expected);
}

TEST(TxtExport, ChineseFileIsExactlyTheExpectedBytes) {
    const std::string expected = G("用户名:Lab 3  标题:Run 7\r\n"
                                   "记录次数:2\r\n"
                                   "记录间隔:00:01:30\r\n"
                                   "记录模式:AutoMode\r\n"
                                   "启动通道:CH1 CH3 \r\n"
                                   "开始时间:2025-03-09 07:05:00\r\n"
                                   "结束时间:2025-03-09 07:06:00\r\n"
                                   "CH1  最大值:26.5  最小值:-1.2  平均值:12.25  通道类型:TEMP\r\n"
                                   "CH3  最大值:80.0  最小值:30.0  平均值:55.12  通道类型:湿度\r\n"
                                   "\r\n"
                                   "序号    记录时间             CH1(℃)  CH3(%RH)  \r\n") +
                                 "1      2025-03-09 07:05:00   25.3       -3276.7     \r\n"
                                 "2      2025-03-09 07:06:00   25.3       -3276.7     \r\n";
    EXPECT_EQ(Txt(test::SmallSet(2)), expected);
}

TEST(TxtExport, ValueCellsAreUnitLengthPlusSevenWideAndCutBeyond) {
    RecordSet set = test::SmallSet(2);
    SetUnitText(set, 0, "mmHg");                // 4 bytes: 11-character cells
    SetUnitText(set, 2, "");                    // no unit: 7-character cells
    set.records[1].value[0] = 123456789012.0f;  // "123456790528.0" (the nearest float)
    set.records[1].value[2] = -1234567.0f;      // "-1234567.0"
    const std::string txt = Txt(set);
    EXPECT_EQ(Line(txt, kHeadLines), G("序号    记录时间             ") + "CH1(mmHg)  CH3()  ");
    EXPECT_EQ(Line(txt, kHeadLines + 1), "1      2025-03-09 07:05:00   25.3" + B(7) + B(2) + "-3276.7" + B(2));
    EXPECT_EQ(Line(txt, kHeadLines + 2), "2      2025-03-09 07:06:00   12345679052" + B(2) + "-123456" + B(2));

    // A unit wider than the padded value: the cell is the value and its 11 blanks.
    SetUnitText(set, 0, std::string(20, 'u'));
    EXPECT_EQ(Line(Txt(set), kHeadLines + 1), "1      2025-03-09 07:05:00   25.3" + B(11) + B(2) + "-3276.7" + B(2));
}

TEST(TxtExport, CellsUseTheFirstBlockDecimals) {
    RecordSet set = test::SmallSet(1);
    set.records[0].value[0] = 25.0f;
    ExportOptions options;
    options.display.channelType[0] = 0x22;
    options.display.channelType[2] = 0x22;
    EXPECT_EQ(Line(Txt(set, options), kHeadLines + 1),
              "1      2025-03-09 07:05:00   25.00" + B(4) + B(2) + "-3276.70" + B(2) + B(2));
}

TEST(TxtExport, SerialCellHoldsSixDigits) {
    RecordSet set = test::SmallSet(0);
    set.records.resize(100000);
    set.recordCount = 100000;
    for (int i = 0; i < 100000; ++i) test::SetTime(set.records[static_cast<size_t>(i)], i);
    const std::string txt = Txt(set);
    EXPECT_EQ(Line(txt, kHeadLines + 99999).substr(0, 26), "99999  2025-03-10 10:51:38");
    EXPECT_EQ(Line(txt, kHeadLines + 100000).substr(0, 26), "100000 2025-03-10 10:51:39");
}

TEST(TxtExport, UserNameIsWrittenUnchangedEvenWhenErased) {
    RecordSet set = test::SmallSet(1);
    StoreInField(set.userName,
                 "Lab\xFF"
                 "3");
    ExportOptions options;
    options.display.language = Language::English;
    EXPECT_EQ(Line(Txt(set, options), 0),
              "User name:Lab\xFF"
              "3  Title:Run 7");
}

TEST(TxtExport, NoEnabledChannelAndNoRecords) {
    RecordSet set = test::SmallSet(1);
    set.channelEnabled[0] = set.channelEnabled[2] = 0;
    ExportOptions options;
    options.display.language = Language::English;
    const std::string txt = Txt(set, options);
    EXPECT_EQ(Line(txt, 4), "Start Channel");
    EXPECT_EQ(Line(txt, 7), "");
    EXPECT_EQ(Line(txt, 8), "SN    Record time    ");
    EXPECT_EQ(Line(txt, 9), "1      2025-03-09 07:05:00   ");

    const std::string empty = Txt(test::SmallSet(0), options);
    EXPECT_EQ(Line(empty, 1), "Record Numbers0");
    EXPECT_EQ(Line(empty, 5), "Start time:");
    EXPECT_EQ(Line(empty, 6), "Stop time:");
    EXPECT_EQ(test::LineCount(empty), kHeadLines + 1);
}

}  // namespace
}  // namespace velorin
