#include "live/live_poll.h"

#include "device/frame.h"
#include "device/link.h"
#include "device/serial_port.h"
#include "device/transport.h"
#include "device/usb_reply_layout.h"

namespace velorin {

LivePollResult PollLiveSerial(CSerialPort& serial, uint8_t address, const ChannelInfo (&channels)[kChannelCount],
                              const std::atomic<bool>* cancel) {
    LivePollResult result;
    result.via = LivePollVia::Serial;
    if (!serial.IsOpen()) return result;
    const AngleFrame request = BuildLiveRequest(address);
    uint8_t reply[kLiveReplyCapacity];
    for (int attempt = 0; attempt < kLiveSerialAttempts; ++attempt) {
        if (cancel != nullptr && cancel->load()) break;
        ++result.attempts;
        const TransactResult r = Transact(serial, request.bytes, request.length, reply, sizeof reply);
        // A reply longer than the buffer was cut: its count no longer matches what it holds.
        if (r.received != r.stored) continue;
        if (LiveReplyAccepted(reply, r.stored, address)) {
            DecodeLiveValues(reply, channels, result.sample);
            result.ok = true;
            break;
        }
    }
    return result;
}

LivePollResult PollLiveUsb(Link& link, const ChannelInfo (&channels)[kChannelCount]) {
    LivePollResult result;
    result.via = LivePollVia::Usb;
    const KvusbHandle found = link.FindLogger();
    if (found != link.hidHandle) {
        link.CloseHidHandle();
        link.hidHandle = found;
    }
    if (found == nullptr) return result;
    result.attempts = 1;
    uint8_t report[KVUSB_REPORT_BYTES];
    if (!link.HidRead(KVUSB_SELECTOR_READ, HidCallCode(cmd::LiveReading), report)) return result;
    // Decoded whatever the address and command bytes hold; only a report that fits no known
    // layout (or carries too few values) gives no reading, and says so.
    const UsbReplyView view = ViewUsbReply(UsbReply::Live, report, sizeof report);
    if (!view.Usable()) {
        result.unrecognisedReply = true;
        return result;
    }
    DecodeLiveValues(view.frame, channels, result.sample);
    result.ok = true;
    return result;
}

LivePollResult PollLive(Link& link, const ChannelInfo (&channels)[kChannelCount], const std::atomic<bool>* cancel) {
    if (ChooseLinkForLive(link) == LinkUse::Hid) return PollLiveUsb(link, channels);
    return PollLiveSerial(link.serial, link.deviceAddress, channels, cancel);
}

}  // namespace velorin
