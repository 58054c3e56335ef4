// Bytes waiting to go out on the simulated serial line, each with the moment it is due. With
// pacing on, consecutive bytes are 10 bit times apart at 115200 baud (≈ 86.8 µs); pauses asked
// for by the fault plan are added on top. Times are steady-clock nanoseconds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "fault_plan.h"

namespace velorin::sim {

constexpr int64_t kByteTimeNs = 1000000000ll * 10 / 115200;  // one start, 8 data, one stop bit

class PacedOutput {
public:
    // Holds at most `maxBytes` unsent bytes; a reply that does not fit is dropped whole.
    explicit PacedOutput(bool pacing, size_t maxBytes = 1 << 20);

    // Queues the pieces of one reply behind what is already queued. False when dropped.
    bool Push(const std::vector<OutputPiece>& pieces, int64_t nowNs);

    // The bytes due at `nowNs`, at most `maxChunk`, without removing them. Returns the count.
    size_t Due(int64_t nowNs, const uint8_t** bytes, size_t maxChunk) const;
    // Marks `count` bytes returned by Due() as sent.
    void Consume(size_t count);

    bool Empty() const { return segments_.empty(); }
    // When the next byte is due (only meaningful when not empty).
    int64_t NextDueNs() const;
    size_t QueuedBytes() const { return queued_; }

private:
    struct Segment {
        std::vector<uint8_t> bytes;
        size_t sent = 0;
        int64_t startNs = 0;  // when bytes[0] is due
    };
    int64_t EndNs(const Segment& s) const;

    bool pacing_;
    size_t maxBytes_;
    size_t queued_ = 0;
    std::deque<Segment> segments_;
};

}  // namespace velorin::sim
