#include "view/data_list.h"

#include <gtest/gtest.h>

#include "common/text_codec.h"
#include "history/record_set.h"

namespace velorin {
namespace {

RecordSet TwoChannelSet() {
    RecordSet set;
    set.channelEnabled[0] = 1;
    set.channelEnabled[2] = 1;  // channel 2 off: the value columns are CH1 and CH3
    SetUnitText(set, 0, Utf8ToGbk("℃"));
    SetUnitText(set, 2, "%RH");
    SampleRecord r;
    r.year = 26; r.month = 3; r.day = 4; r.hour = 5; r.minute = 6; r.second = 7;
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
    const DataList english(set, true, types);
    ASSERT_EQ(english.ColumnCount(), 4);
    EXPECT_EQ(english.Header(0), "Serial");
    EXPECT_EQ(english.Header(1), "Time");
    EXPECT_EQ(english.Header(2), Utf8ToGbk("CH1(℃)"));
    EXPECT_EQ(english.Header(3), "CH3(%RH)");
    EXPECT_EQ(english.ChannelOfColumn(3), 2);
    EXPECT_EQ(english.Header(4), "");
    const DataList chinese(set, false, types);
    EXPECT_EQ(chinese.Header(0), Utf8ToGbk("序号"));
    EXPECT_EQ(chinese.Header(3), Utf8ToGbk("通道3(%RH)"));
}

TEST(DataList, CellsUseTheChannelTypeDecimalsAndMarkMissingSamples) {
    const RecordSet set = TwoChannelSet();
    const uint8_t types[8] = {0x22, 0x02, 0x02};
    const DataList list(set, true, types);
    EXPECT_EQ(list.RowCount(), 2);
    EXPECT_EQ(list.Cell(0, 0), "1");
    EXPECT_EQ(list.Cell(0, 1), "26-03-04  05:06:07");
    EXPECT_EQ(list.Cell(0, 2), "25.25");
    EXPECT_EQ(list.Cell(0, 3), "Error");
    EXPECT_EQ(list.Cell(1, 2), "-0.04");
    EXPECT_EQ(list.Cell(1, 3), "Error");
    EXPECT_EQ(list.Cell(2, 0), "");   // past the last row
    EXPECT_EQ(list.Cell(-1, 0), "");
    const uint8_t tenths[8] = {};
    EXPECT_EQ(DataList(set, true, tenths).Cell(0, 2), "25.2");  // an exact tie rounds to even, as printf does
}

}  // namespace
}  // namespace velorin
