// Times the curve view of a full data set (270,336 records):
//  - a repaint of 8 channels on a 1600 × 900 canvas, without and with the value range
//    recomputed (the reduced drawing; the drawing of every segment for comparison);
//  - a pointer readout update (pointer move handled and its overlay painted);
//  - opening a data window from a .kv file until the curve is painted and the data list
//    scrollable.
//
//   curve_view_bench [--shot FILE.png] [--save-kv FILE.kv] [--no-reference]
// --shot saves the opened window; --save-kv keeps the generated data file; --no-reference
// skips the slow drawing of every segment.
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "history/dastrel_doc.h"
#include "history/kv_file.h"
#include "tests/support/curve_data.h"
#include "view/curve_renderer.h"
#include "view/dastrel_view.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

// The calling thread's processor time in milliseconds: on a machine shared with other work it
// shows the cost without the time spent waiting for a processor.
double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

template <typename F>
void Report(const char* what, int runs, F run) {
    std::vector<double> times, cpu;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = Clock::now();
        const double c0 = ThreadCpuMs();
        run(i);
        cpu.push_back(ThreadCpuMs() - c0);
        times.push_back(Ms(t0, Clock::now()));
    }
    std::sort(times.begin(), times.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("%-52s wall best %7.2f median %7.2f ms, cpu median %7.2f ms (%d runs)\n", what, times.front(),
                times[times.size() / 2], cpu[cpu.size() / 2], runs);
}

const uint8_t kTypes[8] = {0x12, 0x12, 0x12, 0x12, 0x12, 0x12, 0x12, 0x12};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::string shot, keepKv;
    bool reference = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--shot") == 0 && i + 1 < argc) shot = argv[++i];
        else if (std::strcmp(argv[i], "--save-kv") == 0 && i + 1 < argc) keepKv = argv[++i];
        else if (std::strcmp(argv[i], "--no-reference") == 0) reference = false;
    }
    const int32_t records = velorin::kRecordCapacity;

    // Repaints: 8 channels, canvas 1600 × 900 (the view's client is 68 and 155 pixels larger),
    // over data that changes as measured quantities do and over the densest data.
    auto doc = std::make_shared<velorin::CDastrelDoc>();
    for (const bool dense : {false, true}) {
        std::printf("-- %s data\n", dense ? "dense (worst case)" : "typical");
        doc->Set() = velorin::test::MakeCurveSet(records, 8, 60, 5000, dense);
        velorin::CDastrelView view(doc, "English", kTypes);
        view.SetDpiScale(1.0);
        view.resize(1600 + 68, 900 + 155);
        view.show();
        QCoreApplication::processEvents();
        std::printf("records %d, channels 8, canvas %d x %d\n", records, view.State().plotWidth, view.State().plotHeight);
        Report("repaint, value range kept", 20, [&](int) { view.Redraw(); });
        Report("repaint, value range recomputed", 20, [&](int) {
            view.State().recomputeRange = true;
            view.Redraw();
        });
        velorin::CurveScene scene;
        velorin::RecordTimes times(doc->Set());
        scene.set = &doc->Set();
        scene.times = &times;
        scene.state = &view.State();
        for (int c = 0; c < 8; ++c) scene.colour[c] = view.ChannelColour(c);
        QImage image;
        Report("canvas only, reduced drawing", 20,
               [&](int) { velorin::RenderCurveCanvas(image, scene, velorin::CurveDrawing::Reduced); });
        if (reference) {
            Report("canvas only, every segment drawn (reference)", 2,
                   [&](int) { velorin::RenderCurveCanvas(image, scene, velorin::CurveDrawing::EverySegment); });
        }

        // Readout: a pointer move across the plot, handled and painted.
        Report("pointer readout update (move handled and painted)", 50, [&](int i) {
            const QPointF at(60 + (i * 29) % 1500, 300 + (i * 7) % 200);
            QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&view, &move);
            QCoreApplication::processEvents();  // paints the region the readout marked
        });
    }

    // Opening: the .kv file read, the view built, shown and painted, the data list scrollable.
    char folder[] = "/tmp/curve_benchXXXXXX";
    if (mkdtemp(folder) == nullptr) return 1;
    const std::string path = keepKv.empty() ? std::string(folder) + "/full.kv" : keepKv;
    doc->Set() = velorin::test::MakeCurveSet(records, 6, 60, 5000, false);
    velorin::StoreInField(doc->Set().title, "bench");
    if (!velorin::WriteKvFile(path, doc->Set()).ok) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    QImage lastShot;
    Report("open a data window until painted and scrollable", 5, [&](int run) {
        auto opened = std::make_shared<velorin::CDastrelDoc>();
        if (opened->OnOpenDocument(path).outcome != velorin::DocOpenOutcome::Opened) std::abort();
        velorin::CDastrelView view(opened, "English", kTypes);
        view.SetDpiScale(1.0);
        view.resize(1280, 860);
        view.show();
        view.repaint();
        view.DataList()->verticalScrollBar()->setValue(view.DataList()->verticalScrollBar()->maximum());
        QCoreApplication::processEvents();
        if (run == 0 && !shot.empty()) lastShot = view.grab().toImage();
    });
    if (!shot.empty()) lastShot.save(QString::fromStdString(shot));
    if (keepKv.empty()) {
        unlink(path.c_str());
        rmdir(folder);
    }
    return 0;
}
