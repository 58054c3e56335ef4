// The desktop program's command line: its usage text (what `velorin --help` prints and the
// manual page shows) and the options answered before any window exists.
#pragma once

#include <string>

namespace velorin {

// "usage: velorin [--demo] [FILE.kv]" and what every option does.
std::string ProgramUsage();

enum class EarlyAnswer { None, Help, Version };

// --help/-h or --version anywhere among the arguments (argv[1] ...): the program prints its
// usage or "velorin VERSION" and ends without opening a display.
EarlyAnswer EarlyAnswerFor(int argc, const char* const* argv);

}  // namespace velorin
