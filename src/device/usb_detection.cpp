#include "device/usb_detection.h"

#include <cstdint>

#include "common/text_codec.h"
#include "common/texts.h"
#include "common/user_messages.h"
#include "device/device_info.h"
#include "device/device_reader.h"
#include "device/link.h"

namespace velorin {

namespace {

// Takes the handle the library found; an older one is closed rather than leaked.
void TakeHandle(Link& link, KvusbHandle found) {
    if (link.hidHandle != found) link.CloseHidHandle();
    link.hidHandle = found;
}

}  // namespace

DetectionOutcome DetectAtStartup(Link& link, DeviceInfo& info, Language language, UserMessages& messages) {
    const Texts& t = TextsFor(language);
    DetectionOutcome out;
    KvusbHandle found = link.FindLogger();
    if (found == nullptr) {
        messages.Status(Utf8ToGbk(t.usbNotFound));
        return out;
    }
    messages.Status(Utf8ToGbk(t.usbFoundConnecting));
    TakeHandle(link, found);
    out.found = true;
    uint8_t part0[64];
    if (!ReadInfoPart0Hid(link, part0)) {
        link.CloseHidHandle();
        messages.Status(Utf8ToGbk(t.usbReadFailed));
        return out;
    }
    messages.Status(Utf8ToGbk(t.usbConnected));
    out.usbConnected = true;
    out.enableCommands = true;
    if (CompleteInfoHid(link, info, t, part0) != HidInfoStatus::Decoded) return out;
    if (!ReadIdentityHid(link, info)) return out;
    ReadChannelsHid(link, info);
    out.infoDecoded = true;
    return out;
}

DetectionOutcome DetectOnArrival(Link& link, DeviceInfo& info, Language language, UserMessages& messages) {
    const Texts& t = TextsFor(language);
    DetectionOutcome out;
    KvusbHandle found = link.FindLogger();
    if (found == nullptr) return out;
    messages.Status(Utf8ToGbk(t.usbFoundConnecting));
    TakeHandle(link, found);
    out.found = true;
    out.usbConnected = true;
    out.enableCommands = true;
    uint8_t part0[64];
    if (!ReadInfoPart0Hid(link, part0)) {
        messages.Status(Utf8ToGbk(t.usbReadFailed));
        return out;
    }
    messages.Status(Utf8ToGbk(t.usbConnected));
    if (part0[0] != 0 && CompleteInfoHid(link, info, t, part0) == HidInfoStatus::Decoded) {
        out.infoDecoded = true;
    }
    out.postConnect = true;
    return out;
}

bool LoggerGone(Link& link) {
    KvusbHandle found = link.FindLogger();
    if (found != nullptr) {
        // Still attached: the probe's own handle goes, the link keeps the one it uses.
        if (found != link.hidHandle) Link::CloseHandle(link.usb, found);
        return false;
    }
    link.CloseHidHandle();
    return true;
}

}  // namespace velorin
