#include "config/config_codec.h"

#include <cstdio>
#include <cstring>

#include "common/date_time.h"
#include "common/text_codec.h"

namespace velorin {

namespace {

// The data of a request never exceeds what one frame holds.
AngleFrame Build(uint8_t address, uint8_t command, const uint8_t* data, size_t length) {
    return BuildRequest(address, command, data, length);
}

void CopyText30(uint8_t* out, const std::string& text) {
    std::memset(out, 0, kConfigTextBytes);
    std::memcpy(out, text.data(), GbkFittingBytes(text, kConfigTextBytes));
}

AngleFrame BuildModeWithTime(uint8_t address, uint8_t command, uint8_t code, bool timed, const ClockBytes& time) {
    uint8_t data[7] = {code};
    if (!timed) return Build(address, command, data, 1);
    std::memcpy(data + 1, time.bytes, sizeof time.bytes);
    return Build(address, command, data, sizeof data);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

ClockBytes ClockBytesOf(int year, int month, int day, int hour, int minute, int second) {
    ClockBytes c;
    c.bytes[0] = static_cast<uint8_t>(year - 2000);
    c.bytes[1] = static_cast<uint8_t>(month);
    c.bytes[2] = static_cast<uint8_t>(day);
    c.bytes[3] = static_cast<uint8_t>(hour);
    c.bytes[4] = static_cast<uint8_t>(minute);
    c.bytes[5] = static_cast<uint8_t>(second);
    return c;
}

ClockBytes ClockBytesOf(const CDealTime& t) {
    return ClockBytesOf(t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(), t.GetMinute(), t.GetSecond());
}

uint8_t ToBcd(int value) { return static_cast<uint8_t>((value / 10) * 16 + value % 10); }

int FromBcd(uint8_t bcd) { return (bcd / 16) * 10 + bcd % 16; }

BcdTime BcdTimeOf(const CDealTime& t) {
    const int fields[6] = {t.GetYear() - 2000, t.GetMonth(), t.GetDay(), t.GetHour(), t.GetMinute(), t.GetSecond()};
    BcdTime b;
    for (int i = 0; i < 6; ++i) b.bytes[i] = ToBcd(fields[i]);
    return b;
}

ClockBytes PlainOf(const BcdTime& bcd) {
    ClockBytes c;
    for (int i = 0; i < 6; ++i) c.bytes[i] = static_cast<uint8_t>(FromBcd(bcd.bytes[i]));
    return c;
}

std::string TimedTimeText(const BcdTime& b) {
    char text[32];
    std::snprintf(text, sizeof text, "20%.2X-%.2X-%.2X %.2X:%.2X:%.2X", b.bytes[0], b.bytes[1], b.bytes[2], b.bytes[3],
                  b.bytes[4], b.bytes[5]);
    return text;
}

AlarmLimit ParseAlarmLimit(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // The digits of the number without its point, and how many stand before the point.
    std::string digits;
    size_t integerDigits = 0;
    while (i < text.size() && IsDigit(text[i])) digits += text[i++];
    integerDigits = digits.size();
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) digits += text[i++];
    }
    if (digits.empty()) return {};
    long exponent = 0;
    if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        bool expNegative = false;
        if (text[j] == '+' || text[j] == '-') expNegative = text[j++] == '-';
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) {
                if (exponent < 100000) exponent = exponent * 10 + (text[j] - '0');
                ++j;
            }
            if (expNegative) exponent = -exponent;
        }
    }
    // Tenths are the digits up to one place behind the point; the rest is truncated.
    const long wanted = static_cast<long>(integerDigits) + exponent + 1;
    long long tenths = 0;
    for (long k = 0; k < wanted; ++k) {
        const int d = k < static_cast<long>(digits.size()) ? digits[static_cast<size_t>(k)] - '0' : 0;
        tenths = tenths * 10 + d;
        if (tenths > 32768) return {0, false};
    }
    if (negative) tenths = -tenths;
    if (tenths < -32768 || tenths > 32767) return {0, false};
    return {static_cast<int16_t>(tenths), true};
}

