#include "view/statistics_list.h"

#include "common/format.h"
#include "common/text_codec.h"
#include "history/record_set.h"
#include "report/export_format.h"
#include "view/view_texts.h"

namespace velorin {

namespace {
// The running statistics of a download start from these; a channel still holding them never
// delivered a valid sample.
constexpr float kNoMaximum = -10000.0f;
constexpr float kNoMinimum = 10000.0f;
constexpr int kWidths[StatisticsList::kColumnCount] = {100, 60, 100, 120, 120, 120, 120, 240};
}  // namespace

StatisticsList::StatisticsList(const RecordSet& set, Language language)
    : set_(set), language_(language), channels_(EnabledChannels(set)) {}

int StatisticsList::ColumnWidth(int column) { return column >= 0 && column < kColumnCount ? kWidths[column] : 0; }

std::string StatisticsList::Header(int column) const {
    if (column < 0 || column >= kColumnCount) return std::string();
    return Utf8ToGbk(ViewTextsFor(language_).statistics.headers[column]);
}

int StatisticsList::ChannelOfRow(int row) const {
    return row >= 0 && row < RowCount() ? channels_[static_cast<size_t>(row)] : -1;
}

std::string StatisticsList::Cell(int row, int column) const {
    const int c = ChannelOfRow(row);
    if (c < 0) return std::string();
    switch (column) {
        case kChannel: return Utf8ToGbk(FormatC(ViewTextsFor(language_).statistics.channelFormat.c_str(), c + 1));
        case kType: return QuantityTextOf(set_, c);
        case kUnit: return UnitTextOf(set_, c);
        case kMax:
            return set_.maxValue[c] == kNoMaximum ? "Error" : FormatC("%.2f", static_cast<double>(set_.maxValue[c]));
        case kMin:
            return set_.minValue[c] == kNoMinimum ? "Error" : FormatC("%.2f", static_cast<double>(set_.minValue[c]));
        case kAvg: return FormatC("%.2f", static_cast<double>(set_.avgValue[c]));
        case kStartTime: {
            std::string out;
            if (UsableRecordCount(set_) > 0) AppendRecordTime(out, set_.records[0]);
            return out;
        }
        default: return std::string();
    }
}

}  // namespace velorin
