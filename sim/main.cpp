// velorin-logger-sim: the simulated logger as a stand-alone process for end-to-end tests and
// for trying the program without hardware.
#include <signal.h>

#include <cstdio>
#include <string>

#include "civil_time.h"
#include "options.h"
#include "server.h"

int main(int argc, char** argv) {
    using namespace velorin::sim;
    SimConfig config;
    std::string error;
    if (!ParseOptions(argc, argv, HostNowCivil(), &config, &error)) {
        std::fprintf(stderr, "velorin-logger-sim: %s\n(see --help)\n", error.c_str());
        return 2;
    }
    if (config.help) {
        std::fputs(UsageText(), stdout);
        return 0;
    }

    // The signals are taken synchronously by this thread; the server thread inherits the mask
    // and never sees them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    LoggerServer server(config.state, config.server);
    if (!server.Start(&error)) {
        std::fprintf(stderr, "velorin-logger-sim: %s\n", error.c_str());
        return 1;
    }
    if (!server.DevicePath().empty()) std::printf("%s\n", server.DevicePath().c_str());
    if (!server.SocketPath().empty()) std::printf("usb %s\n", server.SocketPath().c_str());
    std::fflush(stdout);

    for (;;) {
        int sig = 0;
        if (sigwait(&signals, &sig) != 0) continue;
        if (sig == SIGUSR1) {
            server.SetUsbPlugged(!server.UsbPlugged());
            continue;
        }
        break;  // SIGINT or SIGTERM
    }
    server.Stop();
    return 0;
}
