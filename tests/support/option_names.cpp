#include "support/option_names.h"

#include <regex>

namespace velorin::test {

std::set<std::string> LongOptionNames(const std::string& text) {
    std::set<std::string> options;
    const std::regex option("--[a-z][a-z0-9-]*");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it) {
        options.insert(it->str());
    }
    return options;
}

}  // namespace velorin::test
