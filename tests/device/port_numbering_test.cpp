// Serial port numbers: the device behind a number, the COM<N> links of the port folder, and the
// list of ports Connect walks (over fixture folders standing in for the port folder and sysfs).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/serial_port.h"
#include "support/temp_dir.h"

namespace velorin {
namespace {

using test::ScopedEnv;
using test::TempDir;

class PortNumbering : public ::testing::Test {
protected:
    TempDir ports;  // an empty port folder unless a test adds links
    ScopedEnv env{"VELORIN_PORT_DIR", ports.Path()};
};

TEST_F(PortNumbering, DefaultDeviceOfEachNumber) {
    EXPECT_EQ(SerialDevicePath(1), "/dev/ttyS0");
    EXPECT_EQ(SerialDevicePath(32), "/dev/ttyS31");
    EXPECT_EQ(SerialDevicePath(33), "/dev/ttyUSB0");
    EXPECT_EQ(SerialDevicePath(64), "/dev/ttyUSB31");
    EXPECT_EQ(SerialDevicePath(65), "/dev/ttyACM0");
    EXPECT_EQ(SerialDevicePath(96), "/dev/ttyACM31");
    EXPECT_EQ(SerialDevicePath(0), "");
    EXPECT_EQ(SerialDevicePath(97), "");
    EXPECT_EQ(SerialDevicePath(-3), "");
}

TEST_F(PortNumbering, ALinkInThePortFolderTakesPrecedence) {
    const std::string com3 = ports.MakeLink("COM3", "/dev/pts/99");
    const std::string com120 = ports.MakeLink("COM120", "/dev/pts/98");
    EXPECT_EQ(SerialDevicePath(3), com3);
    EXPECT_EQ(SerialDevicePath(120), com120);  // a link gives even a number beyond 96 a device
    EXPECT_EQ(SerialDevicePath(4), "/dev/ttyS3");
}

TEST(DefaultPortNumber, DeviceNamesToNumbers) {
    EXPECT_EQ(DefaultPortNumber("/dev/ttyS3"), 4);
    EXPECT_EQ(DefaultPortNumber("ttyS0"), 1);
    EXPECT_EQ(DefaultPortNumber("ttyUSB0"), 33);
    EXPECT_EQ(DefaultPortNumber("ttyACM31"), 96);
    EXPECT_EQ(DefaultPortNumber("ttyS32"), 0);
    EXPECT_EQ(DefaultPortNumber("ttyS"), 0);
    EXPECT_EQ(DefaultPortNumber("tty0"), 0);
    EXPECT_EQ(DefaultPortNumber("ttyUSB1a"), 0);
}

class PortList : public ::testing::Test {
protected:
    TempDir root;
    std::string folder = root.MakeDir("ports");
    std::string sys = root.MakeDir("sys");

    // A /sys/class/tty entry with a device link (the real entries are links into the device
    // tree; a folder with a `device` link is all the walk looks at).
    void SysEntry(const std::string& name, const char* type = nullptr, const char* console = nullptr) {
        root.MakeLink("sys/" + name + "/device", "../../devices/" + name);
        if (type != nullptr) root.MakeFile("sys/" + name + "/type", std::string(type) + "\n");
        if (console != nullptr) root.MakeFile("sys/" + name + "/console", std::string(console) + "\n");
    }
    std::vector<int> List() const { return SerialPortList(folder, sys); }
};

TEST_F(PortList, LinksFirstInNumericOrderThenSysEntriesEachNumberOnce) {
    root.MakeLink("ports/COM12", "/dev/null");
    root.MakeLink("ports/COM3", "/dev/null");
    root.MakeFile("ports/notes.txt", "not a port");
    root.MakeLink("ports/COMx", "/dev/null");
    SysEntry("ttyUSB0");
    SysEntry("ttyS2", "4");  // port 3 again: already listed through its link
    SysEntry("ttyACM1");
    SysEntry("ttyS0", "4");
    EXPECT_EQ(List(), (std::vector<int>{3, 12, 1, 33, 66}));
}

TEST_F(PortList, SkipsConsoleUnbackedLegacyPortsAndEntriesWithoutDevice) {
    SysEntry("ttyS0", "4", "Y");  // the system console
    SysEntry("ttyS1", "0");       // serial8250 placeholder without a UART
    SysEntry("ttyS4", "4", "N");
    SysEntry("ttyUSB2", "0");   // type 0 only marks legacy ttyS ports
    root.MakeDir("sys/ttyS5");  // no device link: a virtual tty
    SysEntry("tty7");           // no port number
    SysEntry("console");
    EXPECT_EQ(List(), (std::vector<int>{5, 35}));
}

TEST_F(PortList, HoldsAtMostOneHundredEntries) {
    for (int n = 1; n <= 120; ++n) root.MakeLink("ports/COM" + std::to_string(n), "/dev/null");
    SysEntry("ttyUSB0");
    const std::vector<int> list = List();
    ASSERT_EQ(list.size(), kMaxPortListEntries);
    EXPECT_EQ(list.front(), 1);
    EXPECT_EQ(list.back(), 100);
}

TEST_F(PortList, UnreadableSysGivesOneToNineteenAfterTheLinks) {
    root.MakeLink("ports/COM40", "/dev/null");
    root.MakeLink("ports/COM5", "/dev/null");
    const std::vector<int> list = SerialPortList(folder, root.Path() + "/no-such-sys");
    std::vector<int> expected = {5, 40};
    for (int n = 1; n <= 19; ++n) {
        if (n != 5) expected.push_back(n);
    }
    EXPECT_EQ(list, expected);
}

TEST_F(PortList, AMissingPortFolderIsNoError) {
    SysEntry("ttyACM0");
    EXPECT_EQ(SerialPortList(root.Path() + "/no-such-folder", sys), (std::vector<int>{65}));
}

}  // namespace
}  // namespace velorin
