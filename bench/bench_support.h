// What the benchmark programs share: reading their own memory figures.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

namespace velorin::bench {

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
