// Stop recording over a scripted serial line, against the simulated logger on both links, and
// the cases where nothing may be sent.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "civil_time.h"
#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "device/device_info.h"
#include "device/kvusb_loader.h"
#include "device/link.h"
#include "device/stop_recording.h"
#include "server.h"
#include "support/pty_peer.h"
#include "support/temp_dir.h"

namespace velorin {
namespace {

using test::PtyPeer;

const std::string& StoppedLabel() {
    static const std::string label = Utf8ToGbk("停止状态");
    return label;
}

// A DeviceInfo as an English Connect left it: the logger was recording.
DeviceInfo RecordingInfo() {
    DeviceInfo info;
    StoreInField(info.workState, Utf8ToGbk(TextsFor(Language::English).workStateRecording));
    return info;
}

void UseSerialPeer(Link& link, const PtyPeer& peer) {
    link.currentPort = 3;
    link.currentPortPath = peer.SlavePath();
}

// --- scripted serial peer ---------------------------------------------------------------------

TEST(StopRecordingSerial, SendsTheStopFrameOnceAndClosesThePort) {
    PtyPeer peer;
    ASSERT_TRUE(peer.Ok());
    peer.Start([](PtyPeer& p, const PtyPeer::Request&, size_t) {
        const uint8_t ack[] = {0x28, 0x00, 0x1D, 0x00, 0x02, 0x47, 0x29};
        p.Write(ack, sizeof ack);
    });
    Link link;
    UseSerialPeer(link, peer);
    DeviceInfo info = RecordingInfo();

    EXPECT_TRUE(StopRecording(link, info));
    ASSERT_EQ(peer.RequestCount(), 1u);
    EXPECT_EQ(peer.Requests()[0], (PtyPeer::Request{0x3C, 0x00, 0x1D, 0x00, 0x02, 0x5B, 0x3E}));
    EXPECT_FALSE(link.serial.IsOpen());
    EXPECT_EQ(ReadField(info.workState), StoppedLabel());
}

TEST(StopRecordingSerial, OnlyASevenByteReplyCountsAsStopped) {
    struct Case {
        size_t replyBytes;
        bool stopped;
    };
    const Case cases[] = {{6, false}, {7, true}, {8, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.replyBytes);
        PtyPeer peer;
        ASSERT_TRUE(peer.Ok());
        // Content is not judged: bytes that form no frame at all.
        const std::vector<uint8_t> reply(c.replyBytes, 0x5A);
        peer.Start([reply](PtyPeer& p, const PtyPeer::Request&, size_t) { p.Write(reply); });
        Link link;
        UseSerialPeer(link, peer);
        DeviceInfo info = RecordingInfo();
        const std::string before = ReadField(info.workState);

        EXPECT_EQ(StopRecording(link, info), c.stopped);
        EXPECT_EQ(ReadField(info.workState), c.stopped ? StoppedLabel() : before);
        EXPECT_EQ(peer.RequestCount(), 1u);
        EXPECT_FALSE(link.serial.IsOpen());
    }
}

TEST(StopRecordingSerial, ASilentLoggerFailsAfterOneRequest) {
    PtyPeer peer;
    ASSERT_TRUE(peer.Ok());
    peer.Start([](PtyPeer&, const PtyPeer::Request&, size_t) {});
    Link link;
    UseSerialPeer(link, peer);
    DeviceInfo info = RecordingInfo();
    const std::string before = ReadField(info.workState);

    EXPECT_FALSE(StopRecording(link, info));
    EXPECT_TRUE(peer.WaitForRequests(1, 1000));
    // No retry may follow later either.
    EXPECT_FALSE(peer.WaitForRequests(2, 400));
    EXPECT_EQ(ReadField(info.workState), before);
    EXPECT_FALSE(link.serial.IsOpen());
}

TEST(StopRecordingSerial, APortThatCannotBeOpenedFails) {
    test::TempDir dir;
    Link link;
    link.currentPort = 3;
    link.currentPortPath = dir.Path() + "/no-such-tty";
    DeviceInfo info = RecordingInfo();
    EXPECT_FALSE(StopRecording(link, info));
    EXPECT_NE(ReadField(info.workState), StoppedLabel());
}

// --- the USB link chosen but no device ------------------------------------------------------

int g_usbCalls = 0;
KvusbHandle CountingFind(const wchar_t*, const wchar_t*, int) {
    ++g_usbCalls;
    return nullptr;
}
int CountingWrite(KvusbHandle, int, unsigned char*, int, unsigned int) {
    ++g_usbCalls;
    return 1;
}
int CountingRead(KvusbHandle, int, unsigned char*, int, unsigned int) {
    ++g_usbCalls;
    return 1;
}

TEST(StopRecordingUsb, WithoutAHandleNothingIsSentOnEitherLink) {
    PtyPeer peer;
    ASSERT_TRUE(peer.Ok());
    peer.Start([](PtyPeer& p, const PtyPeer::Request&, size_t) { p.Write(std::vector<uint8_t>(7, 0x28)); });
    g_usbCalls = 0;
    Link link;
    link.usb.findDevice = CountingFind;
    link.usb.sendHWriteData = CountingWrite;
    link.usb.sendHReadData = CountingRead;
    link.currentPort = HID_LINK_PORT;
    link.currentPortPath = peer.SlavePath();  // a serial logger that would answer
    DeviceInfo info = RecordingInfo();

    EXPECT_FALSE(StopRecording(link, info));
    EXPECT_EQ(g_usbCalls, 0);
    EXPECT_FALSE(peer.WaitForRequests(1, 300));
    EXPECT_NE(ReadField(info.workState), StoppedLabel());
}

// --- the simulated logger ------------------------------------------------------------------

class StopRecordingSimulator : public ::testing::Test {
protected:
    void StartServer(bool serial, bool usb) {
        sim::ServerOptions options;
        options.portFolder = folder_.Path();
        options.comNumber = 4;
        options.serial = serial;
        options.usb = usb;
        options.pacing = false;
        server_ = std::make_unique<sim::LoggerServer>(sim::DefaultLoggerState(sim::HostNowCivil()), options);
        std::string error;
        ASSERT_TRUE(server_->Start(&error)) << error;
        ASSERT_EQ(server_->State().workState, 1);
    }

