// The main frame with scripted answers to every question: start-up, toolbar and menus, the
// command-enable flags, Connect against the simulator on both links, hot-plug events, Stop,
// language switching, help and the USB library messages.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QDir>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QPushButton>
#include <QToolBar>
#include <fstream>
#include <memory>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/connection_manager.h"
#include "app/main_frame.h"
#include "app/property_panel.h"
#include "civil_time.h"
#include "common/language.h"
#include "common/version.h"
#include "device/link.h"
#include "device/panel_lines.h"
#include "gui/frame_fixture.h"
#include "gui/scripted_presenter.h"
#include "history/download_dialog.h"
#include "logger_state.h"
#include "server.h"
#include "support/temp_dir.h"
#include "ui/command_ids.h"
#include "ui/gui_text.h"
#include "ui/status_pane.h"

namespace velorin {
namespace {

using test::Enabled;
using test::MainFrameTest;
using test::Render;
using test::WaitFor;

TEST_F(MainFrameTest, ASmallScreenGetsTheWholeWindowInView) {
    CMainFrame& frame = Frame();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    frame.FitToScreen();
    frame.show();
    frame.FitToScreen();
    // The offscreen screen (800 wide) is narrower than 1024: the window with its frame fits.
    EXPECT_TRUE(available.contains(frame.frameGeometry()))
        << frame.frameGeometry().width() << "x" << frame.frameGeometry().height() << " in " << available.width() << "x"
        << available.height();
    EXPECT_LT(frame.width(), 1024);
    EXPECT_EQ(frame.height(), std::min(768, available.height() - (frame.frameGeometry().height() - frame.height())));
}

TEST_F(MainFrameTest, StartsEmptyAtTheOriginWithDeviceCommandsDisabled) {
    CMainFrame& frame = Frame();
    frame.show();
    EXPECT_TRUE(frame.MdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(frame.pos(), QPoint(0, 0));
    EXPECT_EQ(frame.size(), QSize(1024, 768));
    EXPECT_TRUE(Enabled(frame, ID_CONNECT));
    for (int id : {ID_LIVE_VIEW, ID_HISTORY, ID_SETUP_WIZARD, ID_UPDATE_TIME, ID_STOP, ID_CLOSE_LIVE_VIEW}) {
        EXPECT_FALSE(Enabled(frame, id)) << id;
    }
    EXPECT_TRUE(Enabled(frame, ID_HELP));
    EXPECT_FLOAT_EQ(frame.F0Parameter(0), 121.0f);
    EXPECT_FLOAT_EQ(frame.F0Parameter(1), 10.0f);
    // The panel starts with the labels only.
    EXPECT_EQ(frame.Panel()->TreeText(), Render(InitialPanelLines(frame.TextLanguage())));
}

TEST_F(MainFrameTest, EnglishToolbarHasElevenButtonsInOrder) {
    WriteLanguageFile("English");
    CMainFrame& frame = Frame();
    QStringList labels;
    int separators = 0;
    for (QAction* a : frame.ToolBar()->actions()) {
        if (a->isSeparator())
            ++separators;
        else
            labels << a->text();
    }
    EXPECT_EQ(labels, (QStringList{"Link Device", "Restart", "Time calibration", "Stop Record", "Download", "COM",
                                   "Properties", "Online", "Stop", "FileSave", "System"}));
    EXPECT_EQ(separators, 3);
    EXPECT_EQ(frame.ToolBar()->iconSize(), QSize(32, 32));
    for (QAction* a : frame.ToolBar()->actions()) {
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->icon().isNull()) << a->text().toStdString();
        }
    }
    // The switch command shows its English text with a check mark.
    const std::vector<QAction*> sw = frame.Actions(ID_SWITCH_LANGUAGE);
    ASSERT_EQ(sw.size(), 1u);
    EXPECT_EQ(sw[0]->text(), QStringLiteral("&Use English"));
    EXPECT_TRUE(sw[0]->isChecked());
}

TEST_F(MainFrameTest, LanguageFileWithALineBreakIsChinese) {
    WriteLanguageFile("English\n");
    CMainFrame& frame = Frame();
    EXPECT_EQ(frame.ToolBar()->actions().first()->text(), QStringLiteral("连接设备"));
    const std::vector<QAction*> sw = frame.Actions(ID_SWITCH_LANGUAGE);
    ASSERT_EQ(sw.size(), 1u);
    EXPECT_EQ(sw[0]->text(), QStringLiteral("&使用英文"));
    EXPECT_FALSE(sw[0]->isChecked());
}

TEST_F(MainFrameTest, SwitchingTwiceReturnsToTheFirstLanguage) {
    WriteLanguageFile("Chinese");
    Frame().RunCommand(ID_SWITCH_LANGUAGE);
    EXPECT_EQ(presenter_.restarts, 1);
    EXPECT_EQ(Frame().LanguageName(), "English");  // the "new instance" reads the file
    frame_->RunCommand(ID_SWITCH_LANGUAGE);
    EXPECT_EQ(Frame().LanguageName(), "Chinese");
    std::ifstream in(work_.Path() + "/Language.ini", std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "Chinese");
}

TEST_F(MainFrameTest, MissingHelpFileIsReported) {
    const std::string empty = work_.MakeDir("no-manual");
    for (const char* language : {"English", "Chinese"}) {
        presenter_.messages.clear();
        WriteLanguageFile(language);
        Frame().SetManualFolder(empty);
        frame_->RunCommand(ID_HELP);
        ASSERT_EQ(presenter_.messages.size(), 1u);
        const bool english = std::string(language) == "English";
        EXPECT_EQ(presenter_.messages[0].text,
                  (english ? QStringLiteral("Help file not found: ") : QStringLiteral("未找到帮助文件: ")) +
                      QString::fromStdString(empty) +
                      (english ? QStringLiteral("/en/index.html") : QStringLiteral("/zh/index.html")));
        EXPECT_TRUE(presenter_.opened.isEmpty());
    }
}

TEST_F(MainFrameTest, AboutBoxKeepsItsTextsAndShowsTheBuildVersion) {
    for (const char* language : {"English", "Chinese"}) {
        WriteLanguageFile(language);
        QStringList labels;
        presenter_.onExec = [&labels](QDialog& dialog) {
            for (QLabel* label : dialog.findChildren<QLabel*>()) labels << label->text();
            return int(QDialog::Accepted);
        };
        Frame().RunCommand(ID_APP_ABOUT);
        const bool english = std::string(language) == "English";
        EXPECT_TRUE(labels.contains(english ? QStringLiteral("Velorin 2.7") : QStringLiteral("Velorin 2.9")))
            << language;
        const QString version = QString::fromLatin1(ProgramVersion());
        EXPECT_TRUE(labels.contains(english ? QStringLiteral("Version ") + version + QStringLiteral(" for Linux")
                                            : QStringLiteral("Linux 版 ") + version))
            << labels.join(QLatin1Char('|')).toStdString();
    }
    EXPECT_EQ(QString::fromLatin1(ProgramVersion()).count(QLatin1Char('.')), 2);
}

TEST_F(MainFrameTest, HelpOpensTheManualOfTheInterfaceLanguage) {
    // The folder an installed program finds beside its own (<prefix>/share/doc/velorin/manual);
    // the build folder holds a copy in the same place relative to the test programs.
    const QString manual =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/velorin/manual"));
    WriteLanguageFile("English");
    Frame().RunCommand(ID_HELP);
    EXPECT_EQ(presenter_.opened, QStringList({manual + QStringLiteral("/en/index.html")}));
    presenter_.opened.clear();
    WriteLanguageFile("Chinese");
    Frame().RunCommand(ID_HELP);
    EXPECT_EQ(presenter_.opened, QStringList({manual + QStringLiteral("/zh/index.html")}));
    EXPECT_TRUE(presenter_.messages.empty());

    // A manual in a folder of its own, named by the options.
    presenter_.opened.clear();
    const std::string folder = work_.MakeDir("manual");
    work_.MakeFile("manual/en/index.html", "<html></html>");
    WriteLanguageFile("English");
    Frame().SetManualFolder(folder);
    frame_->RunCommand(ID_HELP);
    EXPECT_EQ(presenter_.opened, QStringList({QString::fromStdString(folder) + QStringLiteral("/en/index.html")}));
}

TEST_F(MainFrameTest, MissingUsbLibraryIsReportedOnceAndNeverCalled) {
    test::ScopedEnv env("VELORIN_KVUSB", "/nonexistent/libkvusb.so");
    WriteLanguageFile("English");
    CMainFrame& frame = Frame({false, true, false});
    ASSERT_EQ(presenter_.messages.size(), 1u);
    EXPECT_EQ(presenter_.messages[0].text, QStringLiteral("Failed to load /nonexistent/libkvusb.so"));
    EXPECT_FALSE(link_.usb.Available());
    WaitFor([&] { return frame.StatusText() == QStringLiteral("No USB device found, ready for connection"); }, 3000);
    EXPECT_EQ(frame.StatusText(), QStringLiteral("No USB device found, ready for connection"));
    EXPECT_EQ(presenter_.messages.size(), 1u);
}

TEST_F(MainFrameTest, ConnectOverSerialFillsThePanelFromTheCoreLines) {
    WriteLanguageFile("English");
    StartSimulator(false);
    CMainFrame& frame = Frame();
    ASSERT_TRUE(ConnectAndWait(frame));
    EXPECT_EQ(link_.currentPort, 3);
    for (int id : {ID_CONNECT, ID_LIVE_VIEW, ID_HISTORY, ID_SETUP_WIZARD, ID_UPDATE_TIME, ID_STOP}) {
        EXPECT_TRUE(Enabled(frame, id)) << id;
    }
    EXPECT_EQ(frame.Panel()->TreeText(), Render(BuildPanelLines(frame.Info(), Language::English)));
    EXPECT_TRUE(frame.Panel()->TreeText().contains(QStringLiteral("  SN：20261209")));
    EXPECT_TRUE(presenter_.messages.empty());
    // "connecting......" ends with the port that answered.
    EXPECT_EQ(frame.StatusText(), QStringLiteral("Connected to the logger on COM3"));
}

TEST_F(MainFrameTest, AFailedConnectForgetsTheLoggerThatWasThere) {
    WriteLanguageFile("English");
    StartSimulator(false);
    CMainFrame& frame = Frame();
    ASSERT_TRUE(ConnectAndWait(frame));
    ASSERT_TRUE(Enabled(frame, ID_STOP));
    server_.reset();  // the logger is gone
    frame.Connection()->SetPortListProvider([] { return std::vector<PortEntry>{}; });
    ASSERT_TRUE(ConnectAndWait(frame));
    EXPECT_EQ(frame.StatusText(), QStringLiteral("Hardware device not found!"));
    EXPECT_TRUE(Enabled(frame, ID_CONNECT));
    for (int id : {ID_LIVE_VIEW, ID_HISTORY, ID_SETUP_WIZARD, ID_UPDATE_TIME, ID_STOP}) {
        EXPECT_FALSE(Enabled(frame, id)) << id;
    }
    // The panel shows that no logger is connected.
    EXPECT_EQ(frame.Panel()->TreeText(), Render(InitialPanelLines(Language::English)));
    EXPECT_EQ(frame.Info().storedRecordCount, 0);
}

TEST_F(MainFrameTest, TheLockIndicatorsStayAtTheRightEdgeAfterConnect) {
    WriteLanguageFile("English");
    StartSimulator(false);
    CMainFrame& frame = Frame();
    frame.show();
    ASSERT_TRUE(ConnectAndWait(frame));
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.Pane(1)->PaneWidth(), 700);
    const QRect cap = frame.Pane(1)->geometry();
    const QRect num = frame.Pane(2)->geometry();
    EXPECT_LT(cap.width(), 200) << cap.width();
    EXPECT_LE(num.left() - cap.right(), 20) << "CAP sits beside NUM";
    EXPECT_GT(frame.Pane(0)->width(), 500) << "the message pane keeps the room";
}

