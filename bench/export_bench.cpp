// Times the CSV and TXT exports of a full data set (270,336 records × 6 channels) and shows
// that the memory they use does not grow with the record count.
//
//   export_bench [records]   (default 270336; also runs a tenth of it for the memory comparison)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "common/text_codec.h"
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

using velorin::bench::StatusKb;

using velorin::bench::ResetPeak;

struct Figures {
    double best = 0, median = 0;
    long peakGrowthKb = 0;  // the highest peak growth of the runs
    long long bytes = 0;
};

template <typename Export>
Figures Measure(const RecordSet& set, const std::string& path, Export exporter, int runs) {
    std::vector<double> seconds;
    Figures f;
    for (int run = 0; run < runs; ++run) {
        const bool reset = ResetPeak();
        const long before = StatusKb("VmRSS");
        const auto t0 = std::chrono::steady_clock::now();
        const velorin::ExportResult r = exporter(set, path, velorin::ExportOptions());
        const auto t1 = std::chrono::steady_clock::now();
        if (!r.ok) {
            std::fprintf(stderr, "export failed: %s\n", r.detail.c_str());
            std::exit(1);
        }
        const long peak = StatusKb("VmHWM");
        if (reset && before >= 0 && peak >= 0) f.peakGrowthKb = std::max(f.peakGrowthKb, peak - before);
        seconds.push_back(std::chrono::duration<double>(t1 - t0).count());
        std::ifstream in(r.path, std::ios::binary | std::ios::ate);
        f.bytes = static_cast<long long>(in.tellg());
        std::remove(r.path.c_str());
    }
    std::sort(seconds.begin(), seconds.end());
    f.best = seconds.front();
    f.median = seconds[seconds.size() / 2];
    return f;
}

void Run(int records, const std::string& folder) {
    const RecordSet set = MakeSet(records);
    const Figures csv = Measure(set, folder + "/bench.csv", velorin::ExportCsv, 3);
    const Figures txt = Measure(set, folder + "/bench.txt", velorin::ExportTxt, 3);
    std::printf("%7d records x 6 channels\n", records);
    std::printf("  CSV: best %.3f s, median %.3f s, %lld bytes, peak RSS growth %ld kB\n", csv.best,
                csv.median, csv.bytes, csv.peakGrowthKb);
    std::printf("  TXT: best %.3f s, median %.3f s, %lld bytes, peak RSS growth %ld kB\n", txt.best,
                txt.median, txt.bytes, txt.peakGrowthKb);
}

}  // namespace

int main(int argc, char** argv) {
    const int records = velorin::bench::RecordsArgument(argc, argv, 1);
    const std::string folder = velorin::bench::MakeScratchFolder("export-bench");
    if (records == 0 || folder.empty()) return 1;
    Run(records / 10 > 0 ? records / 10 : 1, folder);
    Run(records, folder);
    rmdir(folder.c_str());
    return 0;
}
