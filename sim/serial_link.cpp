#include "serial_link.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "civil_time.h"
#include "device/frame.h"
#include "logger_core.h"

namespace velorin::sim {

SerialLink::SerialLink(LoggerCore& core, bool pacing) : core_(core), output_(pacing) {}

bool SerialLink::Open(const std::string& linkPath, std::string* error) {
    return pty_.Open(error) && pty_.Link(linkPath, error);
}

void SerialLink::Close() { pty_.Close(); }

short SerialLink::Events(int64_t nowNs) const {
    short events = POLLIN;
    if (blocked_ && !output_.Empty() && output_.NextDueNs() <= nowNs) events |= POLLOUT;
    return events;
}

int64_t SerialLink::NextWakeNs() const {
    int64_t wake = -1;
    if (!output_.Empty() && !blocked_) wake = output_.NextDueNs();
    if (inputLength_ > 0) {
        const int64_t stale = lastInputNs_ + kStaleInputNs;
        if (wake < 0 || stale < wake) wake = stale;
    }
    return wake;
}

void SerialLink::OnReadable(int64_t nowNs) {
    for (;;) {
        uint8_t chunk[256];
        const ssize_t n = read(pty_.MasterFd(), chunk, sizeof chunk);
        if (n <= 0) break;  // EAGAIN: drained; EIO cannot happen while our slave fd is open
        lastInputNs_ = nowNs;
        size_t at = 0;
        while (at < static_cast<size_t>(n)) {
            const size_t room = kInputBytes - inputLength_;
            const size_t take = static_cast<size_t>(n) - at < room ? static_cast<size_t>(n) - at : room;
            std::memcpy(input_ + inputLength_, chunk + at, take);
            inputLength_ += take;
            at += take;
            ScanInput(nowNs);
            if (inputLength_ == kInputBytes) inputLength_ = 0;  // cannot happen; never overrun
        }
    }
}

void SerialLink::ScanInput(int64_t nowNs) {
    for (;;) {
        const FrameScanResult scan = ScanFrame(input_, inputLength_, kRequestStart, kRequestEnd, kMaxRequestBytes);
        size_t drop = scan.offset;  // noise before a start byte
        if (scan.kind == FrameScan::Complete) {
            const std::vector<OutputPiece> pieces =
                core_.HandleSerial(input_ + scan.offset, scan.length, HostNowCivil());
            output_.Push(pieces, nowNs);
            drop += scan.length;
        } else if (scan.kind == FrameScan::Malformed) {
            // A frame that ends where its length says but fails its checksum is skipped whole;
            // otherwise only its start byte goes, and the scan resynchronises on the next one.
            const bool delimited = scan.length > 1 && input_[scan.offset + scan.length - 1] == kRequestEnd;
            drop += delimited ? scan.length : 1;
        }
        if (drop == 0) return;
        std::memmove(input_, input_ + drop, inputLength_ - drop);
        inputLength_ -= drop;
        if (scan.kind == FrameScan::NeedMore) return;
    }
}

void SerialLink::Flush(int64_t nowNs) {
    if (inputLength_ > 0 && nowNs - lastInputNs_ >= kStaleInputNs) inputLength_ = 0;
    blocked_ = false;
    for (;;) {
        const uint8_t* bytes = nullptr;
        const size_t count = output_.Due(nowNs, &bytes, kWriteChunk);
        if (count == 0) return;
        const ssize_t n = write(pty_.MasterFd(), bytes, count);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            blocked_ = true;  // the program is not reading; wait for POLLOUT
            return;
        }
        if (n <= 0) {
            output_.Consume(output_.QueuedBytes());  // a dead line takes nothing more
            return;
        }
        output_.Consume(static_cast<size_t>(n));
    }
}

}  // namespace velorin::sim
