// Which file and channel of a comparison was warmest and which coldest over a range: the
// temperature channels with at least one valid sample, by their average; none when fewer than
// two such channels are there to choose between (or all averages are equal, which marks the
// first for both and so neither).
//
// Plain function: any thread.
#pragma once

#include <vector>

namespace velorin {

struct RangeStatistics;

struct TemperatureMarks {
    // Index of the file and index into its statistics' channels; −1 when not marked.
    int warmestFile = -1, warmestChannel = -1;
    int coldestFile = -1, coldestChannel = -1;
};

TemperatureMarks MarkWarmestColdest(const std::vector<RangeStatistics>& perFile);

}  // namespace velorin
