// Time stamps as the listing sees them: UTC and local file times, DOS
// date-times and date-time values, with the conversions between them.
#pragma once

#include <cstdint>
#include <memory>

namespace tabulon {

// 100-nanosecond ticks since 1 January 1601, 00:00. A UTC file time or, after
// conversion, a local one.
using FileTime = std::uint64_t;

// DOS date-time: date in the high 16 bits (years since 1980 << 9 | month << 5 |
// day), time in the low 16 bits (hour << 11 | minute << 5 | second / 2).
using DosDateTime = std::uint32_t;

// Days since 30 December 1899; the fraction is the time of day. 0 means none.
using DateTimeValue = double;

struct CalendarTime {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// The host's time-zone rules.
class TimeZone {
 public:
  virtual ~TimeZone() = default;
  // Each returns false when the time cannot be converted.
  virtual bool UtcToLocal(FileTime utc, FileTime& local) const = 0;
  virtual bool LocalToUtc(FileTime local, FileTime& utc) const = 0;
};

// The C library's rules for TZ (localtime_r / mktime).
std::unique_ptr<TimeZone> MakeSystemTimeZone();

constexpr std::int64_t kFileTimeTicksPerSecond = 10'000'000;
// Seconds from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kFileTimeUnixEpochSeconds = 11'644'473'600;

// Unix seconds and nanoseconds to a file time; times before 1601 give 0.
FileTime FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds = 0);
// The Unix seconds of a file time (truncated).
std::int64_t UnixFromFileTime(FileTime time);

// Calendar fields of a file time (proleptic Gregorian). Always succeeds for
// the 64-bit range up to year 30827; returns false beyond it.
bool FileTimeToCalendar(FileTime time, CalendarTime& out);
// False when a field is out of range (month 13, 30 February, hour 24 ...).
bool CalendarToFileTime(const CalendarTime& in, FileTime& out);

// Local file time to DOS date-time; false outside 1980..2107. Seconds are
// rounded down to even.
bool FileTimeToDosDateTime(FileTime local, DosDateTime& out);
// DOS date-time to local file time; false when a field is invalid.
bool DosDateTimeToFileTime(DosDateTime dos, FileTime& local);
// DOS date-time to a date-time value; false when the fields do not form a
// valid date and time (0 included).
bool DosDateTimeToDateTime(DosDateTime dos, DateTimeValue& out);
// DOS date-time to calendar fields, the same as DosDateTimeToDateTime and
// DecodeDateTime in turn without the round trip.
bool DosDateTimeToCalendar(DosDateTime dos, CalendarTime& out);

// Calendar fields to a date-time value and back; false for invalid fields or
// values outside years 1..9999.
bool EncodeDateTime(const CalendarTime& in, DateTimeValue& out);
bool DecodeDateTime(DateTimeValue value, CalendarTime& out);

}  // namespace tabulon
