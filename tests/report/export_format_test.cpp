// The locale-free number and time formatting of the exports, checked against the C library's
// printf over millions of floats, and the exports under a locale with a decimal comma.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "history/record_set.h"
#include "report/export_format.h"
#include "report/export_test_data.h"
#include "report/text_export.h"
#include "support/temp_dir.h"

namespace velorin {
namespace {

std::string Printf(const char* format, double v) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, v);
    return buffer;
}

std::string Fixed(float v, int decimals) {
    std::string out;
    AppendFixed(out, v, decimals);
    return out;
}

float FromBits(uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

// Compares both decimals for `v`; returns false (once reported) on a difference.
bool SameAsPrintf(float v) {
    const std::string one = Fixed(v, 1), two = Fixed(v, 2);
    const std::string want1 = Printf("%.1f", v), want2 = Printf("%.2f", v);
    if (one == want1 && two == want2) return true;
    ADD_FAILURE() << "value " << Printf("%.9g", v) << ": %.1f gives '" << one << "', printf '" << want1
                  << "'; %.2f gives '" << two << "', printf '" << want2 << "'";
    return false;
}

class FixedFormat : public ::testing::Test {
protected:
    // printf's output is the reference, so it must run in the "C" locale.
    void SetUp() override { ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C"); }
};

TEST_F(FixedFormat, EdgeValuesMatchPrintf) {
    const float edges[] = {0.0f,
                           -0.0f,
                           0.04f,
                           -0.04f,
                           0.05f,
                           -0.05f,
                           0.005f,
                           -0.005f,
                           0.25f,
                           0.75f,
                           -0.25f,
                           1.25f,
                           2.5f,
                           0.125f,
                           0.375f,
                           -0.625f,
                           9.95f,
                           9.96f,
                           99.95f,
                           0.95f,
                           0.995f,
                           1e-45f,
                           -1e-45f,
                           1.17549435e-38f,
                           25.3f,
                           25.25f,
                           -3276.7f,
                           0.0001f,
                           327.67f,
                           -327.68f,
                           1e7f,
                           8388607.5f,
                           16777216.0f,
                           1e14f,
                           9.99e13f,
                           1e15f,
                           1.0000001e15f,
                           1e16f,
                           1e20f,
                           -1e20f,
                           3.4028235e38f,
                           -3.4028235e38f,
                           std::numeric_limits<float>::infinity(),
                           -std::numeric_limits<float>::infinity(),
                           std::numeric_limits<float>::quiet_NaN(),
                           -std::numeric_limits<float>::quiet_NaN()};
    for (float v : edges) SameAsPrintf(v);
    EXPECT_EQ(Fixed(-0.04f, 1), "-0.0");
    EXPECT_EQ(Fixed(0.25f, 1), "0.2");  // exact tie: to even
    EXPECT_EQ(Fixed(0.75f, 1), "0.8");
    EXPECT_EQ(Fixed(0.125f, 2), "0.12");
    EXPECT_EQ(Fixed(-3276.7f, 1), "-3276.7");
    EXPECT_EQ(Fixed(-3276.7f, 2), "-3276.70");
}

TEST_F(FixedFormat, TiesAndNeighboursOfEveryTenthMatchPrintf) {
    // Every multiple of 1/8 up to 2^20 is an exact tie or exact value at one or two decimals;
    // the floats right next to k/10 and k/100 are where a wrong rounding would show first.
    int failures = 0;
    for (int k = -(1 << 23); k <= (1 << 23) && failures < 10; k += 37) {
        const float eighth = static_cast<float>(k) / 8.0f;
        const float tenth = static_cast<float>(k) / 100.0f;
        for (float v : {eighth, tenth, std::nextafter(tenth, 1e30f), std::nextafter(tenth, -1e30f)}) {
            if (!SameAsPrintf(v)) ++failures;
        }
    }
}

TEST_F(FixedFormat, RandomFloatsMatchPrintf) {
    std::mt19937 random(20250309);
    int failures = 0;
    // Every bit pattern is possible: subnormals, huge values, infinities, NaNs of both signs.
    for (int i = 0; i < 1000000 && failures < 10; ++i) {
        if (!SameAsPrintf(FromBits(static_cast<uint32_t>(random())))) ++failures;
    }
    // Logger-like values, where the fast path is taken.
    std::uniform_real_distribution<float> readings(-5000.0f, 5000.0f);
    for (int i = 0; i < 1000000 && failures < 10; ++i) {
        if (!SameAsPrintf(readings(random))) ++failures;
    }
}

TEST(IntegerFormat, MatchesPrintfIncludingOddValues) {
    const int32_t values[] = {0, 1, 9, 10, 99, 100, 12345, -1, -5, -10, -99, -100, 2147483647, -2147483647 - 1};
    for (int32_t v : values) {
        char want[32];
        std::string got;
        AppendInt(got, v);
        std::snprintf(want, sizeof want, "%d", v);
        EXPECT_EQ(got, want);
        got.clear();
        AppendInt(got, v, 2);
        std::snprintf(want, sizeof want, "%.2d", v);
        EXPECT_EQ(got, want);
    }
}

TEST(IntegerFormat, RecordTimeOfDamagedFieldsStaysReadable) {
    SampleRecord r;
    r.year = 25;
    r.month = 3;
    r.day = 9;
    r.hour = 7;
    r.minute = 5;
    r.second = 0;
    std::string out;
    AppendRecordTime(out, r);
    EXPECT_EQ(out, "2025-03-09 07:05:00");
    // A damaged file may hold anything; the year must not overflow and signs stay printf's.
    r.year = 2147483647;
    r.month = -3;
    r.day = 123;
    out.clear();
    AppendRecordTime(out, r);
    EXPECT_EQ(out, "2147485647--03-123 07:05:00");
}

// Restores the "C" locale however the test ends.
struct LocaleGuard {
    ~LocaleGuard() { std::setlocale(LC_ALL, "C"); }
};

TEST(ExportLocale, DecimalCommaLocaleDoesNotReachTheFiles) {
    LocaleGuard guard;
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr && std::setlocale(LC_ALL, "fr_FR.UTF-8") == nullptr) {
        GTEST_SKIP() << "no German or French locale installed";
    }
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 25.3);
    ASSERT_STREQ(probe, "25,3") << "the locale has no decimal comma; the test would prove nothing";

    RecordSet set = test::SmallSet(2);
    set.records[1].value[0] = 1e20f;  // beyond the integer path: formatted by the C library
    test::TempDir dir;
    const ExportResult csv = ExportCsv(set, dir.Path() + "/de", ExportOptions());
    const ExportResult txt = ExportTxt(set, dir.Path() + "/de", ExportOptions());
    ASSERT_TRUE(csv.ok && txt.ok);
    const std::string csvText = test::ReadFileBytes(csv.path);
    const std::string txtText = test::ReadFileBytes(txt.path);
    EXPECT_NE(csvText.find(",25.3,-3276.7,"), std::string::npos);
    EXPECT_NE(csvText.find(",100000002004087734272.0,"), std::string::npos);
    EXPECT_NE(csvText.find("12.25"), std::string::npos);
    EXPECT_NE(txtText.find("   25.3     "), std::string::npos);
    EXPECT_EQ(csvText.find("25,3"), std::string::npos);
    EXPECT_EQ(txtText.find("25,3"), std::string::npos);
    EXPECT_EQ(txtText.find("12,25"), std::string::npos);
}

}  // namespace
}  // namespace velorin
