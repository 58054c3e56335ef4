// CSerialPort on real devices: ports that do not exist, a pseudo-terminal standing in for a
// serial line, reopening, and reading only what is queued.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>

#include "common/texts.h"
#include "device/serial_port.h"
#include "support/pty_peer.h"
#include "support/recorded_messages.h"
#include "support/temp_dir.h"

namespace velorin {
namespace {

using test::PollUntil;
using test::PtyPeer;

int OpenDescriptorCount() {
    int count = 0;
    DIR* dir = opendir("/proc/self/fd");
    if (dir == nullptr) return -1;
    while (dirent* e = readdir(dir)) {
        if (e->d_name[0] != '.') ++count;
    }
    closedir(dir);
    return count - 1;  // the descriptor of the listing itself
}

class SerialPortOnPty : public ::testing::Test {
protected:
    static constexpr int kPtyPort = 7;

    void SetUp() override {
        ASSERT_TRUE(peer.Ok());
        ports.MakeLink("COM" + std::to_string(kPtyPort), peer.SlavePath());
        port.SetMessageSink(&messages);
    }
    bool Open(int number = kPtyPort) { return port.OpenPort(number, 115200, 'N', 8, 1); }

    test::TempDir ports;
    test::ScopedEnv env{"VELORIN_PORT_DIR", ports.Path()};
    PtyPeer peer;
    test::RecordedMessages messages;
    CSerialPort port;
};

TEST_F(SerialPortOnPty, APortThatDoesNotExistFailsWithoutAMessage) {
    ports.MakeLink("COM5", ports.Path() + "/gone");
    const std::string plainFile = ports.MakeFile("not-a-tty", "x");
    ports.MakeLink("COM6", plainFile);
    for (int number : {5, 6, 0, 97}) {
        EXPECT_FALSE(Open(number)) << number;
        EXPECT_FALSE(port.IsOpen()) << number;
        EXPECT_EQ(port.PortNumber(), number);
    }
    EXPECT_TRUE(messages.Boxes().empty());
    EXPECT_TRUE(messages.Statuses().empty());
    EXPECT_FALSE(Open(5));
    EXPECT_EQ(port.LastOpenError(), ENOENT);
    EXPECT_FALSE(Open(6));
    EXPECT_EQ(port.LastOpenError(), ENOTTY);
}

TEST_F(SerialPortOnPty, OpeningDiscardsBytesQueuedBefore) {
    const uint8_t stale[5] = {'(', 1, 2, 3, ')'};
    ASSERT_TRUE(peer.Write(stale, sizeof stale));
    ASSERT_TRUE(PollUntil([&] { return peer.QueuedAtSlave() == 5; }, 2000));
    ASSERT_TRUE(Open());
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(port.BytesWaiting(), 0);
    EXPECT_EQ(peer.QueuedAtSlave(), 0);

    const uint8_t fresh[3] = {7, 8, 9};
    ASSERT_TRUE(peer.Write(fresh, sizeof fresh));
    ASSERT_TRUE(PollUntil([&] { return port.BytesWaiting() == 3; }, 2000));
    uint8_t got[8] = {};
    ASSERT_EQ(port.ReadAvailable(got, sizeof got), 3);
    EXPECT_EQ(std::memcmp(got, fresh, 3), 0);
    EXPECT_TRUE(messages.Boxes().empty());
}

TEST_F(SerialPortOnPty, ReopeningClosesTheOldDescriptor) {
    const int before = OpenDescriptorCount();
    ASSERT_TRUE(Open());
    EXPECT_EQ(OpenDescriptorCount(), before + 1);
    ASSERT_TRUE(Open());
    EXPECT_EQ(OpenDescriptorCount(), before + 1);
    EXPECT_FALSE(Open(97));  // a failed open still releases the port that was open
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(OpenDescriptorCount(), before);
    ASSERT_TRUE(Open());
    port.ClosePort();
    port.ClosePort();
    EXPECT_EQ(OpenDescriptorCount(), before);
}

TEST_F(SerialPortOnPty, ClosingGivesUpExclusiveUse) {
    // The port is taken for exclusive use while open. A logger simulator keeps its side of the
    // pty open between actions, so a flag left behind would lock every later open out.
    ASSERT_TRUE(Open());
    int exclusive = 0;
    ASSERT_EQ(ioctl(peer.KeptSlaveFd(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1);
    port.ClosePort();
    ASSERT_EQ(ioctl(peer.KeptSlaveFd(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
}

TEST_F(SerialPortOnPty, ReadAvailableTakesOnlyWhatIsQueued) {
    ASSERT_TRUE(Open());
    const uint8_t bytes[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    ASSERT_TRUE(peer.Write(bytes, sizeof bytes));
    ASSERT_TRUE(PollUntil([&] { return port.BytesWaiting() == 10; }, 2000));

    uint8_t got[64];
    std::memset(got, 0xA5, sizeof got);
    EXPECT_EQ(port.ReadAvailable(got, 4), 4);
    EXPECT_EQ(port.BytesWaiting(), 6);
    EXPECT_EQ(port.ReadAvailable(got + 4, 64 - 4), 6);
    EXPECT_EQ(std::memcmp(got, bytes, 10), 0);
    EXPECT_EQ(got[10], 0xA5);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.ReadAvailable(got, 64), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
}

TEST_F(SerialPortOnPty, AClosedPortReadsAndWritesNothing) {
    uint8_t buffer[4] = {1, 2, 3, 4};
    EXPECT_EQ(port.BytesWaiting(), 0);
    EXPECT_EQ(port.ReadAvailable(buffer, 4), 0);
    EXPECT_EQ(port.WriteBlock(buffer, 4), 0);
    port.PurgeInput();
}

TEST_F(SerialPortOnPty, PurgeInputDropsReceivedBytes) {
    ASSERT_TRUE(Open());
    const uint8_t bytes[4] = {1, 2, 3, 4};
    ASSERT_TRUE(peer.Write(bytes, sizeof bytes));
    ASSERT_TRUE(PollUntil([&] { return port.BytesWaiting() == 4; }, 2000));
    port.PurgeInput();
    EXPECT_EQ(port.BytesWaiting(), 0);
}

TEST_F(SerialPortOnPty, CommErrorNamesOperationSystemTextAndPort) {
    ASSERT_TRUE(Open());
    errno = EIO;
    port.ReportCommError("SetCommState()");
    const auto boxes = messages.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, std::string("WARNING:  SetCommState() Failed with the following error: \n") +
                                 std::strerror(EIO) + "\nPort: 7\n");
    EXPECT_EQ(boxes[0].caption, "Application Error");
    EXPECT_EQ(boxes[0].icon, MessageIcon::Error);
}

}  // namespace
}  // namespace velorin
