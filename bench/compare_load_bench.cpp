// Opening a comparison: 16 data files of 270,336 records with two channels each, read and lined
// up by clock time (LoadCompareFiles), against reading the same files alone (ReadKvFile), in
// interleaved pairs. The files come from the page cache (written once before timing). Best and
// median of each.
//
//   compare_load_bench [RECORDS] [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/clock_time.h"
#include "analysis/compare_files.h"
#include "bench/bench_support.h"
#include "bench/bench_timing.h"
#include "history/kv_file.h"
#include "history/record_set.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kFiles = 16;

double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

// Also the line scripts/bench.sh gathers into its summary table.
void Report(const char* name, std::vector<double> ms) {
    const int runs = static_cast<int>(ms.size());
    velorin::bench::Print("compare_load", name, velorin::bench::Summarise(std::move(ms)), runs);
}

}  // namespace

int main(int argc, char** argv) {
    const int records = velorin::bench::RecordsArgument(argc, argv, 1);
    if (records == 0) return 1;
    const int runs = argc > 2 ? std::max(11, std::atoi(argv[2])) : 11;
    const std::string folder = velorin::bench::MakeScratchFolder("compare-load");
    if (folder.empty()) return 1;
    std::vector<std::string> paths;
    for (int f = 0; f < kFiles; ++f) {
        velorin::RecordSet set;
        set.records.resize(static_cast<size_t>(records));
        set.recordCount = records;
        set.intervalSeconds = 60 + 30 * (f % 3);
        const int64_t start = velorin::ClockSecondsOf(24, 1, 1, 0, 0, 0) + 600 * f;
        for (int i = 0; i < records; ++i) {
            velorin::SampleRecord& r = set.records[static_cast<size_t>(i)];
            velorin::SetRecordClock(r, start + static_cast<int64_t>(i) * set.intervalSeconds);
            r.value[0] = static_cast<float>(i % 400) / 10.0f;
            r.value[1] = static_cast<float>(i % 900) / 10.0f;
        }
        set.channelEnabled[0] = set.channelEnabled[1] = 1;
        std::snprintf(set.serialNumber, sizeof set.serialNumber, "S%07d", f);
        paths.push_back(folder + "/f" + std::to_string(f) + ".kv");
        if (!velorin::WriteKvFile(paths.back(), set).ok) return 1;
    }
    std::vector<double> a, b;
    size_t sink = 0;
    for (int run = 0; run < runs; ++run) {
        auto t0 = Clock::now();
        const velorin::CompareLoadResult loaded = velorin::LoadCompareFiles(paths);
        auto t1 = Clock::now();
        for (const std::string& p : paths) {
            velorin::RecordSet set;
            sink += velorin::ReadKvFile(p, set).ok() ? set.records.size() : 0;
        }
        auto t2 = Clock::now();
        a.push_back(Ms(t0, t1));
        b.push_back(Ms(t1, t2));
        sink += loaded.files.size();
    }
    std::filesystem::remove_all(folder);
    std::printf("%d files x %d records x 2 channels, %d interleaved runs\n", kFiles, records, runs);
    Report("A LoadCompareFiles (read + order by time)", a);
    Report("B ReadKvFile of each file alone", b);
    return sink == 1 ? 2 : 0;
}
