// The simulated USB side of the server: a Unix stream socket; each connection is one handle of
// libkvusb-sim and carries 69-byte request packets answered by 65-byte responses, in order.
// Used by the server thread only.
#pragma once

#include <poll.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "kvusb.h"
#include "kvusb_sim_wire.h"

namespace velorin::sim {

class LoggerCore;

class UsbLink {
public:
    explicit UsbLink(LoggerCore& core);
    UsbLink(const UsbLink&) = delete;
    UsbLink& operator=(const UsbLink&) = delete;
    ~UsbLink();

    // Binds and listens; a stale socket file at `path` is replaced.
    bool Open(const std::string& path, std::string* error);
    // Closes every connection and the listener and removes the socket file.
    void Close();

    // Appends this link's descriptors; Handle() gets the same entries back after poll.
    void AddPollFds(std::vector<pollfd>& fds, int64_t nowNs) const;
    void Handle(const pollfd* fds, size_t count, int64_t nowNs);
    int64_t NextWakeNs() const;

private:
    struct Pending {
        uint8_t bytes[KVUSB_SIM_RESPONSE_BYTES];
        int64_t dueNs;
    };
    struct Connection {
        int fd = -1;
        uint8_t input[KVUSB_OUTPUT_REPORT_BYTES] = {};
        size_t inputLength = 0;
        std::deque<Pending> pending;  // responses held back by a late fault, in order
        std::vector<uint8_t> output;  // released responses not yet written
        bool dead = false;
    };
    // A handle that sends without reading is cut off rather than queued without limit.
    static constexpr size_t kMaxPending = 64;
    static constexpr size_t kMaxConnections = 16;

    static size_t Backlog(const Connection& c) { return c.pending.size() + c.output.size() / KVUSB_SIM_RESPONSE_BYTES; }
    void Accept();
    void Read(Connection& c, int64_t nowNs);
    void Write(Connection& c, int64_t nowNs);

    LoggerCore& core_;
    int listener_ = -1;
    std::string path_;
    std::vector<Connection> connections_;
};

}  // namespace velorin::sim
