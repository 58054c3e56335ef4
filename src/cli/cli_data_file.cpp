#include "cli/cli_data_file.h"

#include <cstdio>

#include "history/kv_file.h"
#include "history/record_set.h"

namespace velorin::cli {

const char* KvReadReason(KvReadError error) {
    switch (error) {
        case KvReadError::CannotOpen: return "the file cannot be opened or read";
        case KvReadError::TooManyRecords: return "its record count is out of range (not a data file?)";
        case KvReadError::TextTooLong: return "a unit or quantity text is longer than 20 bytes (not a data file?)";
        case KvReadError::Truncated: return "the file ends before its last field (truncated?)";
        case KvReadError::None: break;
    }
    return "unknown error";
}

bool ReadDataFile(const char* command, const std::string& path, RecordSet& set) {
    const KvReadResult read = ReadKvFile(path, set);
    if (read.ok()) return true;
    std::fprintf(stderr, "velorin-cli %s: cannot read %s: %s", command, path.c_str(), KvReadReason(read.error));
    if (!read.detail.empty()) std::fprintf(stderr, " (%s)", read.detail.c_str());
    std::fputc('\n', stderr);
    return false;
}

}  // namespace velorin::cli
