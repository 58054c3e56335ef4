#include "common/program_usage.h"

#include <cstring>

namespace velorin {

std::string ProgramUsage() {
    return "usage: velorin [--demo] [FILE.kv]\n"
           "       velorin --version\n"
           "       velorin --help\n"
           "  FILE.kv     open the data file in a data window\n"
           "  --demo      start with a simulated logger inside the program (COM1 of a private\n"
           "              port folder and the simulated USB link), to try every command without\n"
           "              hardware\n"
           "  --version   print the program's version\n"
           "  --help      print this text\n"
           "The interface language comes from Language.ini in the working folder (its whole\n"
           "content English means English; anything else Chinese).\n";
}

EarlyAnswer EarlyAnswerFor(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return EarlyAnswer::Help;
        if (std::strcmp(argv[i], "--version") == 0) return EarlyAnswer::Version;
    }
    return EarlyAnswer::None;
}

}  // namespace velorin
