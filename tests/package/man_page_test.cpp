// The manual pages against the programs: every option `velorin-cli --help` and each
// `velorin-cli COMMAND --help` name, and every option of `velorin --help`, appears in the page;
// the pages are well-formed roff where man is installed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "cli/cli_command.h"
#include "cli/commands.h"
#include "package/shell_run.h"
#include "support/option_names.h"
#include "support/temp_dir.h"

namespace velorin::test {
namespace {

std::string BinDir() {
    const char* dir = std::getenv("VELORIN_BIN_DIR");
    return dir != nullptr ? dir : "";
}

// A page's text with roff's escaped hyphens and backslashes made plain again.
std::string PlainPage(const std::string& name) {
    std::string text = ReadFileBytes(std::string(VELORIN_MAN_DIR) + "/" + name);
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '-') continue;  // "\-" → "-"
        if (text.compare(i, 2, "\\e") == 0) {
            out += '\\';
            ++i;
            continue;
        }
        if (text.compare(i, 2, "\\&") == 0) {
            ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

TEST(ManPage, CliPageHoldsEveryHelpTextAndOption) {
    const std::string page = PlainPage("velorin-cli.1");
    ASSERT_FALSE(page.empty()) << "no page in " << VELORIN_MAN_DIR;
    const ShellRun top = Shell(Quoted(BinDir() + "/velorin-cli") + " --help");
    ASSERT_EQ(top.status, 0);
    std::set<std::string> all = LongOptionNames(top.output);
    for (const cli::CliCommand* command : cli::CliCommands()) {
        const ShellRun own = Shell(Quoted(BinDir() + "/velorin-cli") + " " + command->name + " --help");
        ASSERT_EQ(own.status, 0) << command->name;
        const std::set<std::string> options = LongOptionNames(own.output);
        all.insert(options.begin(), options.end());
        // The page quotes the command's usage line as the program prints it.
        const std::string firstLine = own.output.substr(0, own.output.find('\n'));
        EXPECT_NE(page.find(firstLine), std::string::npos) << firstLine;
    }
    EXPECT_GT(all.size(), 20u);
    for (const std::string& option : all) EXPECT_NE(page.find(option), std::string::npos) << option;
}

TEST(ManPage, ProgramPageHoldsEveryOptionOfVelorinHelp) {
    const std::string page = PlainPage("velorin.1");
    const ShellRun help = Shell("env -u DISPLAY " + Quoted(BinDir() + "/velorin") + " --help");
    ASSERT_EQ(help.status, 0) << help.output;
    const std::set<std::string> options = LongOptionNames(help.output);
    EXPECT_TRUE(options.count("--demo"));
    for (const std::string& option : options) EXPECT_NE(page.find(option), std::string::npos) << option;
}

TEST(ManPage, PagesFormatWithoutWarnings) {
    if (!HaveProgram("man") || !HaveProgram("groff")) GTEST_SKIP() << "man or groff not installed";
    for (const char* name : {"velorin.1", "velorin-cli.1"}) {
        const std::string path = std::string(VELORIN_MAN_DIR) + "/" + name;
        const ShellRun warnings = Shell("MANWIDTH=80 man --warnings -l " + Quoted(path) + " 2>&1 >/dev/null");
        EXPECT_EQ(warnings.output, "") << name;
        const ShellRun text = Shell("MANWIDTH=80 man -l " + Quoted(path));
        EXPECT_NE(text.output.find("SEE ALSO"), std::string::npos) << text.output;
    }
}

}  // namespace
}  // namespace velorin::test
