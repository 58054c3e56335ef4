// Transact: one request over the open serial port, and whatever reply comes back.
//
// Timing: discard the receive queue, write the request, then up to 40 passes of
// { c1 = queued; sleep 150 ms; c2 = queued } that stop when c1 == c2 (the line went quiet) or
// c2 > 200; then read what arrived. A silent logger costs one 150 ms pass; a logger that keeps
// talking costs at most 40 passes (6 s). The content of the reply is never judged here.
//
// Blocks the calling thread; runs on whichever thread performs the action.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velorin {

class CSerialPort;

constexpr int kTransactMaxPasses = 40;
constexpr int kTransactPassMs = 150;
constexpr int kTransactEnoughBytes = 200;

struct TransactResult {
    // Bytes that arrived (what the callers' count tests compare against).
    size_t received = 0;
    // Bytes stored in the reply buffer: min(received, capacity). Bytes beyond the capacity are
    // read and dropped, never written past the buffer.
    size_t stored = 0;
};

TransactResult Transact(CSerialPort& port, const uint8_t* request, size_t requestLength, uint8_t* reply,
                        size_t replyCapacity);

}  // namespace velorin
