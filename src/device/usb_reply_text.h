// The message for a USB reply that fits no known layout (device/usb_reply_layout.h), in the
// interface language (GBK): which reply it was, so that a logger answering in another layout is
// named as such instead of looking like a silent one.
#pragma once

#include <string>

#include "device/usb_reply_layout.h"

namespace velorin {

enum class Language;
std::string UsbReplyUnrecognisedText(UsbReply reply, Language language);

}  // namespace velorin
