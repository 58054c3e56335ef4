// Times the curve view of a data set (by default 270,336 records, 8 channels, canvas 1600 × 900):
//  - a repaint with the value range kept and recomputed, zoom and pan steps, each with the
//    window's paint (the canvas drawn, then what it changed painted by the event loop: the
//    canvas copied to the window, and the range figures where the range changed);
//  - the canvas alone drawn from the block summaries, interleaved with drawing every segment
//    (the reference), and whether the two are identical pixel for pixel (exit 1 when not);
//  - a pointer readout update (move handled and its overlay painted);
//  - opening a data window from a .kv file until the curve is painted and the data list
//    scrollable.
//
//   curve_view_bench [records] [--shot FILE.png]
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>

#include "bench/bench_support.h"
#include "bench/bench_timing.h"
#include "device/display_options.h"
#include "history/dastrel_doc.h"
#include "history/kv_file.h"
#include "tests/support/curve_data.h"
#include "view/curve_renderer.h"
#include "view/curve_summary.h"
#include "view/dastrel_view.h"

namespace {

using velorin::bench::kRuns;
using velorin::bench::Measure;
using velorin::bench::Print;

// English, every channel with one decimal.
velorin::DisplayOptions EnglishDisplay() {
    velorin::DisplayOptions display;
    display.language = velorin::Language::English;
    for (uint8_t& type : display.channelType) type = 0x12;
    return display;
}

std::string Named(const char* data, const char* what) { return std::string(data) + ": " + what; }

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::string shot;
    int records = velorin::kRecordCapacity;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--shot") == 0 && i + 1 < argc)
            shot = argv[++i];
        else
            records = std::atoi(argv[i]);
    }
    if (records < 10 || records > velorin::kRecordCapacity) {
        std::fprintf(stderr, "usage: curve_view_bench [records 10..%d] [--shot FILE.png]\n", velorin::kRecordCapacity);
        return 1;
    }
    bool identical = true;

    auto doc = std::make_shared<velorin::CDastrelDoc>();
    for (const bool dense : {true, false}) {
        const char* data = dense ? "dense" : "typical";
        doc->Set() = velorin::test::MakeCurveSet(records, 8, 60, 5000, dense);
        velorin::CDastrelView view(doc, EnglishDisplay());
        view.SetDpiScale(1.0);
        view.resize(1600, 900);
        view.show();
        QCoreApplication::processEvents();
        velorin::CurveState& state = view.State();
        // The window around a 1600 × 900 canvas: as much larger as the lists and controls take.
        view.resize(view.width() + 1600 - state.plotWidth, view.height() + 900 - state.plotHeight);
        QCoreApplication::processEvents();
        std::printf("-- %s data: %d records, 8 channels, canvas %d x %d\n", data, records, state.plotWidth,
                    state.plotHeight);
        // Redraw draws the canvas and marks what changed; the events then paint it (and the
        // range figures beside it where the range changed), as after a command in the window.
        const auto paint = [] { QCoreApplication::processEvents(); };
        Print("curve_view", Named(data, "repaint, value range kept").c_str(),
              Measure(kRuns,
                      [&] {
                          view.Redraw();
                          paint();
                      }),
              kRuns);
        Print("curve_view", Named(data, "repaint, value range recomputed").c_str(),
              Measure(kRuns,
                      [&] {
                          state.recomputeRange = true;
                          view.Redraw();
                          paint();
                      }),
              kRuns);
        // Zoom: a range of a third of the records at a different place each time, recomputed.
        int step = 0;
        Print("curve_view", Named(data, "zoom to a third (range recomputed)").c_str(),
              Measure(kRuns,
                      [&] {
                          const int32_t first = (step++ * 7919) % (records / 2);
                          state.firstIndex = first;
                          state.endIndex = first + records / 3;
                          state.recomputeRange = true;
                          view.Redraw();
                          paint();
                      }),
              kRuns);
        Print("curve_view", Named(data, "pan by 10 pixels' worth (range kept)").c_str(),
              Measure(kRuns,
                      [&] {
                          const int32_t by = std::max(1, (state.endIndex - state.firstIndex) / 160);
                          if (state.endIndex + by <= records) {
                              state.firstIndex += by;
                              state.endIndex += by;
                          } else {
                              state.firstIndex = 0;
                              state.endIndex = records / 3;
                          }
                          view.Redraw();
                          paint();
                      }),
              kRuns);
        state.firstIndex = 0;
        state.endIndex = records;
        state.recomputeRange = true;
        view.Redraw();

        velorin::CurveScene scene;
        scene.set = &doc->Set();
        scene.times = &view.Times();
        scene.summary = &view.Summary();
        scene.state = &state;
        for (int c = 0; c < 8; ++c) scene.colour[c] = view.ChannelColour(c);
        scene.font = view.font();
        QImage reduced, every;
        const auto pair = velorin::bench::MeasurePair(
            kRuns, [&] { velorin::RenderCurveCanvas(reduced, scene, velorin::CurveDrawing::Reduced); },
            [&] { velorin::RenderCurveCanvas(every, scene, velorin::CurveDrawing::EverySegment); });
        velorin::bench::PrintPair("curve_view", Named(data, "canvas from the summaries").c_str(),
                                  Named(data, "canvas, every segment drawn (reference)").c_str(), pair, kRuns);
        const bool same = reduced == every;
        std::printf("%s: canvas pixel-identical to every segment: %s\n", data, same ? "yes" : "NO");
        identical = identical && same;

        Print("curve_view", Named(data, "pointer readout update (move handled and painted)").c_str(),
              Measure(50,
                      [&, i = 0]() mutable {
                          const QPointF at(60 + (i * 29) % 1500, 300 + (i * 7) % 200);
                          ++i;
                          QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                                           Qt::NoModifier);
                          QCoreApplication::sendEvent(&view, &move);
                          QCoreApplication::processEvents();  // paints the region the readout marked
                      }),
              50);
    }

    // Opening: the .kv file read, the view built, shown and painted, the data list scrollable.
    const std::string folder = velorin::bench::MakeScratchFolder("curve-bench");
    if (folder.empty()) return 1;
    const std::string path = folder + "/full.kv";
    doc->Set() = velorin::test::MakeCurveSet(records, 6, 60, 5000, false);
    velorin::StoreInField(doc->Set().title, "bench");
    if (!velorin::WriteKvFile(path, doc->Set()).ok) return 1;
    QImage lastShot;
    Print("curve_view", "open a data window until painted and scrollable",
          Measure(kRuns,
                  [&] {
                      auto opened = std::make_shared<velorin::CDastrelDoc>();
                      if (opened->OnOpenDocument(path).outcome != velorin::DocOpenOutcome::Opened) std::abort();
                      velorin::CDastrelView view(opened, EnglishDisplay());
                      view.SetDpiScale(1.0);
                      view.resize(1280, 860);
                      view.show();
                      view.repaint();
                      view.DataList()->verticalScrollBar()->setValue(view.DataList()->verticalScrollBar()->maximum());
                      QCoreApplication::processEvents();
                      if (lastShot.isNull() && !shot.empty()) lastShot = view.grab().toImage();
                  }),
          kRuns);
    if (!shot.empty()) lastShot.save(QString::fromStdString(shot));
    unlink(path.c_str());
    rmdir(folder.c_str());
    return identical ? 0 : 1;
}
