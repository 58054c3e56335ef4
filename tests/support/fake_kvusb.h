// FakeUsb: stand-in entry points of the USB access library for the device tests.
//
// Installing a FakeUsb fills a KvusbApi with plain functions that answer from a script and record
// every call. Reads that were not scripted fail (return 0). One FakeUsb is active at a time.
//
//   Link link;
//   test::FakeUsb usb(link.usb);
//   link.hidHandle = test::FakeUsb::Handle();
//   usb.Answer(KVUSB_SELECTOR_READ, HidCallCode(cmd::IdentityQuery), test::Report(payload));
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "device/kvusb_loader.h"

namespace velorin::test {

struct FakeUsbCall {
    enum Kind { Find, Read, Write } kind = Find;
    int selector = 0;
    uint32_t callCode = 0;
    int length = 0;
    bool reportWasClear = false;         // reads: the buffer was all zero on entry
    std::vector<uint8_t> report;         // writes: what was handed over
    std::wstring manufacturer, product;  // finds
    int flags = 0;
};

class FakeUsb {
public:
    explicit FakeUsb(KvusbApi& api);
    ~FakeUsb();
    FakeUsb(const FakeUsb&) = delete;
    FakeUsb& operator=(const FakeUsb&) = delete;

    static KvusbHandle Handle();

    // A read with this selector and call code succeeds and fills the report with `report`.
    void Answer(int selector, uint32_t callCode, const std::vector<uint8_t>& report);
    const std::vector<FakeUsbCall>& Calls() const { return calls_; }
    // What writes return (nonzero: the device accepted the report): per command (the call
    // code's command byte) where given, otherwise `writeResult`.
    int writeResult = 1;
    std::map<uint8_t, int> writeResultFor;

private:
    friend struct FakeUsbEntry;
    std::map<std::pair<int, uint32_t>, std::vector<uint8_t>> answers_;
    std::vector<FakeUsbCall> calls_;
};

// A read report: byte 0 the payload length, then the payload (at most 63 bytes kept).
std::vector<uint8_t> Report(const std::vector<uint8_t>& payload);

}  // namespace velorin::test
