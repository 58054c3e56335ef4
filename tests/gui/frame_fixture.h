// The main frame against an in-process simulator with scripted answers: the fixture of the GUI
// tests that need a whole program (Language.ini, port folder, simulated USB link, private
// settings in a temporary HOME).
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/connection_manager.h"
#include "app/main_frame.h"
#include "civil_time.h"
#include "device/link.h"
#include "device/panel_lines.h"
#include "gui/scripted_presenter.h"
#include "history/download_dialog.h"
#include "history/download_engine.h"
#include "logger_state.h"
#include "server.h"
#include "support/temp_dir.h"
#include "ui/command_ids.h"
#include "ui/gui_text.h"

namespace velorin::test {

inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        // deleteLater() outside a running event loop: delete now, as the loop would.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return done();
}

inline QStringList Render(const std::vector<PanelLine>& lines) {
    QStringList out;
    for (const PanelLine& l : lines) out << QString(l.depth * 2, QLatin1Char(' ')) + FromGbk(l.text);
    return out;
}

inline bool Enabled(CMainFrame& frame, int id) {
    const std::vector<QAction*> actions = frame.Actions(id);
    if (actions.empty()) return false;
    for (QAction* a : actions) {
        if (!a->isEnabled()) return false;
    }
    return true;
}

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        previousDir_ = cwd;
        ASSERT_EQ(chdir(work_.Path().c_str()), 0);  // Language.ini is read from here
        env_.push_back(std::make_unique<test::ScopedEnv>("VELORIN_PORT_DIR", ports_.Path()));
        env_.push_back(std::make_unique<test::ScopedEnv>("VELORIN_KVUSB_SOCKET", ports_.Path() + "/kvusb-sim.sock"));
        env_.push_back(std::make_unique<test::ScopedEnv>("HOME", work_.Path()));  // private settings
        const char* bin = std::getenv("VELORIN_BIN_DIR");
        simLibrary_ = std::string(bin ? bin : ".") + "/libkvusb-sim.so";
        env_.push_back(std::make_unique<test::ScopedEnv>("VELORIN_KVUSB", simLibrary_));
    }
    void TearDown() override {
        frame_.reset();
        server_.reset();
        link_.currentPort = 0;
        ASSERT_EQ(chdir(previousDir_.c_str()), 0);
    }
    void WriteLanguageFile(const std::string& content) { work_.MakeFile("Language.ini", content); }

    void StartSimulator(bool usb) {
        sim::ServerOptions o;
        o.portFolder = ports_.Path();
        o.comNumber = 3;
        o.pacing = false;
        o.usb = usb;
        o.socketPath = ports_.Path() + "/kvusb-sim.sock";
        server_ = std::make_unique<sim::LoggerServer>(sim::DefaultLoggerState(sim::HostNowCivil()), o);
        std::string error;
        ASSERT_TRUE(server_->Start(&error)) << error;
    }

    CMainFrame& Frame(FrameOptions options = {false, false, false}) {
        frame_ = std::make_unique<CMainFrame>(link_, &presenter_, options);
        frame_->Connection()->SetDelayScale(0.01);
        frame_->Connection()->SetPortListProvider([] { return PortEntries({3}); });
        return *frame_;
    }

    // Downloads of this frame use short pauses and store under work_/xData.
    void FastDownloads(CMainFrame& frame) {
        frame.SetDownloadSetup([this](CProgress1Dlg& dialog) {
            DownloadTiming fast;
            fast.countReplyMs = 30;
            fast.countSettleMs = 0;
            fast.hidCountSettleMs = 0;
            fast.blockReplyMs = 30;
            fast.lastBlockExtraMs = 0;
            fast.quietPollMs = 20;
            fast.blockRetryMs = 10;
            fast.hidRetryMs = 5;
            dialog.SetTiming(fast);
            dialog.SetExecutableFolder(work_.Path());
        });
    }

    bool ConnectAndWait(CMainFrame& frame) {
        int finished = 0;
        QMetaObject::Connection c =
            QObject::connect(frame.Connection(), &ConnectionManager::ConnectFinished, [&finished](int) { ++finished; });
        frame.RunCommand(ID_CONNECT);
        const bool ok = WaitFor([&] { return finished > 0; });
        QObject::disconnect(c);
        return ok;
    }

    test::TempDir work_, ports_;
    std::vector<std::unique_ptr<test::ScopedEnv>> env_;
    std::string previousDir_, simLibrary_;
    test::ScriptedPresenter presenter_;
    Link link_;
    std::unique_ptr<sim::LoggerServer> server_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace velorin::test
