#include "details/size_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "support/fake_locale.h"

namespace tabulon {
namespace {

using testing::FakeLocale;

TEST(SizeText, GroupsOfThreeWithTheLocaleSeparator) {
  struct Case {
    std::uint64_t value;
    const char* separator;
    const char* expected;
  };
  const Case cases[] = {
      {0, ",", "0"},
      {999, ",", "999"},
      {1000, ",", "1,000"},
      {1234567, ",", "1,234,567"},
      {16777217, ",", "16,777,217"},
      {4294967297ULL, ",", "4,294,967,297"},
      {std::numeric_limits<std::uint64_t>::max(), ",", "18,446,744,073,709,551,615"},
      {1234567, ".", "1.234.567"},
      {1234567, "", "1234567"},
      {1234567, "\u202f", "1\u202f234\u202f567"},
  };
  for (const Case& c : cases) {
    FakeLocale locale;
    locale.thousandsSeparator = c.separator;
    EXPECT_EQ(SizeText(c.value, locale), c.expected) << c.value << " '" << c.separator << "'";
  }
}

TEST(SizeText, RightAlignedFormsCountCharactersAndNeverCut) {
  FakeLocale locale;
  EXPECT_EQ(SizeText6(1, locale), "     1");
  EXPECT_EQ(SizeText12(500, locale), "         500");
  EXPECT_EQ(SizeText6(1234567, locale), "1,234,567");  // longer than 6: not cut
  EXPECT_EQ(SizeText12(1234567, locale), "   1,234,567");
  // A separator of several bytes is still one character of the width.
  locale.thousandsSeparator = "\u00a0";
  EXPECT_EQ(SizeText6(1234, locale), " 1\u00a0234");
  EXPECT_EQ(SizeTextRight(1000, 15, locale), "          1\u00a0000");
}

}  // namespace
}  // namespace tabulon
