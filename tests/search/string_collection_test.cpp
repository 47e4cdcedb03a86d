#include "search/string_collection.h"

#include <gtest/gtest.h>

#include "support/fake_locale.h"

namespace tabulon {
namespace {

using testing::FakeLocale;

TEST(TStringCollection, UpperTextAndFindText) {
  FakeLocale locale;
  const TStringCollection strings(locale);
  EXPECT_EQ(strings.UpperText("3:05:00 pm"), "3:05:00 PM");
  struct Case {
    const char* part;
    const char* text;
    bool ignoreCase;
    std::size_t start;
    std::size_t expected;
  };
  const Case cases[] = {
      {"PM", "3:05 pm", false, 0, 0}, {"PM", "3:05 pm", true, 0, 6}, {"ab", "abcab", false, 0, 1},
      {"ab", "abcab", false, 1, 1},   {"ab", "abcab", false, 2, 4},  {"ab", "abcab", false, 5, 0},
      {"ab", "abcab", false, 9, 0},   {"", "abc", false, 0, 0},      {"x", "", false, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(strings.FindText(c.part, c.text, c.ignoreCase, c.start), c.expected)
        << c.part << " in " << c.text << " from " << c.start;
  }
}

TEST(TStringCollection, RepeatAndReplicate) {
  EXPECT_EQ(TStringCollection::RepeatChar(' ', 3), "   ");
  EXPECT_EQ(TStringCollection::RepeatChar(' ', 0), "");
  EXPECT_EQ(TStringCollection::RepeatChar(' ', -2), "");
  EXPECT_EQ(TStringCollection::Replicate("&nbsp;", 3), "&nbsp;&nbsp;&nbsp;");
  EXPECT_EQ(TStringCollection::Replicate("&nbsp;", 0), "");
  EXPECT_EQ(TStringCollection::Replicate("&nbsp;", -1), "");
}

TEST(TStringCollection, ReplaceAll) {
  struct Case {
    const char* find;
    const char* replace;
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {" ", "&nbsp;", "Text Document", "Text&nbsp;Document"},
      {" ", "&nbsp;", "12/31/2003  3:05pm", "12/31/2003&nbsp;&nbsp;3:05pm"},
      {"a", "aa", "banana", "baanaanaa"},  // the inserted text is not scanned again
      {"A", "x", "banana", "banana"},      // case-sensitive
      {"", "x", "abc", "abc"},
      {"ab", "", "abab c", " c"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TStringCollection::ReplaceAll(c.find, c.replace, c.text), c.expected) << c.text;
  }
}

TEST(TStringCollection, ReplaceAllKeepsTheRestUpToItsLimit) {
  const std::size_t limit = TStringCollection::kReplaceAllRestLimit;
  const std::string rest(limit + 10, 'x');
  EXPECT_EQ(TStringCollection::ReplaceAll("#", "-", "#" + rest), "-" + rest.substr(0, limit));
  // Without a replacement nothing is cut.
  EXPECT_EQ(TStringCollection::ReplaceAll("#", "-", rest), rest);
  // The cut counts characters and never splits one.
  std::string wide;
  for (std::size_t i = 0; i < limit + 1; ++i) wide += "\xc3\xa9";
  const std::string out = TStringCollection::ReplaceAll("#", "", "#" + wide);
  EXPECT_EQ(out.size(), 2 * limit);
}

TEST(CodePointHelpers, PadCutAndCopy) {
  EXPECT_EQ(CharCount("a\xff\xc3\xa9"), 3u);
  EXPECT_EQ(PadRight(".c", 4), ".c  ");
  EXPECT_EQ(PadRight(".jpeg", 4), ".jpeg");
  EXPECT_EQ(PadLeft("9", 10), "         9");
  EXPECT_EQ(FitRight("\xc3\xa9\xc3\xa9\xc3\xa9", 2), "\xc3\xa9\xc3\xa9");
  EXPECT_EQ(LeftChars("\xe2\x82\xac"
                      "abc",
                      1),
            "\xe2\x82\xac");
  EXPECT_EQ(CopyChars("abcdef", 3, 2), "cd");
  EXPECT_EQ(CopyChars("abc", 7, 2), "");
}

}  // namespace
}  // namespace tabulon
