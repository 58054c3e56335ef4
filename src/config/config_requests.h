// The configuration requests on a link: user name and title, record interval, power mode, record
// mode with start and stop modes, alarm limits, clock and clear-and-restart.
//
// Over the serial link each request is exchanged through Transact on the port the caller has
// opened, and repeated until its reply is accepted or its attempts are used up. Over the USB link
// (currentPort HID_LINK_PORT) it is handed once to the library's write call, whose nonzero result
// is the acceptance; no reply is read. With the USB link chosen and no device attached, the
// power, record, start and stop modes and the interval count as done without sending anything;
// the other requests fail.
//
// A request that succeeds updates DeviceInfo as the logger now stands; one that fails shows its
// failure text through `messages` (caption empty: the application's name) and leaves the fields
// as they were, except the user name, title and alarm switches, which are taken over before
// sending. Nothing is undone on the logger when a later request fails.
//
// Threading: plain functions on the caller's thread (the wizard's worker, the clock dialog's GUI
// thread, the CLI). They use the link and DeviceInfo without locks: only one action talks to the
// logger at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "config/config_codec.h"

namespace velorin {

class Link;
class UserMessages;
struct DeviceInfo;

// Room for any reply the logger may give to a configuration request; Transact counts what does
// not fit and drops it.
constexpr size_t kConfigReplyCapacity = 256;

constexpr int kConfigAttempts = 5;

using ReplyTest = std::function<bool(const ReplySeen&)>;

// One request, tried up to `attempts` times over the serial link, or handed once to the USB
// library. False as well when the USB link is chosen without a device.
bool SendConfigRequest(Link& link, const AngleFrame& request, int attempts, const ReplyTest& accept);

// The start and stop choices of the record-mode page, by meaning.
enum class StartChoice { Immediate, Timed, Manual, Other };
enum class StopChoice { MemoryFull, Timed, Fifo, Other };

struct RecordModeSetting {
    bool automatic = true;
    StartChoice start = StartChoice::Immediate;
    StopChoice stop = StopChoice::Fifo;
    BcdTime startTime;  // used for a timed start
    BcdTime stopTime;   // used for a timed stop
};

bool SetUserTitle(Link& link, DeviceInfo& info, const std::string& userName, const std::string& title,
                  UserMessages& messages);
// `overLimitIndex` travels over the USB link only.
bool SetRecordInterval(Link& link, DeviceInfo& info, int hours, int minutes, int seconds, uint8_t overLimitIndex,
                       UserMessages& messages);
bool SetPowerMode(Link& link, DeviceInfo& info, uint8_t code, UserMessages& messages);
// The record mode, then the start mode, then the stop mode; stops at the first failure.
bool SetRecordMode(Link& link, DeviceInfo& info, const RecordModeSetting& setting, UserMessages& messages);
// Parts of SetRecordMode. A manual record mode sends start code 3 and stop code 4 whatever the
// choices say; an automatic one sends nothing for an Other choice (and succeeds).
bool SetStartMode(Link& link, DeviceInfo& info, const RecordModeSetting& setting, UserMessages& messages);
bool SetStopMode(Link& link, DeviceInfo& info, const RecordModeSetting& setting, UserMessages& messages);
// `settings[c]` is channel c + 1's part; only channels 1 … 6 that the logger records
// (DeviceInfo's channelEnabled) are sent, in channel order.
bool SetAlarmLimits(Link& link, DeviceInfo& info, const AlarmSetting (&settings)[6], UserMessages& messages);

// The clock and clear-and-restart requests are sent once; the two dialogs judge their replies
// differently and show their own texts, so these return what happened and show nothing.
enum class ConfigSender { Wizard, ClockDialog };
struct OnceResult {
    bool sent = false;      // something went out (false: the USB link without a device)
    bool accepted = false;  // by the sender's rule
    // Clock dialog only: how often "the clock was not set" is to be said (0, 1 or 2).
    int clockFailureTexts = 0;
};
OnceResult SetClock(Link& link, const ClockBytes& time, ConfigSender sender);
// From the wizard the reply is judged 200 ms after the exchange. Accepted: the logger holds no
// records any more, so DeviceInfo's record and overflow counts become 0.
OnceResult ClearAndRestart(Link& link, DeviceInfo& info, ConfigSender sender);

}  // namespace velorin
