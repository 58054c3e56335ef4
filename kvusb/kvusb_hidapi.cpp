// libkvusb on hidapi's hidraw backend. Each handle owns one hid_device; a per-handle mutex keeps
// a request and its input report together when a handle is shared between threads.
#include <hidapi/hidapi.h>
#include <time.h>

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <mutex>

#pragma GCC visibility push(default)
#include "kvusb.h"
#pragma GCC visibility pop

#include "output_report.h"

namespace {

struct Device {
    hid_device* hid = nullptr;
    std::mutex mutex;
};

// hidapi keeps global state from hid_init() on; it is released when the library is unloaded
// (the program may dlclose it) or the process ends.
struct HidapiSession {
    HidapiSession() : ok(hid_init() == 0) {}
    ~HidapiSession() {
        if (ok) hid_exit();
    }
    bool ok;
};

bool InitHidapi() {
    static HidapiSession session;  // thread-safe one-time initialisation
    return session.ok;
}

int64_t MonotonicMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

bool SameText(const wchar_t* a, const wchar_t* b) { return a != nullptr && b != nullptr && std::wcscmp(a, b) == 0; }

// Sends the output report; true when all of it went out.
bool Send(Device& d, int selector, const unsigned char* report, int length, unsigned int callCode) {
    uint8_t out[KVUSB_OUTPUT_REPORT_BYTES];
    kvusb::BuildOutputReport(static_cast<uint8_t>(selector), callCode, report, length, out);
    return hid_write(d.hid, out, sizeof out) == static_cast<int>(sizeof out);
}

}  // namespace

extern "C" {

KvusbHandle FindDevice(const wchar_t* manufacturer, const wchar_t* product, int /*flags*/) {
    if (manufacturer == nullptr || product == nullptr || !InitHidapi()) return nullptr;
    hid_device_info* list = hid_enumerate(0, 0);
    hid_device* opened = nullptr;
    for (hid_device_info* info = list; info != nullptr && opened == nullptr; info = info->next) {
        if (SameText(info->manufacturer_string, manufacturer) && SameText(info->product_string, product) &&
            info->path != nullptr) {
            opened = hid_open_path(info->path);
        }
    }
    hid_free_enumeration(list);
    if (opened == nullptr) return nullptr;
    Device* d = new Device;
    d->hid = opened;
    return d;
}

int SendHWriteData(KvusbHandle h, int selector, unsigned char* report, int length, unsigned int callCode) {
    if (h == nullptr || !kvusb::ValidTransfer(report, length) || selector < 0 || selector > 0xFF) return 0;
    Device& d = *static_cast<Device*>(h);
    std::lock_guard<std::mutex> lock(d.mutex);
    return Send(d, selector, report, length, callCode) ? 1 : 0;
}

int SendHReadData(KvusbHandle h, int selector, unsigned char* report, int length, unsigned int callCode) {
    if (h == nullptr || !kvusb::ValidTransfer(report, length) || selector < 0 || selector > 0xFF) return 0;
    Device& d = *static_cast<Device*>(h);
    std::lock_guard<std::mutex> lock(d.mutex);

    // Input reports left over from an earlier call that gave up must not answer this one.
    uint8_t in[1 + KVUSB_REPORT_BYTES];
    for (int i = 0; i < 64 && hid_read_timeout(d.hid, in, sizeof in, 0) > 0; ++i) {
    }
    if (!Send(d, selector, nullptr, 0, callCode)) return 0;

    const int64_t deadline = MonotonicMs() + KVUSB_READ_TIMEOUT_MS;
    for (;;) {
        const int64_t left = deadline - MonotonicMs();
        if (left <= 0) return 0;
        const int n = hid_read_timeout(d.hid, in, sizeof in, static_cast<int>(left));
        if (n < 0) return 0;
        if (n == 0) continue;  // timed out this round; the deadline check ends the wait
        if (in[0] != static_cast<uint8_t>(selector)) continue;  // another report, not ours
        const int payload = n - 1;
        const int copy = length < payload ? length : payload;
        std::memset(report, 0, static_cast<size_t>(length));
        std::memcpy(report, in + 1, static_cast<size_t>(copy));
        return 1;
    }
}

void CloseDevice(KvusbHandle h) {
    if (!kvusb::IsClosableHandle(h)) return;
    Device* d = static_cast<Device*>(h);
    hid_close(d->hid);
    delete d;
}

}  // extern "C"
