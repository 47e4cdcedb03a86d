#include "platform/locale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/fake_locale.h"

namespace tabulon {
namespace {

TEST(LocaleTest, NamedLocalesGiveTheirFormatsAndSeparators) {
  struct Case {
    const char* name;
    const char* shortDate;
    const char* longTime;
    bool twelveHour;
    const char* dateSeparator;
    const char* timeSeparator;
    const char* thousands;
    const char* decimal;
    char firstLetter;
  };
  const Case cases[] = {
      {"en_US", "M/d/yy", "h:mm:ss AP", true, "/", ":", ",", ".", 'M'},
      {"de_DE", "dd.MM.yy", "HH:mm:ss", false, ".", ":", ".", ",", 'D'},
      {"nl_NL", "dd-MM-yyyy", "HH:mm:ss", false, "-", ":", ".", ",", 'D'},
      {"sv_SE", "yyyy-MM-dd", "HH:mm:ss", false, "-", ":", "\u00a0", ",", 'Y'},
      {"fi_FI", "d.M.yyyy", "H.mm.ss", false, ".", ".", "\u00a0", ",", 'D'},
      // Every character of this time pattern is a letter: the colon stands in.
      {"ja_JP", "yyyy/MM/dd", "H\u6642mm\u5206ss\u79d2", false, "/", ":", ",", ".", 'Y'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto locale = MakeLocale(c.name);
    EXPECT_EQ(locale->ShortDateFormat(), c.shortDate);
    EXPECT_EQ(locale->LongTimeFormat(), c.longTime);
    EXPECT_EQ(locale->Uses12HourClock(), c.twelveHour);
    EXPECT_EQ(locale->DateSeparator(), c.dateSeparator);
    EXPECT_EQ(locale->TimeSeparator(), c.timeSeparator);
    EXPECT_EQ(locale->ThousandsSeparator(), c.thousands);
    EXPECT_EQ(locale->DecimalPoint(), c.decimal);
    EXPECT_EQ(ShortDateFirstLetter(*locale), c.firstLetter);
  }
}

TEST(LocaleTest, FormatsAndParsesDatesInTheLocalesOrder) {
  const auto us = MakeLocale("en_US");
  EXPECT_EQ(us->FormatShortDate(2003, 12, 31), "12/31/03");
  EXPECT_EQ(us->FormatLongTime(15, 5, 9), "3:05:09 PM");
  const auto de = MakeLocale("de_DE");
  EXPECT_EQ(de->FormatShortDate(2003, 12, 31), "31.12.03");
  EXPECT_EQ(de->FormatLongTime(15, 5, 9), "15:05:09");

  struct Case {
    const char* text;
    bool ok;
    int year, month, day;
  };
  const Case usCases[] = {
      {"12/31/2003", true, 2003, 12, 31}, {" 2/ 9/1999 ", true, 1999, 2, 9},
      {"2/29/2004", true, 2004, 2, 29},   {"2/29/2003", false, 0, 0, 0},
      {"13/1/2003", false, 0, 0, 0},      {"  /  /    ", false, 0, 0, 0},
      {"12/31", false, 0, 0, 0},          {"12/31/2003/1", false, 0, 0, 0},
      {"12/31/03", true, 2003, 12, 31},   {"Dec/31/2003", false, 0, 0, 0},
  };
  for (const Case& c : usCases) {
    int y = 0, m = 0, d = 0;
    ASSERT_EQ(us->ParseShortDate(c.text, y, m, d), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ((std::vector{y, m, d}), (std::vector{c.year, c.month, c.day})) << c.text;
    }
  }
  int y = 0, m = 0, d = 0;
  ASSERT_TRUE(de->ParseShortDate("31.12.2003", y, m, d));
  EXPECT_EQ((std::vector{y, m, d}), (std::vector{2003, 12, 31}));
  ASSERT_TRUE(MakeLocale("sv_SE")->ParseShortDate("2003-12-31", y, m, d));
  EXPECT_EQ((std::vector{y, m, d}), (std::vector{2003, 12, 31}));
}

TEST(LocaleTest, CasingFollowsTheLocaleAndLeavesIllFormedBytesAlone) {
  const auto de = MakeLocale("de_DE");
  EXPECT_EQ(de->ToUpper("stra\u00dfe \u00e4bc"), "STRASSE \u00c4BC");
  EXPECT_EQ(de->ToLower("\u00c4BC"), "\u00e4bc");
  EXPECT_EQ(MakeLocale("tr_TR")->ToUpper("i"), "\u0130");
  const std::string broken = "ab\xff\xc3(cd";
  EXPECT_EQ(de->ToUpper(broken), "AB\xff\xc3(CD");
  EXPECT_EQ(de->ToLower("AB\xffZ"), "ab\xffz");
}

int Sign(int v) {
  return (v > 0) - (v < 0);
}

TEST(LocaleTest, SortKeysOrderAsTheComparisonsDo) {
  const std::vector<std::string> words = {"apple",      "Apple",
                                          "APPLE",      "\u00e4pfel",
                                          "Zebra",      "zebra",
                                          "10",         "9",
                                          "a b",        "ab",
                                          "",           "a",
                                          "\xff\xfe",   "\xfe",
                                          "x\xff",      "x\xfe",
                                          "\u00c4pfel", "r\u00e9sum\u00e9",
                                          "resume",     "R\u00e9sum\u00e9"};
  for (const char* name : {"en_US", "de_DE", "sv_SE", "C"}) {
    SCOPED_TRACE(name);
    const auto locale = MakeLocale(name);
    for (const std::string& a : words) {
      for (const std::string& b : words) {
        const int ci = locale->CompareCaseInsensitive(a, b);
        const int cs = locale->CompareCaseSensitive(a, b);
        ASSERT_EQ(
            Sign(locale->SortKeyCaseInsensitive(a).compare(locale->SortKeyCaseInsensitive(b))), ci)
            << a << " / " << b;
        ASSERT_EQ(Sign(locale->SortKeyCaseSensitive(a).compare(locale->SortKeyCaseSensitive(b))),
                  cs)
            << a << " / " << b;
        ASSERT_EQ(cs == 0, a == b) << "distinct texts never compare equal: " << a << " / " << b;
        ASSERT_EQ(Sign(locale->CompareCaseSensitive(b, a)), -cs);
      }
    }
  }
  const auto us = MakeLocale("en_US");
  EXPECT_EQ(us->CompareCaseInsensitive("apple", "APPLE"), 0);
  EXPECT_NE(us->CompareCaseInsensitive("resume", "r\u00e9sum\u00e9"), 0);  // accents count
  EXPECT_LT(us->CompareCaseSensitive("apple", "Apple"), 0);                // lower case first
  EXPECT_LT(us->CompareCaseSensitive("Apple", "banana"), 0);               // letters before case
  EXPECT_LT(us->CompareCaseInsensitive("\u00e4pfel", "zebra"), 0);
  // Swedish puts a-umlaut after z.
  EXPECT_GT(MakeLocale("sv_SE")->CompareCaseInsensitive("\u00e4pfel", "zebra"), 0);
}

TEST(LocaleTest, Utf8Validation) {
  const std::pair<const char*, bool> cases[] = {
      {"", true},
      {"plain", true},
      {"\u00e4\u20ac\U0001f600", true},
      {"\xff", false},
      {"\xc3", false},
      {"\xc0\xaf", false},          // overlong
      {"\xed\xa0\x80", false},      // surrogate
      {"\xf4\x90\x80\x80", false},  // above U+10FFFF
      {"\xe2\x82", false},
      {"a\x80z", false},
  };
  for (const auto& [text, valid] : cases) EXPECT_EQ(IsValidUtf8(text), valid) << text;
}

TEST(FakeLocaleTest, DefaultsAreThoseOfTheUnitedStates) {
  testing::FakeLocale locale;
  EXPECT_EQ(ShortDateFirstLetter(locale), 'M');
  EXPECT_TRUE(locale.Uses12HourClock());
  EXPECT_EQ(locale.FormatShortDate(2003, 12, 31), "12/31/2003");
  EXPECT_EQ(locale.FormatLongTime(15, 5, 9), "3:05:09 PM");
  EXPECT_EQ(locale.FormatLongTime(0, 30, 0), "12:30:00 AM");
  locale.shortDateFormat = "dd.MM.yyyy";
  locale.longTimeFormat = "HH:mm:ss";
  EXPECT_EQ(locale.FormatShortDate(2003, 2, 3), "03.02.2003");
  EXPECT_EQ(locale.FormatLongTime(9, 5, 0), "09:05:00");
  EXPECT_EQ(locale.CompareCaseInsensitive("ABC", "abc"), 0);
  EXPECT_EQ(locale.SortKeyCaseInsensitive("AbC\xff"), "abc\xff");
  EXPECT_LT(locale.CompareCaseSensitive("ABC", "abc"), 0);
}

}  // namespace
}  // namespace tabulon
