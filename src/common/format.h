// printf-style formatting that does not depend on the process locale: numbers are always
// written with a '.' decimal point, whatever LC_NUMERIC the GUI toolkit installed.
#pragma once

#include <string>

namespace velorin {

std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace velorin
