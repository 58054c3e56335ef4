// Misbehaviour on request, so that every retry and failure path of the program can be driven.
// The injector decides per answered request; the server carries the decision out on its link.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace velorin::sim {

enum class FaultKind {
    None,
    Silence,      // no reply; a USB read fails
    Garbage,      // random bytes instead of the reply (first byte never '(')
    BadChecksum,  // the reply's checksum byte is wrong
    Short,        // the reply lacks its last `parameter` bytes (default 3)
    Long,         // the reply is followed by `parameter` extra bytes (default 300)
    Split,        // first half, a pause of `parameter` ms (default 400), the rest
    Late,         // the first byte only after `parameter` ms (default 400)
    BlockFail,    // each history block fails `parameter` times (default 1) before it is answered
    DropAfter,    // after `parameter` block replies (default 2) the logger falls silent on both links
};

struct FaultPlan {
    FaultKind kind = FaultKind::None;
    int command = -1;        // only requests with this command code; −1 = any
    int64_t count = -1;      // only the first `count` matching requests; −1 = all
    int64_t skip = 0;        // the first `skip` matching requests are answered normally
    int64_t parameter = -1;  // −1 = the kind's default
};

// Command-line names: silence, garbage, bad-checksum, short, long, split, late, block-fail,
// drop-after (and none).
bool ParseFaultKind(const std::string& name, FaultKind* kind);
const char* FaultKindName(FaultKind kind);
int64_t DefaultFaultParameter(FaultKind kind);

// What to do with one answered request.
struct FaultAction {
    FaultKind kind = FaultKind::None;  // None: answer normally
    int64_t parameter = 0;
};

// Reply bytes to put on the serial line, each piece after a pause (ms) counted from the end of
// the piece before it.
struct OutputPiece {
    std::vector<uint8_t> bytes;
    int64_t delayMs = 0;
};

class FaultInjector {
public:
    FaultInjector() = default;
    FaultInjector(const FaultPlan& plan, uint64_t seed);

    // True once a drop-after fault has fired: every request on every link goes unanswered.
    bool Dropped() const { return dropped_; }

    // Decides for a request the logger answered. `block` is the block number of a history block
    // request (0 otherwise).
    FaultAction Decide(uint8_t command, uint32_t block);

    // Applies a decision to a serial reply.
    std::vector<OutputPiece> ShapeSerial(const FaultAction& action, std::vector<uint8_t> reply);

    // Random bytes (deterministic from the seed) for garbage replies.
    void FillGarbage(uint8_t* out, size_t count);

private:
    bool Matches(uint8_t command) const;
    uint64_t NextRandom();

    FaultPlan plan_;
    uint64_t rng_ = 0x5EED;
    int64_t affected_ = 0;                              // requests the fault changed so far
    int64_t skipped_ = 0;                               // matching requests let through so far
    int64_t blockReplies_ = 0;                          // for drop-after
    std::unordered_map<uint32_t, int64_t> blockFails_;  // block number → failures so far
    bool dropped_ = false;
};

}  // namespace velorin::sim
