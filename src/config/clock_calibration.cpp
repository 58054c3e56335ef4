#include "config/clock_calibration.h"

#include "common/language.h"
#include "common/text_codec.h"
#include "common/user_messages.h"
#include "config/config_requests.h"
#include "config/config_texts.h"
#include "device/link.h"

namespace velorin {

ClockCalibrationResult CalibrateClock(Link& link, DeviceInfo& info, const ClockChoice& choice, UserMessages& messages) {
    // The texts of this sequence are the same in both languages.
    const ConfigTexts& t = ConfigTextsFor(Language::Chinese);
    ClockCalibrationResult out;
    const bool serial = ChooseLink(link) == LinkUse::Serial;
    if (serial) link.OpenCurrentPort();

    out.clearAccepted = ClearAndRestart(link, info, ConfigSender::ClockDialog).accepted;
    // The texts are UTF-8, messages GBK.
    if (!out.clearAccepted) messages.MessageBox(Utf8ToGbk(t.clearFailed), std::string(), MessageIcon::None);

    ClockBytes time = choice.chosen;
    if (choice.useSystemTime) time = ClockBytesOf(choice.now ? choice.now() : CDealTime());
    const OnceResult clock = SetClock(link, time, ConfigSender::ClockDialog);
    out.clockAccepted = clock.accepted;
    out.clockFailureTexts = clock.clockFailureTexts;
    for (int i = 0; i < clock.clockFailureTexts; ++i) {
        messages.MessageBox(Utf8ToGbk(t.clockFailed), std::string(), MessageIcon::None);
    }
    link.serial.ClosePort();
    return out;
}

}  // namespace velorin
