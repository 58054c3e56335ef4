#include "view/f0.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

namespace velorin {

namespace {
constexpr int kF0Channel = 1;           // channel 2 receives F
constexpr int kTemperatureChannel = 0;  // channel 1 is the temperature
}  // namespace

bool UsableZValue(float z) { return std::isfinite(z) && z != 0.0f; }

F0Extremes ComputeF0(RecordSet& set, int32_t firstIndex, int32_t endIndex, float reference, float z) {
    F0Extremes out;
    if (!UsableZValue(z) || !std::isfinite(reference)) return out;
    const int32_t first = std::max<int32_t>(firstIndex, 0);
    const int32_t end = std::min<int32_t>(endIndex, UsableRecordCount(set));
    const float minutesPerRecord = static_cast<float>(set.intervalSeconds) / 60.0f;
    float f = 0.0f;
    for (int32_t i = first; i < end; ++i) {
        SampleRecord& r = set.records[static_cast<size_t>(i)];
        const float t = r.value[kTemperatureChannel];
        if (std::isfinite(t)) {
            const float exponent = (t - reference) / z;
            const float lethality = static_cast<float>(std::pow(10.0, static_cast<double>(exponent)));
            const float sum = f + minutesPerRecord * lethality;
            f = std::isfinite(sum) ? sum : FLT_MAX;
        }
        r.value[kF0Channel] = f;
        if (!out.any) {
            out.any = true;
            out.max = out.min = f;
        } else {
            out.max = std::max(out.max, f);
            out.min = std::min(out.min, f);
        }
    }
    if (out.any) {
        set.maxValue[kF0Channel] = out.max;
        set.minValue[kF0Channel] = out.min;
    }
    return out;
}

void F0Mode::Keep(const RecordSet& set) {
    kept_.values.resize(set.records.size());
    for (size_t i = 0; i < set.records.size(); ++i) kept_.values[i] = set.records[i].value[kF0Channel];
    kept_.enabled = set.channelEnabled[kF0Channel];
    kept_.quantityLength = set.quantityLength[kF0Channel];
    std::memcpy(kept_.quantityText, set.quantityText[kF0Channel], kChannelTextBytes);
    kept_.unitLength = set.unitLength[kF0Channel];
    std::memcpy(kept_.unitText, set.unitText[kF0Channel], kChannelTextBytes);
    kept_.alarmEnabled = set.alarmEnabled[kF0Channel];
    kept_.lowerAlarmX10 = set.lowerAlarmX10[kF0Channel];
    kept_.upperAlarmX10 = set.upperAlarmX10[kF0Channel];
    kept_.maxValue = set.maxValue[kF0Channel];
    kept_.minValue = set.minValue[kF0Channel];
    kept_.avgValue = set.avgValue[kF0Channel];
    kept_.maxTime = set.maxTime[kF0Channel];
    kept_.minTime = set.minTime[kF0Channel];
}

void F0Mode::PutBack(RecordSet& set) const {
    const size_t n = std::min(kept_.values.size(), set.records.size());
    for (size_t i = 0; i < n; ++i) set.records[i].value[kF0Channel] = kept_.values[i];
    set.channelEnabled[kF0Channel] = kept_.enabled;
    set.quantityLength[kF0Channel] = kept_.quantityLength;
    std::memcpy(set.quantityText[kF0Channel], kept_.quantityText, kChannelTextBytes);
    set.unitLength[kF0Channel] = kept_.unitLength;
    std::memcpy(set.unitText[kF0Channel], kept_.unitText, kChannelTextBytes);
    set.alarmEnabled[kF0Channel] = kept_.alarmEnabled;
    set.lowerAlarmX10[kF0Channel] = kept_.lowerAlarmX10;
    set.upperAlarmX10[kF0Channel] = kept_.upperAlarmX10;
    set.maxValue[kF0Channel] = kept_.maxValue;
    set.minValue[kF0Channel] = kept_.minValue;
    set.avgValue[kF0Channel] = kept_.avgValue;
    set.maxTime[kF0Channel] = kept_.maxTime;
    set.minTime[kF0Channel] = kept_.minTime;
}

F0Switch F0Mode::SwitchOn(RecordSet& set, int32_t firstIndex, int32_t endIndex, float reference, float z,
                          const std::string& quantityName, const std::string& unitName) {
    F0Switch out;
    out.channel2Enabled = set.channelEnabled[kF0Channel] == 1;
    if (!UsableZValue(z) || !std::isfinite(reference)) return out;
    if (on_)
        PutBack(set);
    else
        Keep(set);
    on_ = true;
    set.channelEnabled[kF0Channel] = 1;
    SetQuantityText(set, kF0Channel, quantityName);
    SetUnitText(set, kF0Channel, unitName);
    set.alarmEnabled[kF0Channel] = 0;
    set.lowerAlarmX10[kF0Channel] = std::numeric_limits<int16_t>::min();
    set.upperAlarmX10[kF0Channel] = std::numeric_limits<int16_t>::max();
    out.extremes = ComputeF0(set, firstIndex, endIndex, reference, z);
    out.changed = true;
    out.channel2Enabled = true;
    return out;
}

F0Switch F0Mode::SwitchOff(RecordSet& set) {
    F0Switch out;
    if (on_) {
        PutBack(set);
        on_ = false;
        kept_ = KeptChannel();
        out.changed = true;
    }
    out.channel2Enabled = set.channelEnabled[kF0Channel] == 1;
    return out;
}

}  // namespace velorin
