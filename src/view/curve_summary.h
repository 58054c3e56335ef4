// Per-channel summaries of a data set's records in blocks of kSummaryBlock records, so that the
// curve drawing and the value-range recomputation read a few numbers per pixel column instead of
// every record:
//  - per block and channel: the lowest and highest value that is no missing sample and a number
//    (+inf / −inf when there is none), the block's last value, and whether the block holds a
//    missing sample of either kind or a value that is not a number ("mixed": such a block is
//    read record by record);
//  - the records that follow their predecessor after a gap in time (RecordTimes::GapBefore).
// Block k covers records k × kSummaryBlock … min((k + 1) × kSummaryBlock, count) − 1.
//
// Built once per opened data set; channel 2 is rebuilt whenever F0 mode writes into it. Plain
// data: build on any thread, read on any thread while nobody rebuilds it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velorin {

struct RecordSet;
class RecordTimes;

constexpr int32_t kSummaryBlock = 8;

class CurveSummary {
public:
    CurveSummary() = default;
    CurveSummary(const RecordSet& set, const RecordTimes& times);

    // Summarises channel `channel` (0-based) of `set` anew (after F0 mode changed it).
    void RebuildChannel(const RecordSet& set, int channel);

    int32_t Count() const { return count_; }
    int32_t Blocks() const { return static_cast<int32_t>((count_ + kSummaryBlock - 1) / kSummaryBlock); }
    // One block of one channel; a channel's blocks lie side by side (a column reads them in a run).
    struct Block {
        float low, high, last;
        uint8_t mixed;
    };
    const Block* BlocksOf(int channel) const { return channels_[channel].data(); }
    // Whether any record first … end − 1 follows its predecessor after a gap.
    bool AnyGap(int32_t first, int32_t end) const;

private:
    int32_t count_ = 0;
    std::vector<Block> channels_[8];
    std::vector<int32_t> gaps_;  // ascending record indices with a gap before them
};

// axisMax/axisMin of every enabled channel from records first … end − 1, as
// RecomputeAxisRange (curve_geometry.h) computes them, reading whole blocks from `summary`.
// `summary` must describe `set` as it is now.
void RecomputeAxisRange(const RecordSet& set, const CurveSummary& summary, int32_t first, int32_t end, float axisMax[8],
                        float axisMin[8]);

}  // namespace velorin
