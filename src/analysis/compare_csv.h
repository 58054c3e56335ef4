// The comparison table of several data files (UTF-8, "\r\n" line ends): a header "Time" and one
// column per file and enabled channel named "<file label> CH<n> <quantity> (<unit>)", then one
// row per distinct record time of any file within the range, ascending. A cell holds the file's
// value at exactly that time (the first record at that time when a file repeats it), empty when
// the file has no record then or its sample is missing.
//
// Written through a temporary file that replaces the target only when complete. Any single
// thread; the files must not change meanwhile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "report/text_export.h"

namespace velorin {

struct CompareFile;

// The header's column names after "Time" (UTF-8, unquoted).
std::vector<std::string> CompareColumnNames(const std::vector<CompareFile>& files);

// `path` gets ".csv" appended when it does not end in it, as the other CSV tables.
ExportResult ExportCompareCsv(const std::vector<CompareFile>& files, int64_t from, int64_t to, const std::string& path);

}  // namespace velorin
