#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "listing/date_patterns.h"
#include "listing/listing_options.h"
#include "platform/date_format.h"
#include "platform/file_time.h"
#include "support/fake_locale.h"

namespace tabulon {
namespace {

using testing::FakeLocale;

FakeLocale MakeLocale(const std::string& shortDate, const std::string& longTime, bool twelveHour,
                      const std::string& dateSeparator = "/") {
  FakeLocale locale;
  locale.shortDateFormat = shortDate;
  locale.longTimeFormat = longTime;
  locale.uses12HourClock = twelveHour;
  locale.dateSeparator = dateSeparator;
  return locale;
}

std::string FormatAfternoonOfNewYearsEve(const std::string& pattern, const Locale& locale) {
  CalendarTime time;
  time.year = 2003;
  time.month = 12;
  time.day = 31;
  time.hour = 15;
  time.minute = 5;
  DateTimeValue value = 0;
  EXPECT_TRUE(EncodeDateTime(time, value));
  return FormatDateTime(pattern, value, LocaleSeparators(locale));
}

TEST(ChooseDateFormats, PatternsFollowTheLocale) {
  struct Case {
    FakeLocale locale;
    const char* dateTime;
    const char* dateOnly;
    const char* printed;  // 31 December 2003, 3:05 in the afternoon
  };
  const Case cases[] = {
      {MakeLocale("d/M/yyyy", "HH:mm:ss", false), "dd/mm/yyyy  h:mm", "dd/mm/yyyy",
       "31/12/2003  15:05"},
      {MakeLocale("M/d/yyyy", "h:mm:ss AP", true), "mm/dd/yyyy  h:mmam/pm", "mm/dd/yyyy",
       "12/31/2003  3:05pm"},
      {MakeLocale("dd.MM.yyyy", "HH:mm", false, "."), "dd/mm/yyyy  h:mm", "dd/mm/yyyy",
       "31.12.2003  15:05"},
      {MakeLocale("yyyy-MM-dd", "HH:mm:ss", false, "-"), "yyyy/mm/dd  h:mm", "yyyy/mm/dd",
       "2003-12-31  15:05"},
      {MakeLocale("MM/dd/yy", "h:mm AP", true), "mm/dd/yyyy  h:mmam/pm", "mm/dd/yyyy",
       "12/31/2003  3:05pm"},
      // Only three patterns exist; any other first letter gets month first.
      {MakeLocale("'W'd/M/yyyy", "HH:mm", false), "mm/dd/yyyy  h:mm", "mm/dd/yyyy",
       "12/31/2003  15:05"},
  };
  for (const Case& c : cases) {
    const DateFormats formats = ChooseDateFormats(c.locale);
    EXPECT_EQ(formats.DateTimeFormat, c.dateTime) << c.locale.shortDateFormat;
    EXPECT_EQ(formats.DateOnlyFormat, c.dateOnly) << c.locale.shortDateFormat;
    EXPECT_EQ(FormatAfternoonOfNewYearsEve(formats.DateTimeFormat, c.locale), c.printed)
        << c.locale.shortDateFormat;
  }
}

TEST(IsDateBoxEmpty, BlankMasksOfAnyOrderAndSeparator) {
  struct Case {
    const char* text;
    bool empty;
  };
  const Case cases[] = {
      {"  /  /    ", true},  {"  /  /", true},        {"", true},
      {"    /  /  ", true},  {"  .  .    ", true},    {"    -  -  ", true},
      {"12/31/2003", false}, {"  /  /2003", false},   {"1 /  /    ", false},
      {"xx/yy/zzzz", true},  {"31.12.2003  ", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsDateBoxEmpty(c.text), c.empty) << '"' << c.text << '"';
}

struct Fields {
  int year, month, day, hour, minute, second;
  bool operator==(const Fields&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Fields& f) {
  return out << f.year << '-' << f.month << '-' << f.day << ' ' << f.hour << ':' << f.minute << ':'
             << f.second;
}

// A packed bound read back through the platform's conversions.
std::optional<Fields> Unpack(DosDateTime packed) {
  FileTime local = 0;
  CalendarTime time;
  if (packed == 0 || !DosDateTimeToFileTime(packed, local) || !FileTimeToCalendar(local, time)) {
    return std::nullopt;
  }
  return Fields{time.year, time.month, time.day, time.hour, time.minute, time.second};
}

TEST(ComputeDateRangeBounds, BothBoxesFilledGiveTheWholeDays) {
  const FakeLocale us = MakeLocale("M/d/yyyy", "h:mm:ss AP", true);
  const FakeLocale uk = MakeLocale("dd/MM/yyyy", "HH:mm:ss", false);
  const FakeLocale iso = MakeLocale("yyyy-MM-dd", "HH:mm:ss", false, "-");
  struct Case {
    const Locale& locale;
    const char* from;
    const char* to;
    std::optional<Fields> lower;  // nullopt: packs as 0
    std::optional<Fields> upper;
  };
  const Case cases[] = {
      {us, "06/01/2003", "12/31/2003", Fields{2003, 6, 1, 0, 0, 0},
       Fields{2003, 12, 31, 23, 59, 58}},
      {us, "6/1/2003  ", "6/1/2003", Fields{2003, 6, 1, 0, 0, 0}, Fields{2003, 6, 1, 23, 59, 58}},
      {uk, "01/06/2003", "31/12/2003", Fields{2003, 6, 1, 0, 0, 0},
       Fields{2003, 12, 31, 23, 59, 58}},
      {iso, "2003-06-01", "2003-12-31", Fields{2003, 6, 1, 0, 0, 0},
       Fields{2003, 12, 31, 23, 59, 58}},
      // The packed form holds 1980 to 2099 only.
      {us, "01/01/1980", "12/31/2099", Fields{1980, 1, 1, 0, 0, 0},
       Fields{2099, 12, 31, 23, 59, 58}},
      {us, "12/31/1979", "01/01/2100", std::nullopt, std::nullopt},
      // Texts that are no date.
      {us, "02/30/2004", "13/01/2004", std::nullopt, std::nullopt},
      {us, "12/  /2003", "31/12/2003", std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    ListingOptions options;
    options.chkDateRange = true;
    options.txtFromDate = c.from;
    options.txtToDate = c.to;
    const std::optional<DateRangeBounds> bounds = ComputeDateRangeBounds(options, c.locale);
    ASSERT_TRUE(bounds.has_value()) << c.from << " " << c.to;
    EXPECT_EQ(Unpack(bounds->lower), c.lower) << c.from;
    EXPECT_EQ(Unpack(bounds->upper), c.upper) << c.to;
    if (!c.lower) {
      EXPECT_EQ(bounds->lower, 0u) << c.from;
    }
    if (!c.upper) {
      EXPECT_EQ(bounds->upper, 0u) << c.to;
    }
  }
}

TEST(ComputeDateRangeBounds, NoBoundsUnlessCheckedAndBothBoxesFilled) {
  const FakeLocale us = MakeLocale("M/d/yyyy", "h:mm:ss AP", true);
  struct Case {
    bool checked;
    const char* from;
    const char* to;
  };
  const Case cases[] = {
      {false, "06/01/2003", "12/31/2003"},
      {true, "06/01/2003", "  /  /    "},
      {true, "06/01/2003", ""},
      {true, "  /  /    ", "12/31/2003"},
      {true, "    -  -  ", "12/31/2003"},
  };
  for (const Case& c : cases) {
    ListingOptions options;
    options.chkDateRange = c.checked;
    options.txtFromDate = c.from;
    options.txtToDate = c.to;
    EXPECT_FALSE(ComputeDateRangeBounds(options, us).has_value()) << c.from << "|" << c.to;
  }
}

}  // namespace
}  // namespace tabulon
