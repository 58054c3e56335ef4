#include "device/usb_reply_text.h"

#include "common/format.h"
#include "common/texts.h"

namespace velorin {

std::string UsbReplyUnrecognisedText(UsbReply reply, const std::string& languageName) {
    return FormatC(TextsFor(languageName).usbReplyUnrecognisedFormat.c_str(), UsbReplyInfo(reply).name);
}

}  // namespace velorin
