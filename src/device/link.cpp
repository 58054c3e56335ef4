#include "device/link.h"

#include <cstring>

namespace velorin {

const wchar_t* const kLoggerManufacturer = L"tavmok";
const wchar_t* const kLoggerProduct = L"4826vomu-pWren";

namespace {
constexpr int kBaud = 115200;
constexpr char kParity = 'N';
constexpr int kDataBits = 8;
constexpr int kStopBits = 1;

bool IsRealHandle(KvusbHandle h) {
    return h != nullptr && h != reinterpret_cast<KvusbHandle>(~static_cast<uintptr_t>(0));
}
}  // namespace

Link::~Link() {
    CloseHidHandle();
    serial.ClosePort();
}

bool OpenLoggerLine(CSerialPort& serial, int port, const std::string& path) {
    if (path.empty()) return serial.OpenPort(port, kBaud, kParity, kDataBits, kStopBits);
    return serial.OpenDevice(path, port, kBaud, kParity, kDataBits, kStopBits);
}

bool Link::OpenSerial(int port, const std::string& path) { return OpenLoggerLine(serial, port, path); }

bool Link::OpenCurrentPort() {
    serial.ClosePort();
    return OpenSerial(currentPort, currentPortPath);
}

KvusbHandle Link::FindLogger() {
    if (!usb.Available()) return nullptr;
    return usb.findDevice(kLoggerManufacturer, kLoggerProduct, 0);
}

bool Link::HidRead(int selector, uint32_t callCode, uint8_t (&report)[KVUSB_REPORT_BYTES]) {
    std::memset(report, 0, sizeof report);
    if (!usb.Available() || hidHandle == nullptr) return false;
    return usb.sendHReadData(hidHandle, selector, report, KVUSB_REPORT_BYTES, callCode) != 0;
}

bool Link::HidWrite(uint32_t callCode, uint8_t (&report)[KVUSB_REPORT_BYTES]) {
    if (!usb.Available() || hidHandle == nullptr) return false;
    return usb.sendHWriteData(hidHandle, KVUSB_SELECTOR_WRITE, report, KVUSB_REPORT_BYTES, callCode) != 0;
}

void Link::CloseHandle(const KvusbApi& api, KvusbHandle handle) {
    if (IsRealHandle(handle) && api.closeDevice != nullptr) api.closeDevice(handle);
}

void Link::CloseHidHandle() {
    CloseHandle(usb, hidHandle);
    hidHandle = nullptr;
}

LinkUse ChooseLink(const Link& link) {
    if (link.currentPort != HID_LINK_PORT) return LinkUse::Serial;
    return link.hidHandle != nullptr ? LinkUse::Hid : LinkUse::None;
}

LinkUse ChooseLinkForHistory(const Link& link) {
    if (link.currentPort != HID_LINK_PORT && link.currentPort != 0) return LinkUse::Serial;
    return link.hidHandle != nullptr ? LinkUse::Hid : LinkUse::None;
}

LinkUse ChooseLinkForLive(const Link& link) { return link.hidHandle != nullptr ? LinkUse::Hid : LinkUse::Serial; }

Link& ProcessLink() {
    static Link link;
    return link;
}

}  // namespace velorin
