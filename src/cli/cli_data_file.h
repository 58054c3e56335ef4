// Reading a .kv data file for a CLI command: the failure is told on stderr in one line that
// names the command, the file and the reason.
#pragma once

#include <string>

namespace velorin {
struct RecordSet;
enum class KvReadError;
}  // namespace velorin

namespace velorin::cli {

const char* KvReadReason(KvReadError error);

// False (message printed) when the file cannot be read as a data file.
bool ReadDataFile(const char* command, const std::string& path, RecordSet& set);

}  // namespace velorin::cli
