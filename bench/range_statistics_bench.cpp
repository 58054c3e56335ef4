// Range statistics of a full data set (270,336 records, six temperature channels in tenths as a
// logger stores them, one sample in a thousand missing) against the report's statistics of the same records (ReportStatistics of
// each channel plus AlarmStatistics), measured in interleaved pairs: A (range statistics over
// the whole set), B (the report's), then C (range statistics over a clock-time range of the
// middle half, which compares every record's time). Best and median of each. Then, as a data
// window's zoom and pan need them: D (building the index of whole blocks once), E (a third of the
// set, starting and ending inside blocks, from the index) and F (the same range from the
// records), checked to agree exactly (exit 1 when not).
//
//   range_statistics_bench [RECORDS] [RUNS]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "analysis/clock_time.h"
#include "analysis/range_statistics.h"
#include "bench/bench_support.h"
#include "bench/bench_timing.h"
#include "history/record_set.h"
#include "report/report_statistics.h"

namespace {

using Clock = std::chrono::steady_clock;

velorin::RecordSet FullSet(int records) {
    velorin::RecordSet set;
    set.records.resize(static_cast<size_t>(records));
    set.recordCount = records;
    set.intervalSeconds = 60;
    const int64_t start = velorin::ClockSecondsOf(24, 1, 1, 0, 0, 0);
    unsigned seed = 12345;
    float walk[6] = {4, 5, 6, 20, 21, 22};
    for (size_t i = 0; i < set.records.size(); ++i) {
        velorin::SampleRecord& r = set.records[i];
        velorin::SetRecordClock(r, start + static_cast<int64_t>(i) * 60);
        for (int c = 0; c < 6; ++c) {
            seed = seed * 1103515245u + 12345u;
            walk[c] += static_cast<float>(static_cast<int>((seed >> 16) % 21) - 10) / 100.0f;
            // Stored as the logger sends them: whole tenths.
            const float stored = static_cast<float>(std::lround(walk[c] * 10.0f)) / 10.0f;
            r.value[c] = (seed >> 8) % 1000 == 0 ? velorin::kMissingValue2Byte : stored;
        }
    }
    for (int c = 0; c < 6; ++c) {
        set.channelEnabled[c] = 1;
        set.upperAlarmX10[c] = 80;
        set.lowerAlarmX10[c] = 20;
        velorin::SetQuantityText(set, c, "TEMP");
        velorin::SetUnitText(set, c, "C");
    }
    return set;
}

double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

// Also the line scripts/bench.sh gathers into its summary table.
void Report(const char* name, std::vector<double> ms) {
    const int runs = static_cast<int>(ms.size());
    velorin::bench::Print("range_statistics", name, velorin::bench::Summarise(std::move(ms)), runs);
}

}  // namespace

int main(int argc, char** argv) {
    const int records = velorin::bench::RecordsArgument(argc, argv, 1);
    if (records == 0) return 1;
    const int runs = argc > 2 ? std::max(11, std::atoi(argv[2])) : 15;
    velorin::RecordSet set = FullSet(records);
    velorin::StatisticsRange middle;
    middle.hasFrom = middle.hasTo = true;
    middle.from = velorin::ClockSeconds(set.records[static_cast<size_t>(records / 4)]);
    middle.to = velorin::ClockSeconds(set.records[static_cast<size_t>(records * 3 / 4)]);

    std::vector<double> a, b, c;
    double sink = 0;
    for (int run = 0; run < runs; ++run) {
        auto t0 = Clock::now();
        const velorin::RangeStatistics whole = velorin::ComputeRangeStatistics(set);
        auto t1 = Clock::now();
        const velorin::ReportRange range = velorin::RangeOf(set, 0, 0);
        for (int ch = 0; ch < 6; ++ch) sink += velorin::ReportStatistics(set, range, ch).mkt;
        const velorin::AlarmStats alarms = velorin::AlarmStatistics(set, range);
        auto t2 = Clock::now();
        const velorin::RangeStatistics half = velorin::ComputeRangeStatistics(set, middle);
        auto t3 = Clock::now();
        a.push_back(Ms(t0, t1));
        b.push_back(Ms(t1, t2));
        c.push_back(Ms(t2, t3));
        sink += whole.channels[0].mkt + half.channels[5].avg + static_cast<double>(alarms.upperSeconds[0]);
    }
    std::vector<double> d, e, f;
    bool same = true;
    const int32_t first = records / 3 + 5, end = first + records / 3;
    velorin::StatisticsRange third;
    third.first = first;
    third.end = end;
    for (int run = 0; run < runs; ++run) {
        auto t0 = Clock::now();
        const velorin::RangeStatisticsIndex index(set);
        auto t1 = Clock::now();
        const velorin::RangeStatistics fromIndex = index.Compute(set, first, end);
        auto t2 = Clock::now();
        const velorin::RangeStatistics fromRecords = velorin::ComputeRangeStatistics(set, third);
        auto t3 = Clock::now();
        d.push_back(Ms(t0, t1));
        e.push_back(Ms(t1, t2));
        f.push_back(Ms(t2, t3));
        for (size_t k = 0; k < fromIndex.channels.size(); ++k) {
            const auto &x = fromIndex.channels[k], &y = fromRecords.channels[k];
            same = same && x.count == y.count && x.min == y.min && x.max == y.max && x.avg == y.avg && x.mkt == y.mkt &&
                   x.aboveUpperSeconds == y.aboveUpperSeconds;
        }
    }
    std::printf("%d records x 6 channels, %d interleaved runs\n", records, runs);
    Report("A range statistics, whole set", a);
    Report("B report statistics + alarm statistics, whole set", b);
    Report("C range statistics, clock-time range (middle half)", c);
    Report("D index of whole blocks, built once per set", d);
    Report("E a third of the set, from the index", e);
    Report("F the same third, from the records", f);
    std::printf("index and records agree exactly: %s\n", same ? "yes" : "NO");
    if (!same) return 1;
    return sink == 12345.678 ? 2 : 0;
}
