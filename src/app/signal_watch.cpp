#include "app/signal_watch.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

namespace velorin {

namespace {

constexpr int kMaxSignal = 64;
int g_pipeWrite[kMaxSignal + 1];  // write end per signal; set before the handler is installed

void OnSignal(int number) {
    const int saved = errno;
    const char byte = 1;
    if (number > 0 && number <= kMaxSignal) (void)!write(g_pipeWrite[number], &byte, 1);
    errno = saved;
}

}  // namespace

bool WatchSignal(int signalNumber, QObject* parent, std::function<void()> action) {
    if (signalNumber <= 0 || signalNumber > kMaxSignal) return false;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    g_pipeWrite[signalNumber] = fds[1];
    auto* notifier = new QSocketNotifier(fds[0], QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [fd = fds[0], action] {
        char bytes[16];
        while (read(fd, bytes, sizeof bytes) > 0) {
        }
        action();
    });
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    return sigaction(signalNumber, &sa, nullptr) == 0;
}

}  // namespace velorin
