#include "civil_time.h"

#include <cstdio>
#include <ctime>

namespace velorin::sim {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (valid for any year).
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2) {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return leap ? 29 : 28;
    }
    return kDays[month - 1];
}

}  // namespace

int64_t CivilToSeconds(const CivilTime& t) {
    return DaysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

CivilTime SecondsToCivil(int64_t seconds) {
    int64_t days = seconds / 86400;
    int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        days -= 1;
    }
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t doe = days - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    CivilTime t;
    t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2 ? 1 : 0));
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

bool IsValidCivil(const CivilTime& t) {
    if (t.month < 1 || t.month > 12 || t.day < 1) return false;
    if (t.day > DaysInMonth(t.year, t.month)) return false;
    return t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 && t.second < 60;
}

void WriteTimeBytes(int64_t seconds, uint8_t out[6]) {
    const CivilTime t = SecondsToCivil(seconds);
    int yearByte = t.year - 2000;
    if (yearByte < 0) yearByte = 0;
    if (yearByte > 255) yearByte = 255;
    out[0] = static_cast<uint8_t>(yearByte);
    out[1] = static_cast<uint8_t>(t.month);
    out[2] = static_cast<uint8_t>(t.day);
    out[3] = static_cast<uint8_t>(t.hour);
    out[4] = static_cast<uint8_t>(t.minute);
    out[5] = static_cast<uint8_t>(t.second);
}

bool ReadTimeBytes(const uint8_t in[6], int64_t* seconds) {
    CivilTime t;
    t.year = 2000 + in[0];
    t.month = in[1];
    t.day = in[2];
    t.hour = in[3];
    t.minute = in[4];
    t.second = in[5];
    if (!IsValidCivil(t)) return false;
    *seconds = CivilToSeconds(t);
    return true;
}

int64_t HostNowCivil() {
    const time_t now = time(nullptr);
    struct tm local {};
    localtime_r(&now, &local);
    CivilTime t;
    t.year = local.tm_year + 1900;
    t.month = local.tm_mon + 1;
    t.day = local.tm_mday;
    t.hour = local.tm_hour;
    t.minute = local.tm_min;
    t.second = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second stays in its minute
    return CivilToSeconds(t);
}

bool ParseCivil(const char* text, int64_t* seconds) {
    if (text == nullptr) return false;
    CivilTime t;
    char tail = 0;
    const int n =
        std::sscanf(text, "%4d-%2d-%2d %2d:%2d:%2d%c", &t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second, &tail);
    if (n != 6 || !IsValidCivil(t)) return false;
    *seconds = CivilToSeconds(t);
    return true;
}

}  // namespace velorin::sim
