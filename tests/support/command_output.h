// The standard output of a shell command (its standard error is dropped); empty when it cannot
// be started. The PDF tests read their files back with poppler's tools this way.
#pragma once

#include <string>

namespace velorin::test {

std::string CommandOutput(const std::string& command);

}  // namespace velorin::test
