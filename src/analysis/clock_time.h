// Clock times of records as plain calendar seconds: the six fields a logger records, counted as
// if the calendar had no time zone and no daylight saving (days since 2000-01-01 × 86400 plus
// the time of day). Loggers that hang side by side record the same wall clock, so files line up
// by these seconds whatever zone the computer is in, and a daylight-saving change on the computer
// neither merges nor splits two records.
//
// Plain functions without shared state: any thread.
#pragma once

#include <cstdint>
#include <string>

namespace velorin {

struct RecordTime;
struct SampleRecord;

// Seconds since 2000-01-01 00:00:00 of the record's fields (year stored as year − 2000). Fields
// out of their range are counted as they are (minute 75 is 75 minutes), so a damaged record
// never stops the count.
int64_t ClockSecondsOf(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute, int32_t second);
int64_t ClockSeconds(const SampleRecord& record);
int64_t ClockSeconds(const RecordTime& time);

// The fields of `seconds` (year as year − 2000).
RecordTime RecordTimeOfSeconds(int64_t seconds);
// Sets the record's six time fields to `seconds`.
void SetRecordClock(SampleRecord& record, int64_t seconds);

// "YYYY-MM-DD hh:mm:ss" of the fields (year + 2000).
std::string ClockTimeText(const RecordTime& time);
std::string ClockTimeText(int64_t seconds);

// Reads exactly "YYYY-MM-DD hh:mm:ss" (19 characters) of a date that exists, years 1900 to
// 2299. False for anything else, `seconds` then unchanged.
bool ParseClockTime(const std::string& text, int64_t& seconds);

}  // namespace velorin
