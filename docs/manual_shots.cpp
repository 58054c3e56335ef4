// velorin-manual-shots: the manual's pictures, taken from the demo mode (the simulated logger
// inside the program) on the offscreen platform, in the language of Language.ini in the working
// folder:
//
//   cmake --build build --target velorin-manual-shots
//   cd "$(mktemp -d)" && echo -n English > Language.ini &&
//     QT_QPA_PLATFORM=offscreen /path/to/build/bin/velorin-manual-shots /path/to/docs/manual/images en
//
// A third argument WIDTHxHEIGHT takes the pictures at another window size.
//
// It connects, downloads the history into a data window (the start-up check may already have
// begun the automatic download), connects again for the setup wizard, opens the live view, and
// saves main-window-LANG.png, data-window-LANG.png, wizard-LANG.png and live-view-LANG.png.
// Message boxes are answered OK without showing them.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QPushButton>
#include <QThread>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/connection_manager.h"
#include "app/data_windows.h"
#include "app/demo_mode.h"
#include "app/main_frame.h"
#include "device/link.h"
#include "history/download_dialog.h"
#include "ui/command_ids.h"
#include "ui/presenter.h"
#include "view/dastrel_view.h"

namespace {

using velorin::BoxIcon;

// Answers every question OK, writes messages to stderr, and lets `onExec` look at a modal
// dialog before it is closed.
class ShotPresenter final : public velorin::Presenter {
public:
    std::function<void(QDialog&)> onExec;
    void Message(const QString& text, const QString&, BoxIcon) override {
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
    }
    bool AskOkCancel(const QString&, const QString&, BoxIcon) override { return true; }
    QString ChoosePort(const QString&) override { return QString(); }
    void OpenWithDesktop(const QString&) override {}
    void RestartProgram() override {}
    QString AskOpenFile(const QString&) override { return QString(); }
    QString AskSaveFile(const QString&) override { return QString(); }
    QString AskSaveFileAs(const QStringList&, int&) override { return QString(); }
    bool ChoosePrinter(QPrinter&) override { return false; }
    QStringList PrinterNames() override { return {}; }
    int Exec(QDialog& dialog) override {
        if (onExec) onExec(dialog);
        return QDialog::Rejected;
    }
};

bool WaitFor(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > milliseconds) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    return true;
}

void Settle(int milliseconds) {
    WaitFor([] { return false; }, milliseconds);
}

bool Save(QWidget& widget, const std::string& path) {
    const bool ok = widget.grab().save(QString::fromStdString(path));
    std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "cannot write", path.c_str());
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fputs(
            "usage: velorin-manual-shots FOLDER LANG [WIDTHxHEIGHT]\n"
            "  (the windows show the language of Language.ini in the working directory)\n",
            stderr);
        return 1;
    }
    QApplication app(argc, argv);
    const std::string folder = argv[1], lang = argv[2];
    velorin::DemoMode demo;
    std::string error;
    if (!demo.Start(error)) {
        std::fprintf(stderr, "demo mode: %s\n", error.c_str());
        return 1;
    }
    ShotPresenter presenter;
    velorin::FrameOptions options;
    options.demo = true;
    options.watchHotplug = false;
    int failures = 0;
    {
        velorin::CMainFrame frame(velorin::ProcessLink(), &presenter, options);
        velorin::UseHistoryViews(frame);
        int width = 1024, height = 768;  // the manual's size; other sizes for checking layouts
        if (argc == 4 && std::sscanf(argv[3], "%dx%d", &width, &height) != 2) return 1;
        frame.resize(width, height);
        frame.show();
        // Start-up detection finds the simulated logger on the USB link and fills the panel.
        Settle(4000);
        failures += !Save(frame, folder + "/main-window-" + lang + ".png");

        frame.RunCommand(velorin::ID_HISTORY);
        if (!WaitFor([&] { return frame.Download() && frame.Download()->OkButton()->isEnabled(); }, 600000)) {
            std::fputs("the download did not finish\n", stderr);
            return 1;
        }
        frame.Download()->OkButton()->click();
        WaitFor([&] { return frame.Download() == nullptr && frame.ActiveDocument() != nullptr; }, 60000);
        Settle(1500);
        failures += !Save(frame, folder + "/data-window-" + lang + ".png");
        if (QMdiSubWindow* window = frame.MdiArea()->activeSubWindow()) window->close();
        Settle(500);

        // The wizard of a connected logger: after a download only Connect is enabled, and the
        // connection gives the device commands back.
        const auto enabled = [&frame](int id) {
            const std::vector<QAction*> actions = frame.Actions(id);
            return !actions.empty() && actions.front()->isEnabled();
        };
        if (!enabled(velorin::ID_SETUP_WIZARD)) {
            WaitFor([&] { return enabled(velorin::ID_CONNECT); }, 60000);
            frame.RunCommand(velorin::ID_CONNECT);
            WaitFor([&] { return enabled(velorin::ID_SETUP_WIZARD); }, 30000);
        }
        presenter.onExec = [&](QDialog& dialog) {
            dialog.show();
            Settle(1000);
            failures += !Save(dialog, folder + "/wizard-" + lang + ".png");
            dialog.hide();
        };
        frame.RunCommand(velorin::ID_SETUP_WIZARD);
        presenter.onExec = nullptr;
        Settle(500);

        frame.RunCommand(velorin::ID_LIVE_VIEW);
        Settle(9000);  // four readings at 2 s
        failures += !Save(frame, folder + "/live-view-" + lang + ".png");
        frame.RunCommand(velorin::ID_CLOSE_LIVE_VIEW);
        Settle(500);
    }
    return failures == 0 ? 0 : 1;
}
