#include "sim_test_support.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "civil_time.h"

namespace simtest {

Bytes Request(uint8_t command, const Bytes& data, uint8_t address) {
    const size_t n = data.size() + 2;
    Bytes r(n + 5);
    r[0] = 0x3C;
    r[1] = address;
    r[2] = command;
    r[3] = static_cast<uint8_t>(n >> 8);
    r[4] = static_cast<uint8_t>(n);
    for (size_t i = 0; i < data.size(); ++i) r[5 + i] = data[i];
    unsigned sum = 0;
    for (size_t i = 0; i < n + 3; ++i) sum += r[i];
    r[n + 3] = static_cast<uint8_t>(sum);
    r[n + 4] = 0x3E;
    return r;
}

bool IsFullReply(const Bytes& reply) {
    if (reply.size() < 7 || reply[0] != 0x28) return false;
    const size_t n = (static_cast<size_t>(reply[3]) << 8) | reply[4];
    if (n + 5 != reply.size()) return false;
    unsigned sum = 0;
    for (size_t i = 0; i < n + 3; ++i) sum += reply[i];
    return reply[n + 3] == static_cast<uint8_t>(sum) && reply[n + 4] == 0x29;
}

int16_t S16(const uint8_t* p) { return static_cast<int16_t>((p[0] << 8) | p[1]); }

uint32_t U32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

TimeFields Fields(const uint8_t* p) { return {2000 + p[0], p[1], p[2], p[3], p[4], p[5]}; }

std::vector<DecodedRecord> DecodeBlock(const Bytes& reply, const bool enabled[8], const uint8_t types[8]) {
    std::vector<DecodedRecord> records;
    if (reply.size() < 7) return records;
    const size_t length = (static_cast<size_t>(reply[3]) << 8) | reply[4];
    size_t at = 7;
    while (at < length) {
        DecodedRecord r{};
        std::memcpy(r.time, reply.data() + at, 6);
        size_t p = at + 6;
        for (int c = 0; c < 8; ++c) {
            if (!enabled[c]) continue;
            const size_t width = types[c] & 0x0F;
            if (p + width > reply.size()) return records;  // a test failure shows as a short list
            const uint8_t* s = reply.data() + p;
            if (width == 2) {
                r.missing[c] = s[0] == 0x80 && s[1] == 0x01;
                r.value[c] = S16(s) / ((types[c] >> 4) == 2 ? 100.0 : 10.0);
            } else if (width == 4) {
                r.missing[c] = s[0] == 0xFF && s[1] == 0xFF && s[2] == 0xFF && s[3] == 0xFF;
                const uint32_t bits = static_cast<uint32_t>(s[0]) | (static_cast<uint32_t>(s[1]) << 8) |
                                      (static_cast<uint32_t>(s[2]) << 16) | (static_cast<uint32_t>(s[3]) << 24);
                float f = 0;
                std::memcpy(&f, &bits, 4);
                r.value[c] = f;
            }
            p += width;
        }
        records.push_back(r);
        at = p;
    }
    return records;
}

TempFolder::TempFolder() {
    char pattern[] = "/tmp/velorin-sim-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    path_ = made != nullptr ? made : "/tmp";
}

TempFolder::~TempFolder() {
    DIR* dir = opendir(path_.c_str());
    if (dir != nullptr) {
        while (dirent* e = readdir(dir)) {
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) {
                unlink((path_ + "/" + e->d_name).c_str());
            }
        }
        closedir(dir);
    }
    rmdir(path_.c_str());
}

int64_t FixedNow() {
    velorin::sim::CivilTime t;
    t.year = 2026;
    t.month = 3;
    t.day = 7;
    t.hour = 8;
    t.minute = 5;
    t.second = 0;
    return velorin::sim::CivilToSeconds(t);
}

}  // namespace simtest
