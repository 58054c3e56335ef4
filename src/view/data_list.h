// The data list of a data set: one row per record, the columns serial number, time and one per
// enabled channel. Texts are GBK. The cells are computed on demand from the RecordSet, so a
// list of 270,336 rows costs no memory beyond the data set.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velorin {

struct RecordSet;

class DataList {
public:
    // `channelType`: the ChannelType of each channel in the DeviceInfo read last (a high nibble
    // of 2 shows two decimals, anything else one).
    DataList(const RecordSet& set, bool english, const uint8_t (&channelType)[8]);

    int RowCount() const;
    int ColumnCount() const { return 2 + static_cast<int>(channels_.size()); }
    std::string Header(int column) const;
    // "" outside the list.
    std::string Cell(int row, int column) const;
    // The channel (0-based) behind a value column, −1 for the first two columns.
    int ChannelOfColumn(int column) const;

private:
    const RecordSet& set_;
    bool english_;
    uint8_t channelType_[8] = {};
    std::vector<int> channels_;  // enabled channels, in order
};

// A value as the lists show it: "Error" for a missing 2-byte sample (within 0.1 of −3276.7),
// else "%.2f" or "%.1f".
std::string ListValueText(float value, bool hundredths);

}  // namespace velorin
