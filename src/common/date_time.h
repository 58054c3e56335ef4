// CDealTime: a point in time (or a difference of two) as a signed 64-bit count of seconds since
// 1970-01-01 00:00:00 UTC. Calendar fields are built and read in the computer's local time zone,
// with daylight saving as the zone's rules say.
//
// A plain value: no shared state, no allocation. The accessors convert with localtime_r on every
// call, so a CDealTime may be used on any thread.
#pragma once

#include <cstdint>

namespace velorin {

class CDealTime {
public:
    // The computer's current time.
    CDealTime();
    // That local time through mktime with daylight saving left to the zone's rules; fields out of
    // range (minute 75, day 32) are normalised the way mktime does; a time mktime cannot
    // represent gives its error value, -1.
    CDealTime(int year, int month, int day, int hour, int minute, int second);
    // The count unchanged (also used for plain differences in seconds).
    explicit CDealTime(int64_t seconds);
    CDealTime(const CDealTime&) = default;
    CDealTime& operator=(const CDealTime&) = default;
    virtual ~CDealTime();

    // A value whose count is this count minus `other`'s: the difference in seconds.
    CDealTime operator-(const CDealTime& other) const;

    // Local calendar fields. A count the platform cannot turn into a calendar gives 0 for every
    // field.
    int GetYear() const;    // full year, e.g. 2024
    int GetMonth() const;   // 1–12
    int GetDay() const;     // 1–31
    int GetHour() const;    // 0–23
    int GetMinute() const;  // 0–59
    int GetSecond() const;  // 0–59 (60 only for a leap second in a "right/" zone)

    int64_t GetTime() const { return seconds_; }

private:
    int64_t seconds_ = 0;
};

}  // namespace velorin