AngleFrame BuildUserTitleRequest(uint8_t address, const std::string& userName, const std::string& title) {
    uint8_t data[2 * kConfigTextBytes];
    CopyText30(data, userName);
    CopyText30(data + kConfigTextBytes, title);
    return Build(address, cmd::SetUserTitle, data, sizeof data);
}

AngleFrame BuildClockRequest(uint8_t address, const ClockBytes& time) {
    return Build(address, cmd::SetClock, time.bytes, sizeof time.bytes);
}

AngleFrame BuildStartModeRequest(uint8_t address, uint8_t code, const ClockBytes& time) {
    return BuildModeWithTime(address, cmd::SetStartMode, code, code == mode_code::StartTimed, time);
}

AngleFrame BuildStopModeRequest(uint8_t address, uint8_t code, const ClockBytes& time) {
    return BuildModeWithTime(address, cmd::SetStopMode, code, code == mode_code::StopTimed, time);
}

AngleFrame BuildIntervalRequest(uint8_t address, uint32_t seconds) {
    uint8_t data[4];
    WriteU32BE(data, seconds);
    return Build(address, cmd::SetRecordInterval, data, sizeof data);
}

AngleFrame BuildClearAndRestartRequest(uint8_t address) { return Build(address, cmd::ClearAndRestart, nullptr, 0); }

AngleFrame BuildAlarmRequest(uint8_t address, const AlarmSetting* settings, size_t count) {
    constexpr size_t kMaxChannels = 6;
    uint8_t data[5 * kMaxChannels];
    if (count > kMaxChannels) count = kMaxChannels;
    for (size_t c = 0; c < count; ++c) {
        uint8_t* p = data + 5 * c;
        p[0] = settings[c].enabled ? 1 : 0;
        WriteU16BE(p + 1, static_cast<uint16_t>(settings[c].lowerX10));
        WriteU16BE(p + 3, static_cast<uint16_t>(settings[c].upperX10));
    }
    return Build(address, cmd::SetAlarmLimits, count ? data : nullptr, 5 * count);
}

AngleFrame BuildPowerModeRequest(uint8_t address, uint8_t code) { return Build(address, cmd::SetPowerMode, &code, 1); }

AngleFrame BuildRecordModeRequest(uint8_t address, uint8_t code) {
    return Build(address, cmd::SetRecordMode, &code, 1);
}

void BuildUsbUserTitle(const std::string& userName, const std::string& title, uint8_t (&report)[64]) {
    std::memset(report, 0, sizeof report);
    report[0] = kRequestStart;
    CopyText30(report + 1, userName);
    CopyText30(report + 1 + kConfigTextBytes, title);
}

void BuildUsbInterval(uint32_t seconds, uint8_t overLimitIndex, uint8_t (&report)[64]) {
    std::memset(report, 0, sizeof report);
    report[0] = kRequestStart;
    WriteU32BE(report + 1, seconds);
    report[5] = overLimitIndex;
    report[9] = 255;
    report[10] = kRequestEnd;
}

bool AcceptCount7(const ReplySeen& r) { return r.received == kFrameOverheadBytes; }

bool AcceptFramed7(const ReplySeen& r) { return AcceptCount7(r) && r.Byte(0) == kReplyStart && r.Byte(6) == kReplyEnd; }

bool AcceptIntervalReply(const ReplySeen& r) { return r.Byte(0) == kReplyStart && r.Byte(6) == kReplyEnd; }

bool AcceptStartModeReply(uint8_t code, const ReplySeen& r) {
    const size_t expected = code == mode_code::StartManual ? 7 : 8;
    if (r.received == expected) return true;
    // A framed acknowledgement of either length.
    if (r.received != 7 && r.received != 8) return false;
    return r.Byte(0) == kReplyStart && r.Byte(r.received - 1) == kReplyEnd;
}

bool AcceptWizardRestart(const ReplySeen& r) {
    return AcceptCount7(r) || r.Byte(2) == cmd::ClearAndRestart || r.Byte(0) == kReplyStart;
}

int ClockDialogFailureCount(const ReplySeen& r) {
    if (!AcceptCount7(r)) return 1;
    return (r.Byte(0) != kReplyStart ? 1 : 0) + (r.Byte(6) != kReplyEnd ? 1 : 0);
}

}  // namespace velorin
