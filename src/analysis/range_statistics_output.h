// The range statistics written out: a text for people in the interface language (GBK, as it
// carries the data file's texts), a table of the figures (UTF-8, interface texts and numbers
// only) and one JSON object (UTF-8) for programs. All name the records the range actually covers.
//
// JSON: {"file", "serial", "from", "to", "records", "interval_s", "channels": [{"channel",
// "quantity", "unit", "count", "missing", "min", "min_time", "max", "max_time", "avg", "mkt",
// "upper", "lower", "above_upper_s", "below_lower_s", "first_above", "first_below"}]}; numbers as
// JSON numbers, times as "YYYY-MM-DD hh:mm:ss", null where a figure does not exist.
#pragma once

#include <string>

namespace velorin {

struct RangeStatistics;
struct RecordSet;
struct AnalysisTexts;

// `fileName`: UTF-8 as given by the user; the set's texts are GBK and converted here.
std::string RangeStatisticsJson(const std::string& fileName, const RecordSet& set, const RangeStatistics& stats);

// Several lines, each ending in '\n': identity and range, then one block per channel.
std::string RangeStatisticsText(const std::string& fileNameGbk, const RecordSet& set, const RangeStatistics& stats,
                                const AnalysisTexts& texts);

// One tab-separated line per channel under a header line (UTF-8): what the data window copies.
std::string RangeStatisticsTable(const RangeStatistics& stats, const AnalysisTexts& texts);

}  // namespace velorin
