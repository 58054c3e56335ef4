// Command-line parsing for velorin-cli: "--name value", "--name=value" and bare flags.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace velorin::cli {

struct ParsedArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;  // options that take a value
    std::set<std::string> flags;                // options without a value
    std::string error;                          // non-empty: the arguments are wrong

    bool Has(const std::string& name) const { return values.count(name) || flags.count(name); }
    std::string Value(const std::string& name, const std::string& fallback = std::string()) const;
};

// `withValue` and `bare` list the accepted option names (without the leading dashes).
ParsedArgs ParseArgs(const std::vector<std::string>& args, const std::set<std::string>& withValue,
                     const std::set<std::string>& bare);

// Exit codes of every command.
constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;
constexpr int kExitFailed = 2;

}  // namespace velorin::cli
