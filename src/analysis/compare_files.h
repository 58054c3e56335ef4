// Several data files side by side: loading up to kMaxCompareFiles .kv files, naming each so
// that repeated serial numbers are told apart, and lining their records up by clock time
// (ClockSeconds: the fields the loggers recorded, no time zone).
//
// Loading runs on the caller's thread and reports progress / asks for cancellation through the
// callbacks between files; the result is plain data that may then be read from any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <string>
#include <vector>

#include "history/kv_file.h"
#include "history/record_set.h"

namespace velorin {

constexpr int kMaxCompareFiles = 32;

struct CompareFile {
    std::string path;
    std::string serial;  // serial number as stored (GBK bytes, up to 8)
    // The file's name in the comparison (UTF-8): its serial number, or "<serial> (<file name>)"
    // when another file of the comparison has the same serial number (file name: the path's last
    // component). A file without a serial number is named by its file name.
    std::string label;
    RecordSet set;
    // Record indices ordered by clock time (equal times: file order) and their times; a file
    // whose records come in time order has order[i] == i.
    std::vector<int32_t> order;
    std::vector<int64_t> times;  // times[k] = ClockSeconds(set.records[order[k]])

    // The first record (file order) at exactly `seconds`, or −1.
    int32_t RecordAt(int64_t seconds) const;
    // Indices into `order` of the records with clock time in [from, to]: [begin, end).
    std::pair<size_t, size_t> OrderedRange(int64_t from, int64_t to) const;
};

enum class CompareLoadError {
    None,
    NoFiles,         // no file named
    TooManyFiles,    // more than kMaxCompareFiles
    FileUnreadable,  // one file could not be read: fileIndex, readResult say which and why
    Cancelled,
};

struct CompareLoadResult {
    CompareLoadError error = CompareLoadError::None;
    int fileIndex = -1;
    KvReadResult readResult;
    std::vector<CompareFile> files;  // in the order named; empty unless ok()
    bool ok() const { return error == CompareLoadError::None; }
};

struct CompareLoadCallbacks {
    std::function<void(int done, int total)> progress;  // after each file
    std::function<bool()> cancelled;                    // asked before each file
};

CompareLoadResult LoadCompareFiles(const std::vector<std::string>& paths,
                                   const CompareLoadCallbacks& callbacks = CompareLoadCallbacks());

// Fills order, times and label of files already holding their sets (the GUI compares open data
// windows without reading their files again). `path` names the file for the label.
void PrepareCompareFiles(std::vector<CompareFile>& files);

// Every distinct clock time of any file within [from, to], ascending.
std::vector<int64_t> MergedTimes(const std::vector<CompareFile>& files, int64_t from, int64_t to);

// The whole span of every file's records: [earliest, latest]; false when no file holds a record.
bool CompareSpan(const std::vector<CompareFile>& files, int64_t& earliest, int64_t& latest);

}  // namespace velorin
