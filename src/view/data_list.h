// The data list of a data set: one row per record, the columns serial number, time and one per
// enabled channel. Texts are GBK. The cells are computed on demand from the RecordSet, so a
// list of 270,336 rows costs no memory beyond the data set.
//
// Rows: the records i with firstIndex <= i <= endIndex (the record at endIndex itself included
// when it exists), numbered from 1. The range is taken when the list is built (the view opening,
// F0 mode switched on or off), so zooming afterwards does not change the list.
//
// How the view uses it: through DataListModel / DataListView (data_list_model.h).
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "device/display_options.h"

namespace velorin {

struct RecordSet;

class DataList {
public:
    // The headers follow the display's language, the decimals its channel types. The default
    // range is the whole data set.
    DataList(const RecordSet& set, const DisplayOptions& display, int32_t firstIndex = 0,
             int32_t endIndex = std::numeric_limits<int32_t>::max());

    int RowCount() const { return rowCount_; }
    int ColumnCount() const { return 2 + static_cast<int>(channels_.size()); }
    static int ColumnWidth(int column);
    std::string Header(int column) const;
    // "" outside the list.
    std::string Cell(int row, int column) const;
    // The channel (0-based) behind a value column, −1 for the first two columns.
    int ChannelOfColumn(int column) const;
    // The record shown in `row`, −1 outside the list.
    int RecordOfRow(int row) const { return row >= 0 && row < rowCount_ ? firstRecord_ + row : -1; }

private:
    const RecordSet& set_;
    DisplayOptions display_;
    std::vector<int> channels_;  // enabled channels, in order
    int firstRecord_ = 0;
    int rowCount_ = 0;
};

// A value as the lists and the pointer readout show it: "Error" for a missing sample of either
// width, else "%.2f" or "%.1f".
std::string ListValueText(float value, bool hundredths);

}  // namespace velorin
