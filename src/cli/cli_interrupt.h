// Ctrl-C for long-running CLI commands: while an InterruptCancels lives, the first SIGINT sets
// the given flag (the command ends cleanly at its next check); a second one ends the program.
#pragma once

#include <signal.h>

#include <atomic>

namespace velorin::cli {

class InterruptCancels {
public:
    explicit InterruptCancels(std::atomic<bool>& flag);
    ~InterruptCancels();
    InterruptCancels(const InterruptCancels&) = delete;
    InterruptCancels& operator=(const InterruptCancels&) = delete;

private:
    struct sigaction previous_ = {};
};

}  // namespace velorin::cli
