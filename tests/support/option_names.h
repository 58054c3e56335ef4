// The long options ("--name") a usage text or manual page names.
#pragma once

#include <set>
#include <string>

namespace velorin::test {

std::set<std::string> LongOptionNames(const std::string& text);

}  // namespace velorin::test
