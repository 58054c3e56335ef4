// The statistics list under the curve: one row per recorded channel with its quantity, unit, the
// value under the pointer ("Selected"), the stored MAX, MIN and AVG and the start time. Texts are
// GBK, like the quantities and units of the data file beside the labels. Cells are read from the
// RecordSet when asked, so after F0 mode changes channel 2 they show the new statistics without
// being copied.
//
// How the view uses it: through StatisticsModel (statistics_model.h), which also keeps the
// "Selected" column that the pointer readout writes.
#pragma once

#include <string>
#include <vector>

namespace velorin {

enum class Language;
struct RecordSet;

class StatisticsList {
public:
    enum Column { kChannel, kType, kUnit, kSelected, kMax, kMin, kAvg, kStartTime, kColumnCount };

    StatisticsList(const RecordSet& set, Language language);

    int RowCount() const { return static_cast<int>(channels_.size()); }
    static int ColumnCount() { return kColumnCount; }
    static int ColumnWidth(int column);
    std::string Header(int column) const;
    // The channel (0-based) of a row, −1 outside the list.
    int ChannelOfRow(int row) const;
    // Every column but "Selected" ("" there and outside the list).
    std::string Cell(int row, int column) const;

private:
    const RecordSet& set_;
    Language language_;
    std::vector<int> channels_;  // enabled channels, in order
};

}  // namespace velorin
