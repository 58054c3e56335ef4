// Connect's choice of link, its flags and messages, with the USB library replaced by plain
// functions that play a logger.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "common/user_messages.h"
#include "device/command_flags.h"
#include "device/connect.h"
#include "device/device_info.h"
#include "device/frame.h"
#include "device/link.h"
#include "support/pty_peer.h"
#include "support/temp_dir.h"

namespace velorin {
namespace {

struct RecordedMessages : UserMessages {
    std::vector<std::string> boxes, statuses;
    void MessageBox(const std::string& text, const std::string&, MessageIcon) override { boxes.push_back(text); }
    void Status(const std::string& text) override { statuses.push_back(text); }
};

// The fake logger on the USB link.
struct FakeUsbLogger {
    bool attached = true;
    bool part1Fails = false;
    int handlesOpened = 0;
    int handlesClosed = 0;
    std::vector<uint32_t> reads;
    uint8_t info[kInfoDataBytes] = {};
    uint8_t handles[4] = {};
};
FakeUsbLogger* g_logger = nullptr;

KvusbHandle FakeFind(const wchar_t* manufacturer, const wchar_t* product, int) {
    if (!g_logger->attached || std::wcscmp(manufacturer, L"tavmok") != 0 ||
        std::wcscmp(product, L"4826vomu-pWren") != 0) {
        return nullptr;
    }
    return &g_logger->handles[g_logger->handlesOpened++ % 4];
}

int FakeWrite(KvusbHandle, int, unsigned char*, int, unsigned int) { return 1; }

int FakeRead(KvusbHandle, int selector, unsigned char* report, int length, unsigned int code) {
    g_logger->reads.push_back(code | (static_cast<uint32_t>(selector) << 24));
    if (length != 64) return 0;
    const uint8_t command = static_cast<uint8_t>(code >> 16);
    const uint8_t part = static_cast<uint8_t>(code >> 8);
    const uint8_t index = static_cast<uint8_t>(code);
    if (selector == KVUSB_SELECTOR_SECONDARY) {
        report[13] = 4;
        return 1;
    }
    if (command == cmd::InfoQuery && part == 0) {
        report[0] = 63;
        std::memcpy(report + 1, g_logger->info, 63);
    } else if (command == cmd::InfoQuery && part == 1) {
        if (g_logger->part1Fails) return 0;
        report[0] = kInfoDataBytes - 63;
        std::memcpy(report + 1, g_logger->info + 63, kInfoDataBytes - 63);
    } else if (command == cmd::IdentityQuery) {
        report[0] = 24;
        std::memcpy(report + 1,
                    "VLR-T810\0"
                    "20261209",
                    17);
        report[1 + 19] = 11;
        WriteU32BE(report + 1 + 20, 4000);
    } else if (command == cmd::ChannelQuery) {
        report[0] = 21;                                          // channel data bytes 0..20
        report[1 + 1] = 1;                                       // quantity
        report[1 + 3] = 0x02;                                    // ChannelType
        WriteU16BE(report + 1 + 5, static_cast<uint16_t>(-40));  // range low, whole units
        WriteU16BE(report + 1 + 7, 85);
        report[1 + 13] = 1;
        WriteU16BE(report + 1 + 17, static_cast<uint16_t>(300 + index));
    } else {
        return 0;
    }
    return 1;
}

void FakeClose(KvusbHandle) { ++g_logger->handlesClosed; }

class ConnectTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_logger = &logger_;
        link_.usb.findDevice = FakeFind;
        link_.usb.sendHWriteData = FakeWrite;
        link_.usb.sendHReadData = FakeRead;
        link_.usb.closeDevice = FakeClose;
        logger_.info[74] = 0x05;  // channels 1 and 3
        WriteU32BE(logger_.info + 99, 5000);
        logger_.info[65] = 1;
    }
    FakeUsbLogger logger_;
    Link link_;
    DeviceInfo info_;
    ConnectState state_;
    RecordedMessages messages_;
};

TEST_F(ConnectTest, UsbLinkReadsEverythingAndEnablesTheDeviceCommands) {
    state_.usbConnected = true;
    const ConnectResult r = Connect(link_, info_, state_, {}, Language::English, messages_);
    EXPECT_EQ(r.outcome, ConnectOutcome::UsbLink);
    EXPECT_TRUE(r.infoRead);
    EXPECT_TRUE(r.refillPanel);
    EXPECT_EQ(link_.currentPort, HID_LINK_PORT);
    EXPECT_TRUE(r.LoggerFound());
    EXPECT_EQ(info_.storedRecordCount, 5000);
    EXPECT_EQ(info_.overflowCount, 1000);
    EXPECT_EQ(ReadField(info_.serialNumber), "20261209");
    EXPECT_EQ(info_.channel[0].rangeLowX10, -400);
    EXPECT_EQ(info_.channel[2].upperAlarmX10, 302);  // index 2 asked for the third channel
    EXPECT_EQ(info_.channel[1].quantityCode, 0);     // disabled channel not read
    EXPECT_EQ(info_.overLimitIntervalIndex, 4);
    EXPECT_TRUE(state_.usbConnected);
    ASSERT_GE(messages_.statuses.size(), 3u);
    EXPECT_EQ(messages_.statuses[0], "connecting......");
    EXPECT_EQ(messages_.statuses[1], "Find USB device, connect USB device");
    EXPECT_EQ(messages_.statuses.back(), "Connected USB device!");
    EXPECT_TRUE(messages_.boxes.empty());
}

