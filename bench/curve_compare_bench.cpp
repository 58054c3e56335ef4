// Times the comparison window with 16 files of `records` records (default 270,336) and two
// channels each, recorded at different times and intervals:
//  - opening: reading and ordering all files, their block summaries, and the whole way from the
//    paths to the painted window (as the "Compare…" command goes);
//  - the window zoomed to two days and back, each step drawn and painted, and pointer moves
//    over it;
//  - a repaint of all 32 curves on a 1600 × 900 canvas, the reduced drawing (A) against drawing
//    every segment (B), for the whole time window and for a zoomed one, with the two images
//    checked pixel for pixel.
// A and B run interleaved (A, B, A, B ...); best and median of 11 runs each.
//
//   curve_compare_bench [records] [--shot FILE.png]
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "analysis/compare_axis.h"
#include "analysis/compare_canvas.h"
#include "analysis/compare_files.h"
#include "analysis/compare_renderer.h"
#include "analysis/compare_window.h"
#include "bench/bench_support.h"
#include "bench/bench_timing.h"
#include "common/language.h"
#include "history/kv_file.h"
#include "tests/support/compare_data.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kFiles = 16;
constexpr int kRuns = 11;

double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

struct Series {
    std::vector<double> ms;
    void Add(double v) { ms.push_back(v); }
    // Also the line scripts/bench.sh gathers into its summary table.
    void Print(const char* what) const {
        velorin::bench::Print("curve_compare", what, velorin::bench::Summarise(ms), static_cast<int>(ms.size()));
    }
};

// A and B interleaved.
template <typename A, typename B>
void Pair(const char* nameA, A a, const char* nameB, B b) {
    Series sa, sb;
    for (int i = 0; i < kRuns; ++i) {
        auto t = Clock::now();
        a();
        sa.Add(Ms(t, Clock::now()));
        t = Clock::now();
        b();
        sb.Add(Ms(t, Clock::now()));
    }
    sa.Print(nameA);
    sb.Print(nameB);
}

