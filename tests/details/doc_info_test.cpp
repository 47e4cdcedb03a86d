#include "details/doc_info.h"

#include <gtest/gtest.h>

#include "details/mp3_info.h"
#include "support/fake_time_zone.h"
#include "support/fixture_compound.h"
#include "support/temp_tree.h"

namespace tabulon {
namespace {

using testing::BuildSummaryStream;
using testing::FileTimeProperty;
using testing::IntProperty;
using testing::SummaryProperty;
using testing::TextProperty;

FileTime TimeOf(int y, int mo, int d, int h, int mi, int s) {
  FileTime t = 0;
  EXPECT_TRUE(CalendarToFileTime(CalendarTime{y, mo, d, h, mi, s, 0}, t));
  return t;
}

DateTimeValue ValueOf(int y, int mo, int d, int h, int mi, int s) {
  DateTimeValue v = 0;
  EXPECT_TRUE(EncodeDateTime(CalendarTime{y, mo, d, h, mi, s, 0}, v));
  return v;
}

std::string DocumentWith(const std::string& summary, int version = 3) {
  return testing::BuildCompoundFile(
             {{"WordDocument", std::string(6000, 'w')}, {testing::kSummaryName, summary}}, version)
      .bytes;
}

TDocInfo Read(const std::string& file, const TimeZone* zone = nullptr) {
  TDocInfo info;
  ReadDocInfoFrom(MemorySource(file), zone, info);
  return info;
}

TEST(DocInfo, EveryField) {
  const std::uint64_t kTicksPerMinute = 600'000'000ull;
  const std::string summary = BuildSummaryStream({
      TextProperty(2, "Budget 2004"), TextProperty(3, "Q3"), TextProperty(4, "Lee"),
      TextProperty(5, "money, plans"), TextProperty(6, "Draft"), TextProperty(7, "Normal.dot"),
      TextProperty(8, "Kim"), TextProperty(9, "17"),
      FileTimeProperty(10, 125 * kTicksPerMinute),  // 2 h 5 min of editing
      FileTimeProperty(11, TimeOf(2003, 12, 31, 15, 5, 31)),
      FileTimeProperty(12, TimeOf(2003, 1, 2, 3, 4, 6)),
      FileTimeProperty(13, TimeOf(2004, 2, 29, 23, 30, 0)), IntProperty(14, 12),
      IntProperty(15, 3456), IntProperty(16, -7), IntProperty(19, 99),  // ignored
  });
  const testing::FakeTimeZone zone(3600);
  for (const int version : {3, 4}) {
    const TDocInfo d = Read(DocumentWith(summary, version), &zone);
    EXPECT_EQ(d.Status, -1);
    EXPECT_EQ(d.Title, "Budget 2004");
    EXPECT_EQ(d.Subject, "Q3");
    EXPECT_EQ(d.Author, "Lee");
    EXPECT_EQ(d.Keywords, "money, plans");
    EXPECT_EQ(d.Comments, "Draft");
    EXPECT_EQ(d.Template, "Normal.dot");
    EXPECT_EQ(d.LastAuthor, "Kim");
    EXPECT_EQ(d.RevNumber, "17");
    EXPECT_EQ(d.EditMinutes, 5);
    // Local time (UTC+1), at DOS resolution: odd seconds round down.
    EXPECT_DOUBLE_EQ(d.LastPrinted, ValueOf(2003, 12, 31, 16, 5, 30));
    EXPECT_DOUBLE_EQ(d.Created, ValueOf(2003, 1, 2, 4, 4, 6));
    EXPECT_DOUBLE_EQ(d.LastSaved, ValueOf(2004, 3, 1, 0, 30, 0));
    EXPECT_EQ(d.PageCount, 12);
    EXPECT_EQ(d.WordCount, 3456);
    EXPECT_EQ(d.CharCount, -7);
  }
}

TEST(DocInfo, EditingTimeIgnoresTheTimeZone) {
  const std::string file =
      DocumentWith(BuildSummaryStream({FileTimeProperty(10, 47 * 600'000'000ull)}));
  const testing::FakeTimeZone india(5 * 3600 + 1800);
  EXPECT_EQ(Read(file, &india).EditMinutes, 47);
}

TEST(DocInfo, TextValues) {
  SummaryProperty zeroLength{2, 30, std::string(4, '\0')};
  SummaryProperty nulInside = TextProperty(3, std::string("Sub\0ject", 8));
  SummaryProperty numberAsTitle = IntProperty(2, 0x00434241);
  const struct {
    const char* name;
    std::vector<SummaryProperty> properties;
    std::string title, subject, author;
  } cases[] = {
      {"count includes the NUL", {TextProperty(2, "Report")}, "Report", "", ""},
      {"count without a NUL", {TextProperty(2, "Report", false)}, "Report", "", ""},
      {"count 0", {zeroLength, TextProperty(4, "Ann")}, "", "", "Ann"},
      {"text up to its first NUL", {nulInside}, "", "Sub", ""},
      {"no title", {TextProperty(3, "Q3"), TextProperty(4, "Lee")}, "", "Q3", "Lee"},
      {"an integer where text belongs", {numberAsTitle}, "ABC", "", ""},
      {"unknown types are skipped", {SummaryProperty{2, 31, "\x02\0\0\0a\0\0\0"}}, "", "", ""},
      {"the last of two wins", {TextProperty(4, "One"), TextProperty(4, "Two")}, "", "", "Two"},
  };
  for (const auto& c : cases) {
    const TDocInfo d = Read(DocumentWith(BuildSummaryStream(c.properties)));
    EXPECT_EQ(d.Status, -1) << c.name;
    EXPECT_EQ(d.Title, c.title) << c.name;
    EXPECT_EQ(d.Subject, c.subject) << c.name;
    EXPECT_EQ(d.Author, c.author) << c.name;
  }
}

TEST(DocInfo, MissingBytesCountAsZero) {
  const TDocInfo d = Read(DocumentWith(BuildSummaryStream({
      TextProperty(14, "\x05"),     // one byte of text as a count
      IntProperty(12, 0x12345678),  // 4 bytes where 8 belong: not a valid time
      SummaryProperty{15, 64, std::string("\x09\0\0\0\xFF\xFF\xFF\xFF", 8)},
  })));
  EXPECT_EQ(d.Status, -1);
  EXPECT_EQ(d.PageCount, 5);
  EXPECT_EQ(d.WordCount, 9);
  EXPECT_EQ(d.Created, 0);
}

TEST(DocInfo, DatesThatCannotBeConverted) {
  const std::string file = DocumentWith(BuildSummaryStream({
      FileTimeProperty(11, 0),                            // none
      FileTimeProperty(12, TimeOf(1975, 6, 1, 0, 0, 0)),  // before DOS dates
      FileTimeProperty(13, TimeOf(2005, 6, 1, 12, 0, 0)),
  }));
  const TDocInfo plain = Read(file);
  EXPECT_EQ(plain.LastPrinted, 0);
  EXPECT_EQ(plain.Created, 0);
  EXPECT_DOUBLE_EQ(plain.LastSaved, ValueOf(2005, 6, 1, 12, 0, 0));
  testing::FakeTimeZone failing;
  failing.SetFailing(true);
  const TDocInfo failed = Read(file, &failing);
  EXPECT_EQ(failed.Status, -1);
  EXPECT_EQ(failed.LastSaved, 0);
}

TEST(DocInfo, FailuresGiveStatusOneAndKeepWhatWasRead) {
  std::string summary = BuildSummaryStream({TextProperty(2, "Kept"), TextProperty(4, "Lost")});
  // Point the author's value beyond the stream: a failed seek.
  const std::size_t index = 48 + 8;
  summary[index + 8 * 2 + 4] = '\x00';
  summary[index + 8 * 2 + 5] = '\x40';
  const TDocInfo cut = Read(DocumentWith(summary));
  EXPECT_EQ(cut.Status, 1);
  EXPECT_EQ(cut.Title, "Kept");
  EXPECT_EQ(cut.Author, "");

  const struct {
    const char* name;
    std::string file;
  } cases[] = {
      {"plain text", "Dear Sir,\r\nplease find attached...\r\n"},
      {"no summary stream",
       testing::BuildCompoundFile({{"WordDocument", std::string(5000, 'w')}}).bytes},
      {"summary shorter than its header", DocumentWith(std::string(40, '\0'))},
      {"section beyond the stream",
       DocumentWith(summary.substr(0, 44) + "\xFF\xFF\0\0" + summary.substr(48))},
      {"more properties than bytes",
       DocumentWith(summary.substr(0, 52) + "\xFF\xFF\xFF\x0F" + summary.substr(56))},
      {"text count beyond the stream",
       DocumentWith(BuildSummaryStream({SummaryProperty{2, 30, "\xF0\xFF\xFF\xFFtext"}}))},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.file).Status, 1) << c.name;
}

TEST(DocInfo, FilesOnDisk) {
  testing::TempTree tree;
  const std::string doc = tree.AddFile(
      "budget.xls",
      DocumentWith(BuildSummaryStream(
          {TextProperty(2, "Budget"), TextProperty(3, "Q3"), TextProperty(4, "L\xE9on")})));
  TFileInfo info(doc);
  EXPECT_EQ(info.ReadDocInfo().Status, -1);
  const OfficeTexts texts = OfficeSummary(doc);
  EXPECT_EQ(texts.title, "Budget");
  EXPECT_EQ(texts.subject, "Q3");
  EXPECT_EQ(texts.author, "L\xC3\xA9on");

  const std::string letter = tree.AddFile("letter.doc", "Just text.\n");
  EXPECT_EQ(TFileInfo(letter).ReadDocInfo().Status, 1);
  const OfficeTexts none = OfficeSummary(letter);
  EXPECT_EQ(none.title + none.subject + none.author, "");

  EXPECT_EQ(TFileInfo(tree.Path("gone.doc")).ReadDocInfo().Status, 0);
  EXPECT_EQ(TFileInfo(tree.AddFifo("pipe.doc")).ReadDocInfo().Status, 1);
  EXPECT_EQ(TFileInfo(tree.AddFolder("folder.doc")).ReadDocInfo().Status, 1);
}

}  // namespace
}  // namespace tabulon
