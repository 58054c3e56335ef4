// What the setup wizard's five pages hold, how they are filled from DeviceInfo, and the checks
// made on them before anything is written. Shared by the wizard's pages and `velorin-cli
// configure`, which starts from the same page contents and changes what its options name.
#pragma once

#include <cstdint>
#include <string>

#include "common/date_time.h"
#include "config/config_requests.h"

namespace velorin {

enum class Language;
struct ConfigTexts;
struct DeviceInfo;

struct AlarmEntry {
    std::string upperText, lowerText;  // as typed
    bool on = false;                   // the "open" switch
};

struct WizardEntries {
    // Page 1 (GBK).
    std::string userName, title;
    // Page 2.
    int intervalHours = 0, intervalMinutes = 0, intervalSeconds = 0;
    uint8_t overLimitIndex = 0;  // 0 … 13
    // Page 3.
    bool powerSaving = false;
    // Page 4. The start and stop choices by meaning; the times are the pickers' date and time.
    bool automatic = true;
    StartChoice start = StartChoice::Immediate;
    StopChoice stop = StopChoice::Fifo;
    CDealTime timedStart{int64_t{0}}, timedStop{int64_t{0}};
    // Page 5: channels 1 … 6; rows of channels the logger does not record are ignored.
    AlarmEntry alarm[6];
};

// What the pages show when the wizard opens. The record, start and stop modes are read by their
// meaning from DeviceInfo's labels in either language; `now` fills the four pickers.
WizardEntries EntriesFromDeviceInfo(const DeviceInfo& info, const CDealTime& now);

// The record mode of DeviceInfo: true for manual mode (its label in either language).
bool IsManualRecordMode(const DeviceInfo& info);
// The texts the start and stop boxes show for DeviceInfo's modes: the box item of the same
// meaning, or the Chinese label of a mode the boxes do not offer (which then sends nothing);
// GBK, like the labels they are read from.
std::string StartBoxText(const DeviceInfo& info);
std::string StopBoxText(const DeviceInfo& info);
// A box text read back as a choice: the box items mean their mode, anything else is Other.
StartChoice StartChoiceOf(const std::string& boxText);
StopChoice StopChoiceOf(const std::string& boxText);

// What page 1 says about texts longer than the 30 bytes the logger keeps: one line per shortened
// text with what the logger will hold (GBK, lines joined with '\n'); empty when both fit.
std::string ShortenedTextNote(const WizardEntries& entries, const ConfigTexts& texts);

// The checks, the first broken one wins. Timed times are resolved separately (they may ask).
enum class EntryFault {
    None,
    UserTitleEmpty,       // user name or title empty
    PowerSavingInterval,  // power saving with an interval below 10 s
    LimitOutOfRange,      // a limit of `channel` leaves −3276.8 … 3276.7
    UpperBelowLower,      // `channel`'s upper limit is below its lower limit (in tenths)
};
struct EntryCheck {
    EntryFault fault = EntryFault::None;
    int channel = 0;   // 1 … 6 for the limit faults
    std::string text;  // the message to show (GBK); empty when the entries pass
    bool Ok() const { return fault == EntryFault::None; }
};
EntryCheck CheckBasicEntries(const WizardEntries& entries, Language language);
// Only channels among 1 … 6 that the logger records are looked at. Fills `settings` with what
// will be sent for every channel that passes.
EntryCheck CheckAlarmEntries(const WizardEntries& entries, const DeviceInfo& info, Language language,
                             AlarmSetting (&settings)[6]);

}  // namespace velorin
