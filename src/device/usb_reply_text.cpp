#include "device/usb_reply_text.h"

#include "common/format.h"
#include "common/text_codec.h"
#include "common/texts.h"

namespace velorin {

std::string UsbReplyUnrecognisedText(UsbReply reply, Language language) {
    return Utf8ToGbk(FormatC(TextsFor(language).usbReplyUnrecognisedFormat.c_str(), UsbReplyInfo(reply).name));
}

}  // namespace velorin
