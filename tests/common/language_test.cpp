// Language.ini: exactly "English" means English; everything else is Chinese.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <string>

#include "common/language.h"
#include "support/temp_dir.h"

namespace velorin {

// gtest finds this by argument-dependent lookup for failure messages.
void PrintTo(Language language, std::ostream* out) { *out << (language == Language::English ? "English" : "Chinese"); }

namespace {

TEST(LanguageName, OnlyTheExactNameEnglishIsEnglish) {
    EXPECT_EQ(LanguageFromName("English"), Language::English);
    EXPECT_EQ(LanguageFromName("Chinese"), Language::Chinese);
    for (const std::string other :
         {"english", "ENGLISH", "", "English\n", "English\r\n", " English", "Chinese ", "Englis", "Klingon"}) {
        EXPECT_EQ(LanguageFromName(other), Language::Chinese) << '"' << other << '"';
    }
    // A NUL after the name is content too.
    EXPECT_EQ(LanguageFromName(std::string("English\0", 8)), Language::Chinese);
}

// Menus and the About box built from the interface language show that language's texts; where
// the file left it to the system (0), Chinese ones.
TEST(LanguageName, WindowsOfTheUiLanguageTakeItsTexts) {
    EXPECT_EQ(UiTextLanguage(kUiEnglish), Language::English);
    EXPECT_EQ(UiTextLanguage(kUiChinese), Language::Chinese);
    EXPECT_EQ(UiTextLanguage(0), Language::Chinese);
}

class LanguageFile : public ::testing::Test {
protected:
    void Write(const std::string& bytes) { std::ofstream(path_, std::ios::binary) << bytes; }
    test::TempDir dir_;
    const std::string path_ = dir_.Path() + "/Language.ini";
};

TEST_F(LanguageFile, MissingFileMeansChinese) {
    const LanguageSetting s = ReadLanguage(path_);
    EXPECT_EQ(s.languageName, "Chinese");
    EXPECT_EQ(s.language, Language::Chinese);
    EXPECT_EQ(s.uiLanguage, 2052);
}

TEST_F(LanguageFile, ContentDecidesExactly) {
    Write("English");
    EXPECT_EQ(ReadLanguage(path_).uiLanguage, 1033);
    EXPECT_EQ(ReadLanguage(path_).language, Language::English);

    Write("English\n");  // a line break makes it another name
    LanguageSetting s = ReadLanguage(path_);
    EXPECT_EQ(s.languageName, "English\n");
    EXPECT_EQ(s.uiLanguage, 0);
    EXPECT_EQ(s.language, Language::Chinese);

    Write("Chinese");
    EXPECT_EQ(ReadLanguage(path_).uiLanguage, 2052);
    EXPECT_EQ(ReadLanguage(path_).language, Language::Chinese);
    Write("english");
    EXPECT_EQ(ReadLanguage(path_).language, Language::Chinese);
    Write("");
    EXPECT_EQ(ReadLanguage(path_).languageName, "");
    EXPECT_EQ(ReadLanguage(path_).language, Language::Chinese);
}

// Menus and dialogs follow the file's choice; where the file leaves it open ("English\n", an
// unreadable file) they follow the system's locale, while the texts stay Chinese.
TEST_F(LanguageFile, MenusFollowTheSystemWhenTheFileLeavesItOpen) {
    Write("English\n");
    const LanguageSetting open = ReadLanguage(path_);
    EXPECT_EQ(EffectiveUiLanguage(open, "en_US"), kUiEnglish);
    EXPECT_EQ(EffectiveUiLanguage(open, "C"), kUiEnglish);
    EXPECT_EQ(EffectiveUiLanguage(open, "zh_CN"), kUiChinese);
    EXPECT_EQ(open.language, Language::Chinese);

    Write("English");
    EXPECT_EQ(EffectiveUiLanguage(ReadLanguage(path_), "zh_CN"), kUiEnglish);
    Write("Chinese");
    EXPECT_EQ(EffectiveUiLanguage(ReadLanguage(path_), "en_GB"), kUiChinese);
    std::remove(path_.c_str());
    EXPECT_EQ(EffectiveUiLanguage(ReadLanguage(path_), "en_GB"), kUiChinese);
}

TEST_F(LanguageFile, UnreadableFileGivesAnEmptyName) {
    ASSERT_EQ(mkdir(path_.c_str(), 0755), 0);  // exists, but cannot be read as a file
    const LanguageSetting s = ReadLanguage(path_);
    EXPECT_EQ(s.languageName, "");
    EXPECT_EQ(s.language, Language::Chinese);
    EXPECT_EQ(s.uiLanguage, 0);
}

TEST_F(LanguageFile, SwitchingTwiceReturnsToTheFirstLanguage) {
    Write("English");
    std::string name = ReadLanguage(path_).languageName;
    for (int i = 0; i < 2; ++i) {
        name = SwitchedLanguageName(name);
        ASSERT_TRUE(WriteLanguage(name, path_));
        name = ReadLanguage(path_).languageName;
        EXPECT_EQ(name, i == 0 ? "Chinese" : "English");
    }
    // Seven bytes, no terminator.
    std::ifstream in(path_, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "English");
    EXPECT_EQ(SwitchedLanguageName("Klingon"), "Klingon");
}

TEST_F(LanguageFile, RelativeNameFollowsTheWorkingDirectory) {
    Write("English");
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(dir_.Path().c_str()), 0);
    const LanguageSetting here = ReadLanguage();
    ASSERT_EQ(chdir("/"), 0);
    const LanguageSetting root = ReadLanguage();
    ASSERT_EQ(chdir(previous), 0);
    EXPECT_EQ(here.languageName, "English");
    EXPECT_NE(root.languageName, "English");
}

}  // namespace
}  // namespace velorin
