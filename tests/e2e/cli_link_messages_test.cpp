// What the CLI says when the link cannot be had: a port that does not exist, a path that is not a
// serial device, --hid without the USB library; in both languages and in full, never the
// communication timeout of a logger that does not answer.
#include <gtest/gtest.h>

#include <string>

#include "e2e/e2e_fixture.h"

namespace velorin::e2e {
namespace {

using LinkMessages = CliAgainstSimulator;

TEST_F(LinkMessages, EachFailureSaysWhatHappenedInBothLanguages) {
    const std::string missing = Workdir() + "/no-such-tty";
    RunResult r = Cli({"info", "--port", missing, "--lang", "en"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "There is no serial port COM1 (" + missing + ")\n");
    r = Cli({"live", "--port", missing, "--lang", "zh"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "串口COM1（" + missing + "）不存在\n");

    const std::string plain = work_.MakeFile("notes.txt", "not a tty");
    r = Cli({"download", "--port", plain, "--lang", "en"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, plain + " is not a serial device (COM1)\n");
    r = Cli({"info", "--port", "/dev/null", "--lang", "zh"});
    EXPECT_EQ(r.err, "/dev/null 不是串口设备（COM1）\n");

    r = Cli({"info", "--hid", "--lang", "en"}, {"VELORIN_KVUSB=/nonexistent/libkvusb.so"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("The USB link is not available: the USB library /nonexistent/libkvusb.so could not be "
                         "loaded ("),
              std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find("Communication timeout"), std::string::npos) << r.err;
    r = Cli({"stop", "--hid", "--lang", "zh"}, {"VELORIN_KVUSB=/nonexistent/libkvusb.so"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("USB连接不可用：无法加载USB库 /nonexistent/libkvusb.so（"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("通讯超时"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace velorin::e2e
