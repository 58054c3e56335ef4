// Where Help looks for the manual: beside the program's prefix, per interface language, with the
// path cleaned for the "not found" message.
#include <gtest/gtest.h>

#include "common/language.h"
#include "common/manual_path.h"

namespace velorin {
namespace {

TEST(ManualPath, FollowsThePrefixOfTheProgramAndTheLanguage) {
    EXPECT_EQ(ManualFolder("/usr/bin"), "/usr/share/doc/velorin/manual");
    EXPECT_EQ(ManualFolder("/opt/velorin/bin/"), "/opt/velorin/share/doc/velorin/manual");
    EXPECT_EQ(ManualFolder("/home/u/velorin/build/bin"), "/home/u/velorin/build/share/doc/velorin/manual");
    EXPECT_EQ(ManualPath("/usr/share/doc/velorin/manual", Language::English),
              "/usr/share/doc/velorin/manual/en/index.html");
    EXPECT_EQ(ManualPath("/m/", Language::Chinese), "/m/zh/index.html");
    // Exactly "English" chooses English; anything else, even an empty name, Chinese.
    EXPECT_EQ(ManualPath("/m", LanguageFromName("english")), "/m/zh/index.html");
    EXPECT_EQ(ManualPath("/m", LanguageFromName("")), "/m/zh/index.html");
}

}  // namespace
}  // namespace velorin
