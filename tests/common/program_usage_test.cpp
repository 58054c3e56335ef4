// The desktop program's early answers: --help and --version anywhere end it before a window
// exists; anything else starts it.
#include <gtest/gtest.h>

#include <vector>

#include "common/program_usage.h"

namespace velorin {
namespace {

EarlyAnswer AnswerFor(std::vector<const char*> args) {
    args.insert(args.begin(), "velorin");
    return EarlyAnswerFor(static_cast<int>(args.size()), args.data());
}

TEST(ProgramUsage, HelpAndVersionAreAnsweredEarlyWhereverTheyStand) {
    EXPECT_EQ(AnswerFor({}), EarlyAnswer::None);
    EXPECT_EQ(AnswerFor({"--demo", "run.kv"}), EarlyAnswer::None);
    EXPECT_EQ(AnswerFor({"--help"}), EarlyAnswer::Help);
    EXPECT_EQ(AnswerFor({"--demo", "-h"}), EarlyAnswer::Help);
    EXPECT_EQ(AnswerFor({"run.kv", "--version"}), EarlyAnswer::Version);
    EXPECT_EQ(AnswerFor({"--versions"}), EarlyAnswer::None);
    // The usage names every option the program takes.
    for (const char* option : {"--demo", "--version", "--help", "FILE.kv"}) {
        EXPECT_NE(ProgramUsage().find(option), std::string::npos) << option;
    }
}

}  // namespace
}  // namespace velorin
