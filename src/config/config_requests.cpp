#include "config/config_requests.h"

#include <chrono>
#include <cstring>
#include <thread>

#include "common/language.h"
#include "common/text_codec.h"
#include "common/user_messages.h"
#include "config/config_texts.h"
#include "device/device_info.h"
#include "device/link.h"
#include "device/transport.h"

namespace velorin {

namespace {

// The reply of a restart is judged a moment after the exchange, when the logger has begun
// its new recording.
constexpr int kRestartSettleMs = 200;

// Labels stored in DeviceInfo are the Chinese ones whatever the interface language.
const ConfigTexts& Stored() { return ConfigTextsFor(Language::Chinese); }

// `text` from the texts (UTF-8); messages are GBK.
void Fail(UserMessages& messages, const std::string& text) {
    messages.MessageBox(Utf8ToGbk(text), std::string(), MessageIcon::None);
}

bool HandOver(Link& link, uint8_t command, uint8_t (&report)[KVUSB_REPORT_BYTES]) {
    return link.HidWrite(HidCallCode(command), report);
}

// The frame in a USB report from offset 0, the rest zero.
bool HandOverFrame(Link& link, const AngleFrame& frame) {
    uint8_t report[KVUSB_REPORT_BYTES] = {};
    if (frame.length == 0 || frame.length > sizeof report) return false;
    std::memcpy(report, frame.bytes, frame.length);
    return HandOver(link, frame.bytes[2], report);
}

struct Exchange {
    uint8_t reply[kConfigReplyCapacity] = {};
    TransactResult result;
    bool serial = false;  // the reply came over the serial link (and is judged by the caller)
    ReplySeen Seen() const { return {reply, result.received, result.stored}; }
};

void ExchangeOnce(Link& link, const AngleFrame& request, Exchange& out) {
    std::memset(out.reply, 0, sizeof out.reply);
    out.result = Transact(link.serial, request.bytes, request.length, out.reply, sizeof out.reply);
}

// A request sent once: over the USB link the library's answer is the result; over the serial
// link the reply is left in `exchange` for the sender's own judgement.
OnceResult SendOnce(Link& link, const AngleFrame& request, Exchange& exchange) {
    OnceResult out;
    switch (ChooseLink(link)) {
        case LinkUse::None: break;
        case LinkUse::Hid:
            out.sent = true;
            out.accepted = HandOverFrame(link, request);
            break;
        case LinkUse::Serial:
            out.sent = true;
            exchange.serial = true;
            ExchangeOnce(link, request, exchange);
            break;
    }
    return out;
}

uint8_t StartCode(const RecordModeSetting& s) {
    if (!s.automatic) return mode_code::StartManual;
    switch (s.start) {
        case StartChoice::Immediate: return mode_code::StartImmediate;
        case StartChoice::Timed: return mode_code::StartTimed;
        case StartChoice::Manual: return mode_code::StartManual;
        case StartChoice::Other: break;
    }
    return 0;
}

uint8_t StopCode(const RecordModeSetting& s) {
    if (!s.automatic) return mode_code::StopManual;
    switch (s.stop) {
        case StopChoice::MemoryFull: return mode_code::StopMemoryFull;
        case StopChoice::Timed: return mode_code::StopTimed;
        case StopChoice::Fifo: return mode_code::StopFifo;
        case StopChoice::Other: break;
    }
    return 0;
}

const std::string& StartLabel(uint8_t code) {
    switch (code) {
        case mode_code::StartImmediate: return Stored().startImmediate;
        case mode_code::StartTimed: return Stored().startTimed;
        default: return Stored().startManual;
    }
}

const std::string& StopLabel(uint8_t code) {
    switch (code) {
        case mode_code::StopMemoryFull: return Stored().stopMemoryFull;
        case mode_code::StopTimed: return Stored().stopTimed;
        case mode_code::StopFifo: return Stored().stopFifo;
        default: return Stored().stopManual;
    }
}

// The requests whose USB rule is "accepted without sending when no device is attached".
bool SendModeRequest(Link& link, const AngleFrame& request, const ReplyTest& accept) {
    if (ChooseLink(link) == LinkUse::None) return true;
    return SendConfigRequest(link, request, kConfigAttempts, accept);
}

}  // namespace

bool SendConfigRequest(Link& link, const AngleFrame& request, int attempts, const ReplyTest& accept) {
    switch (ChooseLink(link)) {
        case LinkUse::None: return false;
        case LinkUse::Hid: return HandOverFrame(link, request);
        case LinkUse::Serial: break;
    }
    Exchange exchange;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        ExchangeOnce(link, request, exchange);
        if (accept(exchange.Seen())) return true;
    }
    return false;
}

