// Polls that bring no reading: counted in a row, and said with the time of the last reading in
// both languages.
#include <gtest/gtest.h>

#include "common/date_time.h"
#include "common/language.h"
#include "common/text_codec.h"
#include "live/live_health.h"
#include "live/live_text_format.h"
#include "live/live_texts.h"

namespace velorin {
namespace {

TEST(LiveHealthCount, FailuresInARowAndSinceTheLastReadingInBothLanguages) {
    const int64_t t0 = CDealTime(2026, 3, 7, 8, 5, 0).GetTime();
    LiveHealth health;
    EXPECT_EQ(health.StatusText(LiveTextsFor(Language::English)), "");
    health.Record(true, t0);
    health.Record(false, t0 + 2);
    health.Record(false, t0 + 4);
    EXPECT_TRUE(health.Failing());
    EXPECT_EQ(health.FailedInRow(), 2);
    EXPECT_EQ(health.StatusText(LiveTextsFor(Language::English)), "No reading since 08:05:00");
    EXPECT_EQ(GbkToUtf8(health.StatusText(LiveTextsFor(Language::Chinese))), "自 08:05:00 起无读数");
    health.Record(true, t0 + 6);
    EXPECT_FALSE(health.Failing());
    EXPECT_EQ(health.StatusText(LiveTextsFor(Language::English)), "");

    // Nothing ever read: since the first poll that failed.
    LiveHealth never;
    never.Record(false, t0 + 10);
    never.Record(false, t0 + 12);
    EXPECT_FALSE(never.EverRead());
    EXPECT_EQ(never.StatusText(LiveTextsFor(Language::English)), "No reading since 08:05:10");
}

}  // namespace
}  // namespace velorin
