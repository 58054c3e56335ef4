// The fixed-width TXT table: the head, then one row per record. A value cell is as wide as the
// channel's unit text in the column header plus 7 characters, so the values stand under their
// headers; a longer value is cut to that width.
#include <vector>

#include "history/record_set.h"
#include "history/record_source.h"
#include "report/export_format.h"
#include "report/export_texts.h"
#include "report/text_export.h"

namespace velorin {

namespace {

constexpr size_t kSerialCellWidth = 6;

// Appends `count` blanks after the text that starts at `start` and cuts the whole to `width`.
void PadAndCut(std::string& out, size_t start, size_t count, size_t width) {
    out.append(count, ' ');
    if (out.size() - start > width) out.resize(start + width);
}

}  // namespace

ExportResult ExportTxt(const RecordSet& set, const std::string& path, const ExportOptions& options) {
    SetRecords records(set);
    return ExportTxt(set, records, path, options);
}

ExportResult ExportTxt(const RecordSet& set, RecordSource& records, const std::string& path,
                       const ExportOptions& options) {
    ExportFile file(WithExtension(path, ".txt"), options.encoding);
    if (!file.Ok()) return file.Finish();

    const ExportHeadLabels labels = GbkLabels(ExportTextsFor(options.display.language).txt);
    const ExportLayout layout = LayoutOf(set, options, records.Count());
    const std::vector<int>& channels = layout.channels;
    std::vector<size_t> cellWidth;
    for (int c : channels) cellWidth.push_back(UnitTextOf(set, c).size() + 7);

    std::string& out = file.Buffer();
    if (!AppendHeadFrom(out, set, layout, labels, /*blankErasedTexts=*/false, records)) {
        file.Abandon(records.Error());
        return file.Finish();
    }
    out += labels.columns;
    AppendChannelHeaders(out, set, channels, "  ");
    out += "\r\n";
    file.RowDone();

    for (int32_t i = 0; i < layout.recordCount; ++i) {
        const SampleRecord* read = records.Record(i);
        if (read == nullptr) {
            file.Abandon(records.Error());
            return file.Finish();
        }
        const SampleRecord& record = *read;
        const size_t serialStart = out.size();
        AppendInt(out, static_cast<int64_t>(i) + 1);
        PadAndCut(out, serialStart, 7, kSerialCellWidth);
        out += ' ';
        AppendRecordTime(out, record);
        out += "   ";
        for (size_t k = 0; k < channels.size(); ++k) {
            const size_t cellStart = out.size();
            AppendFixed(out, record.value[channels[k]], layout.decimals[k]);
            PadAndCut(out, cellStart, 11, cellWidth[k]);
            out += "  ";
        }
        out += "\r\n";
        file.RowDone();
    }
    return file.Finish();
}

}  // namespace velorin
