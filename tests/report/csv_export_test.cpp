// The CSV table: complete heads in both languages, the side-by-side blocks at their boundary,
// the decimals of each block and the erased-field rule of the head.
#include <gtest/gtest.h>

#include <cstring>
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
using test::LineCount;
using test::ReadFileBytes;

std::string Csv(const RecordSet& set, const ExportOptions& options = ExportOptions()) {
    test::TempDir dir;
    const ExportResult r = ExportCsv(set, dir.Path() + "/out.csv", options);
    EXPECT_TRUE(r.ok) << r.detail;
    return ReadFileBytes(r.path);
}

TEST(CsvExport, EnglishFileIsExactlyTheExpectedBytes) {
    ExportOptions options;
    options.display.language = Language::English;
    const std::string expected = G("用户名:") +
                                 "Lab 3\r\n"
                                 "Title:Run 7\r\n"
                                 "Record times:3\r\n"
                                 "Record Interval:00:01:30\r\n"
                                 "Record mode:AutoMode\r\n"
                                 "Start channel:CH1 CH3 \r\n"
                                 "Start time:2025-03-09 07:05:00\r\n"
                                 "Stop time:2025-03-09 07:07:00\r\n"
                                 "CH1,  MAX:26.5,  MIN:-1.2,  AVG:12.25,  Channel type:TEMP\r\n"
                                 "CH3,  MAX:80.0,  MIN:30.0,  AVG:55.12,  Channel type:" +
                                 G("湿度") +
                                 "\r\n"
                                 "\r\n"
                                 "SN,Record time,CH1(" +
                                 G("℃") +
                                 "),CH3(%RH),\r\n"
                                 "1,2025-03-09 07:05:00,25.3,-3276.7,\r\n"
                                 "2,2025-03-09 07:06:00,25.3,-3276.7,\r\n"
                                 "3,2025-03-09 07:07:00,25.3,-3276.7,\r\n";
    EXPECT_EQ(Csv(test::SmallSet(3), options), expected);
}

TEST(CsvExport, ChineseFileIsExactlyTheExpectedBytes) {
    const std::string expected =
        G("用户名:Lab 3\r\n"
          "标题:Run 7\r\n"
          "记录次数:2\r\n"
          "记录间隔:00:01:30\r\n"
          "记录模式:AutoMode\r\n"
          "启动通道:CH1 CH3 \r\n"
          "开始时间:2025-03-09 07:05:00\r\n"
          "结束时间:2025-03-09 07:06:00\r\n"
          "CH1,  最大值:26.5,  最小值:-1.2,  平均值:12.25,  通道类型:TEMP\r\n"
          "CH3,  最大值:80.0,  最小值:30.0,  平均值:55.12,  通道类型:湿度\r\n"
          "\r\n"
          "序号, 记录时间,CH1(℃),CH3(%RH),\r\n"
          "1,2025-03-09 07:05:00,25.3,-3276.7,\r\n"
          "2,2025-03-09 07:06:00,25.3,-3276.7,\r\n");
    EXPECT_EQ(Csv(test::SmallSet(2)), expected);
}

// Two channels: channel 1 with hundredths (0x22), channel 3 with tenths.
RecordSet BlockSet(int records) {
    RecordSet set = test::SmallSet(0);
    set.records.resize(static_cast<size_t>(records));
    set.recordCount = records;
    for (int i = 0; i < records; ++i) {
        SampleRecord& r = set.records[static_cast<size_t>(i)];
        test::SetTime(r, i);
        r.value[0] = 25.25f;  // "25.25" with two decimals, "25.2" with one (tie to even)
        r.value[2] = static_cast<float>(i % 1000) / 10.0f;
    }
    return set;
}

ExportOptions HundredthsOnChannel1() {
    ExportOptions options;
    options.display.language = Language::English;
    options.display.channelType[0] = 0x22;
    options.display.channelType[2] = 0x02;
    return options;
}

constexpr size_t kHeadLines = 11;  // head lines before the column header

TEST(CsvExport, FullFirstBlockHasNoSecondGroup) {
    const std::string csv = Csv(BlockSet(kCsvBlockRows), HundredthsOnChannel1());
    EXPECT_EQ(Line(csv, kHeadLines), "SN,Record time,CH1(" + G("℃") + "),CH3(%RH),");
    EXPECT_EQ(Line(csv, kHeadLines + 1), "1,2025-03-09 07:05:00,25.25,0.0,");
    // Record 65521 is 18:12:01 after the start: 2025-03-10 01:17:01.
    EXPECT_EQ(Line(csv, kHeadLines + kCsvBlockRows), "65522,2025-03-10 01:17:01,25.25,52.1,");
    EXPECT_EQ(LineCount(csv), kHeadLines + 1 + kCsvBlockRows);
    EXPECT_EQ(csv.find(",,,"), std::string::npos);
}

TEST(CsvExport, OneRecordMoreOpensASecondBlockWithOneDecimal) {
    const std::string csv = Csv(BlockSet(kCsvBlockRows + 1), HundredthsOnChannel1());
    const std::string group = "SN,Record time,CH1(" + G("℃") + "),CH3(%RH),";
    EXPECT_EQ(Line(csv, kHeadLines), group + ",,," + group);
    // Row 1 carries record 65522 (0-based) beside it; the second block always has one decimal.
    EXPECT_EQ(Line(csv, kHeadLines + 1), "1,2025-03-09 07:05:00,25.25,0.0,,,,65523,2025-03-10 01:17:02,25.2,52.2,");
    EXPECT_EQ(Line(csv, kHeadLines + 2), "2,2025-03-09 07:05:01,25.25,0.1,");
    EXPECT_EQ(Line(csv, kHeadLines + kCsvBlockRows), "65522,2025-03-10 01:17:01,25.25,52.1,");
    EXPECT_EQ(LineCount(csv), kHeadLines + 1 + kCsvBlockRows);
}

