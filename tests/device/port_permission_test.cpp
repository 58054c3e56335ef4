// Which group a refused serial device asks the user to join, and the hint in both languages.
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "device/port_permission.h"
#include "support/temp_dir.h"

namespace velorin {
namespace {

bool ProcessHolds(gid_t gid) {
    if (getegid() == gid) return true;
    std::vector<gid_t> groups(static_cast<size_t>(getgroups(0, nullptr)) + 1);
    const int n = getgroups(static_cast<int>(groups.size()), groups.data());
    for (int i = 0; i < n; ++i) {
        if (groups[static_cast<size_t>(i)] == gid) return true;
    }
    return false;
}

// A stand-in device node owned by group "dialout" with the usual tty mode 0660.
class PortPermission : public ::testing::Test {
protected:
    void SetUp() override {
        const group* g = getgrnam("dialout");
        if (g == nullptr) GTEST_SKIP() << "no group dialout on this system";
        dialout_ = g->gr_gid;
        if (ProcessHolds(dialout_)) GTEST_SKIP() << "this process is in dialout already";
        device_ = dir_.MakeFile("ttyUSB0", "");
        if (chown(device_.c_str(), static_cast<uid_t>(-1), dialout_) != 0) {
            GTEST_SKIP() << "cannot give the file to dialout (tests run as root in CI)";
        }
        ASSERT_EQ(chmod(device_.c_str(), 0660), 0);
    }

    test::TempDir dir_;
    gid_t dialout_ = 0;
    std::string device_;
};

TEST_F(PortPermission, APermissionErrorNamesTheDevicesGroup) {
    EXPECT_EQ(GroupToJoin(device_, EACCES), "dialout");
    EXPECT_EQ(GroupToJoin(device_, EPERM), "dialout");
    // The COM<N> link of the port folder is followed to the device.
    const std::string link = dir_.MakeLink("COM3", device_);
    EXPECT_EQ(GroupToJoin(link, EACCES), "dialout");
}

TEST_F(PortPermission, NoGroupWhenJoiningCannotHelp) {
    EXPECT_EQ(GroupToJoin(device_, ENOENT), "");
    EXPECT_EQ(GroupToJoin(device_, EBUSY), "");
    EXPECT_EQ(GroupToJoin(device_, 0), "");
    EXPECT_EQ(GroupToJoin(dir_.Path() + "/ttyUSB9", EACCES), "");
    EXPECT_EQ(GroupToJoin(dir_.MakeLink("COM4", dir_.Path() + "/gone"), EACCES), "");
    EXPECT_EQ(GroupToJoin("", EACCES), "");
    // The group may not read and write the device: membership would change nothing.
    ASSERT_EQ(chmod(device_.c_str(), 0640), 0);
    EXPECT_EQ(GroupToJoin(device_, EACCES), "");
    ASSERT_EQ(chmod(device_.c_str(), 0600), 0);
    EXPECT_EQ(GroupToJoin(device_, EACCES), "");
    // Nobody is told to join root.
    ASSERT_EQ(chmod(device_.c_str(), 0660), 0);
    ASSERT_EQ(chown(device_.c_str(), static_cast<uid_t>(-1), 0), 0);
    EXPECT_EQ(GroupToJoin(device_, EACCES), "");
}

TEST_F(PortPermission, HintInBothLanguages) {
    const std::string english = PortPermissionHint(device_, EACCES, Language::English);
    EXPECT_EQ(english, "No permission to open " + device_ +
                           ": add your user to the group 'dialout' (sudo usermod -aG dialout "
                           "$USER) and log in again");
    const std::string chinese = GbkToUtf8(PortPermissionHint(device_, EACCES, Language::Chinese));
    EXPECT_EQ(chinese, "无权打开 " + device_ +
                           "：请把当前用户加入组“dialout”"
                           "（sudo usermod -aG dialout $USER）后重新登录");
    // Anything but "English" is Chinese.
    EXPECT_EQ(PortPermissionHint(device_, EACCES, LanguageFromName("english")),
              PortPermissionHint(device_, EACCES, Language::Chinese));
    EXPECT_EQ(PortPermissionHint(device_, ENOENT, Language::English), "");
    EXPECT_EQ(PortPermissionHint(device_, ENOENT, Language::Chinese), "");
}

TEST_F(PortPermission, AFolderNameOutsideAsciiStaysReadableInTheChineseHint) {
    // File names are UTF-8, the hint is GBK: the path is converted, not pasted in as bytes.
    const std::string device = dir_.MakeFile("串口/ttyUSB1", "");
    ASSERT_EQ(chown(device.c_str(), static_cast<uid_t>(-1), dialout_), 0);
    ASSERT_EQ(chmod(device.c_str(), 0660), 0);
    const std::string hint = GbkToUtf8(PortPermissionHint(device, EACCES, Language::Chinese));
    EXPECT_NE(hint.find(device), std::string::npos) << hint;
}

}  // namespace
}  // namespace velorin
