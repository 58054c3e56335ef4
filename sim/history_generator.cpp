#include "history_generator.h"

#include <cmath>
#include <cstring>

#include "civil_time.h"
#include "logger_state.h"

namespace velorin::sim {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Missing samples fall on one record in every kMissingPeriod per channel, at a position that
// depends on the seed and the channel: always some, never many.
constexpr uint32_t kMissingPeriod = 150;

uint64_t Mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

struct Profile {
    double centre;
    double amplitude;
};

// Typical level and swing of a measured quantity (quantity codes of the name table).
Profile ProfileFor(const ChannelConfig& c) {
    switch (c.quantity) {
        case 1: return {22.5, 2.5};   // temperature, °C
        case 2: return {50.0, 10.0};  // relative humidity, %RH
        case 5: return {101.3, 0.6};  // pressure, kPa
        default: break;
    }
    if (c.rangeHighX10 > c.rangeLowX10) {
        const double low = c.rangeLowX10 / 10.0;
        const double high = c.rangeHighX10 / 10.0;
        return {(low + high) / 2.0, (high - low) / 20.0};
    }
    return {10.0, 1.0};
}

int16_t ClampRaw(double scaled) {
    const double r = std::round(scaled);
    // −32767 (0x8001) is the missing-value marker and must never be produced by a real value.
    if (r < -32766.0) return -32766;
    if (r > 32767.0) return 32767;
    return static_cast<int16_t>(r);
}

}  // namespace

size_t SampleWidth(uint8_t channelType) { return channelType & 0x0F; }

void EncodeSample(uint8_t channelType, const GeneratedSample& sample, uint8_t* out) {
    const size_t width = SampleWidth(channelType);
    if (width == 2) {
        if (sample.missing) {
            out[0] = 0x80;
            out[1] = 0x01;
            return;
        }
        const double scale = (channelType >> 4) == 2 ? 100.0 : 10.0;
        const uint16_t raw = static_cast<uint16_t>(ClampRaw(sample.value * scale));
        out[0] = static_cast<uint8_t>(raw >> 8);
        out[1] = static_cast<uint8_t>(raw);
    } else if (width == 4) {
        if (sample.missing) {
            std::memset(out, 0xFF, 4);
            return;
        }
        const float f = static_cast<float>(sample.value);
        uint32_t bits = 0;
        std::memcpy(&bits, &f, 4);
        for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(bits >> (8 * i));
    } else if (width > 0) {
        std::memset(out, 0, width);
    }
}

uint16_t LiveRaw(uint8_t channelType, const GeneratedSample& sample) {
    if (sample.missing) return 0x8001;
    const double scale = (channelType >> 4) == 2 ? 100.0 : 10.0;
    return static_cast<uint16_t>(ClampRaw(sample.value * scale));
}

HistoryGenerator::HistoryGenerator(const LoggerState& state) : state_(state) {}

uint32_t HistoryGenerator::AvailableRecords() const {
    return state_.recordCount < state_.capacity ? state_.recordCount : state_.capacity;
}

uint32_t HistoryGenerator::FirstIndex() const { return state_.recordCount - AvailableRecords(); }

size_t HistoryGenerator::RecordBytes() const {
    size_t bytes = 6;
    for (const ChannelConfig& c : state_.channels) {
        if (c.enabled) bytes += SampleWidth(c.type);
    }
    return bytes;
}

int64_t HistoryGenerator::RecordTime(uint32_t index) const {
    return state_.startTime + static_cast<int64_t>(index) * state_.intervalSeconds;
}

double HistoryGenerator::Noise(int channel, uint64_t key) const {
    const uint64_t h = Mix(state_.seed * 0x100000001B3ull ^ Mix(key * 16 + channel));
    return (static_cast<double>(h >> 11) / 9007199254740992.0) - 0.5;  // [−0.5, 0.5)
}

double HistoryGenerator::SmoothValue(int channel, double t) const {
    const Profile p = ProfileFor(state_.channels[channel]);
    const double phase = static_cast<double>(Mix(state_.seed + channel) % 6283) / 1000.0;
    // A daily swing plus a slower drift over about four days.
    const double day = std::sin(2.0 * kPi * t / 86400.0 + phase);
    const double slow = std::sin(2.0 * kPi * t / 350000.0 + 2.0 * phase);
    return p.centre + p.amplitude * (0.7 * day + 0.3 * slow);
}

GeneratedSample HistoryGenerator::Sample(int channel, uint32_t index) const {
    GeneratedSample s;
    const uint32_t shift = static_cast<uint32_t>((state_.seed * 37 + channel * 23) % kMissingPeriod);
    if ((index + shift) % kMissingPeriod == kMissingPeriod - 1) {
        s.missing = true;
        return s;
    }
    const Profile p = ProfileFor(state_.channels[channel]);
    s.value = SmoothValue(channel, static_cast<double>(RecordTime(index))) + p.amplitude * 0.04 * Noise(channel, index);
    return s;
}

GeneratedSample HistoryGenerator::LiveSample(int channel, int64_t loggerNow) const {
    GeneratedSample s;
    const Profile p = ProfileFor(state_.channels[channel]);
    s.value = SmoothValue(channel, static_cast<double>(loggerNow)) +
              p.amplitude * 0.04 * Noise(channel, static_cast<uint64_t>(loggerNow));
    return s;
}

size_t HistoryGenerator::EncodeRecord(uint32_t index, uint8_t* out, size_t capacity) const {
    const size_t bytes = RecordBytes();
    if (bytes > capacity) return 0;
    WriteTimeBytes(RecordTime(index), out);
    size_t at = 6;
    for (int c = 0; c < kChannelCount; ++c) {
        const ChannelConfig& ch = state_.channels[c];
        if (!ch.enabled) continue;
        EncodeSample(ch.type, Sample(c, index), out + at);
        at += SampleWidth(ch.type);
    }
    return bytes;
}

}  // namespace velorin::sim
