// One data set: the records of one history download with the header copied from the logger's
// device information, the per-channel settings and statistics.
//
// Texts are fixed-width GBK byte fields; a text that fills its whole field has no terminating
// NUL, so every reader bounds it by the field width (ReadField in common/text_codec.h). Unit and quantity texts are
// exactly unitLength[c] / quantityLength[c] bytes long (0..kChannelTextBytes).
//
// Records are held in a vector sized to the data set's count (at most kRecordCapacity); the
// vector's size is recordCount. Values of channel c mean something only when
// channelEnabled[c] is 1; −3276.7 marks a missing 2-byte sample and 0.0001 a missing 4-byte one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velorin {

constexpr int kRecordSetChannels = 8;
constexpr int32_t kRecordCapacity = 270336;
constexpr int kChannelTextBytes = 20;
// Channels whose values a .kv file stores (1..6); channels 7 and 8 exist only in memory.
constexpr int kStoredValueChannels = 6;

constexpr float kMissingValue2Byte = -3276.7f;
constexpr float kMissingValue4Byte = 0.0001f;

// A sample that was not measured: the 2-byte marker (within 0.1 of −3276.7) or the 4-byte
// marker (exactly the float 0.0001 the download stores for FF FF FF FF; a data file does not
// say which channels are 4-byte, so only that exact value counts and a real 0.0 stays a value).
// Every display, list, statistic and report asks this one question.
inline bool IsMissingSample(float v) {
    if (v == kMissingValue4Byte) return true;
    // A quick float test rules nearly every value (and NaN) out before the exact one.
    if (!(v > -3277.0f && v < -3276.4f)) return false;
    const double d = static_cast<double>(v) - static_cast<double>(kMissingValue2Byte);
    return d < 0.1 && d > -0.1;
}

// Six calendar fields as the logger counts them: year − 2000, month 1–12, day 1–31,
// hour 0–23, minute 0–59, second 0–59.
struct RecordTime {
    int32_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct SampleRecord {
    int32_t year = 0;  // year − 2000
    int32_t month = 0, day = 0, hour = 0, minute = 0, second = 0;
    float value[kRecordSetChannels] = {};
};
static_assert(sizeof(SampleRecord) == 56, "SampleRecord is six int32 and eight float32");

struct RecordSet {
    std::vector<SampleRecord> records;  // size() == recordCount
    float maxValue[kRecordSetChannels] = {};
    RecordTime maxTime[kRecordSetChannels];  // in memory only, not in the file
    float minValue[kRecordSetChannels] = {};
    RecordTime minTime[kRecordSetChannels];  // in memory only
    int32_t recordCount = 0;
    float avgValue[kRecordSetChannels] = {};
    char startModeText[9] = {};
    char stopModeText[13] = {};
    char timedStartText[25] = {};  // "%d-%.2d-%.2d %.2d:%.2d:%.2d"
    char timedStopText[25] = {};
    char startTimeText[25] = {};
    char userName[31] = {};
    char title[31] = {};
    int32_t deviceRecordCount = 0;
    int32_t overflowCount = 0;
    int32_t storageCapacity = 0;
    int32_t intervalSeconds = 0;
    int32_t intervalHours = 0, intervalMinutes = 0, intervalSecondsPart = 0;
    char recordModeText[9] = {};
    char workStatusText[9] = {};
    int32_t unitLength[kRecordSetChannels] = {};
    char unitText[kRecordSetChannels][kChannelTextBytes] = {};
    int32_t quantityLength[kRecordSetChannels] = {};
    char quantityText[kRecordSetChannels][kChannelTextBytes] = {};
    char serialNumber[9] = {};
    char model[8] = {};           // not terminated
    uint8_t firmwareVersion = 0;  // tenths: shown as "V%.1f" of the byte ÷ 10
    uint8_t alarmEnabled[kRecordSetChannels] = {};
    uint8_t powerMode = 0;  // 0x80 = power saving
    int16_t rangeLowX10[kRecordSetChannels] = {};
    int16_t rangeHighX10[kRecordSetChannels] = {};
    int16_t lowerAlarmX10[kRecordSetChannels] = {};
    int16_t upperAlarmX10[kRecordSetChannels] = {};
    int32_t channelEnabled[kRecordSetChannels] = {};
};

// The records that exist: recordCount bounded by the vector and the capacity (never negative),
// so a set whose count and vector disagree is never read past its end.
inline int32_t UsableRecordCount(const RecordSet& set) {
    int64_t n = set.recordCount < 0 ? 0 : set.recordCount;
    if (n > static_cast<int64_t>(set.records.size())) n = static_cast<int64_t>(set.records.size());
    if (n > kRecordCapacity) n = kRecordCapacity;
    return static_cast<int32_t>(n);
}

// A unit or quantity text length bounded by its 20-byte field.
inline int32_t UsableTextLength(int32_t length) {
    return length < 0 ? 0 : (length > kChannelTextBytes ? kChannelTextBytes : length);
}

inline std::string UnitTextOf(const RecordSet& set, int channel) {
    return std::string(set.unitText[channel], static_cast<size_t>(UsableTextLength(set.unitLength[channel])));
}

inline std::string QuantityTextOf(const RecordSet& set, int channel) {
    return std::string(set.quantityText[channel], static_cast<size_t>(UsableTextLength(set.quantityLength[channel])));
}

// Stores `text` as a unit or quantity text (cut to kChannelTextBytes) with its length.
void SetUnitText(RecordSet& set, int channel, const std::string& text);
void SetQuantityText(RecordSet& set, int channel, const std::string& text);

}  // namespace velorin
