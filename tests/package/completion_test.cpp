// The bash completion of velorin-cli, run by bash against the built program: command names,
// a command's options, and values of an option.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "package/shell_run.h"

namespace velorin::test {
namespace {

// COMPREPLY for the words typed so far (the last one is being completed).
std::string Complete(const std::string& words) {
    const char* bin = std::getenv("VELORIN_BIN_DIR");
    const std::string script = "PATH=" + std::string(bin != nullptr ? bin : "") + ":$PATH; source " +
                               std::string(VELORIN_COMPLETION) + "; COMP_WORDS=(" + words +
                               "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _velorin_cli; "
                               "printf '%s\\n' \"${COMPREPLY[@]}\" | LC_ALL=C sort | tr '\\n' ' '";
    return Shell("bash --norc -c " + Quoted(script)).output;
}

TEST(Completion, CompletesCommandsOptionsAndValues) {
    if (!HaveProgram("bash")) GTEST_SKIP() << "no bash";
    EXPECT_EQ(Complete("velorin-cli ''"),
              "--help --version compare configure download export info live ports set-clock stats stop ");
    EXPECT_EQ(Complete("velorin-cli s"), "set-clock stats stop ");
    const std::string configure = Complete("velorin-cli configure --");
    for (const char* option :
         {"--user ", "--over-limit ", "--ch1 ", "--ch4 ", "--ch6 ", "--yes ", "--hid ", "--help "}) {
        EXPECT_NE(configure.find(option), std::string::npos) << option << " in " << configure;
    }
    EXPECT_EQ(Complete("velorin-cli export run.kv --enc"), "--encoding ");
    EXPECT_EQ(Complete("velorin-cli export run.kv --encoding ''"), "gbk utf-8 ");
    EXPECT_EQ(Complete("velorin-cli info --lang ''"), "en zh ");
}

}  // namespace
}  // namespace velorin::test
