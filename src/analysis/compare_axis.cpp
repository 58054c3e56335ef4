#include "analysis/compare_axis.h"

#include <algorithm>
#include <limits>
#include <cstdio>

#include "analysis/clock_time.h"
#include "analysis/compare_files.h"
#include "history/record_set.h"
#include "view/curve_geometry.h"

namespace velorin {

TimeWindow WholeWindow(const std::vector<CompareFile>& files) {
    TimeWindow w;
    if (!CompareSpan(files, w.from, w.to)) return TimeWindow();
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
    const __int128 limit = 1000000;       // far outside any canvas, and no int overflows
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

float ValueAt(const CompareFile& file, size_t k, int channel) {
    return file.set.records[static_cast<size_t>(file.order[k])].value[channel];
}

bool IrregularValue(float v) { return v != v || IsMissingSample(v); }

std::vector<CompareSummary> SummariseCompareFiles(const std::vector<CompareFile>& files) {
    std::vector<CompareSummary> out(files.size());
    for (size_t f = 0; f < files.size(); ++f) {
        const CompareFile& file = files[f];
        const size_t count = file.times.size();
        const size_t blocks = (count + kCompareBlock - 1) / kCompareBlock;
        out[f].blockStart.resize(blocks);
        for (size_t block = 0; block < blocks; ++block) out[f].blockStart[block] = file.times[block * kCompareBlock];
        for (int c = 0; c < kRecordSetChannels; ++c) {
            if (file.set.channelEnabled[c] != 1) continue;
            ChannelBlocks& b = out[f].channel[c];
            b.low.resize(blocks);
            b.high.resize(blocks);
            b.irregular.resize(blocks);
            b.values.resize(count);
            for (size_t k = 0; k < count; ++k) b.values[k] = ValueAt(file, k, c);
            for (size_t block = 0; block < blocks; ++block) {
                const size_t first = block * kCompareBlock, end = std::min(count, first + kCompareBlock);
                float lo = b.values[first], hi = lo;
                bool irregular = false;
                for (size_t k = first; k < end; ++k) {
                    const float v = b.values[k];
                    irregular = irregular || IrregularValue(v);
                    lo = v < lo ? v : lo;
                    hi = v > hi ? v : hi;
                }
                b.low[block] = lo;
                b.high[block] = hi;
                b.irregular[block] = irregular ? 1 : 0;
            }
        }
    }
    return out;
}

SampleAt SampleAtTime(const CompareFile& file, int channel, int64_t t) {
    SampleAt out;
    if (file.times.empty() || channel < 0 || channel >= kRecordSetChannels || file.set.channelEnabled[channel] != 1) {
        return out;
    }
    const auto after = std::upper_bound(file.times.begin(), file.times.end(), t);
    if (after == file.times.begin()) return out;
    const size_t k = static_cast<size_t>(after - file.times.begin()) - 1;
    const int64_t hold = std::max<int64_t>(file.set.intervalSeconds, 1);
    if (t - file.times[k] >= hold) return out;
    const float v = ValueAt(file, k, channel);
    out.record = file.order[k];
    out.value = v;
    out.kind = IrregularValue(v) ? SampleKind::Missing : SampleKind::Value;
    return out;
}

ValueRange ChannelRange(const std::vector<CompareFile>& files, const std::vector<CompareSummary>& summaries,
                        int channel, const TimeWindow& window) {
    ValueRange r;
    for (size_t f = 0; f < files.size() && f < summaries.size(); ++f) {
        const CompareFile& file = files[f];
        if (file.set.channelEnabled[channel] != 1) continue;
        const ChannelBlocks& blocks = summaries[f].channel[channel];
        const std::pair<size_t, size_t> span = file.OrderedRange(window.from, window.to);
        // This file's lowest and highest plain value, in registers: whole blocks of plain values
        // from the summary, the other positions' values one by one.
        float low = std::numeric_limits<float>::infinity(), high = -std::numeric_limits<float>::infinity();
        const float* lows = blocks.low.data();
        const float* highs = blocks.high.data();
        const uint8_t* irregular = blocks.irregular.data();
        const float* values = blocks.values.data();
        const auto one = [&](size_t k) {
            const float v = values[k];
            if (!IrregularValue(v)) {
                low = std::min(low, v);
                high = std::max(high, v);
            }
        };
        size_t k = span.first;
        for (; k < span.second && k % kCompareBlock != 0; ++k) one(k);
        for (; k + kCompareBlock <= span.second; k += kCompareBlock) {
            const size_t block = k / kCompareBlock;
            if (irregular[block] != 0) {
                for (size_t i = k; i < k + kCompareBlock; ++i) one(i);
                continue;
            }
            low = std::min(low, lows[block]);
            high = std::max(high, highs[block]);
        }
        for (; k < span.second; ++k) one(k);
        const bool found = low <= high;
        if (!found) continue;
        r.low = r.found ? std::min(r.low, low) : low;
        r.high = r.found ? std::max(r.high, high) : high;
        r.found = true;
    }
    return r;
}

std::string TickLabel(int64_t t, const TimeWindow& window) {
    const RecordTime a = RecordTimeOfSeconds(window.from), b = RecordTimeOfSeconds(window.to),
                     d = RecordTimeOfSeconds(t);
    const bool oneDay = a.year == b.year && a.month == b.month && a.day == b.day;
    char text[48];
    if (oneDay)
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", d.hour, d.minute, d.second);
    else
        std::snprintf(text, sizeof text, "%02d-%02d %02d:%02d", d.month, d.day, d.hour, d.minute);
    return text;
}

}  // namespace velorin