TEST(CsvExport, FullSetSpreadsOverFiveBlocks) {
    ExportOptions english;
    english.display.language = Language::English;
    const std::string csv = Csv(BlockSet(kRecordCapacity), english);
    const std::string header = Line(csv, kHeadLines);
    size_t groups = 0;
    for (size_t p = header.find("SN,Record time,"); p != std::string::npos; p = header.find("SN,Record time,", p + 1)) {
        ++groups;
    }
    EXPECT_EQ(groups, 5u);  // 270,336 records: 4 × 65,522 = 262,088, the rest in block 5
    EXPECT_EQ(LineCount(csv), kHeadLines + 1 + kCsvBlockRows);
    // The last record sits in block 4 (0-based) of row 270,336 − 262,088 = 8,248.
    const std::string row = Line(csv, kHeadLines + 8248);
    EXPECT_NE(row.find(",,,270336,"), std::string::npos) << row;
    const std::string next = Line(csv, kHeadLines + 8249);
    EXPECT_NE(next.find(",,,204815,"), std::string::npos) << next;
    EXPECT_EQ(next.find(",,,27"), std::string::npos) << next;
}

TEST(CsvExport, FirstBlockDecimalsFollowTheHighNibbleOfTheChannelType) {
    RecordSet set = test::SmallSet(1);
    set.records[0].value[0] = 25.0f;
    set.records[0].value[2] = 25.0f;
    struct Case {
        uint8_t type;
        const char* cell;
    } cases[] = {{0x22, "25.00"}, {0x24, "25.00"}, {0x02, "25.0"}, {0x12, "25.0"}, {0x32, "25.0"}, {0, "25.0"}};
    for (const Case& c : cases) {
        ExportOptions options;
        options.display.channelType[0] = c.type;
        const std::string row = Line(Csv(set, options), kHeadLines + 1);
        EXPECT_EQ(row, std::string("1,2025-03-09 07:05:00,") + c.cell + ",25.0,") << int(c.type);
    }
    // The head statistics keep their fixed decimals whatever the channel type.
    ExportOptions hundredths;
    hundredths.display.channelType[0] = 0x22;
    EXPECT_EQ(Line(Csv(set, hundredths), 8), G("CH1,  最大值:26.5,  最小值:-1.2,  平均值:12.25,  通道类型:TEMP"));
}

TEST(CsvExport, ErasedUserNameAndTitleAreLeftEmpty) {
    RecordSet set = test::SmallSet(1);
    StoreInField(set.userName,
                 "Lab\xFF"
                 "3");
    const std::string csv = Csv(set);
    EXPECT_EQ(Line(csv, 0), G("用户名:"));
    EXPECT_EQ(Line(csv, 1), G("标题:Run 7"));

    StoreInField(set.userName, "Lab 3");
    std::memset(set.title, 0xFF, sizeof set.title);
    EXPECT_EQ(Line(Csv(set), 1), G("标题:"));
}

TEST(CsvExport, TextsFillingTheirFieldEndAtTheFieldsEnd) {
    RecordSet set = test::SmallSet(1);
    std::memset(set.userName, 'U', sizeof set.userName);  // no terminator
    std::memset(set.title, 'T', sizeof set.title);
    std::memset(set.recordModeText, 'M', sizeof set.recordModeText);
    const std::string csv = Csv(set);
    EXPECT_EQ(Line(csv, 0), G("用户名:") + std::string(31, 'U'));
    EXPECT_EQ(Line(csv, 1), G("标题:") + std::string(31, 'T'));
    EXPECT_EQ(Line(csv, 4), G("记录模式:") + std::string(9, 'M'));
}

TEST(CsvExport, NoEnabledChannelWritesSerialAndTimeOnly) {
    RecordSet set = test::SmallSet(2);
    set.channelEnabled[0] = set.channelEnabled[2] = 0;
    set.channelEnabled[5] = 2;  // only 1 means enabled
    ExportOptions options;
    options.display.language = Language::English;
    const std::string csv = Csv(set, options);
    const std::string tail =
        "Start channel:\r\n"
        "Start time:2025-03-09 07:05:00\r\n"
        "Stop time:2025-03-09 07:06:00\r\n"
        "\r\n"
        "SN,Record time,\r\n"
        "1,2025-03-09 07:05:00,\r\n"
        "2,2025-03-09 07:06:00,\r\n";
    ASSERT_GE(csv.size(), tail.size());
    EXPECT_EQ(csv.substr(csv.size() - tail.size()), tail);
}

TEST(CsvExport, EmptySetLeavesStartAndStopTimeEmpty) {
    RecordSet set = test::SmallSet(0);
    ExportOptions options;
    options.display.language = Language::English;
    const std::string csv = Csv(set, options);
    EXPECT_NE(csv.find("Record times:0\r\n"), std::string::npos);
    EXPECT_NE(csv.find("\r\nStart time:\r\nStop time:\r\n"), std::string::npos);
    const std::string tail = "\r\n\r\nSN,Record time,CH1(" + G("℃") + "),CH3(%RH),\r\n";
    ASSERT_GE(csv.size(), tail.size());
    EXPECT_EQ(csv.substr(csv.size() - tail.size()), tail);  // no rows

    // A count the record array does not back is never read past the array.
    set.recordCount = 5;
    const std::string inconsistent = Csv(set, options);
    EXPECT_NE(inconsistent.find("Record times:0\r\n"), std::string::npos);
}

}  // namespace
}  // namespace velorin
