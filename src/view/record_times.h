// The records' times as seconds (local calendar time, as CDealTime reads it), computed once per
// data set so that gap markers and the range search need no calendar conversion per drawing.
// Plain data: build it on any thread, read it on any thread while nobody rebuilds it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velorin {

struct RecordSet;

class RecordTimes {
public:
    RecordTimes() = default;
    explicit RecordTimes(const RecordSet& set);

    int32_t Count() const { return static_cast<int32_t>(seconds_.size()); }
    int64_t Seconds(int32_t index) const { return seconds_[static_cast<size_t>(index)]; }
    // Record `index` (≥ 1) follows its predecessor after a gap (IsGap with the set's interval).
    bool GapBefore(int32_t index) const { return gapBefore_[static_cast<size_t>(index)] != 0; }

private:
    std::vector<int64_t> seconds_;
    std::vector<uint8_t> gapBefore_;
};

}  // namespace velorin
