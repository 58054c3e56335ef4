#include "support/command_output.h"

#include <cstdio>

namespace velorin::test {

std::string CommandOutput(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

}  // namespace velorin::test
