#include "listing/file_entry.h"

#include <gtest/gtest.h>

#include "listing/listing_options.h"
#include "platform/locale.h"
#include "support/fake_locale.h"
#include "support/fake_time_zone.h"

namespace tabulon {
namespace {

using testing::FakeLocale;
using testing::FakeTimeZone;

DosDateTime Dos(int year, int month, int day, int hour, int minute, int second) {
  return static_cast<DosDateTime>(((year - 1980) << 25) | (month << 21) | (day << 16) |
                                  (hour << 11) | (minute << 5) | (second / 2));
}

SearchRec Rec(const std::string& name, std::uint64_t size = 0, std::uint32_t attr = kAttrArchive,
              DosDateTime time = Dos(2003, 12, 31, 15, 5, 0), const std::string& alternate = "") {
  SearchRec rec;
  rec.name = name;
  rec.attr = attr;
  rec.time = time;
  rec.size = static_cast<std::uint32_t>(size);
  rec.findData.fileName = name;
  rec.findData.alternateName = alternate;
  rec.findData.attributes = attr;
  rec.findData.sizeHigh = static_cast<std::uint32_t>(size >> 32);
  rec.findData.sizeLow = static_cast<std::uint32_t>(size);
  return rec;
}

struct Fixture {
  FakeLocale locale;
  FakeTimeZone timeZone;
  EntryFormat format;
  FileEntry Make(const SearchRec& rec, const std::string& typeName = "") const {
    return MakeFileEntry(rec, typeName, format, timeZone);
  }
};

TEST(FileEntry, ExtensionKey) {
  struct Case {
    const char* name;
    const char* key;
  };
  const Case cases[] = {
      {"report.final.doc", ".docreport"}, {"readme", "    readme"},
      {".profile", ".profile"},           {"a.c", ".c  a"},
      {"photo.jpeg", ".jpegphoto"},       {"caf\xc3\xa9.m", ".m  caf\xc3\xa9"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExtensionKey(c.name), c.key) << c.name;
}

TEST(FileEntry, FolderDisplayPath) {
  EXPECT_EQ(FolderDisplayPath("/data/"), "/data");
  EXPECT_EQ(FolderDisplayPath("/data/Sub/"), "/data/Sub");
  EXPECT_EQ(FolderDisplayPath("/"), "/");
}

TEST(FileEntry, SlotsOfOneFile) {
  Fixture f;
  f.format.dateTimeFormat = "mm/dd/yyyy  h:mmam/pm";
  const FileEntry e =
      f.Make(Rec("report.txt", 1234, kAttrArchive, Dos(2003, 12, 31, 15, 5, 0), "REPORT~1.TXT"),
             "Text Document");
  EXPECT_EQ(e.ShortName, "REPORT~1.TXT");
  EXPECT_EQ(e.LongName, "report.txt");
  EXPECT_EQ(e.ExtensionKey, ".txtreport");
  EXPECT_EQ(e.TypeName, "Text Document");
  EXPECT_EQ(e.SizeField, "      1234");
  EXPECT_EQ(e.DateText, "12/31/2003  3:05pm");
  EXPECT_EQ(e.AttrText, "A   ");
  EXPECT_EQ(e.Size, 1234u);

  // No 8.3 name: the short name is the long name.
  EXPECT_EQ(f.Make(Rec("a long name.text")).ShortName, "a long name.text");
}

TEST(FileEntry, AttrTextAndSizeField) {
  EXPECT_EQ(AttrText(0), "    ");
  EXPECT_EQ(AttrText(kAttrArchive | kAttrReadOnly), "RA  ");
  EXPECT_EQ(AttrText(kAttrArchive | kAttrSystem | kAttrHidden | kAttrReadOnly), "RHSA");
  EXPECT_EQ(AttrText(kAttrHidden | kAttrDirectory), "H   ");
  EXPECT_EQ(SizeField(9), "         9");
  EXPECT_EQ(SizeField(4294967297ULL), "4294967297");
  EXPECT_EQ(SizeField(12345678901ULL), "12345678901");  // longer: not cut
}

TEST(FileEntry, SortKeyForEachField) {
  Fixture f;
  const SearchRec rec = Rec("report.txt", 1234, kAttrArchive | kAttrReadOnly,
                            Dos(2003, 12, 31, 15, 5, 42), "R~1.TXT");
  struct Case {
    int field;
    bool chkLongName;
    std::string key;
  };
  const Case cases[] = {
      {kSortShortName, true, "R~1.TXT"},
      {kSortLongName, true, "report.txt"},
      {kSortExtension, true, ".txtreport"},
      {kSortFileType, true, "Text" + std::string(36, ' ') + "report.txt"},
      {kSortFileType, false, "Text" + std::string(36, ' ') + "R~1.TXT"},
      {kSortSize, true, "      1234"},
      {kSortDateTime, true, "200312311505"},
      {kSortAttributes, true, "RA  report.txt"},
      {kSortAttributes, false, "RA  R~1.TXT"},
  };
  for (const Case& c : cases) {
    f.format.grpSortField = c.field;
    f.format.chkLongName = c.chkLongName;
    const FileEntry e = f.Make(rec, "Text");
    EXPECT_EQ(e.SortKey, c.key) << c.field;
  }
  // A type name of 40 characters or more is never cut.
  f.format.grpSortField = kSortFileType;
  f.format.chkLongName = true;
  EXPECT_EQ(f.Make(rec, std::string(45, 't')).SortKey, std::string(45, 't') + "report.txt");
}

TEST(FileEntry, TimeThatCannotBeConvertedIsNotAvailable) {
  Fixture f;
  f.format.grpSortField = kSortDateTime;
  // Modified: the record has no valid DOS time.
  FileEntry e = f.Make(Rec("a.txt", 1, kAttrArchive, 0));
  EXPECT_EQ(e.SortKey, "N/A");
  EXPECT_EQ(e.DateText, "N/A");
  // Created: no birth time kept (0) gives no DOS date-time.
  f.format.grpDate = 1;
  e = f.Make(Rec("a.txt"));
  EXPECT_EQ(e.SortKey, "N/A");
  EXPECT_EQ(e.DateText, "N/A");
  // Accessed, but the time zone cannot convert.
  SearchRec rec = Rec("a.txt");
  rec.findData.lastAccessTime = FileTimeFromUnix(1072883100);
  f.format.grpDate = 2;
  f.timeZone.SetFailing(true);
  EXPECT_EQ(f.Make(rec).DateText, "N/A");
}

TEST(FileEntry, EntryTimeConvertsCreatedAndAccessedToLocal) {
  FakeTimeZone zone(3600);  // one hour east
  SearchRec rec = Rec("a.txt", 0, kAttrArchive, Dos(2003, 12, 31, 15, 5, 0));
  rec.findData.creationTime = FileTimeFromUnix(1072882800);    // 2003-12-31 15:00:00 UTC
  rec.findData.lastAccessTime = FileTimeFromUnix(1072886400);  // 2003-12-31 16:00:00 UTC
  EXPECT_EQ(EntryTime(rec, 0, zone), Dos(2003, 12, 31, 15, 5, 0));
  EXPECT_EQ(EntryTime(rec, 1, zone), Dos(2003, 12, 31, 16, 0, 0));
  EXPECT_EQ(EntryTime(rec, 2, zone), Dos(2003, 12, 31, 17, 0, 0));
  rec.findData.creationTime = FileTimeFromUnix(0);  // 1970: outside the DOS years
  EXPECT_EQ(EntryTime(rec, 1, zone), 0u);
}

TEST(CompareEntries, OrderOfKeys) {
  Fixture f;
  struct Case {
    const char* what;
    int field;
    SearchRec a;
    SearchRec b;
    int expected;
  };
  const Case cases[] = {
      {"9 bytes before 10", kSortSize, Rec("x", 9), Rec("y", 10), -1},
      {"same minute is equal", kSortDateTime,
       Rec("x", 0, kAttrArchive, Dos(2003, 12, 31, 15, 5, 2)),
       Rec("y", 0, kAttrArchive, Dos(2003, 12, 31, 15, 5, 58)), 0},
      {"earlier minute first", kSortDateTime,
       Rec("x", 0, kAttrArchive, Dos(2003, 12, 31, 15, 4, 58)),
       Rec("y", 0, kAttrArchive, Dos(2003, 12, 31, 15, 5, 0)), -1},
      {"no time after any time", kSortDateTime, Rec("x", 0, kAttrArchive, 0), Rec("y"), 1},
      {"case is ignored", kSortLongName, Rec("Alpha"), Rec("alpha"), 0},
      {"names", kSortLongName, Rec("alpha"), Rec("Beta"), -1},
      {"extension first", kSortExtension, Rec("b.c"), Rec("a.doc"), -1},
      {"no extension first", kSortExtension, Rec("zeta"), Rec("a.c"), -1},
  };
  for (const Case& c : cases) {
    f.format.grpSortField = c.field;
    const FileEntry a = f.Make(c.a);
    const FileEntry b = f.Make(c.b);
    EXPECT_EQ(CompareEntries(a, b, 1, f.locale), c.expected) << c.what;
    EXPECT_EQ(CompareEntries(b, a, 1, f.locale), -c.expected) << c.what;
    EXPECT_EQ(CompareEntries(a, b, -1, f.locale), -c.expected) << c.what << " descending";
  }
}

TEST(SortEntries, FileTypeWithoutLongNameFallsBackToShortName) {
  Fixture f;
  f.format.grpSortField = kSortFileType;
  f.format.chkLongName = false;
  std::vector<FileEntry> entries = {
      f.Make(Rec("zz.txt", 0, kAttrArchive, 1, "AA.TXT"), "Text"),
      f.Make(Rec("aa.txt", 0, kAttrArchive, 1, "ZZ.TXT"), "Text"),
      f.Make(Rec("mm.png", 0, kAttrArchive, 1, "MM.PNG"), "Image"),
  };
  SortEntries(entries, 1, f.locale);
  EXPECT_EQ(entries[0].LongName, "mm.png");
  EXPECT_EQ(entries[1].LongName, "zz.txt");
  EXPECT_EQ(entries[2].LongName, "aa.txt");
  SortEntries(entries, -1, f.locale);
  EXPECT_EQ(entries[0].LongName, "aa.txt");
  EXPECT_EQ(entries[2].LongName, "mm.png");
}

TEST(SortEntries, SizesOfElevenDigitsSortAsText) {
  Fixture f;
  f.format.grpSortField = kSortSize;
  std::vector<FileEntry> entries = {f.Make(Rec("big", 10000000000ULL)), f.Make(Rec("small", 9)),
                                    f.Make(Rec("mid", 2000000000ULL))};
  SortEntries(entries, 1, f.locale);
  // "         9" < "2000000000" < "10000000000" would need numbers; as text the
  // eleven digits go before "2".
  EXPECT_EQ(entries[0].LongName, "small");
  EXPECT_EQ(entries[1].LongName, "big");
  EXPECT_EQ(entries[2].LongName, "mid");
}

}  // namespace
}  // namespace tabulon

namespace tabulon {
namespace {

// The host's collation must keep the padded keys in numeric and time order,
// whatever the machine's locale: blanks and digits are significant.
TEST(SortEntries, SystemLocaleKeepsPaddedKeysInOrder) {
  const std::unique_ptr<Locale> locale = MakeSystemLocale();
  FakeTimeZone timeZone;
  EntryFormat format;
  format.grpSortField = kSortSize;
  std::vector<FileEntry> entries;
  for (std::uint64_t size : {100u, 9u, 10u, 0u, 99999u, 1000u}) {
    entries.push_back(MakeFileEntry(Rec("f" + std::to_string(size), size), "", format, timeZone));
  }
  SortEntries(entries, 1, *locale);
  std::vector<std::uint64_t> sizes;
  for (const FileEntry& e : entries) sizes.push_back(e.Size);
  EXPECT_EQ(sizes, (std::vector<std::uint64_t>{0, 9, 10, 100, 1000, 99999}));

  format.grpSortField = kSortLongName;
  entries.clear();
  for (const char* name : {"beta", "Alpha", "alpha2", "Gamma"}) {
    entries.push_back(MakeFileEntry(Rec(name), "", format, timeZone));
  }
  SortEntries(entries, 1, *locale);
  EXPECT_EQ(entries[0].LongName, "Alpha");
  EXPECT_EQ(entries[1].LongName, "alpha2");
  EXPECT_EQ(entries[2].LongName, "beta");
  EXPECT_EQ(entries[3].LongName, "Gamma");
}

// A small directory collates at each comparison, a large one sorts by
// collation keys: both must give one order, ill-formed names, accents, case,
// blanks and punctuation included, and keep equal names in their order.
TEST(SortEntries, ComparisonsAndKeysGiveTheSameOrder) {
  const std::unique_ptr<Locale> locale = MakeSystemLocale();
  FakeTimeZone timeZone;
  EntryFormat format;
  const std::vector<std::string> names = {"zeta.txt",
                                          "Zeta.txt",
                                          "\xc3\xa9t\xc3\xa9.doc",
                                          "ete.doc",
                                          "Ete.doc",
                                          "a b.txt",
                                          "a-b.txt",
                                          "a_b.txt",
                                          "ab.txt",
                                          "a\xff.bin",
                                          "a\xc3.bin",
                                          "10.log",
                                          "9.log",
                                          "",
                                          ".profile",
                                          "file_000020_ua.csv",
                                          "file_000002_ca.dat",
                                          "\xe2\x82\xac.txt",
                                          "a\xe2\x82.txt",
                                          "ZETA.TXT"};
  std::vector<FileEntry> unsorted;
  for (int copy = 0; copy < 3; ++copy) {
    for (const std::string& name : names) {
      FileEntry entry = MakeFileEntry(Rec(name), "", format, timeZone);
      entry.ShortName = std::to_string(unsorted.size());  // marks the original position
      unsorted.push_back(std::move(entry));
    }
  }
  for (int direction : {1, -1}) {
    std::vector<FileEntry> compared = unsorted;
    std::vector<FileEntry> keyed = unsorted;
    SortEntries(compared, direction, *locale, SIZE_MAX);
    SortEntries(keyed, direction, *locale, 0);
    std::vector<std::string> byComparison, byKey;
    for (const FileEntry& e : compared) byComparison.push_back(e.ShortName);
    for (const FileEntry& e : keyed) byKey.push_back(e.ShortName);
    EXPECT_EQ(byComparison, byKey) << "direction " << direction;
    // Equal names (the three copies) keep their order, in either direction.
    for (std::size_t i = 1; i < compared.size(); ++i) {
      if (compared[i].LongName != compared[i - 1].LongName) continue;
      EXPECT_LT(std::stoul(compared[i - 1].ShortName), std::stoul(compared[i].ShortName));
    }
    for (std::size_t i = 1; i < compared.size(); ++i) {
      EXPECT_LE(CompareEntries(compared[i - 1], compared[i], direction, *locale), 0)
          << compared[i - 1].LongName << " / " << compared[i].LongName;
    }
  }
}

// An entry filled again for another file keeps nothing of the first one.
TEST(FileEntry, RefilledEntryKeepsNothingOfTheLastFile) {
  Fixture f;
  f.format.grpSortField = kSortExtension;
  FileEntry entry;
  FillFileEntry(entry,
                Rec("a rather long first name.document", 123456789012ULL,
                    kAttrArchive | kAttrReadOnly, Dos(2003, 12, 31, 15, 5, 0), "ARATHE~1.DOC"),
                "Some Document Type Name", f.format, f.timeZone);
  FillFileEntry(entry, Rec("b", 1, 0, 0), "", f.format, f.timeZone);
  const FileEntry fresh = f.Make(Rec("b", 1, 0, 0));
  EXPECT_EQ(entry.ShortName, "b");
  EXPECT_EQ(entry.LongName, fresh.LongName);
  EXPECT_EQ(entry.ExtensionKey, fresh.ExtensionKey);
  EXPECT_EQ(entry.TypeName, "");
  EXPECT_EQ(entry.SizeField, "         1");
  EXPECT_EQ(entry.DateText, "N/A");
  EXPECT_EQ(entry.AttrText, "    ");
  EXPECT_EQ(entry.SortKey, fresh.SortKey);
  EXPECT_EQ(entry.Size, 1u);
}

}  // namespace
}  // namespace tabulon
