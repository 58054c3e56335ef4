#include "cli/cli_connect.h"

#include <vector>

#include "cli/cli_output.h"
#include "common/format.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "device/connect.h"
#include "device/device_info.h"
#include "device/kvusb_loader.h"
#include "device/link.h"
#include "device/usb_reply_text.h"

namespace velorin::cli {

ConnectResult ConnectAsChosen(Link& link, const LinkChoice& choice, Language language, DeviceInfo& info,
                              UserMessages& messages) {
    link.serial.SetMessageSink(&messages);
    ConnectState state;
    std::vector<PortEntry> ports;

    KvusbLoadResult usb;
    if (choice.kind != LinkChoice::Kind::Port) usb = LoadUsbLibrary(link, messages);
    if (choice.kind == LinkChoice::Kind::Usb && !link.usb.Available()) {
        // --hid without the library: that, not a timeout, is why no logger can be reached.
        const std::string why = usb.detail.empty() ? GbkToUtf8(usb.message) : usb.detail;
        messages.MessageBox(
            Utf8ToGbk(FormatC(TextsFor(language).usbLibraryUnavailableFormat.c_str(), usb.path.c_str(), why.c_str())),
            std::string(), MessageIcon::Error);
        return ConnectResult{};
    }
    if (choice.kind == LinkChoice::Kind::Usb) {
        // As if detection had seen the logger arrive; Connect then takes the USB link.
        state.usbConnected = link.usb.Available();
    } else if (choice.kind == LinkChoice::Kind::Walk) {
        // As the program after start-up detection: an attached USB logger is used first.
        KvusbHandle probe = link.FindLogger();
        state.usbConnected = probe != nullptr;
        Link::CloseHandle(link.usb, probe);
        ports = choice.ports;
    } else {
        ports = choice.ports;
    }
    return Connect(link, info, state, ports, language, messages);
}

bool ConnectForExchange(Link& link, const LinkChoice& choice, Language language, DeviceInfo& info,
                        UserMessages& messages, ConnectResult* result) {
    const ConnectResult connected = ConnectAsChosen(link, choice, language, info, messages);
    if (result != nullptr) *result = connected;
    if (connected.outcome == ConnectOutcome::NotFound) return false;
    if (!connected.infoRead) {
        link.CloseHidHandle();
        // A logger that answered in a layout the program does not know is not a silent one.
        messages.MessageBox(connected.usbReplyUnrecognised ? UsbReplyUnrecognisedText(UsbReply::InfoPart0, language)
                                                           : Utf8ToGbk(TextsFor(language).communicationTimeout),
                            std::string(), MessageIcon::None);
        return false;
    }
    return true;
}

}  // namespace velorin::cli
