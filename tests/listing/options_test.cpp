#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listing/listing_options.h"
#include "listing/listing_settings.h"
#include "support/fake_font_catalog.h"

namespace tabulon {
namespace {

using testing::FakeFontCatalog;

TEST(ListingOptionsItems, TextsByIndex) {
  struct Case {
    const char* (*item)(int);
    int index;
    const char* expected;  // nullptr: no item
  };
  const Case cases[] = {
      {FontSizeItem, 0, "8"},           {FontSizeItem, 4, "12"},
      {FontSizeItem, 2, "10"},          {FontSizeItem, 5, "10"},
      {FontSizeItem, 7, "10"},          {FontSizeItem, -1, "10"},
      {LevelsItem, 0, "All"},           {LevelsItem, 1, "1"},
      {LevelsItem, 10, "10"},           {LevelsItem, 11, nullptr},
      {LevelsItem, -1, nullptr},        {DateTypeItem, 0, "Modified"},
      {DateTypeItem, 2, "Accessed"},    {DateTypeItem, 3, nullptr},
      {SortFieldItem, 0, "Short Name"}, {SortFieldItem, 3, "File Type"},
      {SortFieldItem, 5, "Date/Time"},  {SortFieldItem, 6, "Attributes"},
      {SortFieldItem, 7, nullptr},      {SortFieldItem, -1, nullptr},
  };
  for (const Case& c : cases) {
    const char* actual = c.item(c.index);
    if (c.expected == nullptr) {
      EXPECT_EQ(actual, nullptr) << "index " << c.index;
    } else {
      ASSERT_NE(actual, nullptr) << "index " << c.index;
      EXPECT_STREQ(actual, c.expected) << "index " << c.index;
    }
  }
  EXPECT_EQ(ColumnCount(0), 1);
  EXPECT_EQ(ColumnCount(1), 2);
  EXPECT_EQ(ColumnCount(2), 4);
}

TEST(SelectFontName, FollowsTheFontSelectionRule) {
  const std::vector<std::string> fonts = {"DejaVu Sans", "DejaVu Serif", "Liberation Mono",
                                          "Liberation Sans", "Liberation Serif"};
  const FakeFontCatalog catalog(fonts, {{"Arial", "Liberation Sans"},
                                        {"Helvetica", "Nimbus Sans"},
                                        {"Times New Roman", "Liberation Serif"}});
  struct Case {
    std::vector<std::string> list;
    std::string stored;
    std::string expected;
  };
  const Case cases[] = {
      // In the list exactly: kept.
      {fonts, "DejaVu Serif", "DejaVu Serif"},
      // The metric-compatible family that matching gives.
      {fonts, "Arial", "Liberation Sans"},
      {fonts, "Times New Roman", "Liberation Serif"},
      // The comparison is case-sensitive, and matching knows no "arial".
      {fonts, "arial", "Liberation Mono"},
      // Matching gives a family the list does not hold: the third item.
      {fonts, "Helvetica", "Liberation Mono"},
      {fonts, "", "Liberation Mono"},
      // Too short a list for a third item: the first one.
      {{"DejaVu Sans", "DejaVu Serif"}, "Courier", "DejaVu Sans"},
      // No fonts at all: the stored name stays.
      {{}, "Arial", "Arial"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SelectFontName(c.list, catalog, c.stored), c.expected) << "stored " << c.stored;
  }
}

}  // namespace
}  // namespace tabulon
