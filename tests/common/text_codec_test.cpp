// GBK at the edges, fixed-width fields, locale-independent numbers.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/format.h"
#include "common/text_codec.h"
#include "support/temp_dir.h"

namespace velorin {
namespace {

TEST(TextCodec, GbkRoundTripOfTheProgramsCharacters) {
    const std::string utf8 = "温度℃ ％RH ×100℃ 米/秒 —Rec Inter ：";
    const std::string gbk = Utf8ToGbk(utf8);
    EXPECT_EQ(Utf8ToGbk("手动模式").size(), 8u);  // four characters fit a 9-byte field
    EXPECT_EQ(static_cast<unsigned char>(Utf8ToGbk("℃")[0]), 0xA1);
    EXPECT_EQ(GbkToUtf8(gbk), utf8);
}

TEST(TextCodec, BytesFromOutsideNeverBreakTheConversion) {
    // A lead byte at the very end, an invalid pair, and plain ASCII around them.
    const std::string bad = std::string("ab\x81", 3);
    EXPECT_EQ(GbkToUtf8(bad), "ab\xEF\xBF\xBD");
    const std::string pair = std::string("x\xFF\xFFy", 4);
    const std::string out = GbkToUtf8(pair);
    EXPECT_EQ(out.front(), 'x');
    EXPECT_EQ(out.back(), 'y');
    EXPECT_NE(out.find("\xEF\xBF\xBD"), std::string::npos);
    EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80"
                        "b"),
              "a?b");  // no GBK form: one mark per character
}

TEST(TextCodec, FixedFieldsAreBoundedBothWays) {
    char field[9];
    std::memset(field, 'x', sizeof field);
    StoreInField(field, "Recording");  // 9 characters into 9 bytes: 8 kept, terminated
    EXPECT_EQ(std::string(field), "Recordin");
    char unterminated[8] = {'V', 'L', 'R', '-', 'T', '8', '1', '0'};
    EXPECT_EQ(ReadField(unterminated), "VLR-T810");
    char shortText[8] = {'A', 'B', 0, 'C'};
    EXPECT_EQ(ReadField(shortText), "AB");
}

TEST(TextCodec, GbkTextsAreCutAtACharacterBoundary) {
    const std::string wen = "\xCE\xC2";  // 温
    EXPECT_EQ(GbkFittingBytes(std::string(29, 'a') + wen, 30), 29u);
    EXPECT_EQ(GbkFittingBytes(std::string(28, 'a') + wen, 30), 30u);
    const FittedText fitted = FitGbk(std::string(29, 'a') + wen, 30);
    EXPECT_EQ(fitted.bytes, std::string(29, 'a'));
    EXPECT_TRUE(fitted.shortened);
    EXPECT_FALSE(FitGbk(std::string(28, 'a') + wen, 30).shortened);
    // A lead byte without a valid trail byte stands alone; a four-byte sequence stays whole.
    EXPECT_EQ(GbkFittingBytes(std::string("\x81\x20z", 3), 1), 1u);
    EXPECT_EQ(GbkFittingBytes(std::string("a\x81\x30\x81\x30", 5), 4), 1u);

    char field[9];  // 8 usable bytes: four characters fit, a fifth is not halved
    StoreInField(field, "a" + wen + wen + wen + wen);
    EXPECT_EQ(std::string(field), "a" + wen + wen + wen);
}

TEST(TextCodec, NumbersIgnoreTheProcessLocale) {
    // Build a German locale in a private folder; without localedef there is nothing to prove.
    const test::TempDir folder;
    const char* dir = folder.Path().c_str();
    const std::string cmd = std::string("localedef -i de_DE -f UTF-8 ") + dir + "/de_DE.UTF-8 >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) GTEST_SKIP() << "localedef cannot build de_DE here";
    setenv("LOCPATH", dir, 1);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "locale not loadable";
    char native[32];
    std::snprintf(native, sizeof native, "%.1f", 25.3);
    const std::string ours = FormatC("%.1f|%0.2f|%d", 25.3, -12.5, 7);
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
    EXPECT_EQ(std::string(native), "25,3");  // the locale really was in force
    EXPECT_EQ(ours, "25.3|-12.50|7");
}

TEST(TextCodec, LongFormatsAreNotCut) {
    const std::string big(1000, 'z');
    EXPECT_EQ(FormatC("<%s>", big.c_str()), "<" + big + ">");
}

}  // namespace
}  // namespace velorin
