// Times the PDF report of a data set (by default 270,336 records: 6 channels, 1932 data pages,
// and 2 channels) interleaved with a bare cairo loop that draws the same strings at the same
// positions with the same font and the same lines; shows that memory does not grow with the
// page count.
//
//   pdf_report_bench [records]   (default 270336; the memory comparison also runs a tenth)
#include <cairo-pdf.h>
#include <cairo.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/bench_timing.h"
#include "common/language.h"
#include "common/text_codec.h"
#include "history/record_set.h"
#include "report/report_font.h"
#include "report/pdf_report.h"

namespace {

using velorin::RecordSet;

RecordSet MakeSet(int records, int channels) {
    RecordSet set;
    set.records.resize(static_cast<size_t>(records));
    set.recordCount = records;
    set.deviceRecordCount = records;
    set.storageCapacity = velorin::kRecordCapacity;
    set.intervalSeconds = 10;
    for (int i = 0; i < records; ++i) {
        velorin::SampleRecord& r = set.records[static_cast<size_t>(i)];
        const int s = i * 10;
        r.year = 25;
        r.month = 1 + s / (86400 * 28) % 12;
        r.day = 1 + s / 86400 % 28;
        r.hour = s / 3600 % 24;
        r.minute = s / 60 % 60;
        r.second = s % 60;
        for (int c = 0; c < channels; ++c) r.value[c] = 20.0f + 15.0f * std::sin(i / 500.0 + c) + c;
        if (i % 997 == 0) r.value[channels - 1] = velorin::kMissingValue2Byte;
    }
    for (int c = 0; c < channels; ++c) {
        set.channelEnabled[c] = 1;
        set.upperAlarmX10[c] = 300;
        set.lowerAlarmX10[c] = 80;
        velorin::SetUnitText(set, c, velorin::Utf8ToGbk(c % 2 ? "%RH" : "℃"));
        velorin::SetQuantityText(set, c, velorin::Utf8ToGbk(c % 2 ? "湿度" : "温度"));
    }
    velorin::StoreInField(set.serialNumber, "B0000001");
    velorin::StoreInField(set.userName, "bench");
    return set;
}

using velorin::bench::StatusKb;

long long FileSize(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return static_cast<long long>(in.tellg());
}

double Seconds(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// The texts of a report, compactly, and its lines: what the bare loops draw.
class TextCollector final : public velorin::ReportCanvas {
public:
    struct Item {
        int page;
        double x, y, size;
        size_t offset, length;  // in `bytes`
    };
    struct PathOp {
        enum Kind { Move, Line, Box, Stroke } kind;
        int page;
        double x, y, w, h;
    };
    std::vector<Item> items;
    std::vector<PathOp> paths;
    std::string bytes;
    int pages = 0;

    void BeginPage() override { ++pages; }
    void EndPage() override {}
    void SetFontSize(double points) override { size_ = points; }
    void SetColor(velorin::ColorTarget, velorin::Rgb) override {}
    void ShowText(double x, double y, const std::string& gbk) override {
        // The bare loop gets UTF-8, as cairo needs it.
        const std::string utf8 = velorin::GbkToUtf8(gbk);
        items.push_back({pages, x, y, size_, bytes.size(), utf8.size()});
        bytes += utf8;
    }
    void ShowTextIn(double x, double y, const std::string& gbk, double) override { ShowText(x, y, gbk); }
    double TextWidth(const std::string& gbk) const override { return size_ / 3.0 * static_cast<double>(gbk.size()); }
    void MoveTo(double x, double y) override { paths.push_back({PathOp::Move, pages, x, y, 0, 0}); }
    void LineTo(double x, double y) override { paths.push_back({PathOp::Line, pages, x, y, 0, 0}); }
    void Rect(double x, double y, double w, double h) override { paths.push_back({PathOp::Box, pages, x, y, w, h}); }
    void Stroke() override { paths.push_back({PathOp::Stroke, pages, 0, 0, 0, 0}); }
    bool PlaceImage(const std::string&, double, double, double) override { return true; }

private:
    double size_ = 12;
};

// cairo alone: the same texts at the same positions, page by page, in the same font with its
// Latin glyphs at two thirds of their width as the report sets them; with `lines` also the
// report's lines and curves (each page's paths after its texts).
double BareCairo(const TextCollector& texts, const std::string& path, bool lines) {
    const auto t0 = std::chrono::steady_clock::now();
    cairo_surface_t* surface = cairo_pdf_surface_create(path.c_str(), 595, 842);
    cairo_t* cr = cairo_create(surface);
    cairo_select_font_face(cr, velorin::kReportFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    int page = 1;
    double size = -1;
    std::string text;
    size_t op = 0;
    auto drawPathsUpTo = [&](int lastPage) {
        for (; lines && op < texts.paths.size() && texts.paths[op].page <= lastPage; ++op) {
            const TextCollector::PathOp& p = texts.paths[op];
            switch (p.kind) {
                case TextCollector::PathOp::Move: cairo_move_to(cr, p.x, 842 - p.y); break;
                case TextCollector::PathOp::Line: cairo_line_to(cr, p.x, 842 - p.y); break;
                case TextCollector::PathOp::Box: cairo_rectangle(cr, p.x, 842 - p.y - p.h, p.w, p.h); break;
                case TextCollector::PathOp::Stroke: cairo_stroke(cr); break;
            }
        }
        cairo_new_path(cr);
    };
    for (const TextCollector::Item& item : texts.items) {
        while (page < item.page) {
            drawPathsUpTo(page);
            cairo_show_page(cr);
            ++page;
        }
        if (item.size != size) {
            size = item.size;
            cairo_matrix_t m;
            cairo_matrix_init_scale(&m, size * 2 / 3, size);
            cairo_set_font_matrix(cr, &m);
        }
        text.assign(texts.bytes, item.offset, item.length);
        cairo_move_to(cr, item.x, 842 - item.y);
        cairo_show_text(cr, text.c_str());
    }
    drawPathsUpTo(page);
    cairo_show_page(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    cairo_surface_destroy(surface);
    return Seconds(t0);
}

struct ReportRun {
    double seconds = 0;
    long long bytes = 0;
    int pages = 0;
};

ReportRun Report(RecordSet& set, const std::string& path) {
    velorin::PdfOptions options;
    options.display.language = velorin::Language::English;
    const auto t0 = std::chrono::steady_clock::now();
    const velorin::PdfResult r = velorin::ExportPdf(set, path, options);
    ReportRun run;
    run.seconds = Seconds(t0);
    if (!r.ok) {
        std::fprintf(stderr, "report failed: %s\n", r.detail.c_str());
        std::exit(1);
    }
    run.bytes = FileSize(r.path);
    run.pages = r.pages;
    return run;
}

// Peak resident growth of one report in a fresh child process (kB), after its data set exists.
long ReportPeakGrowthKb(int records, int channels, const std::string& path) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        RecordSet set = MakeSet(records, channels);
        const long before = StatusKb("VmRSS");
        Report(set, path);
        const long growth = StatusKb("VmHWM") - before;
        if (write(fds[1], &growth, sizeof growth) != sizeof growth) _exit(1);
        _exit(0);
    }
    close(fds[1]);
    long growth = -1;
    if (read(fds[0], &growth, sizeof growth) != sizeof growth) growth = -1;
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    return growth;
}

// The report against the bare cairo loop drawing its texts and lines, interleaved.
void Compare(int records, int channels, const std::string& folder) {
    RecordSet set = MakeSet(records, channels);
    TextCollector texts;
    velorin::PdfOptions options;
    options.display.language = velorin::Language::English;
    velorin::PdfReport(texts, set, options).Draw();
    ReportRun run;
    const int runs = velorin::bench::kRuns;
    const auto pair = velorin::bench::MeasurePair(
        runs, [&] { run = Report(set, folder + "/report.pdf"); },
        [&] { BareCairo(texts, folder + "/bare.pdf", true); });
    std::printf("%d records x %d channels: %d pages, %lld bytes (bare loop %lld bytes, %zu strings)\n", records,
                channels, run.pages, run.bytes, FileSize(folder + "/bare.pdf"), texts.items.size());
    const std::string a = std::to_string(records) + " x " + std::to_string(channels) + ": PDF report";
    const std::string b =
        std::to_string(records) + " x " + std::to_string(channels) + ": bare cairo loop, same texts and lines";
    velorin::bench::PrintPair("pdf_report", a.c_str(), b.c_str(), pair, runs);
}

}  // namespace

int main(int argc, char** argv) {
    const int records = velorin::bench::RecordsArgument(argc, argv, 10);
    const std::string dir = velorin::bench::MakeScratchFolder("pdf-bench");
    if (records == 0 || dir.empty()) return 1;
    Compare(records, 6, dir);
    Compare(records, 2, dir);
    const long small = ReportPeakGrowthKb(records / 10, 2, dir + "/m1.pdf");
    const long full = ReportPeakGrowthKb(records, 2, dir + "/m2.pdf");
    velorin::bench::PrintFigure("pdf_report", (std::to_string(records / 10) + " x 2: peak RSS growth").c_str(),
                                static_cast<double>(small), "kB");
    velorin::bench::PrintFigure("pdf_report", (std::to_string(records) + " x 2: peak RSS growth").c_str(),
                                static_cast<double>(full), "kB");
    for (const char* name : {"/report.pdf", "/bare.pdf", "/m1.pdf", "/m2.pdf"}) std::remove((dir + name).c_str());
    rmdir(dir.c_str());
    return 0;
}
