// Times the CSV and TXT exports of a data file (by default 270,336 records × 6 channels): the
// file read whole and exported against its records streamed from the file, interleaved; the
// peak memory of each, and that both write the same bytes; and the peak memory of the whole
// `velorin-cli export` process, what a user running it sees.
//
//   export_bench [records]   (default 270336)
#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/bench_timing.h"
#include "common/text_codec.h"
#include "history/kv_file.h"
#include "history/kv_record_stream.h"
#include "history/record_set.h"
#include "report/text_export.h"

namespace {

using velorin::RecordSet;

RecordSet MakeSet(int records) {
    RecordSet set;
    set.records.resize(static_cast<size_t>(records));
    set.recordCount = records;
    for (int i = 0; i < records; ++i) {
        velorin::SampleRecord& r = set.records[static_cast<size_t>(i)];
        const int s = i * 10;
        r.year = 25;
        r.month = 1 + s / (86400 * 28) % 12;
        r.day = 1 + s / 86400 % 28;
        r.hour = s / 3600 % 24;
        r.minute = s / 60 % 60;
        r.second = s % 60;
        for (int c = 0; c < 6; ++c) {
            r.value[c] = static_cast<float>((i * (c + 7)) % 20000 - 5000) / 37.0f;
        }
        if (i % 997 == 0) r.value[3] = velorin::kMissingValue2Byte;
    }
    for (int c = 0; c < 6; ++c) {
        set.channelEnabled[c] = 1;
        set.maxValue[c] = 135.1f;
        set.minValue[c] = -135.1f;
        set.avgValue[c] = 0.25f;
        velorin::SetUnitText(set, c, velorin::Utf8ToGbk(c % 2 ? "%RH" : "℃"));
        velorin::SetQuantityText(set, c, velorin::Utf8ToGbk(c % 2 ? "湿度" : "温度"));
    }
    velorin::StoreInField(set.userName, "bench");
    velorin::StoreInField(set.title, "full memory");
    velorin::StoreInField(set.recordModeText, "AutoMode");
    return set;
}

using velorin::bench::ResetPeak;
using velorin::bench::StatusKb;

// Peak resident growth of one run of `body` (kB; −1 when it cannot be read).
long PeakGrowthKb(const std::function<void()>& body) {
    // Freed memory the heap still holds would be reused without growing: it goes back first.
    malloc_trim(0);
    const bool reset = ResetPeak();
    const long before = StatusKb("VmRSS");
    body();
    const long peak = StatusKb("VmHWM");
    return reset && before >= 0 && peak >= 0 ? peak - before : -1;
}

void Check(const velorin::ExportResult& r) {
    if (!r.ok) {
        std::fprintf(stderr, "export failed: %s\n", r.detail.c_str());
        std::exit(1);
    }
}

// The peak resident memory of `velorin-cli export KV --csv|--txt OUT` as a process of its own
// (kB; −1 when it could not run or failed). Measured in this process, a run would find the
// memory freed by the run before it still resident and reused, and show no growth at all.
// The kernel counts the memory a child held before it started the program into its peak: this
// process must hold little when it starts it (checked: the figure is −1 otherwise).
long CliPeakKb(const std::string& kv, bool csv, const std::string& out) {
    const long before = StatusKb("VmRSS");
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        const int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0) dup2(devnull, STDOUT_FILENO);
        execl(VELORIN_CLI, VELORIN_CLI, "export", kv.c_str(), csv ? "--csv" : "--txt", out.c_str(), "--lang", "en",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return before >= 0 && usage.ru_maxrss > before ? usage.ru_maxrss : -1;  // kB on Linux
}

// The command-line export's peak memory for both forms, before anything here has used much.
void MeasureCli(int records, const std::string& folder) {
    const std::string kv = folder + "/cli.kv";
    if (!velorin::WriteKvFile(kv, MakeSet(records)).ok) std::exit(1);
    for (const bool csv : {true, false}) {
        const std::string out = folder + "/cli" + (csv ? ".csv" : ".txt");
        const long peak = CliPeakKb(kv, csv, out);
        std::remove(out.c_str());
        const std::string what = std::string("velorin-cli export --") + (csv ? "csv" : "txt") + ": peak RSS";
        velorin::bench::PrintFigure("export", what.c_str(), static_cast<double>(peak), "kB");
        if (peak < 0) {
            std::fprintf(stderr, "velorin-cli export --%s failed or could not be measured\n", csv ? "csv" : "txt");
            std::exit(1);
        }
    }
    std::remove(kv.c_str());
}

// One table form: the data file read whole and exported, against the records streamed from the
// file (what velorin-cli export does), interleaved; the peak memory of each; the bytes equal.
void Run(int records, const std::string& folder, bool csv) {
    const std::string kv = folder + "/bench.kv";
    if (!velorin::WriteKvFile(kv, MakeSet(records)).ok) std::exit(1);
    using Options = velorin::ExportOptions;
    const auto whole = [&] {
        RecordSet set;
        if (!velorin::ReadKvFile(kv, set).ok()) std::exit(1);
        Check(csv ? velorin::ExportCsv(set, folder + "/whole", Options())
                  : velorin::ExportTxt(set, folder + "/whole", Options()));
    };
    const auto streamed = [&] {
        RecordSet head;
        velorin::KvRecordStream stream;
        if (!stream.Open(kv, head).ok()) std::exit(1);
        Check(csv ? velorin::ExportCsv(head, stream, folder + "/streamed", Options())
                  : velorin::ExportTxt(head, stream, folder + "/streamed", Options()));
    };
    const std::string form = csv ? "CSV" : "TXT";
    // The growth of each measured before the timed runs, the streamed export first: afterwards the
    // whole set's freed buffer stays in the heap and a later read whole reuses it.
    const std::string ma = form + " read whole: peak RSS growth";
    const std::string mb = form + " streamed: peak RSS growth";
    const long streamedGrowth = PeakGrowthKb(streamed);
    const long wholeGrowth = PeakGrowthKb(whole);
    const std::string a = std::to_string(records) + " x 6, " + form + ": .kv read whole, then exported";
    const std::string b = std::to_string(records) + " x 6, " + form + ": streamed from the .kv";
    const int runs = velorin::bench::kRuns;
    velorin::bench::PrintPair("export", a.c_str(), b.c_str(), velorin::bench::MeasurePair(runs, whole, streamed), runs);
    velorin::bench::PrintFigure("export", ma.c_str(), static_cast<double>(wholeGrowth), "kB");
    velorin::bench::PrintFigure("export", mb.c_str(), static_cast<double>(streamedGrowth), "kB");
    const std::string ext = csv ? ".csv" : ".txt";
    std::ifstream x(folder + "/whole" + ext, std::ios::binary), y(folder + "/streamed" + ext, std::ios::binary);
    const std::string bx((std::istreambuf_iterator<char>(x)), std::istreambuf_iterator<char>());
    const std::string by((std::istreambuf_iterator<char>(y)), std::istreambuf_iterator<char>());
    if (bx != by || bx.empty()) {
        std::fprintf(stderr, "the streamed %s differs from the whole set's\n", form.c_str());
        std::exit(1);
    }
    for (const char* name : {"/whole", "/streamed"}) std::remove((folder + name + ext).c_str());
    std::remove(kv.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    // Every buffer of a megabyte or more mapped anew and given back when freed, as in the
    // command-line program, which reads once: otherwise the whole set's buffer is memory the
    // run before touched, and reading it whole looks cheaper than it is.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    const int records = velorin::bench::RecordsArgument(argc, argv, 1);
    const std::string folder = velorin::bench::MakeScratchFolder("export-bench");
    if (records == 0 || folder.empty()) return 1;
    MeasureCli(records, folder);
    Run(records, folder, true);
    Run(records, folder, false);
    rmdir(folder.c_str());
    return 0;
}
