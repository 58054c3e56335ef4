// USB detection: look for the logger through the USB library, take its handle and read what
// it tells at once. Start-up detection reads the identity and channels as well; arrival
// detection reads the information block only and lets a full Connect follow.
//
// Threading: runs on the caller's thread and blocks it for a few HID exchanges; the GUI runs it
// as a link job. Status texts go through `messages` in the order they happen.
#pragma once

#include <string>

namespace velorin {

enum class Language;
class Link;
class UserMessages;
struct DeviceInfo;

struct DetectionOutcome {
    bool found = false;           // the library found the logger; the link holds its handle
    bool usbConnected = false;    // the USB link counts as up (the handle stays)
    bool enableCommands = false;  // connect, live, history and configuration may be enabled
    bool infoDecoded = false;     // `info` holds a decoded block: refill the panel
    bool postConnect = false;     // arrival: a full Connect follows
};

DetectionOutcome DetectAtStartup(Link& link, DeviceInfo& info, Language language, UserMessages& messages);
DetectionOutcome DetectOnArrival(Link& link, DeviceInfo& info, Language language, UserMessages& messages);

// A removal notice: true when the logger can no longer be found (its handle is then closed);
// a logger still attached keeps its handle, whatever else was removed.
bool LoggerGone(Link& link);

}  // namespace velorin
