#include "view/statistics_list.h"

#include <gtest/gtest.h>

#include "common/language.h"
#include "common/text_codec.h"
#include "history/record_set.h"
#include "view/lists_test_set.h"

namespace velorin {
namespace {

TEST(StatisticsList, OneRowPerRecordedChannelWithItsStoredStatistics) {
    const RecordSet set = test::ChannelsOneTwoFive(5);
    const StatisticsList list(set, Language::English);
    ASSERT_EQ(list.RowCount(), 3);
    EXPECT_EQ(list.Cell(0, StatisticsList::kChannel), "CH1");
    EXPECT_EQ(list.Cell(1, StatisticsList::kChannel), "CH2");
    EXPECT_EQ(list.Cell(2, StatisticsList::kChannel), "CH5");
    EXPECT_EQ(list.ChannelOfRow(2), 4);
    EXPECT_EQ(list.ChannelOfRow(3), -1);
    EXPECT_EQ(list.Cell(0, StatisticsList::kType), Utf8ToGbk("温度"));
    EXPECT_EQ(list.Cell(0, StatisticsList::kUnit), Utf8ToGbk("℃"));
    EXPECT_EQ(list.Cell(0, StatisticsList::kSelected), "");
    EXPECT_EQ(list.Cell(0, StatisticsList::kMax), "30.50");
    EXPECT_EQ(list.Cell(0, StatisticsList::kMin), "20.00");
    EXPECT_EQ(list.Cell(0, StatisticsList::kAvg), "25.13");
    EXPECT_EQ(list.Cell(1, StatisticsList::kStartTime), "2026-03-04 05:06:00");
    EXPECT_EQ(list.Cell(3, StatisticsList::kChannel), "");
}

TEST(StatisticsList, AChannelWithoutValidSamplesShowsErrorAsMaxAndMin) {
    RecordSet set = test::ChannelsOneTwoFive(5);
    const StatisticsList list(set, Language::English);
    EXPECT_EQ(list.Cell(2, StatisticsList::kMax), "Error");
    EXPECT_EQ(list.Cell(2, StatisticsList::kMin), "Error");
    EXPECT_EQ(list.Cell(2, StatisticsList::kAvg), "0.00");
    // Only the exact starting values mean "no sample"; the other side's marker is a number.
    set.maxValue[4] = 10000.0f;
    set.minValue[4] = -10000.0f;
    EXPECT_EQ(list.Cell(2, StatisticsList::kMax), "10000.00");
    EXPECT_EQ(list.Cell(2, StatisticsList::kMin), "-10000.00");
}

TEST(StatisticsList, HeadersWidthsAndLabelsInBothLanguages) {
    RecordSet set = test::ChannelsOneTwoFive(0);
    const StatisticsList english(set, Language::English);
    const StatisticsList chinese(set, Language::Chinese);
    const char* en[8] = {"CH", "Type", "Unit", "Selected", "MAX", "MIN", "AVG", "Start Recording time"};
    const char* zh[8] = {"通道", "类型", "单位", "选定值", "最大值", "最小值", "平均值", "开始记录时间"};
    const int widths[8] = {100, 60, 100, 120, 120, 120, 120, 240};
    for (int c = 0; c < StatisticsList::ColumnCount(); ++c) {
        EXPECT_EQ(english.Header(c), en[c]);
        EXPECT_EQ(chinese.Header(c), Utf8ToGbk(zh[c]));
        EXPECT_EQ(StatisticsList::ColumnWidth(c), widths[c]);
    }
    EXPECT_EQ(chinese.Cell(2, StatisticsList::kChannel), Utf8ToGbk("通道5"));
    // Without records the start time stays empty.
    EXPECT_EQ(english.Cell(0, StatisticsList::kStartTime), "");
}

}  // namespace
}  // namespace velorin