TEST_F(MainFrameTest, AFifoNamedAsADataFileIsRefusedWithoutWaiting) {
    WriteLanguageFile("English");
    CMainFrame& frame = Frame();
    frame.show();
    const std::string fifo = work_.Path() + "/pipe.kv";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // Should the open wait for a writer after all, a writer comes after 10 s so the test ends.
    std::atomic<bool> done{false};
    std::thread release([&] {
        for (int i = 0; i < 200 && !done.load(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (done.load()) return;
        const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) ::close(writer);
    });
    QElapsedTimer clock;
    clock.start();
    presenter_.openFileAnswer = QString::fromStdString(fifo);
    frame.RunCommand(ID_FILE_OPEN);                                                 // the Open dialog's route
    const bool fromRecentFiles = frame.OpenDataFile(QString::fromStdString(fifo));  // recent files, command line
    done = true;
    release.join();
    EXPECT_LT(clock.elapsed(), 5000) << "opening a FIFO waited for a writer";
    EXPECT_FALSE(fromRecentFiles);
    ASSERT_EQ(presenter_.messages.size(), 2u);
    EXPECT_TRUE(presenter_.messages[0].text.contains(QStringLiteral("not a regular file")))
        << presenter_.messages[0].text.toStdString();
    EXPECT_TRUE(frame.MdiArea()->subWindowList().isEmpty());
}

TEST_F(MainFrameTest, AFileThatCannotBeOpenedIsNamedWithCharactersGbkLacks) {
    WriteLanguageFile("English");
    CMainFrame& frame = Frame();
    // A thermometer emoji has no GBK code: the message names the file as it is, not with "?".
    const QString path = QString::fromStdString(work_.Path()) + QStringLiteral("/cold \U0001F321 room.kv");
    {
        std::ofstream out(path.toStdString(), std::ios::binary);
        out << "not a data file";
    }
    presenter_.messages.clear();  // whatever starting the frame reported
    EXPECT_FALSE(frame.OpenDataFile(path));
    ASSERT_EQ(presenter_.messages.size(), 1u);
    EXPECT_TRUE(presenter_.messages[0].text.contains(path)) << presenter_.messages[0].text.toStdString();
    EXPECT_TRUE(frame.MdiArea()->subWindowList().isEmpty());
}

TEST_F(MainFrameTest, APortThatDoesNotExistIsNamedInFull) {
    WriteLanguageFile("English");
    CMainFrame& frame = Frame();
    frame.resize(800, 600);
    frame.Connection()->SetPortListProvider([] { return std::vector<PortEntry>{{7, "/nonexistent/tty-a"}}; });
    ASSERT_TRUE(ConnectAndWait(frame));
    ASSERT_EQ(presenter_.messages.size(), 1u);
    const QString reason = QStringLiteral("There is no serial port COM7 (/nonexistent/tty-a)");
    EXPECT_EQ(presenter_.messages[0].text, reason);
    EXPECT_EQ(frame.StatusText(), reason);
    EXPECT_TRUE(Enabled(frame, ID_CONNECT));
}

TEST_F(MainFrameTest, NoPortAnsweringShowsTheTimeoutAndReenablesConnect) {
    WriteLanguageFile("English");
    CMainFrame& frame = Frame();
    frame.Connection()->SetPortListProvider([] { return std::vector<PortEntry>{}; });
    ASSERT_TRUE(ConnectAndWait(frame));
    ASSERT_EQ(presenter_.messages.size(), 1u);
    EXPECT_EQ(presenter_.messages[0].text, QStringLiteral("Communication timeout, please check device connection!"));
    EXPECT_EQ(frame.StatusText(), QStringLiteral("Hardware device not found!"));
    EXPECT_TRUE(Enabled(frame, ID_CONNECT));
    EXPECT_FALSE(Enabled(frame, ID_HISTORY));
    // Connect widened the message pane and, at its end, pane 1; the window kept its size.
    EXPECT_EQ(frame.Pane(0)->PaneWidth(), 1200);
    EXPECT_EQ(frame.Pane(1)->PaneWidth(), 700);
    EXPECT_EQ(frame.Pane(2)->PaneWidth(), 0);
    frame.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.size(), QSize(1024, 768));
}

