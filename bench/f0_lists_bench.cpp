// F0 mode and the lists over a data set (by default full capacity, 270,336 records; channels 1,
// 2 and 5).
//
//   f0_lists_bench [records]
//
//   ComputeF0 over all records (single-precision steps, one double pow per record);
//   F0Mode on and off: channel 2 kept aside, F computed, channel 2 put back;
//   the data list built over all records (its row count and columns, nothing per row);
//   one screenful of cells (40 rows × 5 columns) formatted as the table paints them.
// Each figure is the best and the median of several runs, in milliseconds.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/bench_timing.h"
#include "device/display_options.h"
#include "history/record_set.h"
#include "view/data_list.h"
#include "view/f0.h"

namespace {

void Report(const char* what, int runs, const std::function<void()>& body) {
    velorin::bench::Print("f0_lists", what, velorin::bench::Measure(runs, body), runs);
}

velorin::RecordSet MakeSet(int records) {
    velorin::RecordSet set;
    for (int c : {0, 1, 4}) set.channelEnabled[c] = 1;
    set.intervalSeconds = 60;
    set.records.resize(static_cast<size_t>(records));
    for (int i = 0; i < records; ++i) {
        velorin::SampleRecord& r = set.records[static_cast<size_t>(i)];
        r.year = 26;
        r.month = 3;
        r.day = 1 + i / 86400 % 28;
        r.hour = i / 3600 % 24;
        r.minute = i / 60 % 60;
        r.second = i % 60;
        r.value[0] = 100.0f + static_cast<float>(i % 400) * 0.05f;
        r.value[1] = 50.0f;
        r.value[4] = 101.3f;
    }
    set.recordCount = records;
    return set;
}

}  // namespace

int main(int argc, char** argv) {
    const int records = velorin::bench::RecordsArgument(argc, argv, 40);
    if (records == 0) return 1;
    velorin::RecordSet set = MakeSet(records);
    std::printf("data set: %d records\n", set.recordCount);
    Report("ComputeF0, all records", 15, [&] { velorin::ComputeF0(set, 0, set.recordCount, 121.0f, 10.0f); });
    Report("F0Mode on and off, all records", 15, [&] {
        velorin::F0Mode mode;
        mode.SwitchOn(set, 0, set.recordCount, 121.0f, 10.0f, "F0", "min");
        mode.SwitchOff(set);
    });
    velorin::DisplayOptions display;
    display.language = velorin::Language::English;
    display.channelType[0] = 0x22;
    Report("DataList over all records", 15, [&] {
        const velorin::DataList list(set, display);
        if (list.RowCount() != records) std::printf("wrong row count\n");
    });
    const velorin::DataList list(set, display);
    size_t bytes = 0;
    Report("one screenful of cells (40 x 5) at the end", 200, [&] {
        for (int row = list.RowCount() - 40; row < list.RowCount(); ++row) {
            for (int c = 0; c < list.ColumnCount(); ++c) bytes += list.Cell(row, c).size();
        }
    });
    std::printf("(%zu bytes formatted)\n", bytes);
    return 0;
}
