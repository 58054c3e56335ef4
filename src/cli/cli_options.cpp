#include "cli/cli_options.h"

namespace velorin::cli {

std::string ParsedArgs::Value(const std::string& name, const std::string& fallback) const {
    auto it = values.find(name);
    return it == values.end() ? fallback : it->second;
}

ParsedArgs ParseArgs(const std::vector<std::string>& args, const std::set<std::string>& withValue,
                     const std::set<std::string>& bare) {
    ParsedArgs parsed;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() < 3 || a.compare(0, 2, "--") != 0) {
            parsed.positional.push_back(a);
            continue;
        }
        std::string name = a.substr(2);
        std::string value;
        bool inlineValue = false;
        const size_t eq = name.find('=');
        if (eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            inlineValue = true;
        }
        if (withValue.count(name)) {
            if (!inlineValue) {
                if (i + 1 >= args.size()) {
                    parsed.error = "option --" + name + " needs a value";
                    return parsed;
                }
                value = args[++i];
            }
            parsed.values[name] = value;
        } else if (bare.count(name) && !inlineValue) {
            parsed.flags.insert(name);
        } else {
            parsed.error = "unknown option --" + name;
            return parsed;
        }
    }
    return parsed;
}

}  // namespace velorin::cli
