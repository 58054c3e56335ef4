// The CSV table: the head, then rows of side-by-side blocks of kCsvBlockRows records, so that
// a spreadsheet limited to 65,536 rows still shows every record. Block 0 keeps the channel's
// own decimals; the further blocks always use one decimal.
#include <vector>

#include "history/record_set.h"
#include "history/record_source.h"
#include "report/export_format.h"
#include "report/export_texts.h"
#include "report/text_export.h"

namespace velorin {

namespace {

constexpr int kCsvBlocks = 6;  // 6 × 65,522 covers the whole record capacity

void AppendColumnGroup(std::string& out, const RecordSet& set, const std::vector<int>& channels,
                       const ExportHeadLabels& labels) {
    out += labels.columns;
    AppendChannelHeaders(out, set, channels, ",");
}

// Serial number, time and values of record `index`, each followed by a comma.
void AppendCells(std::string& out, const SampleRecord& record, int32_t index, const std::vector<int>& channels,
                 const int* decimals) {
    AppendInt(out, static_cast<int64_t>(index) + 1);
    out += ',';
    AppendRecordTime(out, record);
    out += ',';
    for (size_t k = 0; k < channels.size(); ++k) {
        AppendFixed(out, record.value[channels[k]], decimals[k]);
        out += ',';
    }
}

}  // namespace

ExportResult ExportCsv(const RecordSet& set, const std::string& path, const ExportOptions& options) {
    SetRecords records(set);
    return ExportCsv(set, records, path, options);
}

ExportResult ExportCsv(const RecordSet& set, RecordSource& records, const std::string& path,
                       const ExportOptions& options) {
    // The UTF-8 table starts with a byte-order mark: spreadsheet programs take a CSV file without
    // one for the system's legacy code page; scripts skip the head lines it stands in anyway.
    ExportFile file(WithExtension(path, ".csv"), options.encoding, /*byteOrderMark=*/true);
    if (!file.Ok()) return file.Finish();

    const ExportHeadLabels labels = GbkLabels(ExportTextsFor(options.display.language).csv);
    const ExportLayout layout = LayoutOf(set, options, records.Count());
    const int32_t n = layout.recordCount;
    const std::vector<int>& channels = layout.channels;
    const std::vector<int> laterDecimals(channels.size(), 1);

    std::string& out = file.Buffer();
    if (!AppendHeadFrom(out, set, layout, labels, /*blankErasedTexts=*/true, records)) {
        file.Abandon(records.Error());
        return file.Finish();
    }
    AppendColumnGroup(out, set, channels, labels);
    for (int b = 1; b < kCsvBlocks && n > b * kCsvBlockRows; ++b) {
        out += ",,,";
        AppendColumnGroup(out, set, channels, labels);
    }
    out += "\r\n";
    file.RowDone();

    const int32_t firstRows = n < kCsvBlockRows ? n : kCsvBlockRows;
    for (int32_t i = 0; i < firstRows; ++i) {
        for (int b = 0; b < kCsvBlocks; ++b) {
            const int32_t j = b * kCsvBlockRows + i;
            if (j >= n) break;
            const SampleRecord* record = records.Record(j);
            if (record == nullptr) {
                file.Abandon(records.Error());
                return file.Finish();
            }
            if (b > 0) out += ",,,";
            AppendCells(out, *record, j, channels, b == 0 ? layout.decimals.data() : laterDecimals.data());
        }
        out += "\r\n";
        file.RowDone();
    }
    return file.Finish();
}

}  // namespace velorin
