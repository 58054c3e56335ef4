#include "support/pty_peer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>

#include "device/frame.h"

namespace velorin::test {

namespace {

constexpr size_t kLongestRequest = 1024;

void MakeRaw(int fd) {
    struct termios t;
    if (tcgetattr(fd, &t) != 0) return;
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
}

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

PtyPeer::PtyPeer() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) return;
    char name[128];
    if (grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, name, sizeof name) != 0) {
        CloseFd(master_);
        return;
    }
    slavePath_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) {
        CloseFd(master_);
        return;
    }
    // Raw on both sides: no echo of what the peer writes, no translation of either direction.
    MakeRaw(master_);
    MakeRaw(slave_);
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) == 0) {
        wakeRead_ = pipeFds[0];
        wakeWrite_ = pipeFds[1];
    } else {
        CloseFd(slave_);
        CloseFd(master_);
    }
}

PtyPeer::~PtyPeer() {
    Stop();
    CloseFd(wakeRead_);
    CloseFd(wakeWrite_);
    CloseFd(slave_);
    CloseFd(master_);
}

void PtyPeer::Start(Responder responder) {
    if (!Ok() || thread_.joinable()) return;
    responder_ = std::move(responder);
    thread_ = std::thread([this] { Run(); });
}

void PtyPeer::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (wakeWrite_ >= 0) {
        const char b = 1;
        (void)!::write(wakeWrite_, &b, 1);
    }
    if (thread_.joinable()) thread_.join();
}

bool PtyPeer::Write(const uint8_t* bytes, size_t count) {
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(master_, bytes + done, count - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return false;
        }
    }
    return true;
}

bool PtyPeer::Pause(int milliseconds) {
    std::unique_lock<std::mutex> lock(mutex_);
    return !changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return stopping_.load(); });
}

size_t PtyPeer::RequestCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_.size();
}

std::vector<PtyPeer::Request> PtyPeer::Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

bool PtyPeer::WaitForRequests(size_t count, int timeoutMs) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return requests_.size() >= count; });
}

int PtyPeer::QueuedAtSlave() const {
    int queued = 0;
    if (slave_ < 0 || ioctl(slave_, FIONREAD, &queued) != 0) return -1;
    return queued;
}

void PtyPeer::Run() {
    std::vector<uint8_t> pending;
    while (!stopping_) {
        struct pollfd fds[2] = {{master_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        const int ready = ::poll(fds, 2, 1000);
        if (ready < 0 && errno != EINTR) break;
        if (stopping_ || (fds[1].revents & POLLIN)) break;
        if (!(fds[0].revents & POLLIN)) continue;
        uint8_t chunk[512];
        const ssize_t n = ::read(master_, chunk, sizeof chunk);
        if (n <= 0) continue;
        pending.insert(pending.end(), chunk, chunk + n);
        HandleBytes(pending);
    }
}

void PtyPeer::HandleBytes(std::vector<uint8_t>& pending) {
    while (!pending.empty() && !stopping_) {
        const FrameScanResult scan =
            ScanFrame(pending.data(), pending.size(), kRequestStart, kRequestEnd, kLongestRequest);
        if (scan.kind == FrameScan::NeedMore) {
            pending.erase(pending.begin(), pending.begin() + static_cast<long>(scan.offset));
            return;
        }
        const auto first = pending.begin() + static_cast<long>(scan.offset);
        const auto last = first + static_cast<long>(scan.length);
        if (scan.kind == FrameScan::Malformed) {
            pending.erase(pending.begin(), last);
            continue;
        }
        Request request(first, last);
        pending.erase(pending.begin(), last);
        size_t index = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            index = requests_.size();
            requests_.push_back(request);
        }
        changed_.notify_all();
        if (responder_) responder_(*this, request, index);
    }
}

bool PollUntil(const std::function<bool()>& condition, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return condition();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace velorin::test