bool Identical(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return false;
    for (int y = 0; y < a.height(); ++y) {
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y), static_cast<size_t>(a.bytesPerLine())) != 0)
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int records = velorin::bench::RecordsArgument(argc, argv, 10);
    if (records == 0) return 1;
    std::string shot;
    for (int i = 2; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--shot") == 0) shot = argv[i + 1];
    }
    const std::string folder = velorin::bench::MakeScratchFolder("curve-compare-bench");
    if (folder.empty()) return 1;

    // Loggers started a quarter of an hour apart, every 30, 60 or 90 s, slowly changing
    // temperatures with noise and a few missing samples.
    std::vector<std::string> paths;
    const int64_t start = velorin::test::Morning();
    for (int f = 0; f < kFiles; ++f) {
        const int32_t interval = 30 * (1 + f % 3);
        velorin::RecordSet set = velorin::test::MakeLoggerSet(
            "B" + std::to_string(1000 + f), "bench", start + 900 * f, interval, records, {1, 2}, [f](int32_t i, int c) {
                if (i % 5003 == 17) return velorin::kMissingValue2Byte;
                const float noise =
                    static_cast<float>((static_cast<uint32_t>(i + f) * 2654435761u >> 16) % 100) / 100.0f;
                return (c == 0 ? 4.0f : 60.0f) + 2.0f * std::sin(static_cast<float>(i) / (500.0f + 40.0f * f)) + noise;
            });
        paths.push_back(folder + "/logger" + std::to_string(f) + ".kv");
        if (!velorin::WriteKvFile(paths.back(), set).ok) {
            std::fprintf(stderr, "cannot write %s\n", paths.back().c_str());
            return 1;
        }
    }
    std::printf("%d files x %d records x 2 channels\n", kFiles, records);

    Series read, summarise, window;
    for (int i = 0; i < kRuns; ++i) {
        auto t = Clock::now();
        velorin::CompareLoadResult loaded = velorin::LoadCompareFiles(paths);
        read.Add(Ms(t, Clock::now()));
        t = Clock::now();
        velorin::SummariseCompareFiles(loaded.files);
        summarise.Add(Ms(t, Clock::now()));
    }
    read.Print("open: read and order the files");
    summarise.Print("open: block summaries");
    for (int i = 0; i < kRuns; ++i) {
        const auto t = Clock::now();
        std::vector<velorin::CompareFile> all = velorin::LoadCompareFiles(paths).files;
        velorin::PrepareCompareFiles(all);
        auto files = std::make_shared<const std::vector<velorin::CompareFile>>(std::move(all));
        velorin::CompareWindow w(files, velorin::Language::English);
        w.resize(1920, 1080);
        w.show();
        app.processEvents();
        window.Add(Ms(t, Clock::now()));
        if (i == 0 && !shot.empty()) w.grab().save(QString::fromStdString(shot));
    }
    window.Print("open: paths to painted window (1920 x 1080)");

    auto files = std::make_shared<const std::vector<velorin::CompareFile>>(velorin::LoadCompareFiles(paths).files);
    const std::vector<velorin::CompareSummary> summaries = velorin::SummariseCompareFiles(*files);
    velorin::CompareWindow w(files, velorin::Language::English);
    const std::vector<velorin::CompareCurve> curves = w.Canvas()->Curves();
    {
        // The window as a user works it: zoomed to two days and back, each step drawn and painted.
        w.resize(1920, 1080);
        w.show();
        app.processEvents();
        velorin::CompareCanvas* canvas = w.Canvas();
        const velorin::TimeWindow whole = canvas->Whole();
        Series steps;
        for (int i = 0; i < kRuns; ++i) {
            const auto t = Clock::now();
            if (i % 2 == 0)
                canvas->ShowWindow(whole.from + 86400, whole.from + 86400 * 3);
            else
                canvas->ShowWindow(whole.from, whole.to);
            app.processEvents();
            steps.Add(Ms(t, Clock::now()));
        }
        steps.Print("window (1920 x 1080): zoom to two days or back, painted");
        Series moves;
        for (int i = 0; i < 50; ++i) {
            const QPointF at(60 + (i * 29) % 1500, 300 + (i * 7) % 200);
            const auto t = Clock::now();
            QMouseEvent move(QEvent::MouseMove, at, canvas->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QApplication::sendEvent(canvas, &move);
            app.processEvents();
            moves.Add(Ms(t, Clock::now()));
        }
        moves.Print("window (1920 x 1080): pointer move, handled and painted");
    }
    for (int zoom = 0; zoom < 2; ++zoom) {
        velorin::CompareScene scene;
        scene.files = files.get();
        scene.summaries = &summaries;
        scene.curves = curves;
        scene.window = velorin::WholeWindow(*files);
        if (zoom == 1) scene.window = {scene.window.from + 86400, scene.window.from + 86400 * 3};
        for (int c = 0; c < 2; ++c) {
            const velorin::ValueRange r = velorin::ChannelRange(*files, summaries, c, scene.window);
            scene.axisMax[c] = r.high;
            scene.axisMin[c] = r.low;
        }
        scene.width = 1600;
        scene.height = 900;
        scene.scaleChannel = 0;
        QImage a, b;
        Pair(
            zoom ? "repaint, two days shown: reduced (A)" : "repaint, everything shown: reduced (A)",
            [&] { velorin::RenderCompareCanvas(a, scene, velorin::CurveDrawing::Reduced); },
            zoom ? "repaint, two days shown: every segment (B)" : "repaint, everything shown: every segment (B)",
            [&] { velorin::RenderCompareCanvas(b, scene, velorin::CurveDrawing::EverySegment); });
        std::printf("  pixel-identical: %s\n", Identical(a, b) ? "yes" : "NO");
        Series range;
        for (int i = 0; i < kRuns; ++i) {
            const auto t = Clock::now();
            for (int c = 0; c < 2; ++c) velorin::ChannelRange(*files, summaries, c, scene.window);
            range.Add(Ms(t, Clock::now()));
        }
        range.Print("  value ranges of both channels (zoom, Return)");
    }
    for (const std::string& p : paths) std::remove(p.c_str());
    std::remove(folder.c_str());
    return 0;
}