bool SetUserTitle(Link& link, DeviceInfo& info, const std::string& userName, const std::string& title,
                  UserMessages& messages) {
    bool ok = false;
    switch (ChooseLink(link)) {
        case LinkUse::None: break;
        case LinkUse::Hid: {
            uint8_t report[KVUSB_REPORT_BYTES];
            BuildUsbUserTitle(userName, title, report);
            ok = HandOver(link, cmd::SetUserTitle, report);
            break;
        }
        case LinkUse::Serial: {
            // The fields take the new texts first; the request is built from them.
            StoreInField(info.userName, FitGbk(userName, kConfigTextBytes).bytes);
            StoreInField(info.title, FitGbk(title, kConfigTextBytes).bytes);
            const AngleFrame request =
                BuildUserTitleRequest(link.deviceAddress, ReadField(info.userName), ReadField(info.title));
            ok = SendConfigRequest(link, request, kConfigAttempts, AcceptCount7);
            break;
        }
    }
    if (!ok) Fail(messages, Stored().userTitleFailed);
    return ok;
}

bool SetRecordInterval(Link& link, DeviceInfo& info, int hours, int minutes, int seconds, uint8_t overLimitIndex,
                       UserMessages& messages) {
    const uint32_t total = static_cast<uint32_t>(hours * 3600 + minutes * 60 + seconds);
    switch (ChooseLink(link)) {
        case LinkUse::None: return true;
        case LinkUse::Hid: {
            // The library's answer is not looked at, and DeviceInfo keeps its interval.
            uint8_t report[KVUSB_REPORT_BYTES];
            BuildUsbInterval(total, overLimitIndex, report);
            HandOver(link, cmd::SetRecordInterval, report);
            return true;
        }
        case LinkUse::Serial: break;
    }
    if (!SendConfigRequest(link, BuildIntervalRequest(link.deviceAddress, total), kConfigAttempts,
                           AcceptIntervalReply)) {
        Fail(messages, Stored().intervalFailed);
        return false;
    }
    // Only the split changes; the total in seconds stays as it was read.
    info.intervalHours = hours;
    info.intervalMinutes = minutes;
    info.intervalSeconds = seconds;
    return true;
}

bool SetPowerMode(Link& link, DeviceInfo& info, uint8_t code, UserMessages& messages) {
    if (!SendModeRequest(link, BuildPowerModeRequest(link.deviceAddress, code), AcceptFramed7)) {
        Fail(messages, Stored().powerModeFailed);
        return false;
    }
    info.powerMode = code;
    return true;
}

bool SetRecordMode(Link& link, DeviceInfo& info, const RecordModeSetting& setting, UserMessages& messages) {
    const uint8_t code = setting.automatic ? mode_code::RecordAutomatic : mode_code::RecordManual;
    if (!SendModeRequest(link, BuildRecordModeRequest(link.deviceAddress, code), AcceptFramed7)) {
        Fail(messages, Stored().recordModeFailed);
        return false;
    }
    // DeviceInfo keeps the labels in the logger's code page.
    StoreInField(info.recordMode, Utf8ToGbk(setting.automatic ? Stored().recordAutomatic : Stored().recordManual));
    if (!setting.automatic) StoreInField(info.startMode, Utf8ToGbk(Stored().startManual));
    return SetStartMode(link, info, setting, messages) && SetStopMode(link, info, setting, messages);
}

