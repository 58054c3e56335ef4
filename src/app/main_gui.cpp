// Velorin's desktop program: CDastrelApp's start-up.
//
//   velorin [--demo] [FILE.kv] | --version | --help   (common/program_usage.cpp)
//
// --demo starts a simulated logger inside the program (COM1 of a private port folder and the
// simulated USB link), so every command can be tried without hardware; SIGUSR1 then unplugs and
// plugs its USB device. With the simulated USB link (demo, or VELORIN_KVUSB_SOCKET naming a
// velorin-logger-sim) the simulator's plug and unplug arrive as device notices.
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/data_windows.h"
#include "app/demo_mode.h"
#include "app/main_frame.h"
#include "app/signal_watch.h"
#include "common/program_usage.h"
#include "common/version.h"
#include "device/link.h"
#include "view/dastrel_view.h"

int main(int argc, char** argv) {
    // Answered before QApplication: they need no display.
    switch (velorin::EarlyAnswerFor(argc, argv)) {
        case velorin::EarlyAnswer::Help: std::fputs(velorin::ProgramUsage().c_str(), stdout); return 0;
        case velorin::EarlyAnswer::Version: std::printf("velorin %s\n", velorin::ProgramVersion()); return 0;
        case velorin::EarlyAnswer::None: break;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velorin"));

    QStringList files;
    bool demo = false;
    for (const QString& arg : app.arguments().mid(1)) {
        if (arg == QLatin1String("--demo"))
            demo = true;
        else if (!arg.startsWith(QLatin1String("--")))
            files << arg;
    }

    // The simulated logger outlives the main frame: it is declared first.
    std::unique_ptr<velorin::DemoMode> demoMode;
    if (demo) {
        demoMode = std::make_unique<velorin::DemoMode>();
        std::string error;
        if (!demoMode->Start(error)) {
            QMessageBox::critical(nullptr, QStringLiteral("Velorin"), QString::fromStdString(error));
            return 1;
        }
    }

    velorin::FrameOptions options;
    options.demo = demo;
    const char* simSocket = std::getenv("VELORIN_KVUSB_SOCKET");
    options.watchSimulatedHotplug = demo || (simSocket != nullptr && *simSocket != '\0');
    if (demoMode) {
        velorin::DemoMode* mode = demoMode.get();
        velorin::WatchSignal(SIGUSR1, &app, [mode] { mode->ToggleUsbPlug(); });
    }
    int code = 0;
    {
        velorin::CMainFrame frame(velorin::ProcessLink(), nullptr, options);
        // Data windows show the history view (curve, statistics and data lists).
        velorin::UseHistoryViews(frame);
        frame.FitToScreen();
        frame.show();
        frame.FitToScreen();  // again with the window manager's frame
        // A plain start opens no document; a file named on the command line opens as a data window.
        if (!files.isEmpty()) {
            QTimer::singleShot(0, &frame, [&frame, files] { frame.OpenDataFile(files.first()); });
        }
        code = app.exec();
    }
    return code;
}