TEST_F(MainFrameTest, ChosenPortIsItsDigitsAndCancelMeansAllPorts) {
    CMainFrame& frame = Frame();
    presenter_.portAnswer = QStringLiteral("Com12");
    frame.RunCommand(ID_CHOOSE_PORT);
    EXPECT_EQ(frame.Connection()->SelectedPortText(), "12");
    presenter_.portAnswer = QString();
    frame.RunCommand(ID_CHOOSE_PORT);
    EXPECT_EQ(frame.Connection()->SelectedPortText(), "");
}

TEST_F(MainFrameTest, UsbArrivalConnectsAndStartsTheAutomaticDownload) {
    WriteLanguageFile("English");
    StartSimulator(true);
    CMainFrame& frame = Frame({false, true, false});
    int finished = 0;
    QObject::connect(frame.Connection(), &ConnectionManager::ConnectFinished, [&finished](int) { ++finished; });
    // Start-up detection finds the device and the automatic download opens its dialog; the
    // user cancels it. An arrival while connected changes nothing.
    ASSERT_TRUE(WaitFor([&] { return frame.Connection()->UsbConnected(); }));
    ASSERT_TRUE(WaitFor([&] { return frame.Download() != nullptr; }));
    EXPECT_EQ(frame.StatusText().isEmpty(), false);
    frame.Download()->CancelButton()->click();
    ASSERT_TRUE(WaitFor([&] { return frame.Download() == nullptr; }));
    frame.Connection()->OnDeviceInterfaceArrived();
    WaitFor([] { return false; }, 100);
    EXPECT_EQ(finished, 0);

    // Connect takes the USB link.
    ASSERT_TRUE(ConnectAndWait(frame));
    EXPECT_EQ(link_.currentPort, HID_LINK_PORT);
    EXPECT_EQ(frame.Panel()->TreeText(), Render(BuildPanelLines(frame.Info(), Language::English)));
    EXPECT_EQ(frame.StatusText(), QStringLiteral("Connected USB device!"));

    // The logger's removal disables every device command, Connect included, until the next
    // arrival.
    server_->SetUsbPlugged(false);
    frame.Connection()->OnVolumeRemoved();
    ASSERT_TRUE(WaitFor([&] { return frame.StatusText() == QStringLiteral("USB device disconnected"); }));
    for (int id : {ID_CONNECT, ID_LIVE_VIEW, ID_HISTORY, ID_STOP, ID_CLOSE_LIVE_VIEW}) {
        EXPECT_FALSE(Enabled(frame, id)) << id;
    }
    EXPECT_EQ(link_.hidHandle, nullptr);
    frame.RunCommand(ID_CONNECT);
    EXPECT_FALSE(frame.Connection()->Busy());
    server_->SetUsbPlugged(true);
    frame.Connection()->OnDeviceInterfaceArrived();
    ASSERT_TRUE(WaitFor([&] { return finished >= 2; }));  // the automatic Connect
    EXPECT_TRUE(Enabled(frame, ID_CONNECT));
}

TEST_F(MainFrameTest, StopAsksFirstAndOnlyOkStopsTheLogger) {
    WriteLanguageFile("English");
    StartSimulator(false);
    CMainFrame& frame = Frame();
    ASSERT_TRUE(ConnectAndWait(frame));
    ASSERT_EQ(server_->State().workState, 1);
    presenter_.answers = {false};
    frame.RunCommand(ID_STOP);
    EXPECT_EQ(presenter_.questions.size(), 1u);
    EXPECT_EQ(presenter_.questions[0].text, QStringLiteral("您确定要停止记录吗？"));
    EXPECT_FALSE(frame.Connection()->Busy());
    EXPECT_EQ(server_->State().workState, 1);

    frame.RunCommand(ID_STOP);  // answered OK
    ASSERT_TRUE(WaitFor([&] { return !frame.Connection()->Busy(); }));
    EXPECT_EQ(server_->State().workState, 0);
    EXPECT_TRUE(frame.Panel()->TreeText().contains(QStringLiteral("  Work Stat:停止状态")));
    EXPECT_TRUE(Enabled(frame, ID_STOP));
    EXPECT_TRUE(presenter_.messages.empty());
}

}  // namespace
}  // namespace velorin
