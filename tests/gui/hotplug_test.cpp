// Device notices end to end: velorin-logger-sim's USB device unplugged and plugged again (its
// SIGUSR1) reaches the program through the simulated notice source and runs removal, arrival
// detection, Connect and the automatic download as a real logger's would; a removal of some
// other device leaves the logger connected.
#include <gtest/gtest.h>

#include <QPushButton>

#include "app/simulated_hotplug.h"
#include "e2e/process.h"
#include "gui/frame_fixture.h"
#include "history/dastrel_doc.h"
#include "history/download_dialog.h"
#include "ui/command_ids.h"

namespace velorin {
namespace {

using test::Enabled;
using test::WaitFor;

constexpr int kDeviceCommands[] = {ID_CONNECT, ID_LIVE_VIEW, ID_HISTORY, ID_SETUP_WIZARD, ID_UPDATE_TIME, ID_STOP};

class HotplugTest : public test::MainFrameTest {
protected:
    // Start-up detection finds the simulated USB logger and the automatic download opens; the
    // user cancels it.
    // `process`: velorin-logger-sim as a program of its own (on this fixture's port folder and
    // socket) instead of the in-process simulator.
    CMainFrame& DetectedAtStartup(bool simulatedNotices, bool process = false) {
        WriteLanguageFile("English");
        if (process) {
            simProcess_ =
                std::make_unique<e2e::Simulator>(std::vector<std::string>{"--port-dir", ports_.Path(), "--com", "3"});
            EXPECT_TRUE(simProcess_->Ok());
        } else {
            StartSimulator(true);
        }
        FrameOptions options{false, true, false};
        options.watchSimulatedHotplug = simulatedNotices;
        CMainFrame& frame = Frame(options);
        FastDownloads(frame);
        EXPECT_TRUE(WaitFor([&] { return frame.Download() != nullptr; }, 20000));
        if (frame.Download() != nullptr) frame.Download()->CancelButton()->click();
        EXPECT_TRUE(WaitFor([&] { return frame.Download() == nullptr; }));
        EXPECT_EQ(frame.StatusText(), QStringLiteral("History download cancelled"));
        return frame;
    }
    void TearDown() override {
        frame_.reset();
        simProcess_.reset();
        MainFrameTest::TearDown();
    }
    std::unique_ptr<e2e::Simulator> simProcess_;
};

TEST_F(HotplugTest, UnplugAndReplugOfTheSimulatedLoggerDisconnectsReconnectsAndDownloads) {
    CMainFrame& frame = DetectedAtStartup(true, true);
    for (int id : kDeviceCommands) EXPECT_TRUE(Enabled(frame, id)) << id;

    simProcess_->ToggleUsb();  // unplugged
    ASSERT_TRUE(WaitFor([&] { return frame.StatusText() == QStringLiteral("USB device disconnected"); }));
    EXPECT_FALSE(frame.Connection()->UsbConnected());
    for (int id : kDeviceCommands) EXPECT_FALSE(Enabled(frame, id)) << id;
    EXPECT_EQ(link_.hidHandle, nullptr);

    // Plugged again: arrival detection, the full Connect it posts, and the automatic download.
    int connects = 0;
    QObject::connect(frame.Connection(), &ConnectionManager::ConnectFinished, [&connects](int) { ++connects; });
    simProcess_->ToggleUsb();  // plugged again
    ASSERT_TRUE(WaitFor([&] { return frame.Download() != nullptr; }, 20000));
    EXPECT_EQ(connects, 1);
    EXPECT_EQ(link_.currentPort, HID_LINK_PORT);
    EXPECT_TRUE(frame.Connection()->UsbConnected());
    EXPECT_EQ(frame.StatusText(), QStringLiteral("Starting auto download of history data..."));
    ASSERT_TRUE(WaitFor([&] { return frame.Download()->OkButton()->isEnabled(); }, 20000));
    frame.Download()->OkButton()->click();
    ASSERT_TRUE(WaitFor([&] { return frame.Download() == nullptr; }));
    // The announcement is replaced by where the data went.
    EXPECT_TRUE(frame.StatusText().startsWith(QStringLiteral("Saved "))) << frame.StatusText().toStdString();
    EXPECT_TRUE(frame.StatusText().endsWith(QStringLiteral(".kv")));
    ASSERT_NE(frame.ActiveDocument(), nullptr);
    EXPECT_EQ(frame.ActiveDocument()->Set().recordCount, 1000);
}

TEST_F(HotplugTest, RemovingAnotherDeviceKeepsTheLogger) {
    CMainFrame& frame = DetectedAtStartup(false);
    ASSERT_TRUE(ConnectAndWait(frame));
    ASSERT_EQ(frame.StatusText(), QStringLiteral("Connected USB device!"));
    int judged = 0;
    bool gone = true;
    QObject::connect(frame.Connection(), &ConnectionManager::RemovalHandled, [&](bool g) {
        ++judged;
        gone = g;
    });
    // Another stick's volume, then another device's HID interface: the logger still answers.
    frame.Connection()->OnVolumeRemoved();
    ASSERT_TRUE(WaitFor([&] { return judged == 1; }));
    frame.Connection()->OnDeviceInterfaceRemoved();
    ASSERT_TRUE(WaitFor([&] { return judged == 2; }));
    EXPECT_FALSE(gone);
    EXPECT_EQ(frame.StatusText(), QStringLiteral("Connected USB device!"));
    for (int id : kDeviceCommands) EXPECT_TRUE(Enabled(frame, id)) << id;
    EXPECT_TRUE(frame.Connection()->UsbConnected());
    ASSERT_NE(link_.hidHandle, nullptr);
    ASSERT_TRUE(ConnectAndWait(frame));
    EXPECT_EQ(frame.StatusText(), QStringLiteral("Connected USB device!"));
}

TEST(SimulatedHotplug, ThePlugStateFileIsReadBoundedAndOnlyChangesAreNotices) {
    test::TempDir dir;
    const std::string file = dir.Path() + "/kvusb-sim.sock.plugged";
    EXPECT_EQ(ReadSimulatedPlugState(file), -1);
    dir.MakeFile("kvusb-sim.sock.plugged", "1\n");
    SimulatedHotplugSource source(file, 60000);  // polled by hand below
    int arrived = 0, removed = 0;
    QObject::connect(&source, &HotplugSource::HidInterfaceArrived, [&] { ++arrived; });
    QObject::connect(&source, &HotplugSource::HidInterfaceRemoved, [&] { ++removed; });
    source.Poll();
    EXPECT_EQ(arrived + removed, 0) << "the state at the start is no notice";
    dir.MakeFile("kvusb-sim.sock.plugged", "0\n");
    source.Poll();
    EXPECT_EQ(removed, 1);
    dir.MakeFile("kvusb-sim.sock.plugged", std::string(100000, '1'));  // only the first bytes count
    source.Poll();
    EXPECT_EQ(arrived, 1);
    dir.MakeFile("kvusb-sim.sock.plugged", "x");
    source.Poll();
    EXPECT_EQ(removed, 2) << "a simulator gone takes its device with it";
}

}  // namespace
}  // namespace velorin
