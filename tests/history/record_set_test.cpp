// Unit and quantity texts of a record set: stored with their length, cut to the 20-byte field.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "history/record_set.h"

namespace velorin {
namespace {

TEST(RecordSetTexts, StoredWithTheirLengthAndCutToTheField) {
    RecordSet set;
    SetUnitText(set, 0, "\xA1\xE6");  // "℃" in GBK
    EXPECT_EQ(set.unitLength[0], 2);
    EXPECT_EQ(UnitTextOf(set, 0), "\xA1\xE6");

    SetQuantityText(set, 7, std::string(25, 'q'));
    EXPECT_EQ(set.quantityLength[7], 20);
    EXPECT_EQ(QuantityTextOf(set, 7), std::string(20, 'q'));
    EXPECT_EQ(set.quantityLength[6], 0) << "a neighbouring channel changed";
}

TEST(RecordSetTexts, AShorterTextClearsTheRestOfTheField) {
    RecordSet set;
    SetUnitText(set, 3, std::string(20, 'x'));
    SetUnitText(set, 3, "F0");
    EXPECT_EQ(set.unitLength[3], 2);
    EXPECT_EQ(std::string(set.unitText[3], 20), std::string("F0") + std::string(18, '\0'));
    SetQuantityText(set, 3, "");
    EXPECT_EQ(set.quantityLength[3], 0);
}

TEST(RecordSetTexts, ChannelsOutsideOneToEightAreIgnored) {
    RecordSet set;
    SetUnitText(set, 0, "C");
    SetUnitText(set, -1, "bad");
    SetUnitText(set, 8, "bad");
    SetQuantityText(set, 8, "bad");
    EXPECT_EQ(UnitTextOf(set, 0), "C");
    for (int c = 1; c < kRecordSetChannels; ++c) EXPECT_EQ(set.unitLength[c], 0);
}

}  // namespace
}  // namespace velorin
