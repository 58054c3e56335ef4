#include "cli/cli_interrupt.h"

namespace velorin::cli {

namespace {

std::atomic<bool>* g_cancel = nullptr;

extern "C" void OnInterrupt(int) {
    if (g_cancel != nullptr) g_cancel->store(true);
    // A second Ctrl-C ends the program at once.
    struct sigaction dfl = {};
    dfl.sa_handler = SIG_DFL;
    sigaction(SIGINT, &dfl, nullptr);
}

}  // namespace

InterruptCancels::InterruptCancels(std::atomic<bool>& flag) {
    g_cancel = &flag;
    struct sigaction sa = {};
    sa.sa_handler = OnInterrupt;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, &previous_);
}

InterruptCancels::~InterruptCancels() {
    sigaction(SIGINT, &previous_, nullptr);
    g_cancel = nullptr;
}

}  // namespace velorin::cli