    test::TempDir folder_;
    test::ScopedEnv portDir_{"VELORIN_PORT_DIR", folder_.Path()};
    std::unique_ptr<sim::LoggerServer> server_;
};

TEST_F(StopRecordingSimulator, SerialStopStopsTheLoggerAndStoresTheChineseLabel) {
    StartServer(true, false);
    Link link;
    link.currentPort = 4;  // COM4 in the port folder
    DeviceInfo info = RecordingInfo();

    EXPECT_TRUE(StopRecording(link, info));
    EXPECT_EQ(server_->State().workState, 0);
    // The label is the Chinese one although the panel was filled in English.
    EXPECT_EQ(ReadField(info.workState), StoppedLabel());
    EXPECT_EQ(ReadField(info.workState), Utf8ToGbk(TextsFor(Language::Chinese).workStateStopped));
}

class StopRecordingSimulatorUsb : public StopRecordingSimulator {
protected:
    void SetUp() override {
        StartServer(false, true);
        const char* bin = std::getenv("VELORIN_BIN_DIR");
        ASSERT_NE(bin, nullptr) << "VELORIN_BIN_DIR names the folder of libkvusb-sim.so";
        library_ = std::make_unique<test::ScopedEnv>("VELORIN_KVUSB", std::string(bin) + "/libkvusb-sim.so");
        socket_ = std::make_unique<test::ScopedEnv>("VELORIN_KVUSB_SOCKET", server_->SocketPath());
        const KvusbLoadResult loaded = LoadKvusb(ExecutableFolder(), link_.usb);
        ASSERT_EQ(loaded.status, KvusbLoadStatus::Loaded) << loaded.message << " " << loaded.detail;
        link_.currentPort = HID_LINK_PORT;
        link_.hidHandle = link_.FindLogger();
        ASSERT_NE(link_.hidHandle, nullptr);
    }

    std::unique_ptr<test::ScopedEnv> library_, socket_;
    Link link_;
};

TEST_F(StopRecordingSimulatorUsb, TheLibraryWriteStopsTheLogger) {
    DeviceInfo info = RecordingInfo();
    EXPECT_TRUE(StopRecording(link_, info));
    EXPECT_EQ(server_->State().workState, 0);
    EXPECT_EQ(ReadField(info.workState), StoppedLabel());
}

TEST_F(StopRecordingSimulatorUsb, ARefusedWriteIsAFailure) {
    server_->SetUsbPlugged(false);
    DeviceInfo info = RecordingInfo();
    EXPECT_FALSE(StopRecording(link_, info));
    EXPECT_NE(ReadField(info.workState), StoppedLabel());
    server_->SetUsbPlugged(true);
    EXPECT_EQ(server_->State().workState, 1);
}

}  // namespace
}  // namespace velorin
