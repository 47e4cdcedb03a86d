// Whole export files of built trees, compared as whole texts.
#include "export/export_job.h"

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>

#include "listing/collect_directory.h"
#include "platform/file_system.h"
#include "support/fake_clock.h"
#include "support/fake_detail_sources.h"
#include "support/fake_locale.h"
#include "support/fake_shell.h"
#include "support/fake_time_zone.h"
#include "support/fake_volumes.h"
#include "support/recording_job_host.h"
#include "support/temp_tree.h"

namespace tabulon {
namespace {

using testing::FakeClock;
using testing::FakeDetailSources;
using testing::FakeLocale;
using testing::FakeShell;
using testing::FakeTimeZone;
using testing::FakeVolumes;
using testing::RecordingJobHost;
using testing::TempTree;

// 31 December 2003, 3:05 in the afternoon, UTC.
constexpr std::int64_t kStamp = 1072883100;

std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Pad(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

class ExportJobTest : public ::testing::Test {
 protected:
  ExportJobTest() : fileSystem_(MakeRealFileSystem(timeZone_)) {
    clock_.Set(FileTimeFromUnix(kStamp));
    services_.fileSystem = fileSystem_.get();
    services_.timeZone = &timeZone_;
    services_.locale = &locale_;
    services_.clock = &clock_;
    services_.shell = &shell_;
    services_.volumes = &volumes_;
    options_.exportPanel.chkOpenFile = false;
  }

  // The design's example folder: a.txt (1,000 bytes), b.txt (2,000) and
  // Sub/c.txt (500), all stamped kStamp.
  void BuildData() {
    AddFile("data/a.txt", 1000);
    AddFile("data/b.txt", 2000);
    AddFile("data/Sub/c.txt", 500);
  }
  void AddFile(const std::string& relative, std::uint64_t size) {
    tree_.AddFileOfSize(relative, size);
    tree_.SetTimes(relative, kStamp, kStamp);
  }

  std::string Data() const { return tree_.Path("data"); }
  std::string OutPath() const { return tree_.Path("out.file"); }

  // Runs the export and returns the file.
  std::string Export(ExportFormat format) {
    ListingSession session(*fileSystem_, timeZone_, locale_, shell_);
    ExportJob job(session, services_, details_, host_);
    result_ = job.Run(options_, Data(), OutPath(), format);
    return ReadFile(OutPath());
  }

  TempTree tree_;
  FakeTimeZone timeZone_;
  std::unique_ptr<FileSystem> fileSystem_;
  FakeLocale locale_;
  FakeClock clock_;
  FakeShell shell_;
  FakeVolumes volumes_;
  FakeDetailSources fakeDetails_;
  DetailSources details_ = fakeDetails_.Sources();
  RecordingJobHost host_;
  Services services_;
  ListingOptions options_;
  ExportResult result_;
};

const std::string kDate = "12/31/2003  3:05pm";
const std::string kEntryTail = "  " + Pad(kDate, 19) + "  " + "    ";

std::string TextEntry(const std::string& name, const std::string& size) {
  return Pad(name, 83) + std::string(15 - size.size(), ' ') + size + kEntryTail;
}

TEST_F(ExportJobTest, FirstRunPlainText) {
  BuildData();
  EXPECT_EQ(Export(ExportFormat::kText),
            Lines({"Directory of: " + Data() + "/*.*", kDate + "      Sorted by Long Name",
                   "Levels: All      Date: Modified      ", "", "", Data(),
                   TextEntry("a.txt", "1,000"), TextEntry("b.txt", "2,000"), "",
                   "2 files; 3,000 bytes", "", Data() + "/Sub", TextEntry("c.txt", "500"), "",
                   "1 file; 500 bytes", "", "Total: 2 directories;  3 files;  3,500 bytes"}));
  EXPECT_FALSE(result_.cancelled);
  EXPECT_EQ(host_.Texts(0).front(), " Processing directory " + Data() + "/");
  EXPECT_EQ(host_.Texts(0).back(), "");
  EXPECT_EQ(host_.Texts(1).back(), "");
}

TEST_F(ExportJobTest, NarrowingMaskLeavesNoTraceOfFoldersWithoutMatches) {
  BuildData();
  AddFile("data/Docs/report.doc", 10);
  options_.txtFilespec = " *.txt ";  // trimmed by the search set-up
  EXPECT_EQ(Export(ExportFormat::kText),
            Lines({"Directory of: " + Data() + "/*.txt", kDate + "      Sorted by Long Name",
                   "Levels: All      Date: Modified      ", "", "", Data(),
                   TextEntry("a.txt", "1,000"), TextEntry("b.txt", "2,000"), "",
                   "2 files; 3,000 bytes", "", Data() + "/Sub", TextEntry("c.txt", "500"), "",
                   "1 file; 500 bytes", "", "Total: 2 directories;  3 files;  3,500 bytes",
                   "Directories with no files matching the specification are not listed or "
                   "counted in the total."}));
  EXPECT_EQ(result_.txtFilespec, "*.txt");
}

TEST_F(ExportJobTest, WithoutSubdirectoriesAndWithAnEmptyFolder) {
  AddFile("data/a.txt", 1000);
  tree_.AddFolder("data/Empty");
  options_.chkInclSub = false;
  EXPECT_EQ(Export(ExportFormat::kText),
            Lines({"Directory of: " + Data() + "/*.*", kDate + "      Sorted by Long Name",
                   "Date: Modified      ", "", "", Data(), TextEntry("a.txt", "1,000"), "",
                   "1 file; 1,000 bytes", "", "Total: 1 files;  1,000 bytes"}));

  // An empty folder, listed: its totals follow its heading at once.
  options_.chkInclSub = true;
  const std::string text = Export(ExportFormat::kText);
  EXPECT_NE(text.find(Lines({"", Data() + "/Empty", "0 files; 0 bytes"})), std::string::npos)
      << text;
  EXPECT_NE(text.find("Total: 2 directories;  1 files;  1,000 bytes"), std::string::npos);
}

TEST_F(ExportJobTest, DirectoriesOnlyPlainTextWithAndWithoutTree) {
  AddFile("data/x.txt", 500);
  AddFile("data/A/y.txt", 16777217);
  tree_.AddFolder("data/A/B");
  options_.chkDirOnly = true;
  options_.chkHidden = false;
  const std::string heading3 = kDate + "      Directories only";
  // Both gaps after the hidden and empty elements stand, then a blank for the
  // missing label.
  const std::string gap = "      ";
  const std::string heading4 = "Levels: All" + gap + "Hidden excluded" + gap + gap + " ";
  EXPECT_EQ(Export(ExportFormat::kText),
            Lines({"Directory of: " + Data() + "/*.*", heading3, heading4, "",
                   Pad(Data(), 60) + "     1 file           500 bytes",
                   Pad(Data() + "/A", 60) + "     1 file    16,777,217 bytes",
                   Pad(Data() + "/A/B", 60) + "     0 files            0 bytes", "",
                   "Total: 3 directories;  2 files;  16,777,717 bytes"}));

  options_.chkTree = true;
  EXPECT_EQ(Export(ExportFormat::kText),
            Lines({"Directory of: " + Data() + "/*.*", heading3, heading4, "",
                   Pad("data", 50) + "     1 file           500 bytes",
                   Pad("   A", 50) + "     1 file    16,777,217 bytes",
                   Pad("      B", 50) + "     0 files            0 bytes", "",
                   "Total: 3 directories;  2 files;  16,777,717 bytes"}));
}

TEST_F(ExportJobTest, HeadingCarriesExclusionsRangeLabelAndPageHeader) {
  AddFile("data/a.txt", 1);
  volumes_.Add(tree_.Root(), DriveType::Removable, "BACKUP");
  options_.txtExclude = "*.bak;*.tmp";
  options_.chkDateRange = true;
  options_.txtFromDate = "12/01/2003";
  options_.txtToDate = "12/31/2003";
  options_.chkExcludeEmpty = true;
  options_.chkPageHeader = true;
  options_.txtPageHeader = "  Quarterly  ";
  options_.chkInclSub = false;
  const std::string text = Export(ExportFormat::kText);
  EXPECT_EQ(text.substr(0, text.find(Data() + "\r\n")),
            Lines({"Directory of: " + Data() + "/*.* (Excluding *.bak;*.tmp)",
                   "Files dated from 12/01/2003 to 12/31/2003", kDate + "      Sorted by Long Name",
                   "Date: Modified      Empty subdirectories excluded      Disk Label: BACKUP",
                   "  Quarterly  ", "", ""}));
}

TEST_F(ExportJobTest, SortFieldFollowsTheShownNameColumn) {
  AddFile("data/a.txt", 1);
  options_.grpSortField = kSortShortName;
  options_.chkInclSub = false;
  const std::string text = Export(ExportFormat::kText);
  EXPECT_NE(text.find("Sorted by Long Name"), std::string::npos);
  EXPECT_EQ(result_.grpSortField, kSortLongName);

  options_.grpSortField = kSortLongName;
  options_.chkLongName = false;
  options_.chkShortName = true;
  EXPECT_NE(Export(ExportFormat::kText).find("Sorted by Short Name"), std::string::npos);
  EXPECT_EQ(result_.grpSortField, kSortShortName);
}

// Comma-delimited.

TEST_F(ExportJobTest, DelimitedWithoutHeadersHoldsOnlyRows) {
  BuildData();
  options_.exportPanel.chkNoTotals = true;
  const std::string row = "12/31/2003\",\"3:05pm\",\"\",";
  EXPECT_EQ(
      Export(ExportFormat::kDelimited),
      Lines({"\"a.txt\",1000,\"" + row, "\"b.txt\",2000,\"" + row, "\"c.txt\",500,\"" + row}));

  options_.exportPanel.chkFullPath = true;
  options_.exportPanel.grpFullPath = 0;
  EXPECT_EQ(Export(ExportFormat::kDelimited),
            Lines({"\"" + Data() + "\",\"a.txt\",1000,\"" + row,
                   "\"" + Data() + "\",\"b.txt\",2000,\"" + row,
                   "\"" + Data() + "/Sub\",\"c.txt\",500,\"" + row}));

  options_.exportPanel.grpFullPath = 1;
  EXPECT_EQ(Export(ExportFormat::kDelimited), Lines({"\"" + Data() + "/a.txt\",1000,\"" + row,
                                                     "\"" + Data() + "/b.txt\",2000,\"" + row,
                                                     "\"" + Data() + "/Sub/c.txt\",500,\"" + row}));
}

TEST_F(ExportJobTest, DelimitedWithHeaders) {
  BuildData();
  tree_.AddFolder("data/Sub/Empty");
  const std::string row = "12/31/2003\",\"3:05pm\",\"\",";
  EXPECT_EQ(Export(ExportFormat::kDelimited), Lines({"Directory of: " + Data() + "/*.*",
                                                     kDate + "      Sorted by Long Name",
                                                     "Levels: All      Date: Modified      ",
                                                     "",
                                                     "",
                                                     Data(),
                                                     "\"a.txt\",1000,\"" + row,
                                                     "\"b.txt\",2000,\"" + row,
                                                     "",
                                                     "2,3000",
                                                     "",
                                                     Data() + "/Sub",
                                                     "\"c.txt\",500,\"" + row,
                                                     "",
                                                     "1,500",
                                                     "",
                                                     Data() + "/Sub/Empty",
                                                     "0,0",
                                                     "",
                                                     "Total directories:,3",
                                                     "Total files:,3",
                                                     "Total bytes:,3500"}));
}

TEST_F(ExportJobTest, DelimitedDirectoriesOnlyIsTheSameWithTree) {
  AddFile("data/a.txt", 500);
  AddFile("data/R,D/b.txt", 4294967297ull);
  options_.chkDirOnly = true;
  const std::string expected =
      Lines({"Directory of: " + Data() + "/*.*", kDate + "      Directories only",
             "Levels: All" + std::string(3 * 6 + 1, ' '), "", "Directory,Files,Bytes", "",
             Data() + ",1,500",
             // A comma in a folder name is quoted rather than splitting the row.
             "\"" + Data() + "/R,D\",1,4294967297", "", "Total directories:,2", "Total files:,2",
             "Total bytes:,4294967797"});
  EXPECT_EQ(Export(ExportFormat::kDelimited), expected);
  options_.chkTree = true;
  EXPECT_EQ(Export(ExportFormat::kDelimited), expected);
}

// HTML.

std::string HtmlEntry(const std::string& rowStart, const std::string& folder,
                      const std::string& name, const std::string& size) {
  return rowStart + "<TD WIDTH=\"70%\"><A HREF=\"" + folder + "/" + name + "\">" + name +
         "</A></TD><TD ALIGN=RIGHT WIDTH=\"8%\">" + std::string(15 - size.size(), ' ') + size +
         "</TD><TD WIDTH=\"16%\">&nbsp;12/31/2003&nbsp;&nbsp;3:05pm</TD><TD WIDTH=\"4%\">      "
         "</TD></TR>";
}

const std::string kGap = "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";
const std::string kTablePadded = "<TABLE CELLPADDING=3 BORDER=0 WIDTH=\"95%\">";
const std::string kTableSpaced = "<TABLE CELLSPACING=3 BORDER=0 WIDTH=\"95%\">";

TEST_F(ExportJobTest, FirstRunHtmlHasItsTwentyEightLines) {
  BuildData();
  const std::string expected =
      Lines({"<HTML>",
             "<HEAD>",
             "<STYLE TYPE='text/css'>",
             "  td {border: ridge 1px}",
             "  table {border: ridge 2px; border-collapse: collapse}",
             "</STYLE>",
             "</HEAD>",
             "<BODY>",
             "<B>Directory of: " + Data() + "/*.*<BR>",
             kDate + kGap + "Sorted by Long Name<BR>",
             "Levels: All" + kGap + "Date: Modified" + kGap + "<P>",
             "</B><P>" + kTablePadded,
             "",
             "<TR><TD COLSPAN=6><B>" + Data() + "</B></TD></TR>",
             HtmlEntry("<TR>", Data(), "a.txt", "1,000"),
             "",
             HtmlEntry("<TR BGCOLOR=#CCCCCC>", Data(), "b.txt", "2,000"),
             "",
             "<TR><TD COLSPAN=6><B> 2 files; 3,000 bytes</B></TD></TR>",
             "<TR><TD COLSPAN=6>&nbsp;</TD></TR>",
             "<TR><TD COLSPAN=6><B>" + Data() + "/Sub</B></TD></TR>",
             HtmlEntry("<TR>", Data() + "/Sub", "c.txt", "500"),
             "",
             "<TR><TD COLSPAN=6><B> 1 file; 500 bytes</B></TD></TR>",
             "<TR><TD COLSPAN=6>&nbsp;</TD></TR>",
             "",
             "</TABLE><P><B> Total: 2 directories;  3 files;  3,500 bytes<BR>",
             "</B></BODY></HTML>"});
  EXPECT_EQ(Export(ExportFormat::kHtml), expected);
}

TEST_F(ExportJobTest, HtmlBordersOffAndShadingOffWithoutSubdirectories) {
  AddFile("data/a.txt", 1);
  AddFile("data/b.txt", 2);
  options_.exportPanel.chkBorders = false;
  options_.exportPanel.chkShade = false;
  options_.chkInclSub = false;
  EXPECT_EQ(
      Export(ExportFormat::kHtml),
      Lines({"<HTML>", "<BODY>", "<B>Directory of: " + Data() + "/*.*<BR>",
             kDate + kGap + "Sorted by Long Name<BR>", "Date: Modified" + kGap + "<P>",
             "</B><P>" + kTableSpaced, "", "<TR><TD COLSPAN=6><B>" + Data() + "</B></TD></TR>",
             HtmlEntry("<TR>", Data(), "a.txt", "1"), "", HtmlEntry("<TR>", Data(), "b.txt", "2"),
             "", "<TR><TD COLSPAN=6><B> 2 files; 3 bytes</B></TD></TR>",
             "<TR><TD COLSPAN=6>&nbsp;</TD></TR>", "", "</TABLE><P><B> Total: 2 files;  3 bytes",
             "</B></BODY></HTML>"}));
}

TEST_F(ExportJobTest, HtmlFileRowsShadeByPositionInEachDirectory) {
  AddFile("data/a.txt", 1);
  AddFile("data/b.txt", 1);
  AddFile("data/c.txt", 1);
  AddFile("data/Sub/d.txt", 1);
  const std::string text = Export(ExportFormat::kHtml);
  std::vector<std::string> rowStarts;
  for (std::size_t at = text.find("<A HREF"); at != std::string::npos;
       at = text.find("<A HREF", at + 1)) {
    std::size_t lineStart = text.rfind("\n", at) + 1;
    rowStarts.push_back(text.substr(lineStart, text.find("<TD", lineStart) - lineStart));
  }
  EXPECT_EQ(rowStarts, (std::vector<std::string>{"<TR>", "<TR BGCOLOR=#CCCCCC>", "<TR>", "<TR>"}));
}

TEST_F(ExportJobTest, HtmlDirectoriesOnlyShadesAcrossTheFile) {
  AddFile("data/a.txt", 500);
  tree_.AddFolder("data/A/B");
  tree_.AddFolder("data/C");
  options_.chkDirOnly = true;
  const std::string shaded = "BGCOLOR=\"#CCCCCC\"";
  const std::string counts0 =
      "<TD ALIGN=RIGHT>     0&nbsp;files</TD><TD ALIGN=RIGHT>           0&nbsp;bytes</TD></TR>";
  const std::string counts1 =
      "<TD ALIGN=RIGHT>     1&nbsp;file</TD><TD ALIGN=RIGHT>         500&nbsp;bytes</TD></TR>";
  auto row = [&](const std::string& attribute, const std::string& folder) {
    return "<TR " + attribute + "><TD WIDTH=\"80%\"><A HREF=\"" + folder + "\">" + folder +
           "</A></TD>";
  };
  std::string text = Export(ExportFormat::kHtml);
  std::string rows =
      text.substr(text.find("<TR "), text.find("\r\n\r\n</TABLE>") + 2 - text.find("<TR "));
  EXPECT_EQ(rows,
            Lines({row("", Data()) + counts1, row(shaded, Data() + "/A") + counts0,
                   row("", Data() + "/A/B") + counts0, row(shaded, Data() + "/C") + counts0}));
  EXPECT_NE(text.find("Levels: All" + kGap + kGap + kGap + " <P>"), std::string::npos) << text;

  options_.chkTree = true;
  text = Export(ExportFormat::kHtml);
  rows = text.substr(text.find("<TR "), text.find("\r\n\r\n</TABLE>") + 2 - text.find("<TR "));
  EXPECT_EQ(rows, Lines({"<TR ><TD>data</TD>" + counts1,
                         "<TR " + shaded + "><TD>&nbsp;&nbsp;&nbsp;A</TD>" + counts0,
                         "<TR ><TD>" + std::string("&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;") +
                             "B</TD>" + counts0,
                         "<TR " + shaded + "><TD>&nbsp;&nbsp;&nbsp;C</TD>" + counts0}));

  options_.exportPanel.chkShade = false;
  EXPECT_EQ(Export(ExportFormat::kHtml).find(shaded), std::string::npos);
}

TEST_F(ExportJobTest, HtmlDeferredHeadingsStartTables) {
  BuildData();
  AddFile("data/Docs/r.doc", 1);
  auto count = [](const std::string& text, const std::string& piece) {
    int n = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
      ++n;
    return n;
  };
  EXPECT_EQ(count(Export(ExportFormat::kHtml), "<TABLE "), 1);
  options_.txtFilespec = "*.txt";
  const std::string text = Export(ExportFormat::kHtml);
  EXPECT_EQ(count(text, "<TABLE "), 3);  // the heading's and one per listed folder
  EXPECT_NE(
      text.find(Lines({kTablePadded, "<TR><TD COLSPAN=6><B>" + Data() + "/Sub</B></TD></TR>"})),
      std::string::npos);
  EXPECT_EQ(text.find("Docs"), std::string::npos);
  EXPECT_EQ(count(text, "</TABLE>"), 1);
}

TEST_F(ExportJobTest, HtmlEscapesNamesAndEncodesLinks) {
  AddFile("data/R&D <1>.txt", 1);
  options_.chkInclSub = false;
  const std::string text = Export(ExportFormat::kHtml);
  EXPECT_NE(text.find("<A HREF=\"" + Data() + "/R&amp;D%20%3C1%3E.txt\">R&amp;D &lt;1&gt;.txt</A>"),
            std::string::npos)
      << text;
}

// Cancel, failures and the shell.

// Clicks Cancel at the Nth chance after a directory's status was shown.
class CancellingHost : public RecordingJobHost {
 public:
  void CancelInDirectory(std::string status, int nthEventsCall) {
    status_ = std::move(status);
    nth_ = nthEventsCall;
    calls_ = -1;
  }
  void SetStatus(int panel, const std::string& text) override {
    RecordingJobHost::SetStatus(panel, text);
    if (panel == 0 && text == status_) calls_ = 0;
  }
  void ProcessEvents() override {
    RecordingJobHost::ProcessEvents();
    if (calls_ >= 0 && ++calls_ == nth_) SetCancelRequested(true);
  }

 private:
  std::string status_;
  int nth_ = 0;
  int calls_ = -1;
};

TEST_F(ExportJobTest, CancelDuringTheSecondDirectoryKeepsWhatWasWritten) {
  BuildData();
  AddFile("data/Sub/d.txt", 7);
  options_.exportPanel.chkOpenFile = true;
  CancellingHost host;
  ListingSession session(*fileSystem_, timeZone_, locale_, shell_);
  ExportJob job(session, services_, details_, host);
  // Events run before each entry: the second chance in Sub comes before d.txt.
  const std::string subStatus = " Processing directory " + Data() + "/Sub";
  for (ExportFormat format : {ExportFormat::kText, ExportFormat::kHtml}) {
    host.SetCancelRequested(false);
    host.CancelInDirectory(subStatus, 2);
    ExportResult result = job.Run(options_, Data(), OutPath(), format);
    EXPECT_TRUE(result.cancelled);
    const std::string text = ReadFile(OutPath());
    // The file ends after the last entry written: no totals, no document end.
    const std::string tail = format == ExportFormat::kText
                                 ? Lines({"", Data() + "/Sub", TextEntry("c.txt", "500")})
                                 : Lines({"<TR><TD COLSPAN=6><B>" + Data() + "/Sub</B></TD></TR>",
                                          HtmlEntry("<TR>", Data() + "/Sub", "c.txt", "500"), ""});
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_NE(text.find("2 files; 3,000 bytes"), std::string::npos);
    EXPECT_EQ(host.Texts(0).back(), " Export canceled");
    EXPECT_EQ(host.Texts(1).back(), "");
  }
  // A cancelled export is opened all the same.
  EXPECT_EQ(shell_.OpenedPaths(), (std::vector<std::string>{OutPath(), OutPath()}));
}

TEST_F(ExportJobTest, FailedWriteNamesTheFileAndTheReason) {
  AddFile("data/a.txt", 1);
  ListingSession session(*fileSystem_, timeZone_, locale_, shell_);
  ExportJob job(session, services_, details_, host_);
  options_.exportPanel.chkOpenFile = true;
  try {
    job.Run(options_, Data(), "/dev/full", ExportFormat::kText);
    FAIL() << "the write to /dev/full succeeded";
  } catch (const OutputError& error) {
    EXPECT_EQ(error.FileName(), "/dev/full");
    EXPECT_EQ(error.Reason(), "No space left on device");
    EXPECT_NE(std::string(error.what()).find("/dev/full"), std::string::npos);
  }
  EXPECT_TRUE(shell_.OpenedPaths().empty());

  EXPECT_THROW(job.Run(options_, Data(), tree_.Path("missing/out.txt"), ExportFormat::kText),
               OutputError);
}

TEST_F(ExportJobTest, DetailsFollowTheirEntry) {
  AddFile("data/tool.exe", 10);
  AddFile("data/song.mp3", 20);
  options_.chkInclSub = false;
  options_.chkVersion = true;
  options_.chkMP3 = true;
  fakeDetails_.version.Set(Data() + "/tool.exe", {"Veltro", "Lister", "1.0"});
  fakeDetails_.mp3.Set(Data() + "/song.mp3", {"Ann", "Tune", "3:07"});
  const std::string text = Export(ExportFormat::kText);
  EXPECT_NE(text.find(Lines({TextEntry("song.mp3", "20"), "  Ann - Tune - 3:07",
                             TextEntry("tool.exe", "10"), "  Veltro - Lister - 1.0"})),
            std::string::npos)
      << text;
  const std::string csv = Export(ExportFormat::kDelimited);
  EXPECT_NE(
      csv.find("\"tool.exe\",10,\"12/31/2003\",\"3:05pm\",\"\",\"Veltro\",\"Lister\",\"1.0\"\r\n"),
      std::string::npos)
      << csv;
}

}  // namespace
}  // namespace tabulon
