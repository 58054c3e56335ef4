#include "paced_output.h"

#include <algorithm>

namespace velorin::sim {

PacedOutput::PacedOutput(bool pacing, size_t maxBytes) : pacing_(pacing), maxBytes_(maxBytes) {}

int64_t PacedOutput::EndNs(const Segment& s) const {
    return s.startNs + (pacing_ ? static_cast<int64_t>(s.bytes.size()) * kByteTimeNs : 0);
}

bool PacedOutput::Push(const std::vector<OutputPiece>& pieces, int64_t nowNs) {
    size_t total = 0;
    for (const OutputPiece& p : pieces) total += p.bytes.size();
    if (total == 0) return true;
    if (queued_ + total > maxBytes_) return false;
    int64_t previousEnd = segments_.empty() ? nowNs : std::max(nowNs, EndNs(segments_.back()));
    for (const OutputPiece& p : pieces) {
        Segment s;
        s.bytes = p.bytes;
        s.startNs = previousEnd + p.delayMs * 1000000ll;
        previousEnd = EndNs(s);
        if (s.bytes.empty()) continue;
        segments_.push_back(std::move(s));
    }
    queued_ += total;
    return true;
}

size_t PacedOutput::Due(int64_t nowNs, const uint8_t** bytes, size_t maxChunk) const {
    if (segments_.empty()) return 0;
    const Segment& s = segments_.front();
    if (nowNs < s.startNs + static_cast<int64_t>(s.sent) * (pacing_ ? kByteTimeNs : 0)) return 0;
    size_t due = s.bytes.size();
    if (pacing_) {
        const int64_t elapsed = nowNs - s.startNs;
        due = std::min(due, static_cast<size_t>(elapsed / kByteTimeNs) + 1);
    }
    const size_t count = std::min(due - s.sent, maxChunk);
    *bytes = s.bytes.data() + s.sent;
    return count;
}

void PacedOutput::Consume(size_t count) {
    while (count > 0 && !segments_.empty()) {
        Segment& s = segments_.front();
        const size_t take = std::min(count, s.bytes.size() - s.sent);
        s.sent += take;
        queued_ -= take;
        count -= take;
        if (s.sent == s.bytes.size()) segments_.pop_front();
    }
}

int64_t PacedOutput::NextDueNs() const {
    if (segments_.empty()) return 0;
    const Segment& s = segments_.front();
    return s.startNs + static_cast<int64_t>(s.sent) * (pacing_ ? kByteTimeNs : 0);
}

}  // namespace velorin::sim
