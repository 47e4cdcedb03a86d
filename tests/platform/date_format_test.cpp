#include "platform/date_format.h"

#include <gtest/gtest.h>

namespace tabulon {
namespace {

DateTimeValue Value(int y, int mo, int d, int h, int mi, int s = 0) {
  DateTimeValue value = 0;
  EXPECT_TRUE(EncodeDateTime(CalendarTime{y, mo, d, h, mi, s, 0}, value));
  return value;
}

TEST(FormatDateTimeTest, ListingPatterns) {
  const DateTimeValue afternoon = Value(2003, 12, 31, 15, 5);
  struct Case {
    const char* pattern;
    DateTimeValue value;
    DateTimeSeparators separators;
    const char* expected;
  };
  const DateTimeSeparators slash{"/", ":"};
  const DateTimeSeparators dot{".", "."};
  const DateTimeSeparators dash{"-", ":"};
  const Case cases[] = {
      {"mm/dd/yyyy  h:mm", afternoon, slash, "12/31/2003  15:05"},
      {"mm/dd/yyyy  h:mmam/pm", afternoon, slash, "12/31/2003  3:05pm"},
      {"dd/mm/yyyy  h:mm", afternoon, slash, "31/12/2003  15:05"},
      {"dd/mm/yyyy  h:mmam/pm", afternoon, slash, "31/12/2003  3:05pm"},
      {"yyyy/mm/dd  h:mm", afternoon, slash, "2003/12/31  15:05"},
      {"yyyy/mm/dd  h:mmam/pm", Value(2004, 1, 2, 9, 7), slash, "2004/01/02  9:07am"},
      {"mm/dd/yyyy  h:mmam/pm", Value(2003, 12, 31, 0, 30), slash, "12/31/2003  12:30am"},
      {"mm/dd/yyyy  h:mmam/pm", Value(2003, 12, 31, 12, 0), slash, "12/31/2003  12:00pm"},
      {"mm/dd/yyyy  h:mmam/pm", Value(2003, 12, 31, 23, 59), slash, "12/31/2003  11:59pm"},
      {"mm/dd/yyyy  h:mm", Value(2003, 12, 31, 0, 0), slash, "12/31/2003  0:00"},
      {"dd/mm/yyyy  h:mm", afternoon, dot, "31.12.2003  15.05"},
      {"yyyy/mm/dd  h:mm", afternoon, dash, "2003-12-31  15:05"},
      {"dd/mm/yyyy", afternoon, dot, "31.12.2003"},
      {"mm/dd/yyyy", Value(1980, 1, 1, 0, 0), slash, "01/01/1980"},
      {"yyyymmddhhnnss", Value(2003, 12, 31, 15, 5, 9), slash, "20031231150509"},
      {"yyyymmddhhnnss", Value(2004, 2, 3, 4, 5, 6), slash, "20040203040506"},
      {"d/m/yy h:nn:ss", Value(2004, 2, 3, 4, 5, 6), slash, "3/2/04 4:05:06"},
      {"hh:mm \"o'clock\" 'mm'", afternoon, slash, "15:05 o'clock mm"},
      {"h:mm AM/PM", afternoon, slash, "3:05 PM"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatDateTime(c.pattern, c.value, c.separators), c.expected) << c.pattern;
  }
}

TEST(FormatDateTimeTest, EveryMinuteOfTheDayPrintsAsItself) {
  // The date-time value is a double; no minute may lose one on the way.
  for (int minute = 0; minute < 24 * 60; ++minute) {
    char expected[8];
    std::snprintf(expected, sizeof expected, "%d:%02d", minute / 60, minute % 60);
    ASSERT_EQ(FormatDateTime("h:mm", Value(2003, 12, 31, minute / 60, minute % 60)), expected);
  }
}

TEST(FormatDateTimeTest, AValueThatIsNoDateGivesNoText) {
  EXPECT_EQ(FormatDateTime("mm/dd/yyyy", 1e12), "");
  EXPECT_EQ(FormatDateTime("mm/dd/yyyy", 0.0), "12/30/1899");
}

}  // namespace
}  // namespace tabulon
