// F0, the sterilisation lethality in minutes, accumulated over the shown records from the
// temperature of channel 1 and written into channel 2 of the data set, and F0 mode, which keeps
// the recorded channel 2 aside while F is shown.
//
// How the view uses it: HistoryLists (history_lists.h) owns one F0Mode per view and calls
// SwitchOn from the main window's "F0 Config" command and SwitchOff from "Return"; the view then
// sets channel 2's visibility, colour and check box from the returned F0Switch. GUI thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "history/record_set.h"

namespace velorin {

// The main window's parameters at start-up.
constexpr float kDefaultF0Reference = 121.0f;  // °C
constexpr float kDefaultF0ZValue = 10.0f;      // °C

struct F0Extremes {
    bool any = false;  // false when no record was computed
    float max = 0.0f, min = 0.0f;
};

// F = F + (Δ ÷ 60) × 10^((T_i − reference) ÷ z) for each record i in [firstIndex, endIndex)
// (bounded by the records that exist), Δ the record interval in seconds and T_i channel 1; after
// each step F becomes channel 2 of record i. The exponent is single precision, the power double
// precision converted to single, Δ ÷ 60, the product and the sum single precision. A channel-1
// value that is not a finite number contributes nothing, and a sum beyond the float range stays
// at the largest float, so channel 2 always holds finite numbers. Then maxValue and minValue of
// channel 2 become the extremes of the computed values, which are also returned. `z` must be
// usable (UsableZValue); otherwise nothing changes.
F0Extremes ComputeF0(RecordSet& set, int32_t firstIndex, int32_t endIndex, float reference, float z);

// A z-value of 0 (or not a finite number) would divide by zero.
bool UsableZValue(float z);

// What switching F0 mode on or off changed.
struct F0Switch {
    bool changed = false;          // channel 2 of the data set was changed
    bool channel2Enabled = false;  // channelEnabled of channel 2 afterwards
    F0Extremes extremes;           // after switching on: the curve's new axisMax / axisMin of channel 2
};

class F0Mode {
public:
    bool On() const { return on_; }

    // Keeps channel 2 aside (values, enable flag, quantity, unit, alarm settings, statistics)
    // unless F0 mode is on already, puts the recorded values back so that a new range starts
    // from them, enables channel 2 with the quantity `quantityName` and the unit `unitName` and
    // computes F over [firstIndex, endIndex). F is no measured quantity: while F0 mode is on,
    // channel 2 has its alarm switched off and limits no F reaches in practice (−3276.8 …
    // 3276.7 minutes), so no reader judges F against the recorded channel's limits.
    // An unusable z changes nothing.
    F0Switch SwitchOn(RecordSet& set, int32_t firstIndex, int32_t endIndex, float reference, float z,
                      const std::string& quantityName, const std::string& unitName);
    // Puts channel 2 back as it was before F0 mode; without F0 mode on it changes nothing, so a
    // recorded channel 2 stays enabled.
    F0Switch SwitchOff(RecordSet& set);

private:
    struct KeptChannel {
        std::vector<float> values;  // channel 2 of every record
        int32_t enabled = 0;
        int32_t quantityLength = 0;
        char quantityText[kChannelTextBytes] = {};
        int32_t unitLength = 0;
        char unitText[kChannelTextBytes] = {};
        uint8_t alarmEnabled = 0;
        int16_t lowerAlarmX10 = 0, upperAlarmX10 = 0;
        float maxValue = 0, minValue = 0, avgValue = 0;
        RecordTime maxTime, minTime;
    };
    void Keep(const RecordSet& set);
    void PutBack(RecordSet& set) const;

    bool on_ = false;
    KeptChannel kept_;
};

}  // namespace velorin
