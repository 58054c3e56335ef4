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
    const Block none{std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(), 0};
    std::vector<float>& values = values_[channel];
    std::vector<Block>& blocks = blocks_[channel];
    values.assign(static_cast<size_t>(count_), 0.0f);
    blocks.assign(static_cast<size_t>(Blocks()), none);
    const int32_t count = std::min(count_, UsableRecordCount(set));
    for (int32_t i = 0; i < count; ++i) {
        Block& b = blocks[static_cast<size_t>(i / kSummaryBlock)];
        const float v = set.records[static_cast<size_t>(i)].value[channel];
        values[static_cast<size_t>(i)] = v;
        if (IsMissingSample(v) || std::isnan(v)) {
            b.mixed = 1;
            continue;
        }
        // Strict comparisons keep the first of equal extremes, as the record-by-record scan does.
        if (v < b.low) b.low = v;
        if (v > b.high) b.high = v;
    }
    // Groups from their blocks, in order (the first of equal extremes again).
    std::vector<Block>& groups = groups_[channel];
    groups.assign(static_cast<size_t>(Groups()), none);
    for (size_t k = 0; k < blocks.size(); ++k) {
        const Block& b = blocks[k];
        Block& g = groups[k / (kSummaryGroup / kSummaryBlock)];
        if (b.low < g.low) g.low = b.low;
        if (b.high > g.high) g.high = b.high;
        g.mixed |= b.mixed;
    }
    std::vector<int32_t>& before = mixedBefore_[channel];
    before.assign(groups.size() + 1, 0);
    for (size_t k = 0; k < groups.size(); ++k) before[k + 1] = before[k] + (groups[k].mixed != 0 ? 1 : 0);
}

int32_t CurveSummary::MixedGroups(int channel, int32_t first, int32_t end) const {
    if (channel < 0 || channel >= kRecordSetChannels) return 0;
    first = std::max(first, 0);
    end = std::min(end, count_);
    const std::vector<int32_t>& before = mixedBefore_[channel];
    if (first >= end || before.size() < static_cast<size_t>(Groups()) + 1) return 0;
    return before[static_cast<size_t>((end - 1) / kSummaryGroup + 1)] -
           before[static_cast<size_t>(first / kSummaryGroup)];
}

int32_t CurveSummary::NextGap(int32_t first, int32_t end) const {
    const auto at = std::lower_bound(gaps_.begin(), gaps_.end(), first);
    return at != gaps_.end() && *at < end ? *at : end;
}

void RecomputeAxisRange(const RecordSet& set, const CurveSummary& summary, int32_t first, int32_t end, float axisMax[8],
                        float axisMin[8]) {
    const int32_t count = std::min(UsableRecordCount(set), summary.Count());
    first = std::max(first, 0);
    end = std::min(end, count);
    if (first >= end) return;
    // In record order: whole groups and whole blocks from the summary, the records around them
    // one by one.
    for (int c = 0; c < kRecordSetChannels; ++c) {
        if (set.channelEnabled[c] != 1) continue;
        AxisRange range(summary.ValuesOf(c)[first]);
        summary.Walk(
            c, first, end,
            [&range](const CurveSummary::Block& whole) {
                range.WidenBy(whole.low, whole.high);
                return true;
            },
            [&range](float v) {
                range.Widen(v);
                return true;
            });
        axisMax[c] = range.high;
        axisMin[c] = range.low;
    }
}

}  // namespace velorin
