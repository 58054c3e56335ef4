// The logger's clock is a plain wall clock without time zone: its times are kept as "civil
// seconds", the seconds since 1970-01-01 00:00:00 of that wall clock counted as if it were UTC.
// Converting between civil seconds and calendar fields needs no time-zone database.
#pragma once

#include <cstdint>

namespace velorin::sim {

struct CivilTime {
    int year = 2000;
    int month = 1;   // 1..12
    int day = 1;     // 1..31
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
    int second = 0;  // 0..59
};

int64_t CivilToSeconds(const CivilTime& t);
CivilTime SecondsToCivil(int64_t seconds);

// True when the fields name a real date and time (leap years included).
bool IsValidCivil(const CivilTime& t);

// The six time bytes of the protocol: year − 2000, month, day, hour, minute, second.
// A year outside 2000..2255 is clamped so the byte never wraps.
void WriteTimeBytes(int64_t seconds, uint8_t out[6]);
// Reads six time bytes; false when they do not name a valid date and time.
bool ReadTimeBytes(const uint8_t in[6], int64_t* seconds);

// The host's current local wall-clock time in civil seconds.
int64_t HostNowCivil();

// Parses "YYYY-MM-DD hh:mm:ss"; false on anything else.
bool ParseCivil(const char* text, int64_t* seconds);

}  // namespace velorin::sim
