// The date-time value: local calendar fields in and out, differences in seconds, normalisation
// and daylight-saving changes. Local-time cases run in a fixed zone (Berlin's rules).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <ctime>
#include <memory>

#include "common/date_time.h"
#include "support/temp_dir.h"

namespace velorin {
namespace {

class DealTimeIn : public ::testing::Test {
protected:
    void Zone(const char* tz) {
        env_.reset();
        env_ = std::make_unique<test::ScopedEnv>("TZ", tz);
        tzset();
    }
    void TearDown() override {
        env_.reset();  // the previous TZ (or none) again
        tzset();
    }

private:
    std::unique_ptr<test::ScopedEnv> env_;
};

class DealTimeBerlin : public DealTimeIn {
protected:
    void SetUp() override {
        // The named zone when tzdata is installed, otherwise the same rules spelt out.
        Zone(access("/usr/share/zoneinfo/Europe/Berlin", R_OK) == 0 ? "Europe/Berlin" : "CET-1CEST,M3.5.0,M10.5.0/3");
    }
};

void ExpectFields(const CDealTime& t, int year, int month, int day, int hour, int minute, int second) {
    EXPECT_EQ(t.GetYear(), year);
    EXPECT_EQ(t.GetMonth(), month);
    EXPECT_EQ(t.GetDay(), day);
    EXPECT_EQ(t.GetHour(), hour);
    EXPECT_EQ(t.GetMinute(), minute);
    EXPECT_EQ(t.GetSecond(), second);
}

TEST_F(DealTimeBerlin, CalendarFieldsInAndOut) {
    const CDealTime t(2024, 1, 7, 23, 59, 59);
    EXPECT_EQ(t.GetTime(), 1704668399);  // 22:59:59 UTC: winter time is UTC+1
    ExpectFields(t, 2024, 1, 7, 23, 59, 59);
    ExpectFields(CDealTime(int64_t{1704668399}), 2024, 1, 7, 23, 59, 59);
    ExpectFields(CDealTime(int64_t{1704668400}), 2024, 1, 8, 0, 0, 0);
    ExpectFields(CDealTime(2024, 7, 1, 12, 0, 0), 2024, 7, 1, 12, 0, 0);  // summer time
    const CDealTime copy = t;
    EXPECT_EQ(copy.GetTime(), t.GetTime());
}

TEST_F(DealTimeBerlin, DifferenceIsInSeconds) {
    EXPECT_EQ((CDealTime(2024, 1, 8, 23, 59, 59) - CDealTime(2024, 1, 7, 23, 59, 59)).GetTime(), 86400);
    EXPECT_EQ((CDealTime(2024, 1, 7, 0, 0, 0) - CDealTime(2024, 1, 8, 0, 0, 0)).GetTime(), -86400);
    EXPECT_EQ((CDealTime(2024, 3, 1, 0, 0, 0) - CDealTime(2024, 2, 28, 0, 0, 0)).GetTime(), 2 * 86400);
    EXPECT_EQ((CDealTime(int64_t{5}) - CDealTime(int64_t{7})).GetTime(), -2);
}

TEST_F(DealTimeBerlin, FieldsOutOfRangeAreNormalised) {
    ExpectFields(CDealTime(2024, 1, 7, 10, 75, 0), 2024, 1, 7, 11, 15, 0);
    ExpectFields(CDealTime(2024, 12, 31, 23, 59, 60), 2025, 1, 1, 0, 0, 0);
    ExpectFields(CDealTime(2024, 2, 30, 0, 0, 0), 2024, 3, 1, 0, 0, 0);
    ExpectFields(CDealTime(2024, 13, 1, 0, 0, 0), 2025, 1, 1, 0, 0, 0);
}

TEST_F(DealTimeBerlin, DaysAcrossTheDaylightSavingChanges) {
    // Spring: the night of 31 March 2024 lacks an hour; autumn: 27 October has one more.
    EXPECT_EQ((CDealTime(2024, 3, 31, 12, 0, 0) - CDealTime(2024, 3, 30, 12, 0, 0)).GetTime(), 82800);
    EXPECT_EQ((CDealTime(2024, 10, 27, 12, 0, 0) - CDealTime(2024, 10, 26, 12, 0, 0)).GetTime(), 90000);
}

TEST_F(DealTimeBerlin, ATimeThatDoesNotExistBecomesANeighbouringOne) {
    // 02:30 on 31 March 2024 is skipped; the conversion gives 01:30 winter or 03:30 summer time.
    const CDealTime t(2024, 3, 31, 2, 30, 0);
    ASSERT_TRUE(t.GetTime() == 1711845000 || t.GetTime() == 1711848600) << t.GetTime();
    const int expectedHour = t.GetTime() == 1711845000 ? 1 : 3;
    ExpectFields(t, 2024, 3, 31, expectedHour, 30, 0);
}

TEST_F(DealTimeBerlin, ATimeThatOccursTwiceIsOneOfThem) {
    const CDealTime t(2024, 10, 27, 2, 30, 0);
    EXPECT_TRUE(t.GetTime() == 1729989000 || t.GetTime() == 1729992600) << t.GetTime();
    ExpectFields(t, 2024, 10, 27, 2, 30, 0);
}

TEST_F(DealTimeIn, FieldsFollowTheZone) {
    Zone("UTC0");
    EXPECT_EQ(CDealTime(2024, 1, 7, 23, 59, 59).GetTime(), 1704671999);
    ExpectFields(CDealTime(int64_t{0}), 1970, 1, 1, 0, 0, 0);
    ExpectFields(CDealTime(int64_t{-1}), 1969, 12, 31, 23, 59, 59);
    Zone("JST-9");
    ExpectFields(CDealTime(int64_t{1704671999}), 2024, 1, 8, 8, 59, 59);
}

TEST_F(DealTimeIn, CountsBeyondTheCalendarGiveZeroFields) {
    Zone("UTC0");
    for (int64_t count : {INT64_MAX, INT64_MIN}) {
        ExpectFields(CDealTime(count), 0, 0, 0, 0, 0, 0);
    }
    EXPECT_EQ((CDealTime(INT64_MIN) - CDealTime(int64_t{1})).GetTime(), INT64_MAX);  // wraps
}

TEST(DealTime, NowIsTheSystemClock) {
    const int64_t before = static_cast<int64_t>(std::time(nullptr));
    const CDealTime now;
    const int64_t after = static_cast<int64_t>(std::time(nullptr));
    EXPECT_GE(now.GetTime(), before);
    EXPECT_LE(now.GetTime(), after);
}

}  // namespace
}  // namespace velorin
