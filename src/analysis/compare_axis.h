// The arithmetic of the comparison plot: one clock-time axis for every file (ClockSeconds, as the
// files line up), where a time lands on the canvas and which time lies under a canvas x, a file's
// sample at a given time, a summary of each channel's values per block of records for fast
// drawing, and the value range each channel number gets (shared by every file, so the same
// channel of two files is drawn to one scale).
//
// A file's records are taken in clock-time order (CompareFile::order); "position k" below is
// the k-th record in that order. The canvas has the history view's margins: the curve area spans
// x = 50 … W − 10 and y = 20 … H − 25 (view/curve_geometry.h).
//
// Plain functions over plain values: any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velorin {

struct CompareFile;

// The shown time window, both ends included (clock seconds).
struct TimeWindow {
    int64_t from = 0;
    int64_t to = 0;
};

// The window from the earliest to the latest record of all files ({0, 0} without records).
TimeWindow WholeWindow(const std::vector<CompareFile>& files);

// x of time t: 50 + (t − from) × (W − 60) ÷ (to − from), rounded down; 50 when from = to.
int TimeX(int64_t t, const TimeWindow& window, int width);
// The time under canvas x: x limited to 50 … W − 10, then from + (x − 50) × (to − from) ÷ (W − 60)
// rounded down.
int64_t TimeAtX(int canvasX, const TimeWindow& window, int width);

// The value of channel `channel` (0-based) of the record at position k.
float ValueAt(const CompareFile& file, size_t k, int channel);
// Not a plain value: a missing sample of either width, or NaN.
bool IrregularValue(float v);

// Lowest and highest value of each block of kCompareBlock positions of one channel, whether the
// block holds a value that is not plain, and the channel's values by position (the drawing reads
// a few values at each pixel column's edges: 4 bytes apart here, a whole record apart in the set).
constexpr size_t kCompareBlock = 8;
struct ChannelBlocks {
    std::vector<float> low, high;
    std::vector<uint8_t> irregular;
    std::vector<float> values;
};
struct CompareSummary {
    ChannelBlocks channel[8];  // recorded channels only
    // The time at each block's first position: a pixel column's end is found among these and
    // then within one block.
    std::vector<int64_t> blockStart;
};
std::vector<CompareSummary> SummariseCompareFiles(const std::vector<CompareFile>& files);

// A file's sample at time t: the last record at or before t, as long as t lies less than one
// record interval (at least one second) after it; so a time before the file's first record,
// after its last one or inside a pause of the recording has no sample.
enum class SampleKind { None, Missing, Value };
struct SampleAt {
    SampleKind kind = SampleKind::None;
    float value = 0;
    int32_t record = -1;  // file order
};
SampleAt SampleAtTime(const CompareFile& file, int channel, int64_t t);

// The value range of channel `channel` over every file that recorded it, from the plain values
// of the records in the window; `found` false when there is none.
struct ValueRange {
    bool found = false;
    float low = 0, high = 0;
};
ValueRange ChannelRange(const std::vector<CompareFile>& files, const std::vector<CompareSummary>& summaries,
                        int channel, const TimeWindow& window);

// A tick label: "hh:mm:ss" when the window lies within one calendar day, "MM-DD hh:mm" otherwise.
std::string TickLabel(int64_t t, const TimeWindow& window);

}  // namespace velorin
