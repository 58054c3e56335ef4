// Command line of velorin-logger-sim, parsed into the logger's initial state and the server's
// options. Kept apart from main() so that tests can check it.
#pragma once

#include <cstdint>
#include <string>

#include "logger_state.h"
#include "server.h"

namespace velorin::sim {

struct SimConfig {
    LoggerState state;
    ServerOptions server;
    bool help = false;
};

// `hostNow` (civil seconds) fills the defaults that depend on the time: the start of the
// recording is hostNow − records × interval unless --start is given. False with a message on
// anything it cannot use.
bool ParseOptions(int argc, const char* const* argv, int64_t hostNow, SimConfig* config, std::string* error);

const char* UsageText();

}  // namespace velorin::sim
