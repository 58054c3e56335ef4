#include "usb_link.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "civil_time.h"
#include "logger_core.h"
#include "pty_port.h"

namespace velorin::sim {

UsbLink::UsbLink(LoggerCore& core) : core_(core) {}

UsbLink::~UsbLink() { Close(); }

bool UsbLink::Open(const std::string& path, std::string* error) {
    Close();
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof addr.sun_path) {
        *error = "socket path too long for a Unix socket: " + path;
        return false;
    }
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0) MakeFolders(path.substr(0, slash));
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0) {
        if (!S_ISSOCK(st.st_mode)) {
            *error = path + " exists and is not a socket";
            return false;
        }
        unlink(path.c_str());  // left behind by a simulator that did not stop cleanly
    }
    listener_ = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        listen(listener_, 16) != 0) {
        *error = std::string("cannot serve ") + path + ": " + std::strerror(errno);
        if (listener_ >= 0) close(listener_);
        listener_ = -1;
        return false;
    }
    path_ = path;
    return true;
}

void UsbLink::Close() {
    for (Connection& c : connections_) close(c.fd);
    connections_.clear();
    if (listener_ >= 0) {
        close(listener_);
        unlink(path_.c_str());
    }
    listener_ = -1;
    path_.clear();
}

void UsbLink::AddPollFds(std::vector<pollfd>& fds, int64_t) const {
    if (listener_ < 0) return;
    fds.push_back({listener_, POLLIN, 0});
    for (const Connection& c : connections_) {
        short events = 0;
        if (Backlog(c) < kMaxPending) events |= POLLIN;
        if (!c.output.empty()) events |= POLLOUT;
        fds.push_back({c.fd, events, 0});
    }
}

int64_t UsbLink::NextWakeNs() const {
    int64_t wake = -1;
    for (const Connection& c : connections_) {
        if (!c.pending.empty() && (wake < 0 || c.pending.front().dueNs < wake)) wake = c.pending.front().dueNs;
    }
    return wake;
}

void UsbLink::Handle(const pollfd* fds, size_t count, int64_t nowNs) {
    if (listener_ < 0 || count == 0) return;
    // fds[0] is the listener, fds[1 + i] connection i, as AddPollFds laid them out.
    for (size_t i = 0; i + 1 < count && i < connections_.size(); ++i) {
        Connection& c = connections_[i];
        const short revents = fds[1 + i].revents;
        if (revents & (POLLIN | POLLHUP | POLLERR)) Read(c, nowNs);
    }
    for (Connection& c : connections_) {
        if (!c.dead) Write(c, nowNs);
    }
    for (Connection& c : connections_) {
        if (c.dead) close(c.fd);
    }
    connections_.erase(
        std::remove_if(connections_.begin(), connections_.end(), [](const Connection& c) { return c.dead; }),
        connections_.end());
    if (fds[0].revents & POLLIN) Accept();
}

void UsbLink::Accept() {
    for (;;) {
        const int fd = accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) return;
        if (connections_.size() >= kMaxConnections) {
            close(fd);
            continue;
        }
        Connection c;
        c.fd = fd;
        connections_.push_back(std::move(c));
    }
}

void UsbLink::Read(Connection& c, int64_t nowNs) {
    while (Backlog(c) < kMaxPending) {
        const ssize_t n = recv(c.fd, c.input + c.inputLength, sizeof c.input - c.inputLength, 0);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
            c.dead = true;  // the handle was closed
            return;
        }
        if (n < 0) return;
        c.inputLength += static_cast<size_t>(n);
        if (c.inputLength < sizeof c.input) continue;
        c.inputLength = 0;
        const UsbResponse response = core_.HandleUsb(c.input, HostNowCivil());
        Pending p;
        std::memcpy(p.bytes, response.bytes, sizeof p.bytes);
        // A response may not overtake one held back before it.
        const int64_t due = nowNs + response.delayMs * 1000000ll;
        p.dueNs = c.pending.empty() ? due : std::max(due, c.pending.back().dueNs);
        c.pending.push_back(p);
    }
}

void UsbLink::Write(Connection& c, int64_t nowNs) {
    while (!c.pending.empty() && c.pending.front().dueNs <= nowNs) {
        c.output.insert(c.output.end(), c.pending.front().bytes, c.pending.front().bytes + KVUSB_SIM_RESPONSE_BYTES);
        c.pending.pop_front();
    }
    while (!c.output.empty()) {
        const ssize_t n = send(c.fd, c.output.data(), c.output.size(), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) c.dead = true;
            return;
        }
        c.output.erase(c.output.begin(), c.output.begin() + n);
    }
}

}  // namespace velorin::sim