bool SetStartMode(Link& link, DeviceInfo& info, const RecordModeSetting& setting, UserMessages& messages) {
    const uint8_t code = StartCode(setting);
    if (code == 0) return true;  // a choice the logger has no code for: nothing to send
    const AngleFrame request = BuildStartModeRequest(link.deviceAddress, code, PlainOf(setting.startTime));
    const ReplyTest accept = [code](const ReplySeen& r) { return AcceptStartModeReply(code, r); };
    if (!SendModeRequest(link, request, accept)) {
        Fail(messages, Stored().startModeFailed);
        return false;
    }
    StoreInField(info.startMode, Utf8ToGbk(StartLabel(code)));
    if (code == mode_code::StartTimed) StoreInField(info.timedStartTime, TimedTimeText(setting.startTime));
    return true;
}

bool SetStopMode(Link& link, DeviceInfo& info, const RecordModeSetting& setting, UserMessages& messages) {
    const uint8_t code = StopCode(setting);
    if (code == 0) return true;
    const AngleFrame request = BuildStopModeRequest(link.deviceAddress, code, PlainOf(setting.stopTime));
    if (!SendModeRequest(link, request, AcceptCount7)) {
        Fail(messages, Stored().stopModeFailed);
        return false;
    }
    StoreInField(info.stopMode, Utf8ToGbk(StopLabel(code)));
    if (code == mode_code::StopTimed) StoreInField(info.timedStopTime, TimedTimeText(setting.stopTime));
    return true;
}

bool SetAlarmLimits(Link& link, DeviceInfo& info, const AlarmSetting (&settings)[6], UserMessages& messages) {
    AlarmSetting taken[6];
    int channels[6];
    size_t k = 0;
    for (int c = 0; c < 6; ++c) {
        if (info.channel[c].channelEnabled == 0) continue;
        taken[k] = settings[c];
        channels[k++] = c;
        // The switch is taken over while the request is built, before anything is sent.
        info.channel[c].alarmEnabled = settings[c].enabled ? 1 : 0;
    }
    const AngleFrame request = BuildAlarmRequest(link.deviceAddress, taken, k);
    if (!SendConfigRequest(link, request, kConfigAttempts, AcceptFramed7)) {
        Fail(messages, Stored().alarmFailed);
        return false;
    }
    // The panel shows the limits the logger now holds.
    for (size_t i = 0; i < k; ++i) {
        info.channel[channels[i]].lowerAlarmX10 = taken[i].lowerX10;
        info.channel[channels[i]].upperAlarmX10 = taken[i].upperX10;
    }
    return true;
}

OnceResult SetClock(Link& link, const ClockBytes& time, ConfigSender sender) {
    Exchange exchange;
    OnceResult out = SendOnce(link, BuildClockRequest(link.deviceAddress, time), exchange);
    if (exchange.serial) {
        out.accepted = AcceptCount7(exchange.Seen());
        if (sender == ConfigSender::ClockDialog) {
            out.clockFailureTexts = ClockDialogFailureCount(exchange.Seen());
            out.accepted = out.clockFailureTexts == 0;
        }
    } else if (sender == ConfigSender::ClockDialog && !out.accepted) {
        out.clockFailureTexts = 1;
    }
    return out;
}

OnceResult ClearAndRestart(Link& link, DeviceInfo& info, ConfigSender sender) {
    Exchange exchange;
    OnceResult out = SendOnce(link, BuildClearAndRestartRequest(link.deviceAddress), exchange);
    if (exchange.serial) {
        if (sender == ConfigSender::Wizard) {
            std::this_thread::sleep_for(std::chrono::milliseconds(kRestartSettleMs));
            out.accepted = AcceptWizardRestart(exchange.Seen());
        } else {
            out.accepted = AcceptCount7(exchange.Seen());
        }
    }
    if (out.accepted) {
        info.storedRecordCount = 0;
        info.overflowCount = 0;
    }
    return out;
}

}  // namespace velorin
