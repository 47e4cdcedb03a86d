#include "print/print_job.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "print_fixture.h"

namespace tabulon {
namespace {

using testing::FillListing;
using testing::PageListing;
using testing::PrintRig;

// The first-run columns at 50 pixels per character: the long name column is
// 4380 - 1040 - 740 - 290 = 2310 wide, the size column starts at 2700, the
// date at 3440 and the attributes at 4480.
TEST(PrintJobTest, HeadingBlockAndADeferredSection) {
  PrintRig rig;
  rig.options.txtExclude = " *.tmp;*.bak ";
  rig.options.chkDateRange = true;
  rig.options.txtFromDate = "12/01/2003";
  rig.options.txtToDate = "12/31/2003";
  rig.options.chkHidden = false;
  rig.options.chkExcludeEmpty = true;
  rig.options.chkPageHeader = true;
  rig.options.txtPageHeader = "  Quarterly audit";
  rig.volumes.Add("/data", DriveType::Removable, "BACKUP");
  rig.AddFile("/data/b.txt", 2000);
  rig.AddFile("/data/a.txt", 1000);
  rig.AddFile("/data/c.tmp", 5);

  PrintJobResult result = rig.Run("/data");
  EXPECT_FALSE(result.cancelled);
  EXPECT_EQ(result.txtExclude, "*.tmp;*.bak");
  ASSERT_EQ(rig.preview.PageCount(), 1);
  EXPECT_EQ(PageListing(rig.Page(0)),
            "300 300 B Directory of /data/*.*\n"
            "420 300 B (Excluding *.tmp;*.bak)\n"
            "540 300 B Files dated from 12/01/2003 to 12/31/2003\n"
            "660 300 B Page 1     12/31/2003  3:05pm     Sorted by Long Name\n"
            "780 300 B Date: Modified     Hidden excluded     Empty subdirectories excluded     "
            "Disk Label: BACKUP\n"
            "900 300 B   Quarterly audit\n"
            "1140 300 B /data\n"
            "1260 300 a.txt\n"
            "1260 3100 1,000\n"
            "1260 3440 12/31/2003  3:05pm\n"
            "1260 4480 A   \n"
            "1380 300 b.txt\n"
            "1380 3100 2,000\n"
            "1380 3440 12/31/2003  3:05pm\n"
            "1380 4480 A   \n"
            "1500 300 B 2 files;  3,000 bytes\n"
            "1860 300 B Total: 2 files;  3,000 bytes\n");
  EXPECT_EQ(FillListing(rig.Page(0)), "");
  EXPECT_EQ(rig.job->State().PageNumber, 1);
  EXPECT_EQ(rig.job->Totals().DirectoryCount, 1u);
}

TEST(PrintJobTest, LongFolderLineAndHeadingWrapAtTheTextArea) {
  PrintRig rig;
  const std::string folder = "/" + std::string(100, 'x');
  rig.AddFile(folder + "/a.txt", 1);
  rig.options.chkFileSize = rig.options.chkFileDate = rig.options.chkFileAttr = false;
  rig.Run(folder);
  // 87 characters fit in the 4380 pixels of the text area.
  const std::string folderLine = "Directory of " + folder + "/*.*";
  // The empty options line still takes its line.
  const std::string expected = "300 300 B " + folderLine.substr(0, 87) + "\n" +  //
                               "420 300 B " + folderLine.substr(87) + "\n" +     //
                               "540 300 B Page 1     12/31/2003  3:05pm     Sorted by Long Name\n" +
                               "900 300 B " + folder.substr(0, 87) + "\n" +  //
                               "1020 300 B " + folder.substr(87) + "\n" +    //
                               "1140 300 a.txt\n"
                               "1260 300 B 1 file;  1 bytes\n"
                               "1620 300 B Total: 1 files;  1 bytes\n";
  EXPECT_EQ(PageListing(rig.Page(0)), expected);
}

// A sheet 2000 pixels high: BottomLimit is 2000 - 50 - 450 = 1500.
TEST(PrintJobTest, PageBreaksUnderANewHeadingBlockWithBands) {
  PrintRig rig(DeviceMetrics{600, 600, 5100, 2000, 75, 50});
  rig.options.chkFileSize = rig.options.chkFileDate = rig.options.chkFileAttr = false;
  rig.options.chkShade = true;
  for (int i = 0; i < 10; ++i) rig.AddFile("/data/f" + std::to_string(i) + ".txt", 1);
  rig.Run("/data");

  ASSERT_EQ(rig.preview.PageCount(), 3);
  EXPECT_EQ(PageListing(rig.Page(0)),
            "300 300 B Directory of /data/*.*\n"
            "420 300 B Page 1     12/31/2003  3:05pm     Sorted by Long Name\n"
            "780 300 B /data\n"
            "900 300 f0.txt\n"
            "1020 300 f1.txt\n"
            "1140 300 f2.txt\n"
            "1260 300 f3.txt\n"
            "1380 300 f4.txt\n");
  // The entry that reached the limit opens the next page; the directory's
  // heading is not repeated.
  EXPECT_EQ(PageListing(rig.Page(1)),
            "300 300 B Directory of /data/*.*\n"
            "420 300 B Page 2     12/31/2003  3:05pm     Sorted by Long Name\n"
            "780 300 f5.txt\n"
            "900 300 f6.txt\n"
            "1020 300 f7.txt\n"
            "1140 300 f8.txt\n"
            "1260 300 f9.txt\n"
            "1380 300 B 10 files;  10 bytes\n");
  // The counts line left the position below the limit: a new page for the
  // total.
  EXPECT_EQ(PageListing(rig.Page(2)),
            "300 300 B Directory of /data/*.*\n"
            "420 300 B Page 3     12/31/2003  3:05pm     Sorted by Long Name\n"
            "900 300 B Total: 10 files;  10 bytes\n");
  // The second, fourth ... entry of the directory is banded, across pages.
  EXPECT_EQ(FillListing(rig.Page(0)), "288,1020 4860,1140\n288,1260 4860,1380\n");
  EXPECT_EQ(FillListing(rig.Page(1)), "288,780 4860,900\n288,1020 4860,1140\n288,1260 4860,1380\n");
  for (const PageFill& fill : rig.Page(0).Fills()) EXPECT_EQ(fill.color, PageRgb(204, 204, 204));
  // Texts are drawn without a background, so they show on the bands.
  for (const PageText& text : rig.Page(1).Texts()) EXPECT_FALSE(text.opaque) << text.text;
}

TEST(PrintJobTest, SubdirectoriesCountsTotalsAndTheNote) {
  struct Case {
    std::string mask;
    std::string expected;
  };
  const Case cases[] = {
      {"*.*",
       "300 300 B Directory of /data/*.*\n"
       "420 300 B Page 1     12/31/2003  3:05pm     Sorted by Long Name\n"
       "540 300 B Levels: All     \n"
       "780 300 B /data\n"
       "900 300 a.txt\n"
       "1020 300 B 1 file;  1,000 bytes\n"
       "1260 300 B /data/empty\n"
       "1380 300 B 0 files;  0 bytes\n"
       "1620 300 B /data/sub\n"
       "1740 300 c.txt\n"
       "1860 300 d.log\n"
       "1980 300 B 2 files;  507 bytes\n"
       "2340 300 B Total: 3 directories;  3 files;  1,507 bytes\n"},
      // An empty directory, or one without matches, leaves no trace.
      {"*.txt",
       "300 300 B Directory of /data/*.txt\n"
       "420 300 B Page 1     12/31/2003  3:05pm     Sorted by Long Name\n"
       "540 300 B Levels: All     \n"
       "780 300 B /data\n"
       "900 300 a.txt\n"
       "1020 300 B 1 file;  1,000 bytes\n"
       "1260 300 B /data/sub\n"
       "1380 300 c.txt\n"
       "1500 300 B 1 file;  500 bytes\n"
       "1860 300 B Total: 2 directories;  2 files;  1,500 bytes\n"
       "1980 300 B Directories with no files matching the specification are not listed or "
       "counted in the total.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    PrintRig rig;
    rig.options.chkInclSub = true;
    rig.options.txtFilespec = c.mask;
    rig.options.chkFileSize = rig.options.chkFileDate = rig.options.chkFileAttr = false;
    rig.AddFile("/data/a.txt", 1000);
    rig.fileSystem.AddFolder("/data/empty");
    rig.AddFile("/data/sub/d.log", 7);
    rig.AddFile("/data/sub/c.txt", 500);
    rig.Run("/data");
    ASSERT_EQ(rig.preview.PageCount(), 1);
    EXPECT_EQ(PageListing(rig.Page(0)), c.expected);
  }
}

TEST(PrintJobTest, ExactByteTotals) {
  PrintRig rig;
  rig.options.chkFileSize = rig.options.chkFileDate = rig.options.chkFileAttr = false;
  rig.AddFile("/data/a.bin", 8388608);
  rig.AddFile("/data/b.bin", 8388609);
  rig.AddFile("/data/c.bin", 5000000000ull);
  rig.Run("/data");
  const std::string page = PageListing(rig.Page(0));
  EXPECT_NE(page.find("B 3 files;  5,016,777,217 bytes\n"), std::string::npos) << page;
  EXPECT_NE(page.find("B Total: 3 files;  5,016,777,217 bytes\n"), std::string::npos) << page;
}

TEST(PrintJobTest, TwoAndFourColumns) {
  {
    SCOPED_TRACE("two columns: short name and size");
    PrintRig rig;
    rig.options.grpColumns = 1;
    rig.options.chkShortName = true;
    rig.options.chkLongName = rig.options.chkFileDate = rig.options.chkFileAttr = false;
    rig.AddFile("/data/a.txt", 1);
    rig.AddFile("/data/b.txt", 22);
    rig.AddFile("/data/c.txt", 333);
    rig.Run("/data");
    // Column 2 starts at 4.25 in; the size is right-aligned in its column.
    EXPECT_EQ(PageListing(rig.Page(0)),
              "300 300 B Directory of /data/*.*\n"
              "420 300 B Page 1     12/31/2003  3:05pm     Sorted by Short Name\n"
              "780 300 B /data\n"
              "900 300 a.txt\n"
              "900 1590 1\n"
              "900 2550 b.txt\n"
              "900 3790 22\n"
              "1020 300 c.txt\n"
              "1020 1490 333\n"
              "1140 300 B 3 files;  356 bytes\n"
              "1500 300 B Total: 3 files;  356 bytes\n");
  }
  {
    SCOPED_TRACE("four columns: short name alone");
    PrintRig rig;
    rig.options.grpColumns = 2;
    rig.options.chkShade = true;  // bands only in one column
    rig.options.chkShortName = true;
    rig.options.chkLongName = rig.options.chkFileSize = false;
    rig.options.chkFileDate = rig.options.chkFileAttr = false;
    for (char c = 'a'; c <= 'e'; ++c) rig.AddFile(std::string("/data/") + c + ".txt", 1);
    rig.Run("/data");
    EXPECT_EQ(PageListing(rig.Page(0)),
              "300 300 B Directory of /data/*.*\n"
              "420 300 B Page 1     12/31/2003  3:05pm     Sorted by Short Name\n"
              "780 300 B /data\n"
              "900 300 a.txt\n"
              "900 1350 b.txt\n"
              "900 2400 c.txt\n"
              "900 3450 d.txt\n"
              "1020 300 e.txt\n"
              "1140 300 B 5 files;  5 bytes\n"
              "1500 300 B Total: 5 files;  5 bytes\n");
    EXPECT_EQ(FillListing(rig.Page(0)), "");
  }
}

TEST(PrintJobTest, WrappedLongNameCarriesTheLaterColumnsToItsSecondLine) {
  PrintRig rig;
  rig.options.chkShade = true;
  const std::string longName = std::string(56, 'b') + ".txt";  // 60 characters
  rig.AddFile("/data/a.txt", 1);
  rig.AddFile("/data/" + longName, 1234);
  rig.Run("/data");
  // 46 characters fit in the 2310 pixels of the long name column.
  EXPECT_EQ(PageListing(rig.Page(0)),
            "300 300 B Directory of /data/*.*\n"
            "420 300 B Page 1     12/31/2003  3:05pm     Sorted by Long Name\n"
            "540 300 B Date: Modified     \n"
            "780 300 B /data\n"
            "900 300 a.txt\n"
            "900 3300 1\n"
            "900 3440 12/31/2003  3:05pm\n"
            "900 4480 A   \n"
            "1020 300 " +
                longName.substr(0, 46) + "\n" + "1140 300 " + longName.substr(46) + "\n" +
                "1140 3100 1,234\n"
                "1140 3440 12/31/2003  3:05pm\n"
                "1140 4480 A   \n"
                "1260 300 B 2 files;  1,235 bytes\n"
                "1620 300 B Total: 2 files;  1,235 bytes\n");
  // The band covers the entry's first line only.
  EXPECT_EQ(FillListing(rig.Page(0)), "288,1020 4860,1140\n");
}

TEST(PrintJobTest, LongNameColumnWithoutRoomGetsTheRoomOfAShortName) {
  // 70 pixels per character: the other five columns leave 4380 - 930 - 1420
  // - 1000 - 370 - 1170 = -510 for the long name.
  PrintRig rig(testing::kLetter600, 70);
  rig.options.chkShortName = rig.options.chkFileType = true;
  rig.AddFile("/data/abcdefghijklmnop.txt", 1);
  rig.Run("/data");
  EXPECT_EQ(rig.job->Metrics().LongNameColumnWidth, -510);
  std::vector<testing::Drawn> drawn = testing::DrawnTexts(rig.Page(0));
  ASSERT_GE(drawn.size(), 7u);
  // Short name at 300; the long name at 300 + 840 + 90 in 12 characters.
  EXPECT_EQ(drawn[4], (testing::Drawn{300, 900, "abcdefghijklmnop.txt", false}));
  EXPECT_EQ(drawn[5], (testing::Drawn{1230, 900, "abcdefghijkl", false}));
  EXPECT_EQ(drawn[6], (testing::Drawn{1230, 1020, "mnop.txt", false}));
}

TEST(PrintJobTest, FittingCountsCodePoints) {
  PrintRig rig;
  rig.options.chkFileSize = rig.options.chkFileDate = rig.options.chkFileAttr = false;
  // 90 two-byte characters: 87 fit on the first line, three on the second.
  std::string name;
  for (int i = 0; i < 90; ++i) name += "\xC3\xA9";
  rig.AddFile("/data/" + name, 1);
  rig.Run("/data");
  std::vector<testing::Drawn> drawn = testing::DrawnTexts(rig.Page(0));
  ASSERT_GE(drawn.size(), 5u);
  EXPECT_EQ(drawn[3], (testing::Drawn{300, 900, name.substr(0, 174), false}));
  EXPECT_EQ(drawn[4], (testing::Drawn{300, 1020, name.substr(174), false}));
}

TEST(PrintJobTest, TreeStyleDirectoriesOnly) {
  PrintRig rig;
  rig.options.chkDirOnly = true;
  rig.options.chkTree = true;
  rig.options.chkShade = true;
  rig.options.chkInclSub = true;
  rig.AddFile("/data/x.txt", 500);
  rig.fileSystem.AddFolder("/data/A");
  rig.AddFile("/data/A/B/y.txt", 1);
  rig.AddFile("/data/A/B/z.txt", 2);
  rig.Run("/data");
  // Counts at DirFilesX 3420 and DirBytesX 3510 + 14 characters.
  EXPECT_EQ(PageListing(rig.Page(0)),
            "300 300 B Directory of /data/*.*\n"
            "420 300 B Page 1     12/31/2003  3:05pm     Directories only\n"
            "540 300 B Levels: All     \n"
            "780 300 data\n"
            "780 3420 1 file\n"
            "780 4210 500 bytes\n"
            "900 300     A\n"
            "900 3420 0 files\n"
            "900 4210 0 bytes\n"
            "1020 300         B\n"
            "1020 3420 2 files\n"
            "1020 4210 3 bytes\n"
            "1260 300 B Total: 3 directories;  3 files;  503 bytes\n");
  EXPECT_EQ(FillListing(rig.Page(0)), "288,900 4860,1020\n");
  EXPECT_EQ(rig.job->State().ShadeCounter, 3);
}

TEST(PrintJobTest, TreeStyleRootLineIsNeitherBandedNorCountedWhenDrawnBeforeTheSearch) {
  for (bool deferred : {false, true}) {
    SCOPED_TRACE(deferred ? "deferred" : "immediate");
    PrintRig rig;
    rig.options.chkDirOnly = rig.options.chkTree = rig.options.chkShade = true;
    rig.options.chkInclSub = true;
    rig.options.chkExcludeEmpty = deferred;
    rig.AddFile("/r.txt", 1);
    rig.AddFile("/data/x.txt", 1);
    rig.AddFile("/data/A/y.txt", 1);
    rig.Run("/");
    std::vector<testing::Drawn> drawn = testing::DrawnTexts(rig.Page(0));
    ASSERT_GE(drawn.size(), 12u);
    EXPECT_EQ(drawn[3].text, "/");
    EXPECT_EQ(drawn[6].text, "    data");
    EXPECT_EQ(drawn[9].text, "        A");
    // Immediate: "/" leaves the counter alone, so data is plain and A banded.
    // Deferred: "/" counts, so data is banded and A plain.
    const int bandY = deferred ? drawn[6].y : drawn[9].y;
    EXPECT_EQ(FillListing(rig.Page(0)),
              "288," + std::to_string(bandY) + " 4860," + std::to_string(bandY + 120) + "\n");
    EXPECT_EQ(rig.job->State().ShadeCounter, deferred ? 3 : 2);
  }
}

TEST(PrintJobTest, DirectoriesOnlyNameWiderThanItsColumnTakesTwoBandedLines) {
  PrintRig rig;
  rig.options.chkDirOnly = true;
  rig.options.chkShade = true;
  rig.options.chkInclSub = true;
  const std::string sub = "/data/" + std::string(70, 'L');  // 76 characters
  rig.AddFile("/data/x.txt", 1);
  rig.AddFile(sub + "/y.txt", 2);
  rig.fileSystem.AddFolder("/data/M");
  rig.Run("/data");
  // 60 characters fit in DirNameWidth 3000; the counts stand on the second
  // line, and the band covers both.
  EXPECT_EQ(PageListing(rig.Page(0)),
            "300 300 B Directory of /data/*.*\n"
            "420 300 B Page 1     12/31/2003  3:05pm     Directories only\n"
            "540 300 B Levels: All     \n"
            "780 300 /data\n"
            "780 3420 1 file\n"
            "780 4210 1 bytes\n"
            "900 300 " +
                sub.substr(0, 60) + "\n" + "1020 300 " + sub.substr(60) + "\n" +
                "1020 3420 1 file\n"
                "1020 4210 2 bytes\n"
                "1140 300 /data/M\n"
                "1140 3420 0 files\n"
                "1140 4210 0 bytes\n"
                "1380 300 B Total: 3 directories;  2 files;  3 bytes\n");
  EXPECT_EQ(FillListing(rig.Page(0)), "288,900 4860,1140\n");
}

TEST(PrintJobTest, DetailLinesAndFittedTypeNames) {
  PrintRig rig;
  rig.options.chkFileSize = rig.options.chkFileDate = rig.options.chkFileAttr = false;
  rig.options.chkFileType = true;
  rig.options.chkVersion = true;
  rig.shell.SetTypeName("sys", "System file of a very long type name");
  rig.AddFile("/data/drv.sys", 1);
  rig.AddFile("/data/note.txt", 1);
  rig.fakeDetails.version.Set("/data/drv.sys", VersionStrings{"Veltro", "Driver", "1.2"});
  rig.Run("/data");
  // The type column is 1080 pixels: 21 characters. The long name column is
  // what it leaves: 4380 - 1170 = 3210, so the type column starts at 3600.
  EXPECT_EQ(PageListing(rig.Page(0)),
            "300 300 B Directory of /data/*.*\n"
            "420 300 B Page 1     12/31/2003  3:05pm     Sorted by Long Name\n"
            "780 300 B /data\n"
            "900 300 drv.sys\n"
            "900 3600 System file of a very\n"
            "1020 360 Veltro - Driver - 1.2\n"
            "1140 300 note.txt\n"
            "1260 300 B 2 files;  2 bytes\n"
            "1620 300 B Total: 2 files;  2 bytes\n");
}

TEST(PrintJobTest, EndsInPrintOrPreviewWithTheDocumentClosed) {
  for (PrintButton button : {PrintButton::kPrint, PrintButton::kPreview}) {
    PrintRig rig;
    rig.AddFile("/data/a.txt", 1);
    rig.Run("/data", button);
    EXPECT_EQ(rig.output.prints, button == PrintButton::kPrint ? 1 : 0);
    EXPECT_EQ(rig.output.previews, button == PrintButton::kPreview ? 1 : 0);
    EXPECT_FALSE(rig.output.printingAtEnd);
    EXPECT_EQ(rig.output.pagesAtEnd, 1);
    EXPECT_EQ(rig.host.Texts(0), (std::vector<std::string>{" Processing directory /data/", ""}));
    EXPECT_EQ(rig.host.Texts(1), (std::vector<std::string>{" Cancel", ""}));
  }
}

TEST(PrintJobTest, CancelEndsTheDocumentWithoutTotals) {
  for (PrintButton button : {PrintButton::kPrint, PrintButton::kPreview}) {
    PrintRig rig;
    rig.options.chkInclSub = true;
    rig.AddFile("/data/a.txt", 1);
    rig.AddFile("/data/b.txt", 1);
    rig.AddFile("/data/sub/c.txt", 1);
    // The walk lets events run once (for sub), then once before each entry:
    // the third call comes before the second entry of the first directory.
    rig.host.CancelAtCall(3);
    PrintJobResult result = rig.Run("/data", button);
    EXPECT_TRUE(result.cancelled);
    EXPECT_FALSE(rig.preview.Printing());
    EXPECT_EQ(rig.output.prints + rig.output.previews, 0);
    const std::string page = PageListing(rig.Page(0));
    EXPECT_NE(page.find("a.txt"), std::string::npos);
    EXPECT_EQ(page.find("b.txt"), std::string::npos);
    EXPECT_EQ(page.find("files;"), std::string::npos);
    EXPECT_EQ(page.find("/data/sub"), std::string::npos);
    EXPECT_EQ(rig.job->Totals().FileCount, 0u);
    EXPECT_EQ(rig.host.Texts(0).back(),
              button == PrintButton::kPrint ? " Printing canceled" : " Preview canceled");
    EXPECT_EQ(rig.host.Texts(1).back(), "");
  }
}

TEST(PrintJobTest, AFailingEndStillClearsTheCancelPanel) {
  class FailingOutput : public PrintOutput {
   public:
    void Print(TPreviewPrinter&) override { throw std::runtime_error("out.pdf: No space left"); }
    void Preview(TPreviewPrinter&) override {}
  } failing;
  PrintRig rig;
  rig.AddFile("/data/a.txt", 1);
  rig.job = rig.MakeJob();
  EXPECT_THROW(rig.job->Run("/data", PrintButton::kPrint, failing), std::runtime_error);
  EXPECT_EQ(rig.host.Texts(1).back(), "");
}

TEST(PrintJobTest, SortFieldMovesToAShownNameColumn) {
  struct Case {
    int sortField;
    bool shortName, longName;
    int expected;
    const char* caption;
  };
  for (const Case& c : {Case{0, false, true, 1, "Long Name"}, Case{1, true, false, 0, "Short Name"},
                        Case{0, false, false, 0, "Short Name"}, Case{4, false, true, 4, "Size"}}) {
    PrintRig rig;
    rig.options.grpSortField = c.sortField;
    rig.options.chkShortName = c.shortName;
    rig.options.chkLongName = c.longName;
    rig.options.txtFilespec = "  *.*  ";
    rig.AddFile("/data/a.txt", 1);
    PrintJobResult result = rig.Run("/data");
    EXPECT_EQ(result.grpSortField, c.expected);
    EXPECT_EQ(result.txtFilespec, "*.*");
    EXPECT_EQ(rig.job->Listing().SortFieldCaption(), c.caption);
    EXPECT_NE(PageListing(rig.Page(0)).find(std::string("Sorted by ") + c.caption),
              std::string::npos);
  }
}

TEST(PrintJobTest, EveryPageShowsItsOwnNumberAndTime) {
  PrintRig rig(DeviceMetrics{600, 600, 5100, 2000, 75, 50});
  rig.options.chkFileSize = rig.options.chkFileDate = rig.options.chkFileAttr = false;
  for (int i = 0; i < 6; ++i) rig.AddFile("/data/f" + std::to_string(i) + ".txt", 1);
  rig.job = rig.MakeJob();
  rig.job->StartDocument("/data");
  rig.job->PrintHeadingBlock();
  rig.clock.Set(testing::UtcTime(2003, 12, 31, 15, 6));
  rig.job->PrintDirectory("/data/");
  ASSERT_EQ(rig.preview.PageCount(), 2);
  EXPECT_EQ(testing::DrawnTexts(rig.Page(0))[1].text,
            "Page 1     12/31/2003  3:05pm     Sorted by Long Name");
  EXPECT_EQ(testing::DrawnTexts(rig.Page(1))[1].text,
            "Page 2     12/31/2003  3:06pm     Sorted by Long Name");
}

}  // namespace
}  // namespace tabulon
