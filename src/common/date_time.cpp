#include "common/date_time.h"

#include <climits>
#include <ctime>

namespace velorin {
namespace {

// One local calendar field of `seconds` plus `offset`; 0 when the count has no calendar on this
// platform (beyond time_t, or a year that does not fit an int).
int LocalField(int64_t seconds, int std::tm::*field, int offset) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    if (static_cast<int64_t>(t) != seconds) return 0;
    std::tm tm{};
    if (localtime_r(&t, &tm) == nullptr || tm.tm_year > INT_MAX - 1900) return 0;
    return tm.*field + offset;
}

}  // namespace

CDealTime::CDealTime() : seconds_(static_cast<int64_t>(std::time(nullptr))) {}

CDealTime::CDealTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    seconds_ = static_cast<int64_t>(std::mktime(&tm));
}

CDealTime::CDealTime(int64_t seconds) : seconds_(seconds) {}

CDealTime::~CDealTime() = default;

CDealTime CDealTime::operator-(const CDealTime& other) const {
    // Wrap-around instead of undefined behaviour for counts near the ends of the range.
    return CDealTime(static_cast<int64_t>(static_cast<uint64_t>(seconds_) - static_cast<uint64_t>(other.seconds_)));
}

int CDealTime::GetYear() const { return LocalField(seconds_, &std::tm::tm_year, 1900); }
int CDealTime::GetMonth() const { return LocalField(seconds_, &std::tm::tm_mon, 1); }
int CDealTime::GetDay() const { return LocalField(seconds_, &std::tm::tm_mday, 0); }
int CDealTime::GetHour() const { return LocalField(seconds_, &std::tm::tm_hour, 0); }
int CDealTime::GetMinute() const { return LocalField(seconds_, &std::tm::tm_min, 0); }
int CDealTime::GetSecond() const { return LocalField(seconds_, &std::tm::tm_sec, 0); }

}  // namespace velorin
