// The clock calibration sequence: clear the logger's records (which restarts it), then set its
// clock to the computer's time or to a chosen time. The clock dialog runs it when the user has
// confirmed; `velorin-cli set-clock --yes` runs it directly.
//
// Threading: runs on the caller's thread and blocks it for two exchanges (up to 6 s each).
#pragma once

#include <functional>

#include "common/date_time.h"
#include "config/config_codec.h"

namespace velorin {

class Link;
class UserMessages;
struct DeviceInfo;

struct ClockCalibrationResult {
    bool clearAccepted = false;  // DeviceInfo's record count is 0 only then
    bool clockAccepted = false;
    int clockFailureTexts = 0;  // how often "the clock was not set" was said
};

struct ClockChoice {
    bool useSystemTime = true;
    ClockBytes chosen;  // used when !useSystemTime
    // The computer's clock, read after the clear; the real one when empty.
    std::function<CDealTime()> now;
};

// Over the serial link the port is opened on currentPort first and closed at the end. "Cannot
// clear the data" and "the clock was not set" are shown through `messages`; the clock is set
// whether or not the clear was accepted.
ClockCalibrationResult CalibrateClock(Link& link, DeviceInfo& info, const ClockChoice& choice, UserMessages& messages);

}  // namespace velorin
