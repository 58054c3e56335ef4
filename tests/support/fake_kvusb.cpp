#include "support/fake_kvusb.h"

#include <algorithm>
#include <cstring>

namespace velorin::test {

namespace {
FakeUsb* active = nullptr;
int handleTarget = 0;
}  // namespace

struct FakeUsbEntry {
    static KvusbHandle Find(const wchar_t* manufacturer, const wchar_t* product, int flags) {
        FakeUsbCall call;
        call.kind = FakeUsbCall::Find;
        call.manufacturer = manufacturer != nullptr ? manufacturer : L"";
        call.product = product != nullptr ? product : L"";
        call.flags = flags;
        active->calls_.push_back(call);
        return FakeUsb::Handle();
    }
    static FakeUsbCall Transfer(FakeUsbCall::Kind kind, int selector, int length, unsigned int code) {
        FakeUsbCall call;
        call.kind = kind;
        call.selector = selector;
        call.callCode = code;
        call.length = length;
        return call;
    }
    static int Write(KvusbHandle, int selector, unsigned char* report, int length, unsigned int code) {
        FakeUsbCall call = Transfer(FakeUsbCall::Write, selector, length, code);
        call.report.assign(report, report + length);
        active->calls_.push_back(call);
        const auto given = active->writeResultFor.find(static_cast<uint8_t>((code >> 16) & 0xFF));
        return given != active->writeResultFor.end() ? given->second : active->writeResult;
    }
    static int Read(KvusbHandle, int selector, unsigned char* report, int length, unsigned int code) {
        FakeUsbCall call = Transfer(FakeUsbCall::Read, selector, length, code);
        call.reportWasClear = std::all_of(report, report + length, [](unsigned char b) { return b == 0; });
        active->calls_.push_back(call);
        const auto it = active->answers_.find({selector, code});
        if (it == active->answers_.end()) return 0;
        std::memcpy(report, it->second.data(), std::min<size_t>(it->second.size(), static_cast<size_t>(length)));
        return 1;
    }
};

FakeUsb::FakeUsb(KvusbApi& api) {
    active = this;
    api.findDevice = &FakeUsbEntry::Find;
    api.sendHWriteData = &FakeUsbEntry::Write;
    api.sendHReadData = &FakeUsbEntry::Read;
    api.closeDevice = nullptr;
}

FakeUsb::~FakeUsb() {
    if (active == this) active = nullptr;
}

KvusbHandle FakeUsb::Handle() { return &handleTarget; }

void FakeUsb::Answer(int selector, uint32_t callCode, const std::vector<uint8_t>& report) {
    std::vector<uint8_t> full(KVUSB_REPORT_BYTES, 0);
    std::copy_n(report.begin(), std::min<size_t>(report.size(), full.size()), full.begin());
    answers_[{selector, callCode}] = full;
}

std::vector<uint8_t> Report(const std::vector<uint8_t>& payload) {
    const size_t n = std::min<size_t>(payload.size(), KVUSB_REPORT_BYTES - 1);
    std::vector<uint8_t> report(1 + n);
    report[0] = static_cast<uint8_t>(n);
    std::copy_n(payload.begin(), n, report.begin() + 1);
    return report;
}

}  // namespace velorin::test
