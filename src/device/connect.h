// Connect: find the logger on the USB link or by walking the serial ports, and read what it
// knows into DeviceInfo. Runs on the caller's thread and blocks it (up to several seconds per
// port); the GUI runs it on its own thread of control, the CLI directly.
#pragma once

#include <string>
#include <vector>

namespace velorin {

enum class Language;
class Link;
class UserMessages;
struct DeviceInfo;

// One entry of the port list: a port number, and optionally the device that stands for it
// (empty: resolve the number through the port numbering).
struct PortEntry {
    int number = 0;
    std::string path;
};

std::vector<PortEntry> PortEntries(const std::vector<int>& numbers);

enum class ConnectOutcome {
    UsbLink,                // connected over the USB link
    SerialLink,             // connected over a serial port, identity and channels read
    SerialWithoutIdentity,  // a port answered the information request but not the identity
    NotFound,               // no port answered
};

struct ConnectResult {
    ConnectOutcome outcome = ConnectOutcome::NotFound;
    // The panel must be rebuilt from DeviceInfo (the GUI does it on a worker thread).
    bool refillPanel = false;
    int port = 0;  // the port that answered (HID_LINK_PORT over USB)
    // The information block was read and decoded. The USB link counts as connected even when
    // it was not (the program enables its commands either way); a caller that reports what the
    // logger said must check this.
    bool infoRead = false;
    // USB: the information block came in a report that fits no known layout.
    bool usbReplyUnrecognised = false;

    // A logger answered: the device commands may be enabled (Connect itself always may).
    bool LoggerFound() const { return outcome != ConnectOutcome::NotFound; }
};

struct ConnectState {
    bool usbConnected = false;     // detection found the logger on the USB link
    std::string selectedPortText;  // digits of the pinned port; empty = walk the whole list
};

// `portList` is built by the caller at the start of the command (SerialPortList()). Status
// texts and the timeout message go through `messages` in the given interface language. What
// the caller may enable afterwards follows from the result (LoggerFound()).
ConnectResult Connect(Link& link, DeviceInfo& info, ConnectState& state, const std::vector<PortEntry>& portList,
                      Language language, UserMessages& messages);

}  // namespace velorin
