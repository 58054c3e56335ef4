// Per-channel summaries of a data set's records, so that the curve drawing and the value-range
// recomputation read a few numbers per pixel column instead of every record:
//  - per block of kSummaryBlock records and channel: the lowest and highest value that is no
//    missing sample and a number (+inf / −inf when there is none), and whether the block holds
//    a missing sample of either kind or a value that is not a number ("mixed": such a block is
//    read record by record);
//  - the same per group of kSummaryGroup records (kSummaryGroup ÷ kSummaryBlock whole blocks;
//    mixed when any of its blocks is), so that a column covering hundreds of records reads a few
//    groups instead of dozens of blocks;
//  - every channel's values as plain floats in record order, so that the records at a column's
//    edges are read 4 bytes apart instead of one 56-byte record apart;
//  - per group, a running count of the mixed groups before it (how much of a range is read
//    record by record, to share the drawing's work out evenly);
//  - the records that follow their predecessor after a gap in time (RecordTimes::GapBefore).
// Block k covers records k × kSummaryBlock … min((k + 1) × kSummaryBlock, count) − 1, group g
// records g × kSummaryGroup … min((g + 1) × kSummaryGroup, count) − 1.
//
// Memory per record and channel: 4 bytes of values, 1.5 of blocks, 0.25 of groups and their
// counts (a full data set of 270,336 records: 1.6 MB per channel).
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
constexpr int32_t kSummaryGroup = 64;  // a whole number of blocks
static_assert(kSummaryGroup % kSummaryBlock == 0, "a group is made of whole blocks");

class CurveSummary {
public:
    CurveSummary() = default;
    CurveSummary(const RecordSet& set, const RecordTimes& times);

    // Summarises channel `channel` (0-based) of `set` anew (after F0 mode changed it).
    void RebuildChannel(const RecordSet& set, int channel);

    int32_t Count() const { return count_; }
    int32_t Blocks() const { return (count_ + kSummaryBlock - 1) / kSummaryBlock; }
    int32_t Groups() const { return (count_ + kSummaryGroup - 1) / kSummaryGroup; }
    // One block of one channel; a channel's blocks lie side by side (a column reads them in a run).
    struct Block {
        float low, high;
        uint8_t mixed;
    };
    const Block* BlocksOf(int channel) const { return blocks_[channel].data(); }
    // The same for groups of kSummaryGroup records.
    const Block* GroupsOf(int channel) const { return groups_[channel].data(); }
    // One channel's value of records 0 … Count() − 1.
    const float* ValuesOf(int channel) const { return values_[channel].data(); }
    // Records first … end − 1 of one channel in record order, as whole groups and whole blocks
    // where they fit and single values around them: whole(const Block&) for each group or
    // block, single(float) for each single value. Stops as soon as one returns false; returns
    // whether the walk reached `end`. 0 ≤ first, end ≤ Count().
    template <typename Whole, typename Single>
    bool Walk(int channel, int32_t first, int32_t end, Whole whole, Single single) const {
        const float* values = ValuesOf(channel);
        const Block* blocks = BlocksOf(channel);
        const Block* groups = GroupsOf(channel);
        for (int32_t i = first; i < end;) {
            if (i % kSummaryGroup == 0 && end - i >= kSummaryGroup) {
                if (!whole(groups[i / kSummaryGroup])) return false;
                i += kSummaryGroup;
            } else if (i % kSummaryBlock == 0 && end - i >= kSummaryBlock) {
                if (!whole(blocks[i / kSummaryBlock])) return false;
                i += kSummaryBlock;
            } else if (!single(values[i++])) {
                return false;
            }
        }
        return true;
    }
    // Whether any record first … end − 1 follows its predecessor after a gap.
    bool AnyGap(int32_t first, int32_t end) const { return NextGap(first, end) < end; }
    // The first of records first … end − 1 that follows its predecessor after a gap; end when
    // none does.
    int32_t NextGap(int32_t first, int32_t end) const;
    // How many of the groups holding records first … end − 1 are mixed: the part of a channel's
    // drawing that is read record by record (0 outside the records).
    int32_t MixedGroups(int channel, int32_t first, int32_t end) const;

private:
    int32_t count_ = 0;
    std::vector<Block> blocks_[8];
    std::vector<Block> groups_[8];
    std::vector<float> values_[8];
    std::vector<int32_t> mixedBefore_[8];  // per group and one past the last: mixed groups before it
    std::vector<int32_t> gaps_;            // ascending record indices with a gap before them
};

// axisMax/axisMin of every enabled channel from records first … end − 1, as
// RecomputeAxisRange (curve_geometry.h) computes them, reading whole blocks from `summary`.
// `summary` must describe `set` as it is now.
void RecomputeAxisRange(const RecordSet& set, const CurveSummary& summary, int32_t first, int32_t end, float axisMax[8],
                        float axisMin[8]);

}  // namespace velorin
