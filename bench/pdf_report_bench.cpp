// Times the PDF report of a data set (by default 270,336 records: 6 channels, 1932 data pages,
// and 2 channels) interleaved with the same report drawn through cairo's PDF surface; shows
// that memory does not grow with the page count.
//
//   pdf_report_bench [records]   (default 270336; the memory comparison also runs a tenth)
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/bench_support.h"
#include "bench/bench_timing.h"
#include "common/language.h"
#include "common/text_codec.h"
#include "history/record_set.h"
#include "report/cairo_canvas.h"
#include "report/pdf_document.h"
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

// The same report through cairo's PDF surface (what writes the file when the report font is not
// a TrueType font the program embeds itself).
double CairoReport(const RecordSet& set, const std::string& path) {
    velorin::PdfOptions options;
    options.display.language = velorin::Language::English;
    const auto t0 = std::chrono::steady_clock::now();
    velorin::CairoPdfCanvas canvas(path, velorin::ReportDocumentInfo());
    velorin::PdfReport(canvas, set, options).Draw();
    if (!canvas.Finish()) {
        std::fprintf(stderr, "cairo report failed: %s\n", canvas.Error().c_str());
        std::exit(1);
    }
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

// Peak resident growth of one report (kB), after its data set exists, in this program started
// anew for it (--peak): a forked copy would carry this process's heap, whose freed memory the
// report may or may not reuse depending on what ran before.
long ReportPeakGrowthKb(int records, int channels, const std::string& path) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        dup2(fds[1], STDOUT_FILENO);
        const std::string r = std::to_string(records), c = std::to_string(channels);
        execl("/proc/self/exe", "pdf_report_bench", "--peak", r.c_str(), c.c_str(), path.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string out;
    char buffer[64];
    // One number is all it prints: anything past a line's worth is not read.
    for (ssize_t n; out.size() < 64 && (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        out.append(buffer, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || out.empty()) return -1;
    return std::atol(out.c_str());
}

// The --peak run: one report, its growth printed.
int PeakRun(int records, int channels, const char* path) {
    if (records < 1 || channels < 1 || channels > 8) return 1;
    RecordSet set = MakeSet(records, channels);
    const long before = StatusKb("VmRSS");
    Report(set, path);
    const long peak = StatusKb("VmHWM");
    if (before < 0 || peak < 0) return 1;
    std::printf("%ld\n", peak - before);
    return 0;
}

// The report as the program writes it against the same report through cairo, interleaved.
void Compare(int records, int channels, const std::string& folder) {
    RecordSet set = MakeSet(records, channels);
    ReportRun run;
    const int runs = velorin::bench::kRuns;
    const auto pair = velorin::bench::MeasurePair(
        runs, [&] { run = Report(set, folder + "/report.pdf"); }, [&] { CairoReport(set, folder + "/cairo.pdf"); });
    std::printf("%d records x %d channels: %d pages, %lld bytes (through cairo %lld bytes)\n", records, channels,
                run.pages, run.bytes, FileSize(folder + "/cairo.pdf"));
    const std::string a = std::to_string(records) + " x " + std::to_string(channels) + ": PDF report";
    const std::string b = std::to_string(records) + " x " + std::to_string(channels) + ": the same through cairo";
    velorin::bench::PrintPair("pdf_report", a.c_str(), b.c_str(), pair, runs);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--peak") return PeakRun(std::atoi(argv[2]), std::atoi(argv[3]), argv[4]);
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
    for (const char* name : {"/report.pdf", "/cairo.pdf", "/m1.pdf", "/m2.pdf"}) std::remove((dir + name).c_str());
    rmdir(dir.c_str());
    return 0;
}
