// The 69-byte numbered output report both USB libraries send for every call:
// [0] selector (report ID), [1..4] call code (most significant byte first), [5..68] the report.
#pragma once

#include <cstdint>
#include <cstring>

#include "kvusb.h"

namespace kvusb {

// True when the caller's arguments can be used: a buffer and 1..64 bytes.
inline bool ValidTransfer(const unsigned char* report, int length) {
    return report != nullptr && length > 0 && length <= KVUSB_REPORT_BYTES;
}

// `report` may be null (reads carry zeros); at most `length` bytes of it are copied.
inline void BuildOutputReport(uint8_t selector, uint32_t callCode, const unsigned char* report, int length,
                              uint8_t out[KVUSB_OUTPUT_REPORT_BYTES]) {
    std::memset(out, 0, KVUSB_OUTPUT_REPORT_BYTES);
    out[0] = selector;
    out[1] = static_cast<uint8_t>(callCode >> 24);
    out[2] = static_cast<uint8_t>(callCode >> 16);
    out[3] = static_cast<uint8_t>(callCode >> 8);
    out[4] = static_cast<uint8_t>(callCode);
    if (report != nullptr && length > 0) {
        std::memcpy(out + 5, report, static_cast<size_t>(length > KVUSB_REPORT_BYTES ? KVUSB_REPORT_BYTES : length));
    }
}

inline bool IsClosableHandle(KvusbHandle h) {
    return h != nullptr && h != reinterpret_cast<KvusbHandle>(~static_cast<uintptr_t>(0));
}

}  // namespace kvusb
