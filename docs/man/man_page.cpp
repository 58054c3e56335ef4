// velorin-man: writes a manual page from its template, filling in the usage texts the programs
// themselves print, so the page cannot say other than --help.
//
//   velorin-man TEMPLATE OUTPUT
//
// Placeholders (each alone on its line except @VERSION@):
//   @VERSION@          the build's version
//   @PROGRAM_USAGE@    `velorin --help`, verbatim
//   @CLI_USAGE@        `velorin-cli --help`, verbatim
//   @CLI_COMMANDS@     per command: a subsection with its summary and `velorin-cli NAME --help`
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/cli_command.h"
#include "cli/commands.h"
#include "common/program_usage.h"
#include "common/version.h"

namespace {

// Text as roff shows it literally: backslashes and hyphens escaped (a plain '-' may print as a
// typographic hyphen and break copying options), a leading '.' or '\'' kept from being a request.
std::string RoffLine(const std::string& line) {
    std::string out;
    if (!line.empty() && (line[0] == '.' || line[0] == '\'')) out += "\\&";
    for (char c : line) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    return out;
}

// A preformatted block: lines kept as they are.
std::string Verbatim(const std::string& text) {
    std::string out = ".nf\n";
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) out += RoffLine(line) + "\n";
    return out + ".fi\n";
}

std::string CommandSections() {
    std::string out;
    for (const velorin::cli::CliCommand* command : velorin::cli::CliCommands()) {
        out += ".SS " + RoffLine(command->name) + "\n";
        out += RoffLine(command->summary) + ".\n";
        out += ".PP\n" + Verbatim(velorin::cli::CommandUsage(*command));
    }
    return out;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: velorin-man TEMPLATE OUTPUT\n", stderr);
        return 1;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream page;
    page << in.rdbuf();
    if (!in) {
        std::fprintf(stderr, "velorin-man: cannot read %s\n", argv[1]);
        return 1;
    }
    std::string text = page.str();
    ReplaceAll(text, "@PROGRAM_USAGE@\n", Verbatim(velorin::ProgramUsage()));
    ReplaceAll(text, "@CLI_USAGE@\n", Verbatim(velorin::cli::TopLevelUsage()));
    ReplaceAll(text, "@CLI_COMMANDS@\n", CommandSections());
    ReplaceAll(text, "@VERSION@", velorin::ProgramVersion());
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "velorin-man: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
