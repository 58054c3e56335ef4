#include "config_apply.h"

#include <cstring>

#include "civil_time.h"
#include "device/frame.h"
#include "logger_state.h"

namespace velorin::sim {

namespace {

constexpr uint8_t kMaxOverLimitIndex = 13;  // 14 choices, "10 s" … "24 h"

ConfigResult SetStartMode(LoggerState& s, const uint8_t* data, size_t length) {
    if (length == 0) return ConfigResult::Rejected;
    const uint8_t code = data[0];
    if (code == 2) {
        int64_t when = 0;
        if (length != 7 || !ReadTimeBytes(data + 1, &when)) return ConfigResult::Rejected;
        s.timedStart = when;
    } else if ((code != 1 && code != 3) || length != 1) {
        return ConfigResult::Rejected;
    }
    s.startMode = code;
    // A manual start acknowledges with the plain 7 bytes; the other two echo their code.
    return code == 3 ? ConfigResult::Ack : ConfigResult::AckWithCode;
}

ConfigResult SetStopMode(LoggerState& s, const uint8_t* data, size_t length) {
    if (length == 0) return ConfigResult::Rejected;
    const uint8_t code = data[0];
    if (code == 2) {
        int64_t when = 0;
        if (length != 7 || !ReadTimeBytes(data + 1, &when)) return ConfigResult::Rejected;
        s.timedStop = when;
    } else if (code < 1 || code > 4 || length != 1) {
        return ConfigResult::Rejected;
    }
    s.stopMode = code;
    return ConfigResult::Ack;
}

ConfigResult SetAlarmLimits(LoggerState& s, const uint8_t* data, size_t length) {
    // Five bytes for each enabled channel among channels 1..6, in channel order. A request built
    // for another channel set cannot be matched to channels and is refused whole.
    const int k = AlarmChannelCount(s);
    if (length != static_cast<size_t>(5 * k)) return ConfigResult::Rejected;
    const uint8_t* p = data;
    for (int c = 0; c < 6; ++c) {
        ChannelConfig& ch = s.channels[c];
        if (!ch.enabled) continue;
        ch.alarm = p[0] != 0;
        ch.lowerAlarmX10 = ReadS16BE(p + 1);
        ch.upperAlarmX10 = ReadS16BE(p + 3);
        p += 5;
    }
    return ConfigResult::Ack;
}

}  // namespace

bool IsConfigCommand(uint8_t command) {
    switch (command) {
        case cmd::SetUserTitle:
        case cmd::SetClock:
        case cmd::SetStartMode:
        case cmd::SetStopMode:
        case cmd::SetRecordInterval:
        case cmd::StopRecording:
        case cmd::ClearAndRestart:
        case cmd::SetAlarmLimits:
        case cmd::SetPowerMode:
        case cmd::SetRecordMode: return true;
        default: return false;
    }
}

ConfigResult ApplyConfig(LoggerState& s, uint8_t command, const uint8_t* data, size_t length, int64_t hostNow) {
    const int64_t loggerNow = hostNow + s.clockOffset;
    switch (command) {
        case cmd::SetUserTitle:
            if (length != 2 * kTextFieldBytes) return ConfigResult::Rejected;
            std::memcpy(s.userName, data, kTextFieldBytes);
            std::memcpy(s.title, data + kTextFieldBytes, kTextFieldBytes);
            return ConfigResult::Ack;
        case cmd::SetClock: {
            int64_t when = 0;
            if (length != 6 || !ReadTimeBytes(data, &when)) return ConfigResult::Rejected;
            s.clockOffset = when - hostNow;
            // A recording that holds no record yet starts on the newly set clock.
            if (s.recordCount == 0) s.startTime = when;
            return ConfigResult::Ack;
        }
        case cmd::SetStartMode: return SetStartMode(s, data, length);
        case cmd::SetStopMode: return SetStopMode(s, data, length);
        case cmd::SetRecordInterval: {
            if (length != 4) return ConfigResult::Rejected;
            const uint32_t seconds = ReadU32BE(data);
            if (seconds == 0) return ConfigResult::Rejected;
            s.intervalSeconds = seconds;
            return ConfigResult::Ack;
        }
        case cmd::StopRecording:
            if (length != 0) return ConfigResult::Rejected;
            s.workState = 0;
            return ConfigResult::Ack;
        case cmd::ClearAndRestart:
            if (length != 0) return ConfigResult::Rejected;
            s.recordCount = 0;
            s.overflowByte = 0;
            s.workState = 1;
            s.startTime = loggerNow;
            return ConfigResult::Ack;
        case cmd::SetAlarmLimits: return SetAlarmLimits(s, data, length);
        case cmd::SetPowerMode:
            if (length != 1 || (data[0] != 0x01 && data[0] != 0x80)) return ConfigResult::Rejected;
            s.powerMode = data[0];
            return ConfigResult::Ack;
        case cmd::SetRecordMode:
            if (length != 1 || data[0] > 1) return ConfigResult::Rejected;
            s.recordMode = data[0];
            return ConfigResult::Ack;
        default: return ConfigResult::Rejected;
    }
}

bool ApplyUsbUserTitle(LoggerState& s, const uint8_t* report, size_t length) {
    if (length < 1 + 2 * kTextFieldBytes || report[0] != kRequestStart) return false;
    std::memcpy(s.userName, report + 1, kTextFieldBytes);
    std::memcpy(s.title, report + 1 + kTextFieldBytes, kTextFieldBytes);
    return true;
}

bool ApplyUsbRecordInterval(LoggerState& s, const uint8_t* report, size_t length) {
    if (length < 11 || report[0] != kRequestStart || report[9] != 0xFF || report[10] != kRequestEnd) {
        return false;
    }
    const uint32_t seconds = ReadU32BE(report + 1);
    if (seconds == 0 || report[5] > kMaxOverLimitIndex) return false;
    s.intervalSeconds = seconds;
    s.overLimitIndex = report[5];
    return true;
}

}  // namespace velorin::sim
