// The arithmetic of the comparison plot: one clock-time axis for every file, where a time lands
// on the canvas and which time lies under a canvas x, which records of a file fall into the
// shown time window, a file's value at a given time, and the value range each channel number
// gets (shared by every file, so the same channel of two files is drawn to one scale).
//
// The canvas has the history view's margins: the curve area spans x = 50 … W − 10 and
// y = 20 … H − 25 (view/curve_geometry.h). Plain functions over plain values: any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velorin {

struct CompareFile;

// The shown time window, both ends included (seconds of local calendar time).
struct TimeWindow {
    int64_t from = 0;
    int64_t to = 0;
};

// The window from the earliest first record to the latest last record of all files.
TimeWindow WholeWindow(const std::vector<CompareFile>& files);

// x of time t: 50 + (t − from) × (W − 60) ÷ (to − from), rounded down; 50 when from = to.
int TimeX(int64_t t, const TimeWindow& window, int width);
// The time under canvas x: x limited to 50 … W − 10, then from + (x − 50) × (to − from) ÷ (W − 60)
// rounded down.
int64_t TimeAtX(int canvasX, const TimeWindow& window, int width);

// The records of a file in time order that lie in the window: [first, end). For a file not in
// time order, the whole file (its drawing then tests every record).
struct RecordSpan {
    int32_t first = 0;
    int32_t end = 0;
};
RecordSpan RecordsInWindow(const CompareFile& file, const TimeWindow& window);
// Whether record i of the file lies in the window.
bool InWindow(const CompareFile& file, int32_t i, const TimeWindow& window);

// A file's sample at time t: the last record at or before t, as long as t lies less than one
// record interval (at least one second) after it; so a time before the file's first record,
// after its last one or inside a pause of the recording has no sample.
enum class SampleKind { None, Missing, Value };
struct SampleAt {
    SampleKind kind = SampleKind::None;
    float value = 0;
    int32_t record = -1;
};
SampleAt SampleAtTime(const CompareFile& file, int channel, int64_t t);

// The value range of channel `channel` (0-based) over every file that recorded it, from the
// plain values of the records in the window; `found` false when there is none.
struct ValueRange {
    bool found = false;
    float low = 0, high = 0;
};
ValueRange ChannelRange(const std::vector<CompareFile>& files, int channel, const TimeWindow& window);

// Time texts: "YYYY-MM-DD hh:mm:ss"; a tick label is "hh:mm:ss" when the window lies within one
// calendar day and "MM-DD hh:mm" otherwise; a duration is "[d day(s) ]hh:mm:ss" with a sign.
std::string TimeText(int64_t t);
std::string TickLabel(int64_t t, const TimeWindow& window);
std::string DurationText(int64_t seconds, const std::string& daysWord);

}  // namespace velorin
