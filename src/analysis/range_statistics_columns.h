// The range figures as columns of a table (the data window's statistics list shows them beside
// the whole set's): header and cell texts (UTF-8) of each column for one channel's statistics.
#pragma once

#include <string>

namespace velorin {

struct AnalysisTexts;
struct ChannelRangeStatistics;

enum RangeColumn {
    kRangeMax,
    kRangeMin,
    kRangeAvg,
    kRangeMkt,
    kRangeMissing,
    kRangeAbove,
    kRangeBelow,
    kRangeColumnCount
};

std::string RangeColumnHeader(int column, const AnalysisTexts& texts);
// `stats` null (a channel without figures) or a column outside the table: "".
std::string RangeColumnCell(const ChannelRangeStatistics* stats, int column, const AnalysisTexts& texts);
// Pixel width of a column at scale 1.
int RangeColumnWidth(int column);

}  // namespace velorin
