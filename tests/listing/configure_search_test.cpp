#include "listing/configure_search.h"

#include <gtest/gtest.h>

#include "support/fake_locale.h"

namespace tabulon {
namespace {

using testing::FakeLocale;

TEST(CutExcludeMasks, PiecesAsTyped) {
  struct Case {
    const char* text;
    std::vector<std::string> pieces;
  };
  const Case cases[] = {
      {"", {}},
      {"*.bak", {"*.bak"}},
      {"*.bak; *.tmp", {"*.bak", " *.tmp"}},
      {"*.bak;;*.tmp", {"*.bak", "", "*.tmp"}},
      {"*.bak;", {"*.bak"}},
      {"*.bak;;", {"*.bak", ""}},
      {";*.bak", {"", "*.bak"}},
      {";", {""}},
  };
  for (const Case& c : cases) EXPECT_EQ(CutExcludeMasks(c.text), c.pieces) << c.text;
}

TEST(ConfigureSearch, MasksTrimmedAndReturned) {
  FakeLocale locale;
  ListingOptions options;
  options.txtFilespec = "  *.txt; *.doc \t";
  options.txtExclude = " *.bak; *.tmp ";
  options.cboLevels = 3;
  TSearchCriteria criteria;
  criteria.Files().SetExcluded({"stale"});
  const TrimmedMasks masks = ConfigureSearch(options, criteria, locale);
  EXPECT_EQ(masks.txtFilespec, "*.txt; *.doc");
  EXPECT_EQ(masks.txtExclude, "*.bak; *.tmp");
  EXPECT_EQ(criteria.Files().FileName(), "*.txt; *.doc");
  EXPECT_EQ(criteria.Files().Excluded(), (std::vector<std::string>{"*.bak", " *.tmp"}));
  EXPECT_EQ(criteria.Files().MaxLevel(), 3);
  EXPECT_FALSE(criteria.Files().Subfolders());

  options.txtExclude = "   ";
  ConfigureSearch(options, criteria, locale);
  EXPECT_TRUE(criteria.Files().Excluded().empty());
}

TEST(ConfigureSearch, AttributesByHidden) {
  FakeLocale locale;
  ListingOptions options;
  TSearchCriteria criteria;
  options.chkHidden = true;
  ConfigureSearch(options, criteria, locale);
  EXPECT_EQ(criteria.Attribute().Attributes(),
            (TFileAttributeSet{ffArchive, ffReadonly, ffHidden, ffSystem}));
  options.chkHidden = false;
  ConfigureSearch(options, criteria, locale);
  EXPECT_EQ(criteria.Attribute().Attributes(), (TFileAttributeSet{ffArchive, ffReadonly}));
  EXPECT_FALSE(criteria.Attribute().ExactMatch());
}

TEST(ConfigureSearch, TimeStampPairChosenByDateKind) {
  FakeLocale locale;
  CalendarTime june1{2003, 6, 1};
  CalendarTime june30{2003, 6, 30};
  DateTimeValue from = 0, to = 0;
  ASSERT_TRUE(EncodeDateTime(june1, from));
  ASSERT_TRUE(EncodeDateTime(june30, to));

  for (int kind = 0; kind < 3; ++kind) {
    ListingOptions options;
    options.chkDateRange = true;
    options.grpDate = kind;
    options.txtFromDate = "06/01/2003";
    options.txtToDate = "06/30/2003";
    TSearchCriteria criteria;
    criteria.TimeStamp().SetCreatedAfter(5);  // left from an earlier job
    ConfigureSearch(options, criteria, locale);
    const TDateTimeCriteria& t = criteria.TimeStamp();
    EXPECT_EQ(t.ModifiedAfter(), kind == 0 ? from : 0) << kind;
    EXPECT_EQ(t.ModifiedBefore(), kind == 0 ? to : 0) << kind;
    EXPECT_EQ(t.CreatedAfter(), kind == 1 ? from : 0) << kind;
    EXPECT_EQ(t.CreatedBefore(), kind == 1 ? to : 0) << kind;
    EXPECT_EQ(t.AccessedAfter(), kind == 2 ? from : 0) << kind;
    EXPECT_EQ(t.AccessedBefore(), kind == 2 ? to : 0) << kind;
  }

  // An empty box sets no bound; without chkDateRange nothing is set.
  ListingOptions options;
  options.chkDateRange = true;
  options.txtFromDate = "06/01/2003";
  TSearchCriteria criteria;
  ConfigureSearch(options, criteria, locale);
  EXPECT_EQ(criteria.TimeStamp().ModifiedAfter(), from);
  EXPECT_EQ(criteria.TimeStamp().ModifiedBefore(), 0);
  options.chkDateRange = false;
  ConfigureSearch(options, criteria, locale);
  EXPECT_EQ(criteria.TimeStamp().ModifiedAfter(), 0);
}

}  // namespace
}  // namespace tabulon
