// One live poll: the exchange that fetches the current reading over the serial port or the USB
// link and decodes it.
//
// Threading: blocks the calling thread for the exchange (up to five Transact attempts on the
// serial port, one report over USB). The program calls it on the live view's poll worker while
// it holds the link (no other exchange runs); it reads `link` and may replace link.hidHandle.
#pragma once

#include <atomic>
#include <cstdint>

#include "device/device_info.h"
#include "live/live_reading.h"

namespace velorin {

class CSerialPort;
class Link;

constexpr int kLiveSerialAttempts = 5;
// Reply buffer of a serial poll; a longer reply is counted but not kept (and not accepted).
constexpr size_t kLiveReplyCapacity = 64;

enum class LivePollVia { Serial, Usb };

struct LivePollResult {
    bool ok = false;  // false: the tick is skipped (no new sample, nothing changes)
    LivePollVia via = LivePollVia::Serial;
    LiveSample sample;               // the enabled channels' values when ok
    int attempts = 0;                // exchanges made (serial: 1..5)
    bool unrecognisedReply = false;  // USB: the report fits no known layout
};

// Over the open serial port: up to five attempts until a reply is accepted. A closed port fails
// at once; `cancel` (optional) ends the attempts early when it becomes true.
LivePollResult PollLiveSerial(CSerialPort& serial, uint8_t address, const ChannelInfo (&channels)[kChannelCount],
                              const std::atomic<bool>* cancel = nullptr);

// Over USB: the logger is looked up afresh and its handle kept in link.hidHandle (a different
// earlier handle is closed, so hidHandle never names a closed handle); one report is read and
// decoded in the layout device/usb_reply_layout.h gives, whatever its address and command bytes
// hold. No logger, a failed read or a report that fits no known layout fail the poll.
LivePollResult PollLiveUsb(Link& link, const ChannelInfo (&channels)[kChannelCount]);

// The live view's choice: USB whenever a handle exists, the serial port otherwise.
LivePollResult PollLive(Link& link, const ChannelInfo (&channels)[kChannelCount],
                        const std::atomic<bool>* cancel = nullptr);

}  // namespace velorin
