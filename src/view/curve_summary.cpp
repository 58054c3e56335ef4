#include "view/curve_summary.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "history/record_set.h"
#include "view/curve_geometry.h"
#include "view/record_times.h"

namespace velorin {

CurveSummary::CurveSummary(const RecordSet& set, const RecordTimes& times) {
    count_ = std::min(UsableRecordCount(set), times.Count());
    for (int c = 0; c < kRecordSetChannels; ++c) RebuildChannel(set, c);
    for (int32_t i = 1; i < count_; ++i) {
        if (times.GapBefore(i)) gaps_.push_back(i);
    }
}

void CurveSummary::RebuildChannel(const RecordSet& set, int channel) {
    if (channel < 0 || channel >= kRecordSetChannels) return;
    std::vector<Block>& ch = channels_[channel];
    ch.assign(static_cast<size_t>(Blocks()),
              Block{std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(), 0.0f, 0});
    const int32_t count = std::min(count_, UsableRecordCount(set));
    for (int32_t i = 0; i < count; ++i) {
        Block& b = ch[static_cast<size_t>(i / kSummaryBlock)];
        const float v = set.records[static_cast<size_t>(i)].value[channel];
        b.last = v;
        if (IsMissingSample(v) || std::isnan(v)) {
            b.mixed = 1;
            continue;
        }
        // Strict comparisons keep the first of equal extremes, as the record-by-record scan does.
        if (v < b.low) b.low = v;
        if (v > b.high) b.high = v;
    }
}

bool CurveSummary::AnyGap(int32_t first, int32_t end) const {
    const auto at = std::lower_bound(gaps_.begin(), gaps_.end(), first);
    return at != gaps_.end() && *at < end;
}

void RecomputeAxisRange(const RecordSet& set, const CurveSummary& summary, int32_t first, int32_t end, float axisMax[8],
                        float axisMin[8]) {
    const int32_t count = std::min(UsableRecordCount(set), summary.Count());
    first = std::max(first, 0);
    end = std::min(end, count);
    if (first >= end) return;
    // Whole blocks from the summary, the records before the first and after the last whole
    // block one by one.
    const int32_t wholeFirst = (first + kSummaryBlock - 1) / kSummaryBlock;
    const int32_t wholeEnd = end / kSummaryBlock;
    for (int c = 0; c < kRecordSetChannels; ++c) {
        if (set.channelEnabled[c] != 1) continue;
        AxisRange range(set.records[static_cast<size_t>(first)].value[c]);
        if (wholeFirst >= wholeEnd) {
            for (int32_t i = first; i < end; ++i) range.Widen(set.records[static_cast<size_t>(i)].value[c]);
        } else {
            for (int32_t i = first; i < wholeFirst * kSummaryBlock; ++i) {
                range.Widen(set.records[static_cast<size_t>(i)].value[c]);
            }
            const CurveSummary::Block* blocks = summary.BlocksOf(c);
            for (int32_t k = wholeFirst; k < wholeEnd; ++k) range.WidenBy(blocks[k].low, blocks[k].high);
            for (int32_t i = wholeEnd * kSummaryBlock; i < end; ++i) {
                range.Widen(set.records[static_cast<size_t>(i)].value[c]);
            }
        }
        axisMax[c] = range.high;
        axisMin[c] = range.low;
    }
}

}  // namespace velorin
