#include "view/data_list.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "device/device_info.h"
#include "history/record_set.h"
#include "report/export_format.h"

namespace velorin {

DataList::DataList(const RecordSet& set, const DisplayOptions& display, int32_t firstIndex, int32_t endIndex)
    : set_(set), display_(display), channels_(EnabledChannels(set)) {
    const int32_t count = UsableRecordCount(set);
    const int32_t first = std::max<int32_t>(firstIndex, 0);
    const int32_t last = std::min<int32_t>(endIndex, count - 1);  // inclusive
    firstRecord_ = first;
    rowCount_ = last >= first ? last - first + 1 : 0;
}

int DataList::ColumnWidth(int column) { return column == 0 ? 50 : column == 1 ? 240 : 100; }

int DataList::ChannelOfColumn(int column) const {
    const int index = column - 2;
    return index >= 0 && index < static_cast<int>(channels_.size()) ? channels_[index] : -1;
}

std::string DataList::Header(int column) const {
    // GBK, like the data file's unit names that the channel headers carry.
    const Texts& t = TextsFor(display_.language);
    if (column == 0) return Utf8ToGbk(t.dataListSerial);
    if (column == 1) return Utf8ToGbk(t.dataListTime);
    const int c = ChannelOfColumn(column);
    if (c < 0) return std::string();
    return Utf8ToGbk(FormatC(t.dataListChannelFormat.c_str(), c + 1)) + "(" + UnitTextOf(set_, c) + ")";
}

std::string DataList::Cell(int row, int column) const {
    const int record = RecordOfRow(row);
    if (record < 0) return std::string();
    const SampleRecord& r = set_.records[static_cast<size_t>(record)];
    if (column == 0) return FormatC("%d", row + 1);
    if (column == 1) {
        return FormatC("%.2d-%.2d-%.2d  %.2d:%.2d:%.2d", r.year, r.month, r.day, r.hour, r.minute, r.second);
    }
    const int c = ChannelOfColumn(column);
    if (c < 0) return std::string();
    return ListValueText(r.value[c], HasHundredths(display_.channelType[c]));
}

std::string ListValueText(float value, bool hundredths) {
    if (IsMissingSample(value)) return "Error";
    return FormatC(hundredths ? "%.2f" : "%.1f", static_cast<double>(value));
}

}  // namespace velorin
