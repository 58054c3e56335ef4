#include "cli/cli_data_file.h"

#include <cstdio>

#include "analysis/clock_time.h"
#include "cli/cli_options.h"
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

bool ReportDataFileRead(const char* command, const std::string& path, const KvReadResult& read) {
    if (read.ok()) return true;
    std::fprintf(stderr, "velorin-cli %s: cannot read %s: %s", command, path.c_str(), KvReadReason(read.error));
    if (!read.detail.empty()) std::fprintf(stderr, " (%s)", read.detail.c_str());
    std::fputc('\n', stderr);
    return false;
}

bool ReadDataFile(const char* command, const std::string& path, RecordSet& set) {
    return ReportDataFileRead(command, path, ReadKvFile(path, set));
}

bool ParseTimeOptions(const ParsedArgs& parsed, TimeOptions& out, std::string& error) {
    for (const char* name : {"from", "to"}) {
        if (!parsed.Has(name)) continue;
        const bool from = name[0] == 'f';
        if (!ParseClockTime(parsed.Value(name), from ? out.from : out.to)) {
            error = std::string("--") + name + " wants \"YYYY-MM-DD hh:mm:ss\" (a date that exists), not \"" +
                    parsed.Value(name) + "\"";
            return false;
        }
        (from ? out.hasFrom : out.hasTo) = true;
    }
    if (out.hasFrom && out.hasTo && out.to < out.from) {
        error = "--to is before --from";
        return false;
    }
    return true;
}

int UsageError(const char* command, const char* usage, const std::string& error) {
    std::fprintf(stderr, "velorin-cli %s: %s\n%s", command, error.c_str(), usage);
    return kExitUsage;
}

}  // namespace velorin::cli
