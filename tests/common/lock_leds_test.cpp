#include "common/lock_leds.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace velorin {
namespace {

void AddLed(const test::TempDir& dir, const std::string& name, const char* brightness) {
    dir.MakeFile(name + "/brightness", brightness);
}

TEST(LockLeds, AnyLitKeyboardCountsAndOtherLightsAreIgnored) {
    test::TempDir dir;
    AddLed(dir, "input3::capslock", "0\n");
    AddLed(dir, "input7::capslock", "1\n");  // a second keyboard
    AddLed(dir, "input3::numlock", "0\n");
    AddLed(dir, "input3::scrolllock", "255\n");
    AddLed(dir, "phy0-led", "1\n");  // not a lock light
    AddLed(dir, "input3::kana", "1\n");
    const LockLeds leds = ReadLockLeds(dir.Path());
    EXPECT_TRUE(leds.found);
    EXPECT_TRUE(leds.capsLock);
    EXPECT_FALSE(leds.numLock);
    EXPECT_TRUE(leds.scrollLock);
}

TEST(LockLeds, MissingFolderOrUnreadableBrightnessMeansUnknownOrOff) {
    EXPECT_FALSE(ReadLockLeds("/nonexistent/leds").found);
    test::TempDir dir;
    dir.MakeDir("input1::numlock");  // no brightness file
    AddLed(dir, "input1::capslock", "garbage");
    const LockLeds leds = ReadLockLeds(dir.Path());
    EXPECT_TRUE(leds.found);
    EXPECT_FALSE(leds.numLock);
    EXPECT_FALSE(leds.capsLock);
}

}  // namespace
}  // namespace velorin
