// The link to the logger: which port is in use, the USB handle, the address byte and the one
// serial port object.
//
// The program has one Link for the whole process (ProcessLink()); tests make their own. A Link
// is not locked: only one action talks to the logger at a time (the command-enable flags grey
// out everything else while an exchange runs).
#pragma once

#include <cstdint>
#include <string>

#include "device/kvusb_loader.h"
#include "device/serial_port.h"

namespace velorin {

// currentPort value meaning "the USB HID link".
constexpr int HID_LINK_PORT = 255;

// The HID strings the logger identifies itself with.
extern const wchar_t* const kLoggerManufacturer;  // L"tavmok"
extern const wchar_t* const kLoggerProduct;       // L"4826vomu-pWren"

class Link {
public:
    int currentPort = 0;              // 0 before any connection; HID_LINK_PORT over USB
    KvusbHandle hidHandle = nullptr;  // from FindDevice; null when no USB logger is attached
    uint8_t deviceAddress = 0;        // byte 1 of every request; always 0 in practice
    CSerialPort serial;
    KvusbApi usb;  // empty when the USB library is unavailable
    // Device path that stands for currentPort when the user named a device instead of a number
    // (the CLI's --port PATH); empty means: resolve currentPort through the port numbering.
    std::string currentPortPath;

    Link() = default;
    ~Link();
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    // Closes the serial port if open, then opens currentPort at 115200 baud, 'N', 8, 1.
    bool OpenCurrentPort();
    // Opens port `port` (or `path` when not empty) with the standard line settings.
    bool OpenSerial(int port, const std::string& path = std::string());

    // USB library calls. Each returns false (and calls nothing) when the library is missing or
    // there is no handle. HidRead clears the 64-byte report before the call.
    KvusbHandle FindLogger();
    bool HidRead(int selector, uint32_t callCode, uint8_t (&report)[KVUSB_REPORT_BYTES]);
    bool HidWrite(uint32_t callCode, uint8_t (&report)[KVUSB_REPORT_BYTES]);
    // Closes hidHandle (when neither null nor all-ones) and forgets it.
    void CloseHidHandle();
    static void CloseHandle(const KvusbApi& api, KvusbHandle handle);
};

// Opens `serial` on port `port` (or on `path` when not empty) with the logger's line settings:
// 115200 baud, 'N', 8, 1.
bool OpenLoggerLine(CSerialPort& serial, int port, const std::string& path);

// Which way a request goes.
enum class LinkUse {
    Serial,  // open currentPort and Transact
    Hid,     // the USB library with hidHandle
    None,    // the USB link is chosen but no device is attached: nothing can be sent
};

// The rule for most senders (Stop, configuration): the USB link when currentPort is
// HID_LINK_PORT, which needs a handle; the serial port otherwise.
LinkUse ChooseLink(const Link& link);
// The history download also takes the USB link before any connection (currentPort 0).
LinkUse ChooseLinkForHistory(const Link& link);
// The live view takes the USB link whenever a handle exists, whatever currentPort says.
LinkUse ChooseLinkForLive(const Link& link);

Link& ProcessLink();

}  // namespace velorin
