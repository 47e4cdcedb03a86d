#include "platform/file_time.h"

#include <cmath>
#include <ctime>
#include <limits>

namespace tabulon {
namespace {

constexpr std::int64_t kTicksPerDay = 86'400 * kFileTimeTicksPerSecond;
constexpr std::int64_t kTicksPerMillisecond = 10'000;
constexpr std::int64_t kMillisecondsPerDay = 86'400'000;
// Days from 1601-01-01 to 1970-01-01 and to 1899-12-30.
constexpr std::int64_t kDays1601To1970 = 134'774;
constexpr std::int64_t kDays1601To1899 = 109'205;
constexpr FileTime kMaxFileTime = static_cast<FileTime>(std::numeric_limits<std::int64_t>::max());

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back (H. Hinnant's
// civil calendar algorithms).
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146'097 + doe - 719'468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719'468;
  const std::int64_t era = (z >= 0 ? z : z - 146'096) / 146'097;
  const std::int64_t doe = z - era * 146'097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36'524 - doe / 146'096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

bool ValidDate(int year, int month, int day) {
  return month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

bool ValidTime(const CalendarTime& t) {
  return t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 &&
         t.second <= 59 && t.millisecond >= 0 && t.millisecond <= 999;
}

bool DecodeDos(DosDateTime dos, CalendarTime& out) {
  const unsigned date = dos >> 16;
  const unsigned time = dos & 0xFFFF;
  out.year = 1980 + static_cast<int>(date >> 9);
  out.month = static_cast<int>((date >> 5) & 0x0F);
  out.day = static_cast<int>(date & 0x1F);
  out.hour = static_cast<int>(time >> 11);
  out.minute = static_cast<int>((time >> 5) & 0x3F);
  out.second = static_cast<int>(time & 0x1F) * 2;
  out.millisecond = 0;
  return ValidDate(out.year, out.month, out.day) && ValidTime(out);
}

// The offset from UTC, in seconds, that the C library gives at an instant.
bool OffsetAt(std::int64_t unixSeconds, std::int64_t& offset) {
  const std::time_t t = static_cast<std::time_t>(unixSeconds);
  std::tm fields{};
  if (!localtime_r(&t, &fields)) return false;
  offset = fields.tm_gmtoff;
  return true;
}

class SystemTimeZone : public TimeZone {
 public:
  bool UtcToLocal(FileTime utc, FileTime& local) const override {
    if (utc > kMaxFileTime) return false;
    std::int64_t offset = 0;
    if (!OffsetAt(UnixFromFileTime(utc), offset)) return false;
    return Shift(utc, offset, local);
  }

  // A local time names one instant, two (the hour repeated when clocks go
  // back: the first is taken) or none (the hour skipped when they go
  // forward: the offset in force before the gap is used, so 02:30 becomes
  // 03:30 summer time, as mktime does).
  bool LocalToUtc(FileTime local, FileTime& utc) const override {
    if (local > kMaxFileTime) return false;
    const std::int64_t seconds = UnixFromFileTime(local);
    std::int64_t before = 0;
    std::int64_t after = 0;
    if (!OffsetAt(seconds - 86'400, before) || !OffsetAt(seconds + 86'400, after)) return false;
    bool found = false;
    std::int64_t best = 0;
    for (std::int64_t offset : {before, after}) {
      std::int64_t actual = 0;
      if (!OffsetAt(seconds - offset, actual) || actual != offset) continue;
      if (!found || offset > best) best = offset;  // larger offset = earlier instant
      found = true;
    }
    if (!found) best = before;
    return Shift(local, -best, utc);
  }

 private:
  static bool Shift(FileTime in, std::int64_t seconds, FileTime& out) {
    const std::int64_t ticks = seconds * kFileTimeTicksPerSecond;
    if (ticks < 0 && in < static_cast<FileTime>(-ticks)) return false;
    const FileTime shifted = in + static_cast<FileTime>(ticks);
    if (shifted > kMaxFileTime) return false;
    out = shifted;
    return true;
  }
};

}  // namespace

std::unique_ptr<TimeZone> MakeSystemTimeZone() {
  tzset();
  return std::make_unique<SystemTimeZone>();
}

FileTime FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds) {
  seconds += nanoseconds / 1'000'000'000;
  nanoseconds %= 1'000'000'000;
  if (nanoseconds < 0) {
    nanoseconds += 1'000'000'000;
    --seconds;
  }
  if (seconds < -kFileTimeUnixEpochSeconds) return 0;
  const std::int64_t since1601 = seconds + kFileTimeUnixEpochSeconds;
  if (since1601 > std::numeric_limits<std::int64_t>::max() / kFileTimeTicksPerSecond) {
    return kMaxFileTime;
  }
  return static_cast<FileTime>(since1601 * kFileTimeTicksPerSecond + nanoseconds / 100);
}

std::int64_t UnixFromFileTime(FileTime time) {
  return static_cast<std::int64_t>(time / kFileTimeTicksPerSecond) - kFileTimeUnixEpochSeconds;
}

bool FileTimeToCalendar(FileTime time, CalendarTime& out) {
  if (time > kMaxFileTime) return false;
  const auto ticks = static_cast<std::int64_t>(time);
  const std::int64_t days = ticks / kTicksPerDay;
  std::int64_t rest = ticks % kTicksPerDay;
  CivilFromDays(days - kDays1601To1970, out.year, out.month, out.day);
  out.hour = static_cast<int>(rest / (3600 * kFileTimeTicksPerSecond));
  rest %= 3600 * kFileTimeTicksPerSecond;
  out.minute = static_cast<int>(rest / (60 * kFileTimeTicksPerSecond));
  rest %= 60 * kFileTimeTicksPerSecond;
  out.second = static_cast<int>(rest / kFileTimeTicksPerSecond);
  out.millisecond = static_cast<int>(rest % kFileTimeTicksPerSecond / kTicksPerMillisecond);
  return true;
}

bool CalendarToFileTime(const CalendarTime& in, FileTime& out) {
  if (in.year < 1601 || in.year > 30827) return false;
  if (!ValidDate(in.year, in.month, in.day) || !ValidTime(in)) return false;
  const std::int64_t days = DaysFromCivil(in.year, in.month, in.day) + kDays1601To1970;
  const std::int64_t ms = ((in.hour * 60LL + in.minute) * 60 + in.second) * 1000 + in.millisecond;
  const std::int64_t ticks = days * kTicksPerDay + ms * kTicksPerMillisecond;
  if (ticks < 0) return false;
  out = static_cast<FileTime>(ticks);
  return true;
}

bool FileTimeToDosDateTime(FileTime local, DosDateTime& out) {
  CalendarTime t;
  if (!FileTimeToCalendar(local, t)) return false;
  if (t.year < 1980 || t.year > 2107) return false;
  const unsigned date = (static_cast<unsigned>(t.year - 1980) << 9) |
                        (static_cast<unsigned>(t.month) << 5) | static_cast<unsigned>(t.day);
  const unsigned time = (static_cast<unsigned>(t.hour) << 11) |
                        (static_cast<unsigned>(t.minute) << 5) |
                        static_cast<unsigned>(t.second / 2);
  out = (date << 16) | time;
  return true;
}

bool DosDateTimeToFileTime(DosDateTime dos, FileTime& local) {
  CalendarTime t;
  if (!DecodeDos(dos, t)) return false;
  return CalendarToFileTime(t, local);
}

bool DosDateTimeToCalendar(DosDateTime dos, CalendarTime& out) {
  return DecodeDos(dos, out);
}

bool DosDateTimeToDateTime(DosDateTime dos, DateTimeValue& out) {
  CalendarTime t;
  if (!DecodeDos(dos, t)) return false;
  return EncodeDateTime(t, out);
}

bool EncodeDateTime(const CalendarTime& in, DateTimeValue& out) {
  if (in.year < 1 || in.year > 9999) return false;
  if (!ValidDate(in.year, in.month, in.day) || !ValidTime(in)) return false;
  const std::int64_t days =
      DaysFromCivil(in.year, in.month, in.day) + kDays1601To1970 - kDays1601To1899;
  const std::int64_t ms = ((in.hour * 60LL + in.minute) * 60 + in.second) * 1000 + in.millisecond;
  const double fraction = static_cast<double>(ms) / static_cast<double>(kMillisecondsPerDay);
  // Before 30 December 1899 the time of day counts away from zero too.
  out = days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
  return true;
}

bool DecodeDateTime(DateTimeValue value, CalendarTime& out) {
  if (!std::isfinite(value)) return false;
  // Each part is rounded to the nearest millisecond, so a value that is a
  // hair below a whole minute still reads as that minute.
  double wholeDays = std::trunc(value);
  std::int64_t ms = std::llround(std::fabs(value - wholeDays) * kMillisecondsPerDay);
  if (ms >= kMillisecondsPerDay) {
    ms -= kMillisecondsPerDay;
    wholeDays += value < 0 ? -1 : 1;
  }
  if (std::fabs(wholeDays) > 4'000'000) return false;
  const auto days = static_cast<std::int64_t>(wholeDays);
  CivilFromDays(days + kDays1601To1899 - kDays1601To1970, out.year, out.month, out.day);
  if (out.year < 1 || out.year > 9999) return false;
  out.hour = static_cast<int>(ms / 3'600'000);
  out.minute = static_cast<int>(ms / 60'000 % 60);
  out.second = static_cast<int>(ms / 1000 % 60);
  out.millisecond = static_cast<int>(ms % 1000);
  return true;
}

}  // namespace tabulon
