#include "analysis/compare_csv.h"

#include <cmath>

#include "analysis/clock_time.h"
#include "analysis/compare_files.h"
#include "analysis/number_text.h"
#include "common/format.h"
#include "common/text_codec.h"
#include "report/export_format.h"

namespace velorin {

namespace {

// A cell as a spreadsheet reads it: quoted when it holds a comma, a quote or a line break.
std::string CsvCell(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

struct Column {
    const CompareFile* file;
    int channel;
};

std::vector<Column> ColumnsOf(const std::vector<CompareFile>& files) {
    std::vector<Column> columns;
    for (const CompareFile& f : files) {
        for (int c = 0; c < kRecordSetChannels; ++c) {
            if (f.set.channelEnabled[c] == 1) columns.push_back({&f, c});
        }
    }
    return columns;
}

}  // namespace

std::vector<std::string> CompareColumnNames(const std::vector<CompareFile>& files) {
    std::vector<std::string> names;
    for (const Column& col : ColumnsOf(files)) {
        names.push_back(col.file->label + FormatC(" CH%d ", col.channel + 1) +
                        GbkToUtf8(QuantityTextOf(col.file->set, col.channel)) + " (" +
                        GbkToUtf8(UnitTextOf(col.file->set, col.channel)) + ")");
    }
    return names;
}

ExportResult ExportCompareCsv(const std::vector<CompareFile>& files, int64_t from, int64_t to,
                              const std::string& path) {
    ExportFile file(WithExtension(path, ".csv"));
    if (!file.Ok()) return file.Finish();
    const std::vector<Column> columns = ColumnsOf(files);
    std::string& out = file.Buffer();
    out += "Time";
    for (const std::string& name : CompareColumnNames(files)) out += "," + CsvCell(name);
    out += "\r\n";
    std::vector<int32_t> recordOfFile(files.size());
    for (int64_t t : MergedTimes(files, from, to)) {
        for (size_t k = 0; k < files.size(); ++k) recordOfFile[k] = files[k].RecordAt(t);
        out += ClockTimeText(t);
        for (const Column& col : columns) {
            out += ',';
            const int32_t r = recordOfFile[static_cast<size_t>(col.file - files.data())];
            if (r < 0) continue;
            const float v = col.file->set.records[static_cast<size_t>(r)].value[col.channel];
            if (!IsMissingSample(v) && std::isfinite(v)) out += ShortestText(v);
        }
        out += "\r\n";
        file.RowDone();
    }
    return file.Finish();
}

}  // namespace velorin
