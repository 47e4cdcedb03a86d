#include "platform/file_time.h"

#include <gtest/gtest.h>

#include <tuple>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace tabulon {
namespace {

CalendarTime Cal(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  return CalendarTime{y, mo, d, h, mi, s, ms};
}

DosDateTime Dos(int y, int mo, int d, int h, int mi, int s) {
  return (static_cast<DosDateTime>(((y - 1980) << 9) | (mo << 5) | d) << 16) |
         static_cast<DosDateTime>((h << 11) | (mi << 5) | (s / 2));
}

void ExpectCalendar(const CalendarTime& actual, const CalendarTime& expected) {
  EXPECT_EQ(actual.year, expected.year);
  EXPECT_EQ(actual.month, expected.month);
  EXPECT_EQ(actual.day, expected.day);
  EXPECT_EQ(actual.hour, expected.hour);
  EXPECT_EQ(actual.minute, expected.minute);
  EXPECT_EQ(actual.second, expected.second);
  EXPECT_EQ(actual.millisecond, expected.millisecond);
}

TEST(FileTimeTest, UnixAndCalendarAgreeOnKnownInstants) {
  struct Case {
    std::int64_t unixSeconds;
    CalendarTime calendar;
  };
  const Case cases[] = {
      {0, Cal(1970, 1, 1)},
      {-kFileTimeUnixEpochSeconds, Cal(1601, 1, 1)},
      {951'782'400, Cal(2000, 2, 29)},  // leap day of a leap century
      {1'072'883'100, Cal(2003, 12, 31, 15, 5, 0)},
      {4'107'542'399, Cal(2100, 2, 28, 23, 59, 59)},  // 2100 is no leap year
      {4'354'819'198, Cal(2107, 12, 31, 23, 59, 58)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.unixSeconds);
    const FileTime time = FileTimeFromUnix(c.unixSeconds);
    EXPECT_EQ(UnixFromFileTime(time), c.unixSeconds);
    CalendarTime out;
    ASSERT_TRUE(FileTimeToCalendar(time, out));
    ExpectCalendar(out, c.calendar);
    FileTime back = 0;
    ASSERT_TRUE(CalendarToFileTime(c.calendar, back));
    EXPECT_EQ(back, time);
  }
  EXPECT_EQ(FileTimeFromUnix(-kFileTimeUnixEpochSeconds - 1), 0u);  // before 1601
  EXPECT_EQ(FileTimeFromUnix(1, 250'000'000), FileTimeFromUnix(1) + 2'500'000);
}

TEST(FileTimeTest, CalendarRejectsInvalidFields) {
  const CalendarTime invalid[] = {
      Cal(2003, 13, 1),          Cal(2003, 0, 1),
      Cal(2003, 2, 29),          Cal(2004, 2, 30),
      Cal(2003, 4, 31),          Cal(2003, 1, 0),
      Cal(2003, 1, 1, 24),       Cal(2003, 1, 1, 0, 60),
      Cal(2003, 1, 1, 0, 0, 60), Cal(2003, 1, 1, 0, 0, 0, 1000),
      Cal(1600, 12, 31),
  };
  for (const CalendarTime& c : invalid) {
    FileTime out = 0;
    EXPECT_FALSE(CalendarToFileTime(c, out)) << c.year << "-" << c.month << "-" << c.day << " "
                                             << c.hour << ":" << c.minute << ":" << c.second;
  }
  CalendarTime out;
  EXPECT_FALSE(FileTimeToCalendar(~FileTime{0}, out));
}

TEST(FileTimeTest, DosDateTimeCoversTheYears1980To2107InTwoSecondSteps) {
  struct Case {
    CalendarTime local;
    std::optional<DosDateTime> dos;
  };
  const Case cases[] = {
      {Cal(1980, 1, 1), Dos(1980, 1, 1, 0, 0, 0)},
      {Cal(2003, 12, 31, 15, 5, 0), 0x2F9F78A0},
      {Cal(2003, 12, 31, 15, 5, 59, 999), Dos(2003, 12, 31, 15, 5, 58)},  // rounded down
      {Cal(2107, 12, 31, 23, 59, 59), Dos(2107, 12, 31, 23, 59, 58)},
      {Cal(1979, 12, 31, 23, 59, 59), std::nullopt},
      {Cal(2108, 1, 1), std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.local.year);
    FileTime local = 0;
    ASSERT_TRUE(CalendarToFileTime(c.local, local));
    DosDateTime dos = 0;
    ASSERT_EQ(FileTimeToDosDateTime(local, dos), c.dos.has_value());
    if (!c.dos) continue;
    EXPECT_EQ(dos, *c.dos);
    FileTime back = 0;
    ASSERT_TRUE(DosDateTimeToFileTime(dos, back));
    CalendarTime fields;
    ASSERT_TRUE(FileTimeToCalendar(back, fields));
    EXPECT_EQ(fields.second, c.local.second / 2 * 2);
    EXPECT_EQ(fields.millisecond, 0);
  }
}

TEST(FileTimeTest, InvalidDosFieldsFailEveryConversion) {
  const DosDateTime invalid[] = {
      0,                                       // month 0, day 0
      (1u << 5 | 0u) << 16,                    // day 0
      (13u << 5 | 1u) << 16,                   // month 13
      (2u << 5 | 30u) << 16,                   // 30 February 1980
      ((23u << 9) | (2u << 5) | 29u) << 16,    // 29 February 2003
      Dos(2003, 1, 1, 0, 0, 0) | (24u << 11),  // hour 24
      Dos(2003, 1, 1, 0, 0, 0) | (60u << 5),   // minute 60
      Dos(2003, 1, 1, 0, 0, 0) | 30u,          // second 60
      Dos(2003, 1, 1, 0, 0, 0) | 31u,          // second 62
  };
  for (DosDateTime dos : invalid) {
    SCOPED_TRACE(dos);
    FileTime time = 0;
    DateTimeValue value = 0;
    EXPECT_FALSE(DosDateTimeToFileTime(dos, time));
    EXPECT_FALSE(DosDateTimeToDateTime(dos, value));
    CalendarTime fields;
    EXPECT_FALSE(DosDateTimeToCalendar(dos, fields));
  }
}

// The listing reads a DOS time's fields directly; they must be those of the
// date-time value it stands for, over every field of the packed form.
TEST(FileTimeTest, DosFieldsAreThoseOfTheDateTimeValue) {
  std::uint32_t checked = 0;
  for (std::uint32_t date = 0; date < 0x10000; date += 7) {
    for (std::uint32_t time : {0u, 1u, 0x7BBDu, 0xBF7Du, 0xC000u, 0x0780u, 0xFFFFu}) {
      const DosDateTime dos = (date << 16) | time;
      DateTimeValue value = 0;
      CalendarTime direct;
      const bool valid = DosDateTimeToDateTime(dos, value);
      ASSERT_EQ(DosDateTimeToCalendar(dos, direct), valid) << std::hex << dos;
      if (!valid) continue;
      CalendarTime decoded;
      ASSERT_TRUE(DecodeDateTime(value, decoded));
      ASSERT_EQ(std::tie(direct.year, direct.month, direct.day, direct.hour, direct.minute,
                         direct.second, direct.millisecond),
                std::tie(decoded.year, decoded.month, decoded.day, decoded.hour, decoded.minute,
                         decoded.second, decoded.millisecond))
          << std::hex << dos;
      ++checked;
    }
  }
  EXPECT_GT(checked, 10'000u);
}

TEST(FileTimeTest, DateTimeValuesAreExact) {
  struct Case {
    CalendarTime calendar;
    double value;
  };
  const Case cases[] = {
      {Cal(1899, 12, 30), 0.0},
      {Cal(1900, 1, 1, 12), 2.5},
      {Cal(1899, 12, 29, 6), -1.25},  // before the epoch the time counts away from zero
      {Cal(2003, 12, 31, 15, 5, 0), 37986.0 + (15 * 60 + 5) / 1440.0},
      {Cal(9999, 12, 31, 23, 59, 59, 999), 2958465.0 + 86399999 / 86400000.0},
      {Cal(1, 1, 1), -693593.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    DateTimeValue value = -1;
    ASSERT_TRUE(EncodeDateTime(c.calendar, value));
    EXPECT_DOUBLE_EQ(value, c.value);
    CalendarTime out;
    ASSERT_TRUE(DecodeDateTime(value, out));
    ExpectCalendar(out, c.calendar);
  }

  // Every minute of a day survives the double: 15:05 never reads as 15:04.
  for (int minute = 0; minute < 24 * 60; ++minute) {
    DateTimeValue value = 0;
    ASSERT_TRUE(DosDateTimeToDateTime(Dos(2003, 12, 31, minute / 60, minute % 60, 0), value));
    CalendarTime out;
    ASSERT_TRUE(DecodeDateTime(value, out));
    ASSERT_EQ(out.hour * 60 + out.minute, minute);
    ASSERT_EQ(out.second, 0);
  }
  // A value a hair below a whole minute still decodes to it.
  CalendarTime out;
  ASSERT_TRUE(DecodeDateTime(37986.0 + (15 * 60 + 5) / 1440.0 - 1e-11, out));
  EXPECT_EQ(out.hour, 15);
  EXPECT_EQ(out.minute, 5);
  EXPECT_EQ(out.second, 0);

  DateTimeValue value = 0;
  EXPECT_FALSE(EncodeDateTime(Cal(10000, 1, 1), value));
  EXPECT_FALSE(EncodeDateTime(Cal(2003, 2, 29), value));
  EXPECT_FALSE(DecodeDateTime(1e12, out));
}

// Runs the body with TZ set, then puts the old value back.
class TzScope {
 public:
  explicit TzScope(const char* tz) {
    if (const char* old = std::getenv("TZ")) old_ = old;
    setenv("TZ", tz, 1);
    tzset();
  }
  ~TzScope() {
    if (old_) {
      setenv("TZ", old_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  std::optional<std::string> old_;
};

FileTime At(int y, int mo, int d, int h, int mi) {
  FileTime t = 0;
  EXPECT_TRUE(CalendarToFileTime(Cal(y, mo, d, h, mi), t));
  return t;
}

TEST(SystemTimeZoneTest, FollowsTheRulesOfTz) {
  // Central European rules spelled out, so no time-zone database is needed.
  TzScope tz("CET-1CEST,M3.5.0,M10.5.0/3");
  const auto zone = MakeSystemTimeZone();
  struct Case {
    const char* what;
    FileTime utc;
    FileTime local;
  };
  const Case toLocal[] = {
      {"winter", At(2003, 12, 31, 14, 5), At(2003, 12, 31, 15, 5)},
      {"summer", At(2003, 7, 1, 10, 0), At(2003, 7, 1, 12, 0)},
      {"last minute of winter time", At(2021, 3, 28, 0, 59), At(2021, 3, 28, 1, 59)},
      {"first minute of summer time", At(2021, 3, 28, 1, 0), At(2021, 3, 28, 3, 0)},
  };
  for (const Case& c : toLocal) {
    SCOPED_TRACE(c.what);
    FileTime local = 0;
    ASSERT_TRUE(zone->UtcToLocal(c.utc, local));
    EXPECT_EQ(local, c.local);
    FileTime utc = 0;
    ASSERT_TRUE(zone->LocalToUtc(c.local, utc));
    EXPECT_EQ(utc, c.utc);
  }

  FileTime utc = 0;
  // 02:30 on the spring-forward day does not exist: read with the offset in
  // force before the gap, as 03:30 summer time.
  ASSERT_TRUE(zone->LocalToUtc(At(2021, 3, 28, 2, 30), utc));
  EXPECT_EQ(utc, At(2021, 3, 28, 1, 30));
  // 02:30 on the fall-back day happens twice: the first one is taken.
  ASSERT_TRUE(zone->LocalToUtc(At(2021, 10, 31, 2, 30), utc));
  EXPECT_EQ(utc, At(2021, 10, 31, 0, 30));

  // Sub-second ticks are kept.
  FileTime local = 0;
  ASSERT_TRUE(zone->UtcToLocal(At(2003, 1, 1, 0, 0) + 1234567, local));
  EXPECT_EQ(local, At(2003, 1, 1, 1, 0) + 1234567);
  // An instant before 1601 in local time fails instead of wrapping.
  EXPECT_FALSE(zone->LocalToUtc(0, utc));
}

}  // namespace
}  // namespace tabulon
