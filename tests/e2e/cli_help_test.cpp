// velorin-cli's usage texts: every command answers --help with its own usage, the top-level
// usage names every command and every option, every option a usage names is one the command
// accepts, and both programs report the build's version.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/commands.h"
#include "e2e/process.h"
#include "support/option_names.h"

namespace velorin::e2e {
namespace {

// "--ch1 ... --ch6" in a usage stands for the four channel options between.
std::set<std::string> Expanded(std::set<std::string> options) {
    if (options.count("--ch1") && options.count("--ch6")) {
        for (const char* ch : {"--ch2", "--ch3", "--ch4", "--ch5"}) options.insert(ch);
    }
    return options;
}

TEST(CliHelp, EveryCommandAnswersHelpWithItsOwnUsage) {
    ASSERT_FALSE(cli::CliCommands().empty());
    for (const cli::CliCommand* command : cli::CliCommands()) {
        for (const char* help : {"--help", "-h"}) {
            SCOPED_TRACE(std::string(command->name) + " " + help);
            // --help wins over everything else, even options that would reach a logger.
            const RunResult r = RunProgram("velorin-cli", {command->name, "--port", "7", help});
            EXPECT_EQ(r.exitCode, 0) << r.err;
            const std::string head = std::string("usage: velorin-cli ") + command->name;
            EXPECT_EQ(r.out.rfind(head, 0), 0u) << r.out;
            EXPECT_TRUE(r.out[head.size()] == ' ' || r.out[head.size()] == '\n') << r.out;
            EXPECT_TRUE(r.err.empty()) << r.err;
        }
    }
    // configure once called --help an unknown option.
    const RunResult configure = RunProgram("velorin-cli", {"configure", "--help"});
    EXPECT_NE(configure.out.find("--over-limit"), std::string::npos);
}

TEST(CliHelp, TopLevelUsageListsEveryCommandAndOption) {
    const RunResult top = RunProgram("velorin-cli", {"--help"});
    ASSERT_EQ(top.exitCode, 0);
    for (const cli::CliCommand* command : cli::CliCommands()) {
        EXPECT_TRUE(top.out.find(std::string("\n  ") + command->name + " ") != std::string::npos ||
                    top.out.find(std::string("\n  ") + command->name + "\n") != std::string::npos)
            << command->name;
        const RunResult own = RunProgram("velorin-cli", {command->name, "--help"});
        for (const std::string& option : test::LongOptionNames(own.out)) {
            if (option == "--help") continue;
            EXPECT_NE(top.out.find(option), std::string::npos) << command->name << " " << option;
        }
    }
    for (const char* named : {"--pdf", "--from", "--to", "--encoding", "--version"}) {
        EXPECT_NE(top.out.find(named), std::string::npos) << named;
    }
    // Without arguments the same text is an error on stderr.
    const RunResult bare = RunProgram("velorin-cli", {});
    EXPECT_EQ(bare.exitCode, 1);
    EXPECT_EQ(bare.err, top.out);
}

TEST(CliHelp, EveryOptionAUsageNamesIsAcceptedByTheCommand) {
    for (const cli::CliCommand* command : cli::CliCommands()) {
        for (const std::string& option : Expanded(test::LongOptionNames(cli::CommandUsage(*command)))) {
            if (option == "--help") continue;
            SCOPED_TRACE(std::string(command->name) + " " + option);
            // A known option is followed by arguments that are wrong either way, so nothing reaches a
            // logger or a file: a flag leaves "--lang xx" (no such language), an option with a value
            // takes "--lang" and leaves two stray arguments.
            const RunResult r = RunProgram("velorin-cli", {command->name, option, "--lang", "xx", "yy"});
            // compare takes any number of files, so its stray arguments may be files it cannot
            // read (exit 2); every other command refuses them as arguments (exit 1).
            const bool compare = std::string(command->name) == "compare";
            EXPECT_TRUE(r.exitCode == 1 || (compare && r.exitCode == 2)) << r.exitCode;
            EXPECT_EQ(r.err.find("unknown option " + option), std::string::npos) << r.err;
        }
    }
}

TEST(CliHelp, BothProgramsReportTheBuildVersion) {
    const RunResult cli = RunProgram("velorin-cli", {"--version"});
    EXPECT_EQ(cli.exitCode, 0);
    EXPECT_EQ(cli.out, std::string("velorin-cli ") + VELORIN_EXPECTED_VERSION + "\n");
#ifdef VELORIN_HAVE_GUI
    // Answered before any window: no display is needed.
    const RunResult gui = RunProgram("velorin", {"--version"}, {"QT_QPA_PLATFORM=xcb", "DISPLAY=", "WAYLAND_DISPLAY="});
    EXPECT_EQ(gui.exitCode, 0) << gui.err;
    EXPECT_EQ(gui.out, std::string("velorin ") + VELORIN_EXPECTED_VERSION + "\n");
    const RunResult help = RunProgram("velorin", {"--help"}, {"QT_QPA_PLATFORM=xcb", "DISPLAY="});
    EXPECT_EQ(help.exitCode, 0) << help.err;
    EXPECT_EQ(help.out.rfind("usage: velorin [--demo] [FILE.kv]\n", 0), 0u) << help.out;
#endif
}

}  // namespace
}  // namespace velorin::e2e
