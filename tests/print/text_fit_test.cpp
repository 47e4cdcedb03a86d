#include "print/text_fit.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fixed_text_measurer.h"

namespace tabulon {
namespace {

// Ten pixels per character.
int Width(std::string_view text) {
  return 10 * testing::FixedTextMeasurer::CodePoints(text);
}

TEST(TextFitTest, KeepsTheLongestStartThatFitsWithoutSplittingACharacter) {
  struct Case {
    std::string text;
    int width;
    std::string expected;
  };
  const std::string e = "\xC3\xA9";         // two bytes
  const std::string euro = "\xE2\x82\xAC";  // three bytes
  const Case cases[] = {
      {"report.txt", 100, "report.txt"},
      {"report.txt", 99, "report.tx"},
      {"report.txt", 35, "rep"},
      {"report.txt", 9, ""},
      {"report.txt", -10, ""},  // a column without room shows nothing
      {"", 0, ""},
      {e + e + e + e, 25, e + e},
      {"a" + euro + "b", 20, "a" + euro},
      // Invalid bytes count as one character each and are kept as they are.
      {"ab\xFF\xFE"
       "cd",
       40, "ab\xFF\xFE"},
      {"x\xE2\x82", 20, "x\xE2"},  // a cut-off sequence: two characters
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FitToWidth(c.text, c.width, Width), c.expected) << c.text << " in " << c.width;
  }
}

TEST(TextFitTest, MeasuresOnceMoreForEveryRemovedCharacter) {
  int calls = 0;
  WidthOf counting = [&](std::string_view text) {
    ++calls;
    return Width(text);
  };
  EXPECT_EQ(FitToWidth("abcdefghij", 70, counting), "abcdefg");
  EXPECT_EQ(calls, 4);  // the whole text, then without j, i and h
}

TEST(TextFitTest, SplitsOverTwoLines) {
  TwoLines fits = SplitToWidth("short", 100, Width, true);
  EXPECT_FALSE(fits.wrapped);
  EXPECT_EQ(fits.first, "short");
  EXPECT_EQ(fits.second, "");

  // The second line is fitted too; what lies beyond it is dropped.
  TwoLines names = SplitToWidth("abcdefghijklmnopqrstuvwxyz", 100, Width, true);
  EXPECT_TRUE(names.wrapped);
  EXPECT_EQ(names.first, "abcdefghij");
  EXPECT_EQ(names.second, "klmnopqrst");

  // Headings keep the whole rest, up to 1000 characters.
  const std::string longPath = "/" + std::string(1200, 'p');
  TwoLines heading = SplitToWidth(longPath, 100, Width, false);
  EXPECT_EQ(heading.first, longPath.substr(0, 10));
  EXPECT_EQ(heading.second, longPath.substr(10, 1000));
}

TEST(TextFitTest, RestStopsAtACharacterCount) {
  const std::string e = "\xC3\xA9";
  std::string text = "ab";
  for (int i = 0; i < 5; ++i) text += e;
  EXPECT_EQ(RestOfText(text, 2, 3), e + e + e);
  EXPECT_EQ(RestOfText(text, 2), text.substr(2));
  EXPECT_EQ(RestOfText(text, 100), "");
}

}  // namespace
}  // namespace tabulon
