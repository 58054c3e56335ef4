// Times the CSV and TXT exports of a data file (by default 270,336 records × 6 channels): the
// file read whole and exported against its records streamed from the file, interleaved; the
// peak memory of each, and that both write the same bytes.
//
//   export_bench [records]   (default 270336)
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
    const std::string a = std::to_string(records) + " x 6, " + form + ": .kv read whole, then exported";
    const std::string b = std::to_string(records) + " x 6, " + form + ": streamed from the .kv";
    const int runs = velorin::bench::kRuns;
    velorin::bench::PrintPair("export", a.c_str(), b.c_str(), velorin::bench::MeasurePair(runs, whole, streamed), runs);
    const std::string ma = form + " read whole: peak RSS growth";
    const std::string mb = form + " streamed: peak RSS growth";
    velorin::bench::PrintFigure("export", ma.c_str(), static_cast<double>(PeakGrowthKb(whole)), "kB");
    velorin::bench::PrintFigure("export", mb.c_str(), static_cast<double>(PeakGrowthKb(streamed)), "kB");
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
    const int records = velorin::bench::RecordsArgument(argc, argv, 1);
    const std::string folder = velorin::bench::MakeScratchFolder("export-bench");
    if (records == 0 || folder.empty()) return 1;
    Run(records, folder, true);
    Run(records, folder, false);
    rmdir(folder.c_str());
    return 0;
}
