#include "logger_state.h"

#include <cstring>

namespace velorin::sim {

void SetFixedText(uint8_t* field, size_t width, const char* text) {
    std::memset(field, 0, width);
    if (text == nullptr) return;
    const size_t n = std::strlen(text);
    std::memcpy(field, text, n < width ? n : width);
}

int AlarmChannelCount(const LoggerState& state) {
    int k = 0;
    for (int c = 0; c < 6; ++c) k += state.channels[c].enabled ? 1 : 0;
    return k;
}

namespace {
ChannelConfig MakeChannel(uint8_t type, uint8_t quantity, uint8_t unit, int16_t lower, int16_t upper, int16_t rangeLow,
                          int16_t rangeHigh) {
    ChannelConfig c;
    c.enabled = true;
    c.type = type;
    c.quantity = quantity;
    c.unit = unit;
    c.alarm = true;
    c.lowerAlarmX10 = lower;
    c.upperAlarmX10 = upper;
    c.rangeLowX10 = rangeLow;
    c.rangeHighX10 = rangeHigh;
    return c;
}
}  // namespace

LoggerState DefaultLoggerState(int64_t hostNow) {
    LoggerState s;
    std::memcpy(s.model, "VLR-T810", 8);
    std::memcpy(s.serialNumber, "20261209", 8);
    SetFixedText(s.userName, kTextFieldBytes, "Velorin demo");
    SetFixedText(s.title, kTextFieldBytes, "Cold room 3");
    s.recordCount = 1000;
    s.intervalSeconds = 60;
    s.startTime = hostNow - static_cast<int64_t>(s.recordCount) * s.intervalSeconds;
    s.timedStart = s.startTime;
    s.timedStop = hostNow + 86400;
    s.channels[0] = MakeChannel(channel_type::Tenths, 1, 1, 150, 300, -400, 850);
    s.channels[1] = MakeChannel(channel_type::Tenths, 2, 4, 300, 700, 0, 1000);
    s.channels[2] = MakeChannel(channel_type::Hundredths, 1, 1, 150, 300, -400, 850);
    s.channels[3] = MakeChannel(channel_type::Float, 5, 8, 950, 1050, 300, 1100);
    return s;
}

}  // namespace velorin::sim
