// libkvusb-sim: the four functions of libkvusb over the Unix socket of velorin-logger-sim.
// One connection per handle. A call sends one 69-byte request and takes exactly one 65-byte
// response; both directions give up after KVUSB_SIM_TIMEOUT_MS, so a silent or dead simulator
// makes the call fail instead of hanging. A connection whose response went missing may still
// deliver it later and so can no longer be trusted: it is dropped, and the next call on the
// handle reconnects and identifies the device again (a replugged device, in effect).
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <mutex>
#include <string>

#pragma GCC visibility push(default)
#include "kvusb.h"
#pragma GCC visibility pop

#include "device/port_folder.h"
#include "kvusb_sim_wire.h"
#include "output_report.h"

namespace {

struct SimHandle {
    int fd = -1;
    std::string manufacturer;  // UTF-8, as FindDevice was asked
    std::string product;
    std::mutex mutex;  // one request/response pair at a time per connection
};

// UTF-8 of a wide string (UTF-32 on Linux); false for text that cannot be encoded or does not
// fit a device string field.
bool ToUtf8(const wchar_t* text, std::string* out) {
    out->clear();
    for (const wchar_t* p = text; *p != L'\0'; ++p) {
        const uint32_t c = static_cast<uint32_t>(*p);
        if (c < 0x80) {
            out->push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out->push_back(static_cast<char>(0xC0 | (c >> 6)));
            out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            if (c >= 0xD800 && c <= 0xDFFF) return false;
            out->push_back(static_cast<char>(0xE0 | (c >> 12)));
            out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c <= 0x10FFFF) {
            out->push_back(static_cast<char>(0xF0 | (c >> 18)));
            out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            return false;
        }
        if (out->size() > KVUSB_SIM_STRING_BYTES) return false;
    }
    return true;
}

// The NUL-padded string field of an identify response, bounded by its width.
std::string Field(const uint8_t* field) {
    size_t n = 0;
    while (n < KVUSB_SIM_STRING_BYTES && field[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(field), n);
}

bool SendAll(int fd, const uint8_t* bytes, size_t count) {
    while (count > 0) {
        const ssize_t n = send(fd, bytes, count, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;  // includes the send timeout (EAGAIN)
        bytes += n;
        count -= static_cast<size_t>(n);
    }
    return true;
}

bool ReceiveAll(int fd, uint8_t* bytes, size_t count) {
    while (count > 0) {
        const ssize_t n = recv(fd, bytes, count, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;  // closed, or the receive timeout ran out
        bytes += n;
        count -= static_cast<size_t>(n);
    }
    return true;
}

// One request/response exchange; false when the transport failed.
bool Exchange(int fd, const uint8_t request[KVUSB_OUTPUT_REPORT_BYTES], uint8_t response[KVUSB_SIM_RESPONSE_BYTES]) {
    return SendAll(fd, request, KVUSB_OUTPUT_REPORT_BYTES) && ReceiveAll(fd, response, KVUSB_SIM_RESPONSE_BYTES);
}

// Connects and identifies; returns the socket, or −1 when there is no simulator, the device is
// unplugged or its strings differ.
int Connect(const std::string& manufacturer, const std::string& product) {
    const std::string path = velorin::KvusbSimSocketPath();
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path) return -1;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);

    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    timeval tv{};
    tv.tv_sec = KVUSB_SIM_TIMEOUT_MS / 1000;
    tv.tv_usec = (KVUSB_SIM_TIMEOUT_MS % 1000) * 1000;
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return -1;
    }
    uint8_t request[KVUSB_OUTPUT_REPORT_BYTES];
    kvusb::BuildOutputReport(KVUSB_SIM_SELECTOR_IDENTIFY, 0, nullptr, 0, request);
    uint8_t response[KVUSB_SIM_RESPONSE_BYTES];
    const bool ok = Exchange(fd, request, response) && response[0] == 1 && Field(response + 1) == manufacturer &&
                    Field(response + 1 + KVUSB_SIM_STRING_BYTES) == product;
    if (!ok) {
        close(fd);
        return -1;
    }
    return fd;
}

// Runs one call on a handle: reconnects when needed, drops the connection on transport failure.
// Returns the response status; fills `response` on success.
bool Call(SimHandle& h, const uint8_t request[KVUSB_OUTPUT_REPORT_BYTES], uint8_t response[KVUSB_SIM_RESPONSE_BYTES]) {
    std::lock_guard<std::mutex> lock(h.mutex);
    if (h.fd < 0) h.fd = Connect(h.manufacturer, h.product);
    if (h.fd < 0) return false;
    if (!Exchange(h.fd, request, response)) {
        close(h.fd);
        h.fd = -1;
        return false;
    }
    return response[0] == 1;
}

bool SelectorByte(int selector) { return selector >= 0 && selector <= 0xFF; }

}  // namespace

extern "C" {

KvusbHandle FindDevice(const wchar_t* manufacturer, const wchar_t* product, int /*flags*/) {
    if (manufacturer == nullptr || product == nullptr) return nullptr;
    SimHandle* h = new SimHandle;
    if (!ToUtf8(manufacturer, &h->manufacturer) || !ToUtf8(product, &h->product)) {
        delete h;
        return nullptr;
    }
    h->fd = Connect(h->manufacturer, h->product);
    if (h->fd < 0) {
        delete h;
        return nullptr;
    }
    return h;
}

int SendHWriteData(KvusbHandle handle, int selector, unsigned char* report, int length, unsigned int callCode) {
    if (handle == nullptr || !kvusb::ValidTransfer(report, length) || !SelectorByte(selector)) return 0;
    uint8_t request[KVUSB_OUTPUT_REPORT_BYTES];
    kvusb::BuildOutputReport(static_cast<uint8_t>(selector), callCode, report, length, request);
    uint8_t response[KVUSB_SIM_RESPONSE_BYTES];
    return Call(*static_cast<SimHandle*>(handle), request, response) ? 1 : 0;
}

int SendHReadData(KvusbHandle handle, int selector, unsigned char* report, int length, unsigned int callCode) {
    if (handle == nullptr || !kvusb::ValidTransfer(report, length) || !SelectorByte(selector)) return 0;
    uint8_t request[KVUSB_OUTPUT_REPORT_BYTES];
    kvusb::BuildOutputReport(static_cast<uint8_t>(selector), callCode, nullptr, 0, request);
    uint8_t response[KVUSB_SIM_RESPONSE_BYTES];
    if (!Call(*static_cast<SimHandle*>(handle), request, response)) return 0;
    std::memcpy(report, response + 1, static_cast<size_t>(length));
    return 1;
}

void CloseDevice(KvusbHandle handle) {
    if (!kvusb::IsClosableHandle(handle)) return;
    SimHandle* h = static_cast<SimHandle*>(handle);
    if (h->fd >= 0) close(h->fd);
    delete h;
}

}  // extern "C"
