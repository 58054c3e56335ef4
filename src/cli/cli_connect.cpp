#include "cli/cli_connect.h"

#include <vector>

#include "app/connect.h"
#include "cli/cli_output.h"
#include "common/texts.h"
#include "device/device_info.h"
#include "device/link.h"

namespace velorin::cli {

ConnectResult ConnectAsChosen(Link& link, const LinkChoice& choice, const std::string& languageName,
                              DeviceInfo& info, UserMessages& messages) {
    link.serial.SetMessageSink(&messages);
    ConnectState state;
    std::vector<PortEntry> ports;

    if (choice.kind != LinkChoice::Kind::Port) LoadUsbLibrary(link, messages);
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
    return Connect(link, info, state, ports, languageName, messages);
}

bool ConnectForExchange(Link& link, const LinkChoice& choice, const std::string& languageName,
                        DeviceInfo& info, UserMessages& messages, ConnectResult* result) {
    const ConnectResult connected = ConnectAsChosen(link, choice, languageName, info, messages);
    if (result != nullptr) *result = connected;
    if (connected.outcome == ConnectOutcome::NotFound) return false;
    if (!connected.infoRead) {
        link.CloseHidHandle();
        messages.MessageBox(TextsFor(languageName).communicationTimeout, std::string(), MessageIcon::None);
        return false;
    }
    return true;
}

}  // namespace velorin::cli
