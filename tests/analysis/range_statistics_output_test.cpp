#include "analysis/range_statistics_output.h"

#include <gtest/gtest.h>

#include "analysis/analysis_test_data.h"
#include "analysis/analysis_texts.h"
#include "analysis/range_statistics.h"
#include "analysis/range_statistics_columns.h"
#include "common/language.h"

namespace velorin {
namespace {

using test::AnalysisSet;

TEST(RangeStatisticsJson, KeysInOrderNumbersAndNulls) {
    // Channel 1 (TEMP) has values and crosses both limits; channel 3 (humidity) has only a
    // missing sample and a 4-byte marker: every figure of it but the counts and limits is null.
    RecordSet set = AnalysisSet("A1234567", "2026-05-06 07:08:00", 30, {1, 3},
                                {{31.5f, 23.1f, 9.5f}, {-3276.7f, 0.0001f, -3276.7f}});
    SetQuantityText(set, 2, "HUM");
    SetUnitText(set, 2, "%RH");
    set.upperAlarmX10[2] = 855;
    set.lowerAlarmX10[2] = -5;
    const std::string json = RangeStatisticsJson("dir/\"x\".kv", set, ComputeRangeStatistics(set));
    EXPECT_EQ(json,
              "{\"file\": \"dir/\\\"x\\\".kv\", \"serial\": \"A1234567\", \"from\": \"2026-05-06 07:08:00\", "
              "\"to\": \"2026-05-06 07:09:00\", \"records\": 3, \"interval_s\": 30, \"channels\": ["
              "{\"channel\": 1, \"quantity\": \"TEMP\", \"unit\": \"C\", \"count\": 3, \"missing\": 0, "
              "\"min\": 9.5, \"min_time\": \"2026-05-06 07:09:00\", \"max\": 31.5, "
              "\"max_time\": \"2026-05-06 07:08:00\", \"avg\": 21.366667, \"mkt\": 25.032966, \"upper\": 30, "
              "\"lower\": 10, \"above_upper_s\": 30, \"below_lower_s\": 30, \"first_above\": \"2026-05-06 07:08:00\", "
              "\"first_below\": \"2026-05-06 07:09:00\"}, "
              "{\"channel\": 3, \"quantity\": \"HUM\", \"unit\": \"%RH\", \"count\": 0, \"missing\": 3, "
              "\"min\": null, \"min_time\": null, \"max\": null, \"max_time\": null, \"avg\": null, \"mkt\": null, "
              "\"upper\": 85.5, \"lower\": -0.5, \"above_upper_s\": 0, \"below_lower_s\": 0, \"first_above\": null, "
              "\"first_below\": null}]}");
}

TEST(RangeStatisticsJson, TextsBecomeValidUtf8AndAStoredFloatKeepsItsShortestDecimal) {
    RecordSet set = AnalysisSet(
        "\xD6\xD0"
        "01",
        "2026-05-06 07:08:00", 60, {1}, {{23.1f, -0.3f}});
    SetQuantityText(set, 0, "\xCE\xC2\xB6\xC8");  // "温度" in GBK
    SetUnitText(set, 0, "\xA1\xE6");              // "℃" in GBK
    const std::string json = RangeStatisticsJson("a\xFF\tb.kv", set, ComputeRangeStatistics(set));
    EXPECT_NE(json.find("\"file\": \"a\xEF\xBF\xBD\\tb.kv\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"serial\": \"\xE4\xB8\xAD"
                        "01\""),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"quantity\": \"\xE6\xB8\xA9\xE5\xBA\xA6\", \"unit\": \"\xE2\x84\x83\""), std::string::npos)
        << json;
    EXPECT_NE(json.find("\"min\": -0.3, "), std::string::npos) << json;
    EXPECT_NE(json.find("\"max\": 23.1, "), std::string::npos) << json;
    EXPECT_NE(json.find("\"avg\": 11.4, "), std::string::npos) << json;
}

TEST(RangeStatisticsText, NamesEveryFigureAndMarksTheOnesThatDoNotExist) {
    RecordSet set = AnalysisSet("A1", "2026-05-06 07:08:00", 3725, {2}, {{35.0f, 36.0f}});
    SetQuantityText(set, 1, "HUM");
    const std::string text =
        RangeStatisticsText("f.kv", set, ComputeRangeStatistics(set), AnalysisTextsFor(Language::English));
    EXPECT_NE(text.find("CH2 HUM (C)\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  MAX: 36  2026-05-06 08:10:05\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  MKT: -\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  Time above upper: 7450 s (2:04:10)\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  First below lower: -\n"), std::string::npos) << text;

    StatisticsRange none;
    none.first = 2;
    const std::string empty =
        RangeStatisticsText("f.kv", set, ComputeRangeStatistics(set, none), AnalysisTextsFor(Language::English));
    EXPECT_NE(empty.find("No record in the range\n"), std::string::npos) << empty;
}

}  // namespace
}  // namespace velorin

namespace velorin {
namespace {

TEST(RangeStatisticsColumns, FiguresInHundredthsLikeTheWholeSetsBesideThem) {
    ChannelRangeStatistics s;
    s.count = 3;
    s.max = 101.789f;
    s.min = -0.004f;
    s.avg = 20.125;
    const AnalysisTexts& t = AnalysisTextsFor(Language::English);
    EXPECT_EQ(RangeColumnCell(&s, kRangeMax, t), "101.79");
    EXPECT_EQ(RangeColumnCell(&s, kRangeMin, t), "0");
    EXPECT_EQ(RangeColumnCell(nullptr, kRangeMax, t), "");
    s.count = 0;
    EXPECT_EQ(RangeColumnCell(&s, kRangeMax, t), t.none);
}

}  // namespace
}  // namespace velorin
