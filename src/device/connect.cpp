#include "device/connect.h"

#include <cstdlib>

#include "common/format.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "common/user_messages.h"
#include "device/device_info.h"
#include "device/device_reader.h"
#include "device/link.h"
#include "device/port_permission.h"
#include "device/serial_port.h"
#include "device/usb_reply_text.h"

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
HidInfoStatus ConnectOverUsb(Link& link, DeviceInfo& info, const Texts& texts) {
    const HidInfoStatus status = ReadInfoHid(link, info, texts);
    if (status != HidInfoStatus::Decoded) return status;
    if (ReadIdentityHid(link, info)) ReadChannelsHid(link, info);
    ReadSecondaryInfoHid(link, info);
    return status;
}

}  // namespace

std::vector<PortEntry> PortEntries(const std::vector<int>& numbers) {
    std::vector<PortEntry> entries;
    for (int n : numbers) entries.push_back(PortEntry{n, std::string()});
    return entries;
}

ConnectResult Connect(Link& link, DeviceInfo& info, ConnectState& state, const std::vector<PortEntry>& portList,
                      Language language, UserMessages& messages) {
    const Texts& texts = TextsFor(language);
    ConnectResult result;
    // Messages are GBK, the texts UTF-8.
    messages.Status(Utf8ToGbk(texts.connecting));

    // A fresh handle replaces the old one, which is closed rather than leaked.
    KvusbHandle found = link.FindLogger();
    if (link.hidHandle != nullptr && link.hidHandle != found) link.CloseHidHandle();
    link.hidHandle = found;

    if (state.usbConnected && link.hidHandle != nullptr) {
        messages.Status(Utf8ToGbk(texts.hidLinkFound));
        const HidInfoStatus status = ConnectOverUsb(link, info, texts);
        result.infoRead = status == HidInfoStatus::Decoded;
        result.usbReplyUnrecognised = status == HidInfoStatus::Unrecognised;
        link.currentPort = HID_LINK_PORT;
        link.currentPortPath.clear();
        messages.Status(result.usbReplyUnrecognised ? UsbReplyUnrecognisedText(UsbReply::InfoPart0, language)
                                                    : Utf8ToGbk(texts.hidLinkConnected));
        result.outcome = ConnectOutcome::UsbLink;
        result.refillPanel = true;
        result.port = HID_LINK_PORT;
    } else {
        link.serial.ClosePort();
        const int pinned = PinnedPort(state.selectedPortText);
        bool answered = false;
        std::string permissionHint;
        // Only one port to try (a pinned or named port): why it could not be opened, if it
        // could not; that, rather than a timeout, is what the user is told.
        const bool singlePort = pinned != 0 || portList.size() == 1;
        std::string openProblem;
        for (const PortEntry& entry : portList) {
            const int port = pinned != 0 ? pinned : entry.number;
            const std::string path = pinned != 0 ? std::string() : entry.path;
            if (!link.OpenSerial(port, path)) {
                const std::string device = path.empty() ? SerialDevicePath(port) : path;
                const int error = link.serial.LastOpenError();
                if (singlePort) openProblem = PortOpenProblem(device, port, error, language);
                // A port the user may not open says which group would let them in.
                const std::string hint = PortPermissionHint(device, error, language);
                if (!hint.empty()) {
                    messages.Status(hint);
                    permissionHint = hint;
                }
                if (singlePort) break;
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
            messages.Status(Utf8ToGbk(FormatC(texts.serialLinkConnected.c_str(), result.port)));
        } else {
            // The box says the whole reason; the status pane may be too narrow for it.
            std::string text = openProblem.empty() ? Utf8ToGbk(texts.communicationTimeout) : openProblem;
            if (openProblem.empty() && !permissionHint.empty()) text += "\n" + permissionHint;
            messages.MessageBox(text, std::string(), MessageIcon::None);
            messages.Status(Utf8ToGbk(texts.hardwareNotFound));
            // The reason stays in view: the port was there, the user may not open it.
            if (!openProblem.empty()) {
                messages.Status(openProblem);
            } else if (!permissionHint.empty()) {
                messages.Status(permissionHint);
            }
        }
        link.serial.ClosePort();
    }
    state.usbConnected = link.hidHandle != nullptr;
    return result;
}

}  // namespace velorin
