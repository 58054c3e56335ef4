// The texts of the range statistics and the comparison (CLI text output, the data window's
// range figures, the comparison report), one instance per interface language (UTF-8).
#pragma once

#include <string>

namespace velorin {

enum class Language;

struct AnalysisTexts {
    // Figure names, in the order the text output lists them.
    std::string file, serial, from, to, records, interval, seconds;
    std::string channel;  // "CH%d"
    std::string count, missing, min, max, avg, mkt, upper, lower, aboveUpper, belowLower, firstAbove, firstBelow;
    std::string none;        // a figure that does not exist
    std::string noRecord;    // "no record in the range"
    std::string wholeSet;    // label of the whole data set's figures
    std::string shownRange;  // label of the figures of the range the view shows
    std::string copyRange;   // context-menu command copying the range figures
    // Column headers of the range figures in the data window's statistics list.
    std::string rangeMax, rangeMin, rangeAvg, rangeMkt;
    // The comparison report.
    std::string compareTitle, compareFiles, compareStatistics, compareCurves, userName, title, period;
    std::string warmest, coldest;
    std::string pageFormat;  // "%d/%d"
};

const AnalysisTexts& AnalysisTextsFor(Language language);

}  // namespace velorin
