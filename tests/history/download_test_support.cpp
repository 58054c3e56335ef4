#include "history/download_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

#include "civil_time.h"
#include "device/kvusb_loader.h"
#include "history/block_codec.h"
#include "history_generator.h"

namespace velorin::test {

DownloadTiming FastTiming(int quietPollMs) {
    DownloadTiming t;
    t.countReplyMs = 40;
    // All different, so that a test can count the pauses of one kind.
    t.countSettleMs = 2;
    t.hidCountSettleMs = 3;
    t.blockReplyMs = 5;
    t.lastBlockExtraMs = 4;
    t.quietPollMs = quietPollMs;
    t.blockRetryMs = 6;
    t.hidRetryMs = 1;
    return t;
}

sim::LoggerState LoggerWith(uint32_t records) {
    sim::CivilTime now;
    now.year = 2026;
    now.month = 3;
    now.day = 7;
    now.hour = 8;
    now.minute = 5;
    sim::LoggerState s = sim::DefaultLoggerState(sim::CivilToSeconds(now));
    s.recordCount = records;
    s.startTime = sim::CivilToSeconds(now) - static_cast<int64_t>(records) * s.intervalSeconds;
    return s;
}

DeviceInfo InfoFor(const sim::LoggerState& state) {
    DeviceInfo info;
    for (int c = 0; c < kChannelCount; ++c) {
        const sim::ChannelConfig& ch = state.channels[c];
        info.channel[c].channelEnabled = ch.enabled ? 1 : 0;
        info.channel[c].channelType = ch.type;
        info.channel[c].quantityCode = ch.quantity;
        info.channel[c].unitCode = ch.unit;
        info.channel[c].alarmEnabled = ch.alarm ? 1 : 0;
        info.channel[c].lowerAlarmX10 = ch.lowerAlarmX10;
        info.channel[c].upperAlarmX10 = ch.upperAlarmX10;
        info.channel[c].rangeLowX10 = ch.rangeLowX10;
        info.channel[c].rangeHighX10 = ch.rangeHighX10;
    }
    std::memcpy(info.serialNumber, state.serialNumber, 8);
    std::memcpy(info.model, state.model, 8);
    info.firmwareVersion = state.firmware;
    info.storageCapacity = static_cast<int32_t>(state.capacity);
    info.storedRecordCount = static_cast<int32_t>(state.recordCount);
    info.recordIntervalSeconds = static_cast<int32_t>(state.intervalSeconds);
    return info;
}

sim::ServerOptions SimulatedLogger::Unpaced() {
    sim::ServerOptions o;
    o.pacing = false;
    return o;
}

SimulatedLogger::SimulatedLogger(const sim::LoggerState& state, sim::ServerOptions options) {
    options.portFolder = dir_.Path();
    options.comNumber = 3;
    options.socketPath = dir_.Path() + "/kvusb-sim.sock";
    options.logPath = dir_.Path() + "/requests.log";
    portDir_ = std::make_unique<ScopedEnv>("VELORIN_PORT_DIR", dir_.Path());
    socket_ = std::make_unique<ScopedEnv>("VELORIN_KVUSB_SOCKET", options.socketPath);
    library_ = std::make_unique<ScopedEnv>("VELORIN_KVUSB", VELORIN_TEST_KVUSB_SIM);
    server_ = std::make_unique<sim::LoggerServer>(state, options);
    started_ = server_->Start(&error_);
}

size_t SimulatedLogger::Logged(const std::string& command) const {
    std::ifstream in(dir_.Path() + "/requests.log");
    size_t n = 0;
    for (std::string line; std::getline(in, line);) n += line.rfind(command + " ", 0) == 0;
    return n;
}

void SimulatedLogger::UseSerial(Link& link) const {
    link.currentPort = 3;
    link.currentPortPath = server_->DevicePath();
}

bool SimulatedLogger::UseUsb(Link& link) const {
    if (!link.usb.Available() && LoadKvusb(std::string(), link.usb).status != KvusbLoadStatus::Loaded) {
        return false;
    }
    link.hidHandle = link.FindLogger();
    link.currentPort = HID_LINK_PORT;
    return link.hidHandle != nullptr;
}

namespace {

// The value a download must show for a generated sample, decoded independently of the engine.
float Expected(uint8_t type, const sim::GeneratedSample& s, bool& counted) {
    counted = !s.missing;
    if ((type & 0x0F) == 4) return s.missing ? 0.0001f : static_cast<float>(s.value);
    if (s.missing) return -3276.7f;
    const double scale = (type >> 4) == 2 ? 100.0 : 10.0;
    const double raw = std::round(s.value * scale);
    return static_cast<float>(raw / scale);
}

}  // namespace

size_t CompareWithHistory(const DownloadBuffer& buffer, const sim::LoggerState& state) {
    const sim::HistoryGenerator history(state);
    size_t mismatches = 0;
    auto check = [&mismatches](bool ok, const std::string& what) {
        if (!ok && ++mismatches <= 5) ADD_FAILURE() << what;
    };
    check(buffer.recordCount == static_cast<int32_t>(history.AvailableRecords()),
          "record count " + std::to_string(buffer.recordCount));
    double sum[kChannelCount] = {};
    int counted[kChannelCount] = {};
    float maxV[kChannelCount], minV[kChannelCount];
    std::fill(maxV, maxV + kChannelCount, -10000.0f);
    std::fill(minV, minV + kChannelCount, 10000.0f);
    const int32_t n = std::min<int32_t>(buffer.recordCount, static_cast<int32_t>(history.AvailableRecords()));
    for (int32_t i = 0; i < n; ++i) {
        const uint32_t index = history.FirstIndex() + static_cast<uint32_t>(i);
        const SampleRecord& r = buffer.records[static_cast<size_t>(i)];
        const sim::CivilTime t = sim::SecondsToCivil(history.RecordTime(index));
        check(r.year == t.year - 2000 && r.month == t.month && r.day == t.day && r.hour == t.hour &&
                  r.minute == t.minute && r.second == t.second,
              "time of record " + std::to_string(i));
        for (int c = 0; c < kChannelCount; ++c) {
            if (!state.channels[c].enabled) {
                check(r.value[c] == 0.0f, "disabled channel written");
                continue;
            }
            bool isCounted = false;
            const float v = Expected(state.channels[c].type, history.Sample(c, index), isCounted);
            check(r.value[c] == v, "record " + std::to_string(i) + " channel " + std::to_string(c + 1) + ": " +
                                       std::to_string(r.value[c]) + " instead of " + std::to_string(v));
            if (!isCounted) continue;
            sum[c] += v;
            ++counted[c];
            maxV[c] = std::max(maxV[c], v);
            minV[c] = std::min(minV[c], v);
        }
    }
    float average[kRecordSetChannels];
    ComputeAverages(buffer, average);
    for (int c = 0; c < kChannelCount; ++c) {
        check(buffer.maxValue[c] == maxV[c], "maximum of channel " + std::to_string(c + 1));
        check(buffer.minValue[c] == minV[c], "minimum of channel " + std::to_string(c + 1));
        const double mean = counted[c] > 0 ? sum[c] / counted[c] : 0.0;
        check(std::fabs(average[c] - mean) <= 1e-3 * std::max(1.0, std::fabs(mean)),
              "average of channel " + std::to_string(c + 1) + ": " + std::to_string(average[c]) + " instead of " +
                  std::to_string(mean));
    }
    return mismatches;
}

}  // namespace velorin::test
