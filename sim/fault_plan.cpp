#include "fault_plan.h"

#include <utility>

#include "device/frame.h"

namespace velorin::sim {

namespace {
struct KindName {
    FaultKind kind;
    const char* name;
};
constexpr KindName kKindNames[] = {
    {FaultKind::None, "none"},
    {FaultKind::Silence, "silence"},
    {FaultKind::Garbage, "garbage"},
    {FaultKind::BadChecksum, "bad-checksum"},
    {FaultKind::Short, "short"},
    {FaultKind::Long, "long"},
    {FaultKind::Split, "split"},
    {FaultKind::Late, "late"},
    {FaultKind::BlockFail, "block-fail"},
    {FaultKind::DropAfter, "drop-after"},
};
}  // namespace

bool ParseFaultKind(const std::string& name, FaultKind* kind) {
    for (const KindName& k : kKindNames) {
        if (name == k.name) {
            *kind = k.kind;
            return true;
        }
    }
    return false;
}

const char* FaultKindName(FaultKind kind) {
    for (const KindName& k : kKindNames) {
        if (k.kind == kind) return k.name;
    }
    return "none";
}

int64_t DefaultFaultParameter(FaultKind kind) {
    switch (kind) {
        case FaultKind::Short: return 3;
        case FaultKind::Long: return 300;
        case FaultKind::Split: return 400;
        case FaultKind::Late: return 400;
        case FaultKind::BlockFail: return 1;
        case FaultKind::DropAfter: return 2;
        default: return 0;
    }
}

FaultInjector::FaultInjector(const FaultPlan& plan, uint64_t seed)
    : plan_(plan), rng_(seed * 0x9E3779B97F4A7C15ull + 0x5EED) {
    if (plan_.parameter < 0) plan_.parameter = DefaultFaultParameter(plan_.kind);
}

uint64_t FaultInjector::NextRandom() {
    // xorshift64*: a fixed sequence per seed keeps faulty runs reproducible.
    if (rng_ == 0) rng_ = 0x5EED;
    rng_ ^= rng_ >> 12;
    rng_ ^= rng_ << 25;
    rng_ ^= rng_ >> 27;
    return rng_ * 2685821657736338717ull;
}

void FaultInjector::FillGarbage(uint8_t* out, size_t count) {
    for (size_t i = 0; i < count; ++i) out[i] = static_cast<uint8_t>(NextRandom() >> 56);
    if (count > 0 && out[0] == kReplyStart) out[0] = static_cast<uint8_t>(~kReplyStart);
}

bool FaultInjector::Matches(uint8_t command) const {
    if (plan_.kind == FaultKind::None) return false;
    if (plan_.count >= 0 && affected_ >= plan_.count) return false;
    // The history faults act on block requests whatever the filter says.
    if (plan_.kind == FaultKind::BlockFail || plan_.kind == FaultKind::DropAfter) {
        return command == cmd::BlockRead;
    }
    return plan_.command < 0 || plan_.command == command;
}

FaultAction FaultInjector::Decide(uint8_t command, uint32_t block) {
    FaultAction action;
    if (dropped_) {
        action.kind = FaultKind::Silence;
        return action;
    }
    if (!Matches(command)) return action;
    if (skipped_ < plan_.skip) {
        ++skipped_;
        return action;
    }
    switch (plan_.kind) {
        case FaultKind::BlockFail: {
            int64_t& fails = blockFails_[block];
            if (fails < plan_.parameter) {
                ++fails;
                ++affected_;
                action.kind = FaultKind::Silence;
            }
            return action;
        }
        case FaultKind::DropAfter:
            // This reply still goes out; everything after the last allowed one is lost.
            if (++blockReplies_ >= plan_.parameter) {
                dropped_ = true;
                ++affected_;
            }
            if (blockReplies_ > plan_.parameter) action.kind = FaultKind::Silence;
            return action;
        default:
            ++affected_;
            action.kind = plan_.kind;
            action.parameter = plan_.parameter;
            return action;
    }
}

std::vector<OutputPiece> FaultInjector::ShapeSerial(const FaultAction& action, std::vector<uint8_t> reply) {
    std::vector<OutputPiece> pieces;
    if (reply.empty()) return pieces;
    switch (action.kind) {
        case FaultKind::Silence: return pieces;
        case FaultKind::Garbage: FillGarbage(reply.data(), reply.size()); break;
        case FaultKind::BadChecksum:
            if (reply.size() >= 2) reply[reply.size() - 2] = static_cast<uint8_t>(reply[reply.size() - 2] + 1);
            break;
        case FaultKind::Short: {
            const size_t cut = static_cast<size_t>(action.parameter);
            reply.resize(cut < reply.size() ? reply.size() - cut : 1);
            break;
        }
        case FaultKind::Long: {
            const size_t old = reply.size();
            const size_t extra = static_cast<size_t>(action.parameter > 65536 ? 65536 : action.parameter);
            reply.resize(old + extra);
            FillGarbage(reply.data() + old, extra);
            break;
        }
        case FaultKind::Split: {
            const size_t half = reply.size() / 2 > 0 ? reply.size() / 2 : 1;
            OutputPiece first;
            first.bytes.assign(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(half));
            pieces.push_back(std::move(first));
            if (half < reply.size()) {
                OutputPiece rest;
                rest.bytes.assign(reply.begin() + static_cast<std::ptrdiff_t>(half), reply.end());
                rest.delayMs = action.parameter;
                pieces.push_back(std::move(rest));
            }
            return pieces;
        }
        case FaultKind::Late: {
            OutputPiece late;
            late.bytes = std::move(reply);
            late.delayMs = action.parameter;
            pieces.push_back(std::move(late));
            return pieces;
        }
        default: break;
    }
    OutputPiece piece;
    piece.bytes = std::move(reply);
    pieces.push_back(std::move(piece));
    return pieces;
}

}  // namespace velorin::sim