TEST_F(ConnectTest, UsbLinkWithoutTheSecondPartStillConnectsButDecodesNothing) {
    state_.usbConnected = true;
    logger_.part1Fails = true;
    const ConnectResult r = Connect(link_, info_, state_, {}, Language::Chinese, messages_);
    EXPECT_EQ(r.outcome, ConnectOutcome::UsbLink);
    EXPECT_FALSE(r.infoRead);
    EXPECT_TRUE(r.LoggerFound());  // the program enables its commands either way
    EXPECT_EQ(info_.storedRecordCount, 0);
    for (uint32_t code : logger_.reads) EXPECT_EQ((code >> 16) & 0xFF, cmd::InfoQuery);
    EXPECT_EQ(messages_.statuses.back(), Utf8ToGbk("已连接U盘设备"));
}

TEST_F(ConnectTest, NoPortAnsweringShowsTheTimeoutAndReenablesConnect) {
    logger_.attached = false;
    // Ports that do not exist fail to open silently; the walk ends with the timeout.
    const std::vector<PortEntry> ports = {{7, "/nonexistent/tty-a"}, {8, "/nonexistent/tty-b"}};
    const ConnectResult r = Connect(link_, info_, state_, ports, Language::Chinese, messages_);
    EXPECT_EQ(r.outcome, ConnectOutcome::NotFound);
    EXPECT_FALSE(r.LoggerFound());
    ASSERT_EQ(messages_.boxes.size(), 1u);
    EXPECT_EQ(messages_.boxes[0], Utf8ToGbk("通讯超时，请检查设备连接"));
    EXPECT_EQ(messages_.statuses.back(), Utf8ToGbk("未找到硬件设备!"));
    EXPECT_EQ(link_.currentPort, 0);
    EXPECT_FALSE(state_.usbConnected);
}

TEST_F(ConnectTest, ASinglePortThatCannotBeOpenedSaysWhyInsteadOfTimingOut) {
    logger_.attached = false;
    ConnectResult r = Connect(link_, info_, state_, {{7, "/nonexistent/tty-a"}}, Language::English, messages_);
    EXPECT_EQ(r.outcome, ConnectOutcome::NotFound);
    ASSERT_EQ(messages_.boxes.size(), 1u);
    EXPECT_EQ(messages_.boxes[0], "There is no serial port COM7 (/nonexistent/tty-a)");
    EXPECT_EQ(messages_.statuses.back(), messages_.boxes[0]) << "the reason stays in the status pane";
    EXPECT_FALSE(r.LoggerFound());

    messages_.boxes.clear();
    Connect(link_, info_, state_, {{2, "/dev/null"}}, Language::Chinese, messages_);
    ASSERT_EQ(messages_.boxes.size(), 1u);
    EXPECT_EQ(messages_.boxes[0], Utf8ToGbk("/dev/null 不是串口设备（COM2）"));
}

TEST_F(ConnectTest, AttachedButUndetectedLoggerMeansASerialSearch) {
    // Detection has not seen the logger: Connect walks the ports, but remembers the handle.
    const ConnectResult r = Connect(link_, info_, state_, {}, Language::English, messages_);
    EXPECT_EQ(r.outcome, ConnectOutcome::NotFound);
    EXPECT_EQ(messages_.boxes.at(0), "Communication timeout, please check device connection!");
    EXPECT_TRUE(state_.usbConnected);
    EXPECT_TRUE(logger_.reads.empty());
}

TEST_F(ConnectTest, AReplacedHandleIsClosedNotLeaked) {
    state_.usbConnected = true;
    Connect(link_, info_, state_, {}, Language::English, messages_);
    Connect(link_, info_, state_, {}, Language::English, messages_);
    EXPECT_EQ(logger_.handlesOpened, 2);
    EXPECT_EQ(logger_.handlesClosed, 1);
    link_.CloseHidHandle();
    EXPECT_EQ(logger_.handlesClosed, 2);
    EXPECT_EQ(link_.hidHandle, nullptr);
}

TEST_F(ConnectTest, WithoutTheUsbLibraryNothingIsCalled) {
    link_.usb = KvusbApi{};
    state_.usbConnected = true;  // even a stale flag cannot reach a missing library
    const ConnectResult r = Connect(link_, info_, state_, {}, Language::English, messages_);
    EXPECT_EQ(r.outcome, ConnectOutcome::NotFound);
    EXPECT_EQ(logger_.handlesOpened, 0);
    EXPECT_TRUE(logger_.reads.empty());
    EXPECT_FALSE(state_.usbConnected);
}

TEST_F(ConnectTest, PinnedPortIsTriedOncePerListEntry) {
    logger_.attached = false;
    test::TempDir ports;
    test::PtyPeer silent;  // a logger that never answers
    ASSERT_TRUE(silent.Ok());
    silent.Start([](test::PtyPeer&, const test::PtyPeer::Request&, size_t) {});
    ports.MakeLink("COM7", silent.SlavePath());
    test::ScopedEnv env("VELORIN_PORT_DIR", ports.Path());
    state_.selectedPortText = "7";
    // Two other ports in the list; with the pin, each entry means another go at port 7.
    const ConnectResult r = Connect(link_, info_, state_, PortEntries({1, 2}), Language::English, messages_);
    EXPECT_EQ(r.outcome, ConnectOutcome::NotFound);
    EXPECT_EQ(silent.RequestCount(), 16u);  // 2 entries × 8 information requests
    for (const test::PtyPeer::Request& req : silent.Requests()) {
        EXPECT_EQ(req, (test::PtyPeer::Request{0x3C, 0x00, 0x01, 0x00, 0x02, 0x3F, 0x3E}));
    }
    EXPECT_EQ(messages_.boxes.size(), 1u);
    EXPECT_FALSE(link_.serial.IsOpen());
}

}  // namespace
}  // namespace velorin
