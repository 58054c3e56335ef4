// Feeds arbitrary bytes to what the configuration reads from outside: the reply tests applied to
// whatever a logger sends back, the mode labels of DeviceInfo (they come from the logger), and
// the alarm limit texts a user or a command line types.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "common/language.h"
#include "config/config_codec.h"
#include "config/wizard_entries.h"
#include "device/device_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velorin;
    for (size_t received : {size, size + 1, size_t{7}, size_t{8}}) {
        const ReplySeen r{data, received, size};
        AcceptCount7(r);
        AcceptFramed7(r);
        AcceptIntervalReply(r);
        AcceptStartModeReply(data != nullptr && size > 0 ? data[0] : 1, r);
        AcceptWizardRestart(r);
        ClockDialogFailureCount(r);
    }

    DeviceInfo info;
    if (size == 0) return 0;
    const size_t n = size < sizeof info.startMode ? size : sizeof info.startMode;
    std::memcpy(info.startMode, data, n);
    std::memcpy(info.stopMode, data, size < sizeof info.stopMode ? size : sizeof info.stopMode);
    std::memcpy(info.recordMode, data, n);
    StartBoxText(info);
    StopBoxText(info);
    IsManualRecordMode(info);

    const std::string text(reinterpret_cast<const char*>(data), size);
    ParseAlarmLimit(text);
    WizardEntries entries;
    for (int c = 0; c < 6; ++c) {
        info.channel[c].channelEnabled = 1;
        entries.alarm[c].upperText =
            static_cast<size_t>(c) < text.size() ? text.substr(static_cast<size_t>(c)) : std::string();
        entries.alarm[c].lowerText = text;
    }
    AlarmSetting settings[6];
    CheckAlarmEntries(entries, info, Language::English, settings);
    return 0;
}
