#include "analysis/clock_time.h"

#include <cstdio>

#include "common/format.h"
#include "history/record_set.h"

namespace velorin {

namespace {

// Days from 1970-01-01 to the civil date (proleptic Gregorian), valid for any year.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// 2000-01-01 counted from 1970-01-01.
constexpr int64_t kDaysTo2000 = 10957;

int DaysInMonth(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) return 29;
    return days[month - 1];
}

}  // namespace

int64_t ClockSecondsOf(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute, int32_t second) {
    // A month outside 1..12 is carried into the year so that the day count stays defined.
    int64_t y = static_cast<int64_t>(year) + 2000;
    int64_t m = static_cast<int64_t>(month) - 1;
    y += m >= 0 ? m / 12 : (m - 11) / 12;
    m = ((m % 12) + 12) % 12 + 1;
    const int64_t days = DaysFromCivil(y, m, 1) + (static_cast<int64_t>(day) - 1) - kDaysTo2000;
    return days * 86400 + static_cast<int64_t>(hour) * 3600 + static_cast<int64_t>(minute) * 60 + second;
}

int64_t ClockSeconds(const SampleRecord& r) {
    return ClockSecondsOf(r.year, r.month, r.day, r.hour, r.minute, r.second);
}

int64_t ClockSeconds(const RecordTime& t) { return ClockSecondsOf(t.year, t.month, t.day, t.hour, t.minute, t.second); }

RecordTime RecordTimeOfSeconds(int64_t seconds) {
    int64_t days = seconds / 86400;
    int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    // Civil date from days since 1970-01-01.
    const int64_t z = days + kDaysTo2000 + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const int64_t m = mp + (mp < 10 ? 3 : -9);
    const int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    RecordTime t;
    t.year = static_cast<int32_t>(y - 2000);
    t.month = static_cast<int32_t>(m);
    t.day = static_cast<int32_t>(d);
    t.hour = static_cast<int32_t>(rest / 3600);
    t.minute = static_cast<int32_t>(rest / 60 % 60);
    t.second = static_cast<int32_t>(rest % 60);
    return t;
}

void SetRecordClock(SampleRecord& r, int64_t seconds) {
    const RecordTime t = RecordTimeOfSeconds(seconds);
    r.year = t.year;
    r.month = t.month;
    r.day = t.day;
    r.hour = t.hour;
    r.minute = t.minute;
    r.second = t.second;
}

std::string ClockTimeText(const RecordTime& t) {
    return FormatC("%04d-%02d-%02d %02d:%02d:%02d", t.year + 2000, t.month, t.day, t.hour, t.minute, t.second);
}

std::string ClockTimeText(int64_t seconds) { return ClockTimeText(RecordTimeOfSeconds(seconds)); }

bool ParseClockTime(const std::string& text, int64_t& seconds) {
    if (text.size() != 19) return false;
    static const char kShape[] = "dddd-dd-dd dd:dd:dd";
    for (size_t i = 0; i < 19; ++i) {
        const char c = text[i];
        if (kShape[i] == 'd' ? (c < '0' || c > '9') : c != kShape[i]) return false;
    }
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d", &y, &mo, &d, &h, &mi, &s) != 6) return false;
    if (y < 1900 || y > 2299 || mo < 1 || mo > 12 || d < 1 || d > DaysInMonth(y, mo) || h > 23 || mi > 59 || s > 59) {
        return false;
    }
    seconds = ClockSecondsOf(y - 2000, mo, d, h, mi, s);
    return true;
}

}  // namespace velorin
