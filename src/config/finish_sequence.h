// The setup wizard's finish sequence: check the entries, ask for confirmation, write every
// setting in page order, set the logger's clock to the computer's time and clear its records so
// that it restarts. The wizard runs it on a worker thread; `velorin-cli configure` runs it
// directly.
//
// Threading: runs on the caller's thread and blocks it for every exchange. The hooks are called
// on that thread; a GUI caller marshals them to its own thread. The serial port must be open on
// currentPort (the wizard opens it when it opens).
#pragma once

#include <functional>
#include <string>

#include "config/wizard_entries.h"

namespace velorin {

enum class Language;
class Link;
class UserMessages;
struct DeviceInfo;

struct FinishHooks {
    // An OK / Cancel question (text and caption from the texts, UTF-8); true for OK. Required.
    std::function<bool(const std::string& text, const std::string& caption)> ask;
    // The computer's clock; the real one when empty.
    std::function<CDealTime()> now;
    // Shows (true) or closes (false) the wait window; may be empty.
    std::function<void(bool shown)> waitWindow;
};

enum class FinishOutcome {
    EntryRefused,   // an entry check failed; nothing was sent
    NotConfirmed,   // the question was not answered with OK; nothing was sent
    WriteFailed,    // a setting could not be written; later ones were not sent
    RestartFailed,  // everything was written, but the restart was not acknowledged (serial)
    Restarted,      // the logger acknowledged the restart (serial)
    HandedOver,     // the USB link: clock and restart handed to the library (see restartAccepted)
};

enum class FinishStep { None, UserTitle, Interval, PowerMode, RecordMode, Alarms };

struct FinishResult {
    // 1: the wizard closes (with OK when `restarted`); 0: it stays open on its last page.
    int result = 0;
    bool restarted = false;
    FinishOutcome outcome = FinishOutcome::EntryRefused;
    FinishStep failedStep = FinishStep::None;
    EntryCheck check;  // the failed check for EntryRefused
    bool clockAccepted = false;
    bool restartAccepted = false;
};

// Before the writes: the basic checks, the timed times (a timed start or stop in the past asks
// whether to take the current time instead), the alarm checks. The caller shows a failed
// check's text. On success `setting` and `alarms` hold what will be sent.
EntryCheck PrepareWrites(const WizardEntries& entries, const DeviceInfo& info, Language language, FinishHooks& hooks,
                         RecordModeSetting& setting, AlarmSetting (&alarms)[6]);

FinishResult RunFinishSequence(Link& link, DeviceInfo& info, const WizardEntries& entries, Language language,
                               UserMessages& messages, FinishHooks& hooks);

}  // namespace velorin
