#include "analysis/range_statistics_columns.h"

#include <cmath>

#include "analysis/analysis_texts.h"
#include "analysis/number_text.h"
#include "analysis/range_statistics.h"

namespace velorin {

std::string RangeColumnHeader(int column, const AnalysisTexts& t) {
    switch (column) {
        case kRangeMax: return t.rangeMax;
        case kRangeMin: return t.rangeMin;
        case kRangeAvg: return t.rangeAvg;
        case kRangeMkt: return t.rangeMkt;
        case kRangeMissing: return t.missing;
        case kRangeAbove: return t.aboveUpper;
        case kRangeBelow: return t.belowLower;
        default: return std::string();
    }
}

namespace {

// Rounded to hundredths; a value that rounds to zero reads 0, never -0.
double Hundredths(double v) {
    const double r = std::round(v * 100) / 100;
    return r == 0 ? 0.0 : r;
}

}  // namespace

std::string RangeColumnCell(const ChannelRangeStatistics* s, int column, const AnalysisTexts& t) {
    if (s == nullptr) return std::string();
    const bool v = s->HasValues();
    switch (column) {
        // Hundredths, as the whole set's figures beside them (a stored float such as 101.789
        // would otherwise show as 101.788994).
        case kRangeMax: return v ? FigureText(Hundredths(s->max)) : t.none;
        case kRangeMin: return v ? FigureText(Hundredths(s->min)) : t.none;
        case kRangeAvg: return v && std::isfinite(s->avg) ? FigureText(Hundredths(s->avg)) : t.none;
        case kRangeMkt: return s->hasMkt && std::isfinite(s->mkt) ? FigureText(Hundredths(s->mkt)) : t.none;
        case kRangeMissing: return std::to_string(s->missing);
        case kRangeAbove: return DurationText(s->aboveUpperSeconds);
        case kRangeBelow: return DurationText(s->belowLowerSeconds);
        default: return std::string();
    }
}

int RangeColumnWidth(int column) {
    switch (column) {
        case kRangeAbove:
        case kRangeBelow: return 125;
        case kRangeMissing: return 60;
        default: return 80;
    }
}

}  // namespace velorin
