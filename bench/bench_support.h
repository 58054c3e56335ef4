// What the benchmark programs share: their record-count argument, a scratch folder, and reading
// their own memory figures.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "history/record_set.h"

namespace velorin::bench {

// The record count given as the first argument (the full capacity without one); 0 after
// printing the allowed range when it lies outside least … kRecordCapacity.
inline int RecordsArgument(int argc, char** argv, int least) {
    const int records = argc > 1 ? std::atoi(argv[1]) : kRecordCapacity;
    if (records < least || records > kRecordCapacity) {
        std::fprintf(stderr, "records: %d..%d\n", least, kRecordCapacity);
        return 0;
    }
    return records;
}

// A new folder /tmp/<name>-XXXXXX for the benchmark's files; empty (with the reason printed)
// when it cannot be made.
inline std::string MakeScratchFolder(const std::string& name) {
    std::string folder = "/tmp/" + name + "-XXXXXX";
    if (mkdtemp(&folder[0]) == nullptr) {
        std::perror("mkdtemp");
        return std::string();
    }
    return folder;
}

// A "kB" line of /proc/self/status (VmRSS, VmHWM); -1 when it cannot be read.
inline long StatusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(in, line)) {
        if (line.rfind(prefix, 0) == 0) return std::atol(line.c_str() + prefix.size());
    }
    return -1;
}

// Resets the peak resident size to the current one (Linux: writing 5 to clear_refs).
inline bool ResetPeak() {
    std::ofstream out("/proc/self/clear_refs");
    out << "5";
    return static_cast<bool>(out.flush());
}

}  // namespace velorin::bench
