#include "package/shell_run.h"

#include <sys/wait.h>

#include <cstdio>

namespace velorin::test {

ShellRun Shell(const std::string& command) {
    ShellRun run;
    FILE* pipe = ::popen(("( " + command + " ) 2>&1").c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
    const int status = ::pclose(pipe);
    if (status != -1 && WIFEXITED(status)) run.status = WEXITSTATUS(status);
    return run;
}

std::string Quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

bool HaveProgram(const std::string& name) { return Shell("command -v " + Quoted(name)).status == 0; }

}  // namespace velorin::test
