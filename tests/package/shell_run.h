// Shell commands for the package tests: exit status and output together.
#pragma once

#include <string>

namespace velorin::test {

struct ShellRun {
    int status = -1;     // the exit status; -1 when it did not exit normally
    std::string output;  // standard output and standard error, interleaved
};

ShellRun Shell(const std::string& command);

// `text` quoted for the shell.
std::string Quoted(const std::string& text);

// Whether a program is on the PATH.
bool HaveProgram(const std::string& name);

}  // namespace velorin::test
