// Threading: a plain function on the caller's thread (the GUI thread in the program); it uses the
// link without locks because only one action talks to the logger at a time.
#include "device/stop_recording.h"

#include <cstring>

#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "device/device_info.h"
#include "device/frame.h"
#include "device/link.h"
#include "device/transport.h"

namespace velorin {

namespace {

// The logger acknowledges with a frame without data.
constexpr size_t kAcknowledgementBytes = kFrameOverheadBytes;

// A few bytes more than the acknowledgement, so that a longer reply is still seen as longer;
// Transact counts whatever does not fit, so the buffer only bounds what is kept.
constexpr size_t kReplyCapacity = 16;

bool SendOverHid(Link& link, const AngleFrame& frame) {
    uint8_t report[KVUSB_REPORT_BYTES] = {};  // the bytes after the frame stay zero
    if (frame.length == 0 || frame.length > sizeof report) return false;
    std::memcpy(report, frame.bytes, frame.length);
    return link.HidWrite(HidCallCode(cmd::StopRecording), report);
}

bool SendOverSerial(Link& link, const AngleFrame& frame) {
    if (!link.OpenCurrentPort()) return false;
    uint8_t reply[kReplyCapacity] = {};
    const TransactResult result = Transact(link.serial, frame.bytes, frame.length, reply, sizeof reply);
    return result.received == kAcknowledgementBytes;
}

}  // namespace

bool StopRecording(Link& link, DeviceInfo& info) {
    const AngleFrame frame = BuildRequest(link.deviceAddress, cmd::StopRecording);
    bool stopped = false;
    switch (ChooseLink(link)) {
        case LinkUse::Hid: stopped = SendOverHid(link, frame); break;
        case LinkUse::Serial: stopped = SendOverSerial(link, frame); break;
        case LinkUse::None: break;
    }
    // The port is never left open after a stop, whichever way it went.
    link.serial.ClosePort();
    // The stopped label is the Chinese one whatever the interface language.
    if (stopped) StoreInField(info.workState, Utf8ToGbk(TextsFor(Language::Chinese).workStateStopped));
    return stopped;
}

}  // namespace velorin
