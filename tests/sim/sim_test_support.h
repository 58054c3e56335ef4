// Helpers of the simulator tests: requests built byte by byte from the protocol's layouts, reply
// checks and the documented record decoding, written independently of the code under test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace simtest {

using Bytes = std::vector<uint8_t>;

// '<' addr cmd N(2, big-endian) data… sum '>' with N = data length + 2.
Bytes Request(uint8_t command, const Bytes& data = {}, uint8_t address = 0);

// Full validation: '(' first, ')' at N + 4, checksum at N + 3, length exactly N + 5.
bool IsFullReply(const Bytes& reply);

int16_t S16(const uint8_t* p);
uint32_t U32(const uint8_t* p);

struct TimeFields {
    int year, month, day, hour, minute, second;
};
TimeFields Fields(const uint8_t* p);  // the six protocol time bytes

// One decoded record: time bytes and per channel the value, NaN-free; `missing` marks the
// missing-value codings.
struct DecodedRecord {
    uint8_t time[6];
    double value[8];
    bool missing[8];
};
// Decodes a BlockRead reply the way the program does: records from byte 7 while the record's
// starting offset is less than L (bytes 3–4); channel widths from the ChannelType low nibble,
// disabled channels take no bytes. Channels: enabled flags and types.
std::vector<DecodedRecord> DecodeBlock(const Bytes& reply, const bool enabled[8], const uint8_t types[8]);

// A temporary folder removed with its files at destruction.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Host civil time used by the pure tests: 2026-03-07 08:05:00.
int64_t FixedNow();

}  // namespace simtest
