#include "details/column_text.h"

#include <gtest/gtest.h>

#include "support/fake_locale.h"

namespace tabulon {
namespace {

using testing::FakeLocale;

EntryValues Report() {
  EntryValues v;
  v.shortName = "REPORT~1.TXT";
  v.longName = "report.txt";
  v.typeName = "Text Document";
  v.sizeField = "      1234";
  v.dateText = "12/31/2003  3:05pm";
  v.attrText = "A   ";
  v.size = 1234;
  return v;
}

ShownColumns AllSix() {
  return {true, true, true, true, true, true};
}

TEST(Utf8Text, CountsCodePointsAndNeverSplitsASequence) {
  EXPECT_EQ(utf8::Count("caf\xc3\xa9"), 4u);
  EXPECT_EQ(utf8::Count("a\xff"
                        "b"),
            3u);                                   // an invalid byte is one character
  EXPECT_EQ(utf8::Count("\xe2\x82"), 2u);          // a cut sequence: each byte alone
  EXPECT_EQ(utf8::Count("\xf0\x9f\x98\x80"), 1u);  // one emoji
  EXPECT_EQ(utf8::Left("caf\xc3\xa9s", 4), "caf\xc3\xa9");
  EXPECT_EQ(utf8::Fit("\xc3\xa9t\xc3\xa9", 2), "\xc3\xa9t");
  EXPECT_EQ(utf8::Fit("ab", 4), "ab  ");
  EXPECT_EQ(utf8::PadRight("\xc3\xa9", 3), "\xc3\xa9  ");
  EXPECT_EQ(utf8::PadLeft("abcdef", 3), "abcdef");
  EXPECT_EQ(utf8::Copy("12/31/2003  3:05pm", 13, 8), "3:05pm");
  EXPECT_EQ(utf8::Copy("N/A", 13, 8), "");
}

TEST(ColumnWidths, LongNameWidthAndPercent) {
  struct Case {
    ShownColumns shown;
    int width;
    int percent;
  };
  const Case cases[] = {
      {AllSix(), 42, 40},
      {{false, true, false, true, true, true}, 83, 70},  // the first-run choice
      {{false, true, false, false, false, false}, 120, 100},
      {{true, true, false, false, false, false}, 105, 90},
      {{false, true, true, false, false, false}, 94, 80},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LongNameWidth(c.shown), c.width);
    EXPECT_EQ(LongNamePercent(c.shown), c.percent);
  }
}

TEST(FolderText, RootKeepsItsSeparator) {
  EXPECT_EQ(FolderText("/data/"), "/data");
  EXPECT_EQ(FolderText("/data"), "/data");
  EXPECT_EQ(FolderText("/"), "/");
  EXPECT_EQ(FolderWithDelim("/data"), "/data/");
  EXPECT_EQ(FolderWithDelim("/"), "/");
}

TEST(PrintColumns, ValuesAsTheyAreAndTheSizeAsSizeText) {
  FakeLocale locale;
  const EntryValues v = Report();
  EXPECT_EQ(PrintColumnText(Column::kShortName, v, locale), "REPORT~1.TXT");
  EXPECT_EQ(PrintColumnText(Column::kSize, v, locale), "1,234");
  EXPECT_EQ(PrintColumnText(Column::kDateTime, v, locale), "12/31/2003  3:05pm");
  EXPECT_EQ(PrintColumnText(Column::kAttributes, v, locale), "A   ");
}

TEST(PlainTextColumns, PaddingAndCutting) {
  FakeLocale locale;
  EntryValues a = Report();
  a.longName = "a.txt";
  a.size = 1000;
  const ShownColumns firstRun{false, true, false, true, true, true};
  EXPECT_EQ(PlainTextColumns(a, firstRun, locale), "a.txt" + std::string(78, ' ') +
                                                       std::string(10, ' ') + "1,000" +
                                                       "  12/31/2003  3:05pm " + "  A   ");

  // All six: the long name padded or cut to 42, the type to exactly 25.
  EntryValues b = Report();
  b.shortName = "a-name-longer-than-fifteen.txt";  // no 8.3 name: kept whole
  static const std::string kFiftyLetters(50, 'x');
  b.longName = kFiftyLetters;
  b.typeName = "OpenDocument Text Document Format";
  EXPECT_EQ(PlainTextColumns(b, AllSix(), locale),
            "a-name-longer-than-fifteen.txt" + std::string(42, 'x') + "OpenDocument Text Documen" +
                "          1,234" + "  12/31/2003  3:05pm " + "  A   ");

  EntryValues na = Report();
  na.dateText = "N/A";
  const ShownColumns dateOnly{false, false, false, false, true, false};
  EXPECT_EQ(PlainTextColumns(na, dateOnly, locale), "  N/A" + std::string(16, ' '));
}

TEST(PlainTextDetails, LinesOfEachKind) {
  FakeLocale locale;
  EntryValues v = Report();
  const ShownColumns nameOnly{false, true, false, false, false, false};
  v.longName = "x";
  const std::vector<ShownDetail> details = {
      {DetailKind::kVersion, "Acme - Tool - 1.0", ""},
      {DetailKind::kImage, "Size: 1x1; DPI: 300", ""},
      {DetailKind::kOffice, "Budget ", ""},
  };
  const std::vector<std::string> expected = {"x" + std::string(119, ' '), "  Acme - Tool - 1.0",
                                             "Size: 1x1; DPI: 300", "", "  Budget "};
  EXPECT_EQ(PlainTextEntryLines(v, nameOnly, details, locale), expected);

  const std::vector<std::string> imageOnly = {"x" + std::string(119, ' '), "Size: 1x1; DPI: 300",
                                              ""};
  EXPECT_EQ(PlainTextEntryLines(v, nameOnly, {details[1]}, locale), imageOnly);
}

TEST(CsvColumns, ReportTxtForTheThreePathOptions) {
  const EntryValues v = Report();
  struct Case {
    CsvPathOption option;
    const char* folder;
    const char* line;
  };
  const Case cases[] = {
      {CsvPathOption::kNone, "/data/",
       R"("REPORT~1.TXT","report.txt","Text Document",1234,"12/31/2003","3:05pm","A",)"},
      {CsvPathOption::kSeparate, "/data/",
       R"("/data","REPORT~1.TXT","report.txt","Text Document",1234,"12/31/2003","3:05pm","A",)"},
      {CsvPathOption::kCombined, "/data/",
       R"("/data/REPORT~1.TXT","/data/report.txt","Text Document",1234,"12/31/2003","3:05pm","A",)"},
      {CsvPathOption::kSeparate, "/",
       R"("/","REPORT~1.TXT","report.txt","Text Document",1234,"12/31/2003","3:05pm","A",)"},
      {CsvPathOption::kCombined, "/",
       R"("/REPORT~1.TXT","/report.txt","Text Document",1234,"12/31/2003","3:05pm","A",)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CsvEntryRow(v, AllSix(), c.folder, c.option, {}), c.line) << c.folder;
  }
}

TEST(CsvColumns, QuotesInsideFieldsAreDoubled) {
  EntryValues v = Report();
  v.shortName = v.longName = R"(say "hi", bob.txt)";
  EXPECT_EQ(
      CsvEntryRow(v, AllSix(), "/data/", CsvPathOption::kNone, {}),
      R"("say ""hi"", bob.txt","say ""hi"", bob.txt","Text Document",1234,"12/31/2003","3:05pm","A",)");
  EXPECT_EQ(
      CsvEntryRow(v, AllSix(), "/my \"docs\"/", CsvPathOption::kSeparate, {}),
      R"("/my ""docs""","say ""hi"", bob.txt","say ""hi"", bob.txt","Text Document",1234,"12/31/2003","3:05pm","A",)");
}

TEST(OutputLines, NamesWithMarkupOrQuotesInBothFormats) {
  FakeLocale locale;
  const ShownColumns firstRun{false, true, false, true, true, true};
  EntryValues v = Report();
  v.shortName = v.longName = R"(say "hi", bob.txt)";
  std::string cells = HtmlColumns(v, firstRun, "/data/", locale);
  EXPECT_EQ(
      cells.substr(0, cells.find("</TD>") + 5),
      R"(<TD WIDTH="70%"><A HREF="/data/say%20%22hi%22,%20bob.txt">say &quot;hi&quot;, bob.txt</A></TD>)");

  v.shortName = v.longName = "R&D <b>.txt";
  cells = HtmlColumns(v, firstRun, "/data/", locale);
  EXPECT_EQ(
      cells.substr(0, cells.find("</TD>") + 5),
      R"(<TD WIDTH="70%"><A HREF="/data/R&amp;D%20%3Cb%3E.txt">R&amp;D &lt;b&gt;.txt</A></TD>)");
  // Comma-delimited text has no markup to fear: the name stands as it is.
  EXPECT_EQ(
      CsvEntryRow(v, AllSix(), "/data/", CsvPathOption::kCombined, {}),
      R"("/data/R&D <b>.txt","/data/R&D <b>.txt","Text Document",1234,"12/31/2003","3:05pm","A",)");
}

TEST(CsvColumns, UnreadableTimeAndFieldsOfDetails) {
  EntryValues v = Report();
  v.dateText = "N/A";
  const ShownColumns dateAndSize{false, false, false, true, true, false};
  const std::vector<ShownDetail> details = {
      {DetailKind::kVersion, "", CsvVersionFields({"Acme", "Tool", "1.0"})}};
  EXPECT_EQ(CsvEntryRow(v, dateAndSize, "/d/", CsvPathOption::kNone, details),
            R"(1234,"N/A","","Acme","Tool","1.0")");

  ImageDetailResult image;
  image.sizeField = "640x480";
  image.resolutionField = "300 DPI";
  EXPECT_EQ(CsvImageFields(image), R"("640x480","300 DPI")");
  image.hasExif = true;
  image.exposureField = "F2.8";
  EXPECT_EQ(CsvImageFields(image), R"("640x480","300 DPI","","F2.8")");
  EXPECT_EQ(CsvOfficeFields({"Q\"3", "", "Lee"}), R"("Q""3","","Lee")");
  EXPECT_EQ(CsvMp3Fields({"", "", "3:25"}), R"("","","3:25")");
}

TEST(CsvBare, QuotedOnlyWhenItMustBe) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"1234", "1234"},
      {"/data/Sub", "/data/Sub"},
      {"/data/a,b", "\"/data/a,b\""},
      {"say \"x\"", "\"say \"\"x\"\"\""},
      {"two\nlines", "\"two\nlines\""},
      {"cr\rhere", "\"cr\rhere\""},
  };
  for (const Case& c : cases) EXPECT_EQ(CsvBare(c.text), c.expected) << c.text;
}

TEST(HtmlColumns, LongNameCellOfReportTxt) {
  FakeLocale locale;
  const ShownColumns firstRun{false, true, false, true, true, true};
  const std::string cells = HtmlColumns(Report(), firstRun, "/data/", locale);
  EXPECT_EQ(cells.substr(0, cells.find("</TD>") + 5),
            R"(<TD WIDTH="70%"><A HREF="/data/report.txt">report.txt</A></TD>)");
}

TEST(HtmlColumns, RowCellsOfTheFirstRunExport) {
  FakeLocale locale;
  EntryValues a = Report();
  a.longName = "a.txt";
  a.size = 1000;
  const ShownColumns firstRun{false, true, false, true, true, true};
  EXPECT_EQ(HtmlColumns(a, firstRun, "/data/", locale),
            R"(<TD WIDTH="70%"><A HREF="/data/a.txt">a.txt</A></TD>)"
            R"(<TD ALIGN=RIGHT WIDTH="8%">          1,000</TD>)"
            R"(<TD WIDTH="16%">&nbsp;12/31/2003&nbsp;&nbsp;3:05pm</TD>)"
            R"(<TD WIDTH="4%">  A   </TD>)");

  const ShownColumns shortAndType{true, false, true, false, true, false};
  a.dateText = "N/A";
  EXPECT_EQ(HtmlColumns(a, shortAndType, "/data/", locale),
            "<TD>REPORT~1.TXT   </TD><TD WIDTH=\"20%\">Text&nbsp;Document</TD>"
            "<TD WIDTH=\"16%\">&nbsp;N/A" +
                std::string(16, ' ') + "</TD>");
}

TEST(HtmlColumns, MarkupInNamesIsEscapedAndAddressesEncoded) {
  FakeLocale locale;
  EntryValues v = Report();
  const ShownColumns nameOnly{false, true, false, false, false, false};
  struct Case {
    const char* name;
    const char* folder;
    const char* cell;
  };
  const Case cases[] = {
      {"R&D <draft>.txt", "/data/",
       R"(<TD WIDTH="100%"><A HREF="/data/R&amp;D%20%3Cdraft%3E.txt">R&amp;D &lt;draft&gt;.txt</A></TD>)"},
      {"<script>alert(1)</script>.txt", "/data/",
       R"(<TD WIDTH="100%"><A HREF="/data/%3Cscript%3Ealert(1)%3C/script%3E.txt">&lt;script&gt;alert(1)&lt;/script&gt;.txt</A></TD>)"},
      {"\"quoted\".txt", "/",
       R"(<TD WIDTH="100%"><A HREF="/%22quoted%22.txt">&quot;quoted&quot;.txt</A></TD>)"},
      {"100% #1?.txt", "/my docs/",
       R"(<TD WIDTH="100%"><A HREF="/my%20docs/100%25%20%231%3F.txt">100% #1?.txt</A></TD>)"},
      {"caf\xc3\xa9.txt", "/data/",
       "<TD WIDTH=\"100%\"><A HREF=\"/data/caf%C3%A9.txt\">caf\xc3\xa9.txt</A></TD>"},
  };
  for (const Case& c : cases) {
    v.longName = c.name;
    EXPECT_EQ(HtmlColumns(v, nameOnly, c.folder, locale), c.cell) << c.name;
  }

  v.typeName = "A<B> & C";
  v.shortName = "x&y";
  const ShownColumns shortAndType{true, false, true, false, false, false};
  EXPECT_EQ(HtmlColumns(v, shortAndType, "/", locale),
            "<TD>x&amp;y            </TD><TD WIDTH=\"20%\">A&lt;B&gt;&nbsp;&amp;&nbsp;C</TD>");
}

TEST(HtmlDetailRow, IndentedAndEscaped) {
  EXPECT_EQ(HtmlDetailRow({DetailKind::kMp3, "AC/DC - <Live> - 3:25", ""}),
            "<TR><TD COLSPAN=6>&nbsp;&nbsp;&nbsp;&nbsp;AC/DC - &lt;Live&gt; - 3:25</TD></TR>");
}

}  // namespace
}  // namespace tabulon
