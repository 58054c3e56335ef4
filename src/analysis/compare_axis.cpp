#include "analysis/compare_axis.h"

#include <algorithm>
#include <cstdio>

#include "analysis/compare_files.h"
#include "config/deal_time.h"
#include "history/record_set.h"
#include "view/curve_geometry.h"

namespace velorin {

TimeWindow WholeWindow(const std::vector<CompareFile>& files) {
    TimeWindow w;
    bool any = false;
    for (const CompareFile& f : files) {
        if (f.Count() == 0) continue;
        // A file out of time order may have its extremes anywhere.
        int64_t lo = f.FirstTime(), hi = f.LastTime();
        if (!f.inTimeOrder) {
            for (int32_t i = 0; i < f.Count(); ++i) {
                lo = std::min(lo, f.times.Seconds(i));
                hi = std::max(hi, f.times.Seconds(i));
            }
        }
        if (hi < lo) std::swap(lo, hi);
        w.from = any ? std::min(w.from, lo) : lo;
        w.to = any ? std::max(w.to, hi) : hi;
        any = true;
    }
    return w;
}

// Products of a time difference and a pixel count are taken in 128 bits: a damaged file's
// calendar fields may give times far outside any real recording.
int TimeX(int64_t t, const TimeWindow& window, int width) {
    const __int128 span = static_cast<__int128>(window.to) - window.from;
    const int64_t pixels = std::max(width - kCurveLeft - kCurveRightMargin, 0);
    if (span <= 0) return kCurveLeft;
    const __int128 num = (static_cast<__int128>(t) - window.from) * pixels;
    __int128 q = num / span;
    if (num % span != 0 && num < 0) --q;  // rounded down for times before the window too
    const __int128 limit = 1000000;        // far outside any canvas, and no int overflows
    return static_cast<int>(kCurveLeft + std::clamp(q, -limit, limit));
}

int64_t TimeAtX(int canvasX, const TimeWindow& window, int width) {
    const int right = std::max(width - kCurveRightMargin, kCurveLeft);
    const int x = std::clamp(canvasX, kCurveLeft, right);
    const int64_t pixels = right - kCurveLeft;
    if (pixels <= 0 || window.to <= window.from) return window.from;
    const __int128 span = static_cast<__int128>(window.to) - window.from;
    return window.from + static_cast<int64_t>(static_cast<__int128>(x - kCurveLeft) * span / pixels);
}

RecordSpan RecordsInWindow(const CompareFile& file, const TimeWindow& window) {
    const int32_t count = file.Count();
    if (!file.inTimeOrder) return {0, count};
    int32_t lo = 0, hi = count;
    while (lo < hi) {  // first record at or after `from`
        const int32_t mid = lo + (hi - lo) / 2;
        if (file.times.Seconds(mid) < window.from) lo = mid + 1;
        else hi = mid;
    }
    const int32_t first = lo;
    hi = count;
    while (lo < hi) {  // first record after `to`
        const int32_t mid = lo + (hi - lo) / 2;
        if (file.times.Seconds(mid) <= window.to) lo = mid + 1;
        else hi = mid;
    }
    return {first, lo};
}

bool InWindow(const CompareFile& file, int32_t i, const TimeWindow& window) {
    const int64_t t = file.times.Seconds(i);
    return t >= window.from && t <= window.to;
}

SampleAt SampleAtTime(const CompareFile& file, int channel, int64_t t) {
    SampleAt out;
    const int32_t count = file.Count();
    if (count == 0 || channel < 0 || channel >= kRecordSetChannels || file.set->channelEnabled[channel] != 1) {
        return out;
    }
    const int64_t hold = std::max<int64_t>(file.set->intervalSeconds, 1);
    int32_t best = -1;
    if (file.inTimeOrder) {
        int32_t lo = 0, hi = count;  // first record after t
        while (lo < hi) {
            const int32_t mid = lo + (hi - lo) / 2;
            if (file.times.Seconds(mid) <= t) lo = mid + 1;
            else hi = mid;
        }
        best = lo - 1;
    } else {
        // The latest record at or before t (the last of them in file order when times repeat).
        for (int32_t i = 0; i < count; ++i) {
            const int64_t s = file.times.Seconds(i);
            if (s <= t && (best < 0 || s >= file.times.Seconds(best))) best = i;
        }
    }
    if (best < 0 || t - file.times.Seconds(best) >= hold) return out;
    const float v = file.set->records[static_cast<size_t>(best)].value[channel];
    out.record = best;
    out.value = v;
    out.kind = (v != v || IsMissingSample(v)) ? SampleKind::Missing : SampleKind::Value;
    return out;
}

ValueRange ChannelRange(const std::vector<CompareFile>& files, int channel, const TimeWindow& window) {
    ValueRange r;
    for (const CompareFile& f : files) {
        if (f.set->channelEnabled[channel] != 1) continue;
        const RecordSpan span = RecordsInWindow(f, window);
        const ChannelBlocks& blocks = f.blocks[channel];
        for (int32_t i = span.first; i < span.end;) {
            // Whole regular blocks at once.
            const size_t b = static_cast<size_t>(i / kCompareBlock);
            if (f.inTimeOrder && i % kCompareBlock == 0 && i + kCompareBlock <= span.end && !blocks.irregular[b]) {
                r.low = r.found ? std::min(r.low, blocks.low[b]) : blocks.low[b];
                r.high = r.found ? std::max(r.high, blocks.high[b]) : blocks.high[b];
                r.found = true;
                i += kCompareBlock;
                continue;
            }
            const float v = f.set->records[static_cast<size_t>(i)].value[channel];
            if ((f.inTimeOrder || InWindow(f, i, window)) && v == v && !IsMissingSample(v)) {
                r.low = r.found ? std::min(r.low, v) : v;
                r.high = r.found ? std::max(r.high, v) : v;
                r.found = true;
            }
            ++i;
        }
    }
    return r;
}

std::string TimeText(int64_t t) {
    const CDealTime d(t);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", d.GetYear(), d.GetMonth(), d.GetDay(),
                  d.GetHour(), d.GetMinute(), d.GetSecond());
    return text;
}

std::string TickLabel(int64_t t, const TimeWindow& window) {
    const CDealTime a(window.from), b(window.to), d(t);
    const bool oneDay = a.GetYear() == b.GetYear() && a.GetMonth() == b.GetMonth() && a.GetDay() == b.GetDay();
    char text[32];
    if (oneDay) {
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", d.GetHour(), d.GetMinute(), d.GetSecond());
    } else {
        std::snprintf(text, sizeof text, "%02d-%02d %02d:%02d", d.GetMonth(), d.GetDay(), d.GetHour(), d.GetMinute());
    }
    return text;
}

std::string DurationText(int64_t seconds, const std::string& daysWord) {
    const bool negative = seconds < 0;
    const uint64_t s = negative ? static_cast<uint64_t>(-(seconds + 1)) + 1 : static_cast<uint64_t>(seconds);
    const uint64_t days = s / 86400;
    char text[64];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", static_cast<unsigned>(s / 3600 % 24),
                  static_cast<unsigned>(s / 60 % 60), static_cast<unsigned>(s % 60));
    std::string out = negative ? "-" : "";
    if (days > 0) out += std::to_string(days) + " " + daysWord + " ";
    return out + text;
}

}  // namespace velorin
