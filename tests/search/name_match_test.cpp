#include "search/name_match.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "search/search_criteria.h"
#include "support/fake_locale.h"
#include "support/fake_time_zone.h"

namespace tabulon {
namespace {

using testing::FakeLocale;
using testing::FakeTimeZone;

TEST(SplitList, TrimsDropsEmptyAndCaseInsensitiveRepeats) {
  FakeLocale locale;
  struct Case {
    std::string text;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"  *.txt ;*.doc; ;*.TXT", {"*.txt", "*.doc"}},
      {"", {}},
      {";;;", {}},
      {"\t/home/ann\n;/srv", {"/home/ann", "/srv"}},
      {"a b;A B;a  b", {"a b", "a  b"}},  // inner blanks stay
      {"<Data;>data", {"<Data", ">data"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitList(c.text, locale), c.expected) << c.text;
  // Folder lists keep pieces that differ in case only.
  EXPECT_EQ(SplitList(" /data;/Data ;/data", locale, true),
            (std::vector<std::string>{"/data", "/Data"}));
}

TEST(ParseSubfolderPrefix, PrefixWinsOverDefaultAndIsRemoved) {
  struct Case {
    std::string entry;
    bool defaultFlag;
    bool expected;
    std::string rest;
  };
  const Case cases[] = {
      {"</data", true, false, "/data"},
      {">/data", false, true, "/data"},
      {"/data", true, true, "/data"},
      {"/data", false, false, "/data"},
      {"", true, true, ""},
      {"<", true, false, ""},
      {"<>x", true, false, ">x"},
  };
  for (const Case& c : cases) {
    std::string entry = c.entry;
    EXPECT_EQ(ParseSubfolderPrefix(entry, c.defaultFlag), c.expected) << c.entry;
    EXPECT_EQ(entry, c.rest) << c.entry;
  }
}

struct MatchCase {
  const char* name;
  const char* mask;
  bool expected;
};

TEST(MatchWildcard, TableOfCases) {
  const MatchCase cases[] = {
      {"abc", "a*z", true},  // nothing after "*" is compared
      {"abc", "a*", true},
      {"xbc", "a*", false},
      {"ab", "ab?", true},  // a trailing "?" also matches nothing
      {"abc", "ab?", true},
      {"abcd", "ab?", false},
      {"ab", "ab??", true},
      {"abc", "abc", true},
      {"ABC", "abc", true},
      {"abc", "ABC", true},
      {"abcd", "abc", false},
      {"ab", "abc", false},
      {"", "", true},
      {"", "*", true},
      {"", "?", true},
      {"a", "", false},
      {"a?c", "a?c", true},
      {"axc", "a?c", true},
      {"ac", "a?c", false},
      {"\xC3\xA9t\xC3\xA9", "?t?", true},  // "?" is one whole character
      {"\xC3\xA9t\xC3\xA9", "??t??", false},
      {"\xC3\x89T\xC3\x89", "\xC3\xA9t\xC3\xA9", false},  // only ASCII letters fold
  };
  for (const MatchCase& c : cases)
    EXPECT_EQ(MatchWildcard(c.name, c.mask), c.expected) << c.name << " / " << c.mask;
}

TEST(MatchNameAndExtension, TableOfCases) {
  const MatchCase cases[] = {
      {"readme", "*.*", true},
      {"README.TXT", "*.*", true},
      {"archive.tar.gz", "*.*", true},
      {"readme", "*.", true},
      {"README.TXT", "*.", false},
      {"archive.tar.gz", "*.", false},
      {"archive.tar.gz", "*.gz", true},
      {"archive.tar.gz", "*.tar", false},
      {"readme", "readme.*", true},  // no extension: "." stands for it
      {".profile", ".*", true},
      {"readme", "*.txt", false},  // a name without extension takes "." as its own
      {"README.TXT", "readme", true},
      {"readme", "readme", true},
      {"readme.txt", "read", false},
      {"notes.txt", "*.txt", true},
      {"notes.TXT", "*.txt", true},
      {"notes.txt2", "*.txt", false},
      {"notes.tx", "*.txt", false},
      {".bashrc", "*.*", true},
      {".bashrc", "*", true},
      {"a.b.c", "a.b.*", true},
      {"abc.txt", "a*z.txt", true},
  };
  for (const MatchCase& c : cases)
    EXPECT_EQ(MatchNameAndExtension(c.name, c.mask), c.expected) << c.name << " / " << c.mask;
}

TEST(MatchExclusionMask, FolderPartsDrivesAndNames) {
  struct Case {
    const char* folder;
    const char* name;
    const char* mask;
    bool expected;
  };
  const Case cases[] = {
      // A relative folder part is a plain suffix test.
      {"/work/Temp/", "x.tmp", "Temp/*.tmp", true},
      {"/work/MyTemp/", "x.tmp", "Temp/*.tmp", true},
      {"/Temp2/", "x.tmp", "Temp/*.tmp", false},
      {"/work/temp/", "x.tmp", "TEMP/*.tmp", true},
      {"/work/Temp/", "x.txt", "Temp/*.tmp", false},
      {"/work/Temp/sub/", "x.tmp", "Temp/*.tmp", false},
      // An absolute folder part, too.
      {"/Temp/", "x.tmp", "/Temp/*.tmp", true},
      {"/srv/Temp/", "x.tmp", "/Temp/*.tmp", true},
      // A drive letter names a drive no Linux folder has; ?: and *: match any.
      {"/Temp/", "x.tmp", "D:/Temp/*.tmp", false},
      {"/Temp/", "x.tmp", "?:/Temp/*.tmp", true},
      {"/srv/Temp/", "x.tmp", "*:/Temp/*.tmp", true},
      {"/Temp/", "x.tmp", "?:/Other/*.tmp", false},
      {"/Temp/", "x.tmp", "C:*.tmp", false},
      {"/Temp/", "x.tmp", "?:*.tmp", true},
      // A folder part alone excludes every file below a matching folder.
      {"/home/ann/Data/", "a.txt", "/Data/", true},
      {"/home/ann/Data/", "b", "Data/", true},
      {"/home/ann/Database/", "a.txt", "/Data/", false},
      // The suffix may not be longer than the folder.
      {"/a/", "x", "/b/a/", false},
      // No folder part: the name alone.
      {"/any/", "x.tmp", "*.tmp", true},
      {"/any/", "x.tmp", "*.bak", false},
      {"/any/", "README.TXT", "readme", true},
      // The empty mask excludes everything.
      {"/any/", "x.tmp", "", true},
      {"/", "x", "", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchExclusionMask(c.folder, c.name, c.mask), c.expected)
        << c.folder << c.name << " / " << c.mask;
}

TEST(MatchDrive, Rules) {
  EXPECT_TRUE(MatchDrive("", "?:"));
  EXPECT_TRUE(MatchDrive("", "*:"));
  EXPECT_FALSE(MatchDrive("", "C:"));
  EXPECT_TRUE(MatchDrive("c:", "C:"));
  EXPECT_FALSE(MatchDrive("d:", "C:"));
  EXPECT_TRUE(MatchDrive("//srv/share", "//srv/*"));
  EXPECT_FALSE(MatchDrive("", "//srv/share"));
  EXPECT_EQ(PathDrive("//srv/share/dir/"), "//srv/share");
  EXPECT_EQ(PathDrive("C:/x"), "C:");
  EXPECT_EQ(PathDrive("/home/x/"), "");
}

TEST(AttributeCriteria, SubsetOrExactOverTheFiveBits) {
  struct Case {
    TFileAttributeSet set;
    bool exact;
    std::uint32_t attributes;
    bool expected;
  };
  const TFileAttributeSet defaults = TAttributeCriteria().Attributes();
  const Case cases[] = {
      {defaults, false, 0, true},  // none of the five bits: always passes
      {defaults, false, kAttrArchive, true},
      {defaults, false, kAttrArchive | kAttrHidden | kAttrReadOnly | kAttrSystem, true},
      {defaults, false, kAttrDirectory, false},  // directories fail the default set
      {defaults, false, kAttrArchive | 0x80 | 0x100 | kAttrVolumeId, true},  // other bits ignored
      {defaults, true, 0, false},
      {defaults, true, kAttrArchive | kAttrHidden | kAttrReadOnly | kAttrSystem, true},
      {defaults, true, kAttrArchive | kAttrHidden | kAttrReadOnly | kAttrSystem | 0x80, true},
      {{ffArchive}, false, kAttrReadOnly, false},
      {{ffArchive}, false, 0, true},
      {{}, false, 0, true},
      {{}, false, kAttrArchive, false},
      {{ffDirectory}, false, kAttrDirectory, true},
      {{ffDirectory}, true, kAttrDirectory | kAttrHidden, false},
      {{ffDirectory, ffHidden}, true, kAttrDirectory | kAttrHidden, true},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    TAttributeCriteria criteria;
    criteria.SetAttributes(cases[i].set);
    criteria.SetExactMatch(cases[i].exact);
    EXPECT_EQ(criteria.Matches(cases[i].attributes), cases[i].expected) << "case " << i;
  }
}

TEST(AttributeCriteria, SetAndMaskRoundTrip) {
  TAttributeCriteria criteria;
  EXPECT_EQ(criteria.AttributeMask(), 0x27u);
  EXPECT_EQ(criteria.Attributes(), (TFileAttributeSet{ffArchive, ffReadonly, ffHidden, ffSystem}));
  criteria.SetAttributes({ffDirectory, ffReadonly});
  EXPECT_EQ(criteria.AttributeMask(), 0x11u);
  EXPECT_EQ(AttributeSetFromMask(0xFFFFFFFF),
            (TFileAttributeSet{ffArchive, ffReadonly, ffHidden, ffSystem, ffDirectory}));
}

TEST(SizeCriteria, InclusiveBoundsOverTheWholeSize) {
  struct Case {
    std::uint32_t min, max;
    std::uint64_t size;
    bool expected;
  };
  const Case cases[] = {
      {0, 0, 0, true},
      {0, 0, 1ull << 40, true},
      {10, 0, 9, false},
      {10, 0, 10, true},
      {0, 10, 10, true},
      {0, 10, 11, false},
      {10, 20, 15, true},
      // The low 32 bits of 4 GiB + 5 are 5: a 32-bit test would accept them.
      {0, 1000, (1ull << 32) + 5, false},
      {1000, 0, (1ull << 32) + 5, true},
  };
  for (const Case& c : cases) {
    TSizeCriteria criteria;
    criteria.SetMin(c.min);
    criteria.SetMax(c.max);
    EXPECT_EQ(criteria.Matches(c.size), c.expected) << c.min << ".." << c.max << " " << c.size;
  }
}

TEST(InDateRange, WholeDatesTimesOfDayAndMoments) {
  const double june1 = 45444;  // 1 June 2024
  struct Case {
    double value, before, after;
    bool expected;
  };
  const Case cases[] = {
      {june1 + 0.99, june1, june1, true},  // whole dates include the whole day
      {june1, june1, june1, true},
      {june1 + 1.0, june1, 0, false},
      {june1 - 0.01, 0, june1, false},
      {june1 + 0.3, 0.5, 0, true},  // a time of day on any date
      {june1 + 0.7, 0.5, 0, false},
      {12.2, 0.5, 0, true},
      {june1 + 0.7, 0, 0.5, true},
      {june1 + 0.3, 0, 0.5, false},
      {june1 + 0.4, june1 + 0.5, 0, true},  // a moment
      {june1 + 0.6, june1 + 0.5, 0, false},
      {june1 + 0.6, 0, june1 + 0.5, true},
      {june1 + 0.5, june1 + 0.5, june1 + 0.5, true},  // both inclusive
      {june1 + 0.3, 0.5, 0.25, true},                 // morning window
      {june1 + 0.2, 0.5, 0.25, false},
      {0, 0, 0, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(InDateRange(c.value, c.before, c.after), c.expected)
        << c.value << " before " << c.before << " after " << c.after;
}

FileTime Utc(int y, int mo, int d, int h, int mi) {
  CalendarTime t;
  t.year = y;
  t.month = mo;
  t.day = d;
  t.hour = h;
  t.minute = mi;
  FileTime out = 0;
  EXPECT_TRUE(CalendarToFileTime(t, out));
  return out;
}

TEST(DateTimeCriteria, ConvertsToLocalTimeAndTestsEachPairInTurn) {
  FakeTimeZone zone(2 * 3600);
  const FileTime lateMay = Utc(2024, 5, 31, 23, 0);  // 1 June, 01:00 local
  EXPECT_NEAR(LocalDateTime(lateMay, zone), 45444 + 1.0 / 24, 1e-6);

  TDateTimeCriteria criteria;
  EXPECT_TRUE(criteria.Matches(0, lateMay, 0, zone));  // no bounds: no conversion needed
  criteria.SetModifiedAfter(45444);
  criteria.SetModifiedBefore(45444);
  EXPECT_TRUE(criteria.Matches(0, lateMay, 0, zone));
  zone.SetOffsetSeconds(0);
  EXPECT_FALSE(criteria.Matches(0, lateMay, 0, zone));  // still 31 May here

  TDateTimeCriteria morning;
  morning.SetAccessedBefore(0.5);
  EXPECT_TRUE(morning.Matches(0, 0, Utc(2019, 3, 4, 9, 0), zone));
  EXPECT_FALSE(morning.Matches(0, 0, Utc(2019, 3, 4, 13, 0), zone));

  TDateTimeCriteria created;
  created.SetCreatedAfter(45444);
  EXPECT_FALSE(created.Matches(Utc(2024, 5, 1, 0, 0), lateMay, lateMay, zone));
  EXPECT_TRUE(created.Matches(Utc(2024, 6, 2, 0, 0), 0, 0, zone));
}

TEST(Criteria, AssignCopiesItsOwnClassAndRefusesOthers) {
  TFileCriteria files;
  files.SetFileName("*.txt");
  files.SetLocation("/a;/b");
  files.SetIncluded({"/c/*.doc"});
  files.SetExcluded({"*.bak"});
  files.SetSubfolders(false);
  files.SetMinLevel(2);
  files.SetMaxLevel(3);
  TFileCriteria copy;
  copy.Assign(files);
  EXPECT_EQ(copy.FileName(), "*.txt");
  EXPECT_EQ(copy.Location(), "/a;/b");
  EXPECT_EQ(copy.Included(), std::vector<std::string>{"/c/*.doc"});
  EXPECT_EQ(copy.Excluded(), std::vector<std::string>{"*.bak"});
  EXPECT_FALSE(copy.Subfolders());
  EXPECT_EQ(copy.MinLevel(), 2);
  EXPECT_EQ(copy.MaxLevel(), 3);

  TSizeCriteria size;
  try {
    size.Assign(files);
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TFileCriteria to a TSizeCriteria");
  }
  TSearchCriteria search;
  EXPECT_THROW(search.Assign(size), EConvertError);
  EXPECT_THROW(size.Assign(search), EConvertError);

  TSearchCriteria source;
  source.Files().SetFileName("*.c");
  source.Size().SetMax(7);
  source.Content().SetPhrase("Needle");
  source.Attribute().SetExactMatch(true);
  source.TimeStamp().SetModifiedAfter(3);
  search.Assign(source);
  EXPECT_EQ(search.Files().FileName(), "*.c");
  EXPECT_EQ(search.Size().Max(), 7u);
  EXPECT_EQ(search.Content().SearchPhrase(), "needle");
  EXPECT_TRUE(search.Attribute().ExactMatch());
  EXPECT_EQ(search.TimeStamp().ModifiedAfter(), 3);
}

TEST(Criteria, Defaults) {
  TSearchCriteria c;
  EXPECT_TRUE(c.Files().FileName().empty());
  EXPECT_TRUE(c.Files().Location().empty());
  EXPECT_TRUE(c.Files().Subfolders());
  EXPECT_EQ(c.Files().MinLevel(), 0);
  EXPECT_EQ(c.Files().MaxLevel(), 0);
  EXPECT_FALSE(c.Attribute().ExactMatch());
  EXPECT_EQ(c.Size().Min(), 0u);
  EXPECT_EQ(c.TimeStamp().CreatedBefore(), 0);
  EXPECT_TRUE(c.Content().IgnoreCase());
  EXPECT_FALSE(c.Content().WholeWord());
  EXPECT_EQ(c.Content().PhraseLength(), 0u);
}

TEST(ContentCriteria, DerivedMembersFollowPhraseAndIgnoreCase) {
  TContentCriteria c;
  c.SetPhrase("Hello W\xC3\x89");
  EXPECT_EQ(c.PhraseLength(), 9u);
  EXPECT_EQ(c.SearchPhrase(), "hello w\xC3\x89");  // bytes above 0x7F kept
  EXPECT_EQ(&c.CaseTable(), &LowerCaseTable);
  c.SetIgnoreCase(false);
  EXPECT_EQ(c.SearchPhrase(), "Hello W\xC3\x89");
  EXPECT_EQ(&c.CaseTable(), &IdentityTable);
  TContentCriteria copy = c;
  EXPECT_EQ(&copy.CaseTable(), &IdentityTable);
  EXPECT_EQ(copy.SearchPhrase(), "Hello W\xC3\x89");
}

TEST(ModuleTables, ByteRules) {
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(IdentityTable[b], b);
    bool upper = b >= 'A' && b <= 'Z';
    EXPECT_EQ(LowerCaseTable[b], upper ? b + 32 : b);
    bool word = (b >= '0' && b <= '9') || (b >= 'a' && b <= 'z') || upper || b >= 0x80;
    EXPECT_EQ(DelimiterSet.Contains(static_cast<unsigned char>(b)), !word) << b;
  }
}

}  // namespace
}  // namespace tabulon
