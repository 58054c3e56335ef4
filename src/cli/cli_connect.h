// Connecting for a CLI command, the way `velorin-cli info` does: the USB library is loaded unless
// a serial port was named; --hid takes the USB link as if detection had seen the logger arrive;
// without a choice an attached USB logger is used first, then the port list is walked.
#pragma once

#include <string>

namespace velorin {

enum class Language;
class Link;
class UserMessages;
struct ConnectResult;
struct DeviceInfo;
}  // namespace velorin

namespace velorin::cli {

struct LinkChoice;

// Leaves the link as Connect left it (hidHandle open after a USB connection); the caller closes
// the handle when it is done with the logger.
ConnectResult ConnectAsChosen(Link& link, const LinkChoice& choice, Language language, DeviceInfo& info,
                              UserMessages& messages);

// ConnectAsChosen for a command that goes on talking to the logger. False when no logger was
// found or it did not deliver its information block: then the timeout text has been shown and
// the USB handle closed. `result` (optional) receives Connect's result.
bool ConnectForExchange(Link& link, const LinkChoice& choice, Language language, DeviceInfo& info,
                        UserMessages& messages, ConnectResult* result = nullptr);

}  // namespace velorin::cli
