// The serial side of the server: request bytes from the pty master are reassembled into frames,
// answered through the core, and the replies written back paced like a 115200-baud line.
// Used by the server thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "paced_output.h"
#include "pty_port.h"

namespace velorin::sim {

class LoggerCore;

class SerialLink {
public:
    SerialLink(LoggerCore& core, bool pacing);

    bool Open(const std::string& linkPath, std::string* error);
    void Close();

    int Fd() const { return pty_.MasterFd(); }
    const std::string& SlavePath() const { return pty_.SlavePath(); }

    // Poll events wanted now (POLLIN, plus POLLOUT while output is due but the pty was full).
    short Events(int64_t nowNs) const;
    void OnReadable(int64_t nowNs);
    // Writes the bytes that are due.
    void Flush(int64_t nowNs);
    // When the link next needs the thread without any fd event; −1 = never.
    int64_t NextWakeNs() const;

private:
    void ScanInput(int64_t nowNs);

    // Longest stretch of request bytes kept while waiting for a frame to complete. Requests are
    // at most kMaxRequestBytes long, so this always holds one whole frame plus some noise.
    static constexpr size_t kInputBytes = 512;
    // An unfinished frame is given up after this much silence of the program.
    static constexpr int64_t kStaleInputNs = 500ll * 1000000;
    static constexpr size_t kWriteChunk = 64;

    LoggerCore& core_;
    PtyPort pty_;
    PacedOutput output_;
    uint8_t input_[kInputBytes] = {};
    size_t inputLength_ = 0;
    int64_t lastInputNs_ = 0;
    bool blocked_ = false;  // the last write met a full pty
};

}  // namespace velorin::sim
