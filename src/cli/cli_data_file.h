// What the CLI's data-file commands share: reading a .kv file (a failure is told on stderr in
// one line naming the command, the file and the reason), the --from/--to clock times, and the
// wrong-arguments message.
#pragma once

#include <cstdint>
#include <string>

namespace velorin {
struct KvReadResult;
struct RecordSet;
enum class KvReadError;
}  // namespace velorin

namespace velorin::cli {

struct ParsedArgs;

const char* KvReadReason(KvReadError error);

// False (message printed) when the file cannot be read as a data file.
bool ReadDataFile(const char* command, const std::string& path, RecordSet& set);
// True for a read that succeeded; otherwise says why on stderr, as ReadDataFile does.
bool ReportDataFileRead(const char* command, const std::string& path, const KvReadResult& read);

// --from and --to as clock seconds ("YYYY-MM-DD hh:mm:ss", a date that exists). False with
// `error` set for a wrong time or a --to before --from.
struct TimeOptions {
    bool hasFrom = false, hasTo = false;
    int64_t from = 0, to = 0;
};
bool ParseTimeOptions(const ParsedArgs& parsed, TimeOptions& out, std::string& error);

// "velorin-cli COMMAND: ERROR" and the usage on stderr; returns kExitUsage.
int UsageError(const char* command, const char* usage, const std::string& error);

}  // namespace velorin::cli
