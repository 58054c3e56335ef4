#include "view/data_list.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/language.h"
#include "common/text_codec.h"
#include "history/record_set.h"
#include "view/lists_test_set.h"

namespace velorin {
namespace {

DisplayOptions Display(Language language, const uint8_t (&types)[8]) {
    DisplayOptions display;
    display.language = language;
    std::copy(types, types + 8, display.channelType);
    return display;
}

RecordSet TwoChannelSet() {
    RecordSet set;
    set.channelEnabled[0] = 1;
    set.channelEnabled[2] = 1;  // channel 2 off: the value columns are CH1 and CH3
    SetUnitText(set, 0, Utf8ToGbk("℃"));
    SetUnitText(set, 2, "%RH");
    SampleRecord r;
    r.year = 26;
    r.month = 3;
    r.day = 4;
    r.hour = 5;
    r.minute = 6;
    r.second = 7;
    r.value[0] = 25.25f;
    r.value[1] = 99.0f;
    r.value[2] = kMissingValue2Byte;
    set.records = {r, r};
    set.records[1].value[0] = -0.04f;
    set.records[1].value[2] = -3276.65f;  // within 0.1 of the marker: still missing
    set.recordCount = 2;
    return set;
}

TEST(DataList, ColumnsFollowTheEnabledChannelsInBothLanguages) {
    const RecordSet set = TwoChannelSet();
    const uint8_t types[8] = {};
    const DataList english(set, Display(Language::English, types));
    ASSERT_EQ(english.ColumnCount(), 4);
    EXPECT_EQ(english.Header(0), "Serial");
    EXPECT_EQ(english.Header(1), "Time");
    EXPECT_EQ(english.Header(2), Utf8ToGbk("CH1(℃)"));
    EXPECT_EQ(english.Header(3), "CH3(%RH)");
    EXPECT_EQ(english.ChannelOfColumn(3), 2);
    EXPECT_EQ(english.Header(4), "");
    const DataList chinese(set, Display(Language::Chinese, types));
    EXPECT_EQ(chinese.Header(0), Utf8ToGbk("序号"));
    EXPECT_EQ(chinese.Header(3), Utf8ToGbk("通道3(%RH)"));
}

TEST(DataList, CellsUseTheChannelTypeDecimalsAndMarkMissingSamples) {
    const RecordSet set = TwoChannelSet();
    const uint8_t types[8] = {0x22, 0x02, 0x02};
    const DataList list(set, Display(Language::English, types));
    EXPECT_EQ(list.RowCount(), 2);
    EXPECT_EQ(list.Cell(0, 0), "1");
    EXPECT_EQ(list.Cell(0, 1), "26-03-04  05:06:07");
    EXPECT_EQ(list.Cell(0, 2), "25.25");
    EXPECT_EQ(list.Cell(0, 3), "Error");
    EXPECT_EQ(list.Cell(1, 2), "-0.04");
    EXPECT_EQ(list.Cell(1, 3), "Error");
    EXPECT_EQ(list.Cell(2, 0), "");  // past the last row
    EXPECT_EQ(list.Cell(-1, 0), "");
    const uint8_t tenths[8] = {};
    EXPECT_EQ(DataList(set, Display(Language::English, tenths)).Cell(0, 2),
              "25.2");  // an exact tie rounds to even, as printf does
}

TEST(DataList, TheFourByteMarkerIsMissingButARealZeroIsAValue) {
    RecordSet set = TwoChannelSet();
    set.records[0].value[0] = kMissingValue4Byte;
    set.records[1].value[0] = 0.0f;
    const uint8_t types[8] = {0x22, 0x02, 0x02};
    const DataList list(set, Display(Language::English, types));
    EXPECT_EQ(list.Cell(0, 2), "Error");
    EXPECT_EQ(list.Cell(1, 2), "0.00");
}

TEST(DataList, ChannelsOneTwoAndFiveEachFillTheirOwnColumn) {
    const RecordSet set = test::ChannelsOneTwoFive(5);
    const uint8_t types[8] = {0x22, 0x02, 0x02, 0x02, 0x02};
    const DataList list(set, Display(Language::English, types));
    ASSERT_EQ(list.ColumnCount(), 5);
    EXPECT_EQ(list.Header(2), Utf8ToGbk("CH1(℃)"));
    EXPECT_EQ(list.Header(3), "CH2(%RH)");
    EXPECT_EQ(list.Header(4), "CH5(kPa)");
    ASSERT_EQ(list.RowCount(), 5);
    EXPECT_EQ(list.Cell(4, 0), "5");
    EXPECT_EQ(list.Cell(4, 1), "26-03-04  05:10:00");
    EXPECT_EQ(list.Cell(4, 2), "21.00");
    EXPECT_EQ(list.Cell(4, 3), "44.0");
    EXPECT_EQ(list.Cell(4, 4), "102.0");
    EXPECT_EQ(list.Cell(3, 4), "Error");
    EXPECT_EQ(DataList::ColumnWidth(0), 50);
    EXPECT_EQ(DataList::ColumnWidth(1), 240);
    EXPECT_EQ(DataList::ColumnWidth(4), 100);
}

TEST(DataList, ARangeIncludesTheRecordAtItsEndAndNumbersFromOne) {
    const RecordSet set = test::ChannelsOneTwoFive(300);
    const uint8_t types[8] = {};
    // Zoomed to records 100..199 (endIndex 200): the list shows records 100..200.
    const DataList zoomed(set, Display(Language::English, types), 100, 200);
    ASSERT_EQ(zoomed.RowCount(), 101);
    EXPECT_EQ(zoomed.Cell(0, 0), "1");
    EXPECT_EQ(zoomed.RecordOfRow(0), 100);
    EXPECT_EQ(zoomed.Cell(0, 3), "140.0");
    EXPECT_EQ(zoomed.Cell(100, 0), "101");
    EXPECT_EQ(zoomed.RecordOfRow(100), 200);
    EXPECT_EQ(zoomed.Cell(100, 3), "240.0");
    EXPECT_EQ(zoomed.RecordOfRow(101), -1);
    EXPECT_EQ(zoomed.Cell(101, 0), "");
    // The whole set (endIndex = recordCount) has no record at endIndex.
    EXPECT_EQ(DataList(set, Display(Language::English, types), 0, 300).RowCount(), 300);
    // A range beyond the records or reversed shows nothing; a negative start is the first record.
    EXPECT_EQ(DataList(set, Display(Language::English, types), 400, 500).RowCount(), 0);
    EXPECT_EQ(DataList(set, Display(Language::English, types), 50, 40).RowCount(), 0);
    EXPECT_EQ(DataList(set, Display(Language::English, types), -5, 1).RowCount(), 2);
    RecordSet empty;
    EXPECT_EQ(DataList(empty, Display(Language::English, types)).RowCount(), 0);
}

TEST(DataList, ACountBeyondTheRecordsHeldIsNeverRead) {
    RecordSet set = test::ChannelsOneTwoFive(3);
    set.recordCount = 1000;  // disagrees with the records held
    const uint8_t types[8] = {};
    const DataList list(set, Display(Language::English, types));
    EXPECT_EQ(list.RowCount(), 3);
    EXPECT_EQ(list.Cell(3, 1), "");
}

}  // namespace
}  // namespace velorin
