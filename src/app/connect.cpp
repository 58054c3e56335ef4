#include "app/connect.h"

#include <cstdlib>

#include "common/format.h"
#include "common/texts.h"
#include "common/user_messages.h"
#include "device/device_info.h"
#include "device/device_reader.h"
#include "device/link.h"
#include "device/port_permission.h"
#include "device/serial_port.h"

namespace velorin {

namespace {

int PinnedPort(const std::string& selectedPortText) {
    int port = 0;
    for (char c : selectedPortText) {
        if (c < '0' || c > '9') break;
        port = port * 10 + (c - '0');
        if (port > 100000) break;
    }
    return port;
}

// Without the whole information block the identity and channels are not read.
bool ConnectOverUsb(Link& link, DeviceInfo& info, const Texts& texts) {
    if (ReadInfoHid(link, info, texts) != HidInfoStatus::Decoded) return false;
    if (ReadIdentityHid(link, info)) ReadChannelsHid(link, info);
    ReadSecondaryInfoHid(link, info);
    return true;
}

}  // namespace

std::vector<PortEntry> PortEntries(const std::vector<int>& numbers) {
    std::vector<PortEntry> entries;
    for (int n : numbers) entries.push_back(PortEntry{n, std::string()});
    return entries;
}

ConnectResult Connect(Link& link, DeviceInfo& info, ConnectState& state,
                      const std::vector<PortEntry>& portList, const std::string& languageName,
                      UserMessages& messages) {
    const Texts& texts = TextsFor(languageName);
    ConnectResult result;
    messages.Status(texts.connecting);

    // A fresh handle replaces the old one, which is closed rather than leaked.
    KvusbHandle found = link.FindLogger();
    if (link.hidHandle != nullptr && link.hidHandle != found) link.CloseHidHandle();
    link.hidHandle = found;

    if (state.usbConnected && link.hidHandle != nullptr) {
        messages.Status(texts.hidLinkFound);
        result.infoRead = ConnectOverUsb(link, info, texts);
        link.currentPort = HID_LINK_PORT;
        link.currentPortPath.clear();
        messages.Status(texts.hidLinkConnected);
        result.outcome = ConnectOutcome::UsbLink;
        result.refillPanel = true;
        result.port = HID_LINK_PORT;
    } else {
        link.serial.ClosePort();
        const int pinned = PinnedPort(state.selectedPortText);
        bool answered = false;
        std::string permissionHint;
        for (const PortEntry& entry : portList) {
            const int port = pinned != 0 ? pinned : entry.number;
            const std::string path = pinned != 0 ? std::string() : entry.path;
            if (!link.OpenSerial(port, path)) {
                // A port the user may not open says which group would let them in.
                const std::string hint = PortPermissionHint(
                    path.empty() ? SerialDevicePath(port) : path, link.serial.LastOpenError(), languageName);
                if (!hint.empty()) {
                    messages.Status(hint);
                    permissionHint = hint;
                }
                continue;
            }
            link.deviceAddress = 0;
            if (!ReadInfoSerial(link, info, texts)) continue;
            answered = true;
            result.infoRead = true;
            link.currentPort = port;
            link.currentPortPath = path;
            result.port = port;
            if (!ReadIdentitySerial(link, info)) {
                result.outcome = ConnectOutcome::SerialWithoutIdentity;
                break;
            }
            ReadChannelsSerial(link, info);
            result.outcome = ConnectOutcome::SerialLink;
            result.refillPanel = true;
            break;
        }
        if (answered) {
            // "connecting......" has ended: say where the logger answered.
            messages.Status(FormatC(texts.serialLinkConnected.c_str(), result.port));
        } else {
            messages.MessageBox(texts.communicationTimeout, std::string(), MessageIcon::None);
            messages.Status(texts.hardwareNotFound);
            // The reason stays in view: the port was there, the user may not open it.
            if (!permissionHint.empty()) messages.Status(permissionHint);
        }
        link.serial.ClosePort();
    }
    state.usbConnected = link.hidHandle != nullptr;
    return result;
}

}  // namespace velorin
