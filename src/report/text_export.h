// The two text exports of a data set: a CSV table (side-by-side blocks of 65,522 rows) and a
// fixed-width TXT table. Both are GBK with "\r\n" line ends by default (other programs read
// them byte for byte), or the same bytes converted to UTF-8 on request; formatted independently
// of the process locale, written row by row (memory does not grow with the record count) into a
// temporary file that replaces the target only when complete. The records come from a
// RecordSource: a set in memory or the data file itself.
#pragma once

#include <cstdint>
#include <string>

#include "device/display_options.h"

namespace velorin {

class RecordSource;
struct RecordSet;

enum class ExportEncoding {
    Gbk,   // the logger's code page, byte-exact as other programs expect
    Utf8,  // every text converted; a CSV starts with the UTF-8 byte-order mark, a TXT does not
};

struct ExportOptions {
    // The labels' language; the channel types decide the decimals of the first block (two for a
    // high nibble of 2, else one).
    DisplayOptions display;
    ExportEncoding encoding = ExportEncoding::Gbk;
};

struct ExportResult {
    bool ok = false;
    std::string path;    // the file written (".csv"/".txt" appended when missing)
    std::string detail;  // system error text when !ok
};

constexpr int32_t kCsvBlockRows = 65522;

ExportResult ExportCsv(const RecordSet& set, const std::string& path, const ExportOptions& options);
ExportResult ExportTxt(const RecordSet& set, const std::string& path, const ExportOptions& options);
// The same tables with the records taken from `records` (e.g. streamed from the data file) and
// everything else from `head`, whose own records are not read. A record that cannot be read
// fails the export with the source's error; the target is then left as it was.
ExportResult ExportCsv(const RecordSet& head, RecordSource& records, const std::string& path,
                       const ExportOptions& options);
ExportResult ExportTxt(const RecordSet& head, RecordSource& records, const std::string& path,
                       const ExportOptions& options);

}  // namespace velorin
