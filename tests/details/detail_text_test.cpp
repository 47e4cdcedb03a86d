#include "details/detail_text.h"

#include <gtest/gtest.h>

#include "support/fake_detail_sources.h"
#include "support/fake_locale.h"

namespace tabulon {
namespace {

using testing::FakeDetailSources;
using testing::FakeLocale;

TEST(QualifiesForDetail, ExtensionOccursInTheList) {
  struct Case {
    const char* name;
    std::string_view list;
    bool expected;
  };
  const Case cases[] = {
      {"photo.tif", ImageExtensions, true},  // through ".TIFF"
      {"photo.jpe", ImageExtensions, true},  // through ".JPEG"
      {"Photo.JPG", ImageExtensions, true},
      {"README", ImageExtensions, false},
      {"README", VersionExtensionsPrint, false},
      {"x.sys", VersionExtensionsPrint, true},
      {"x.sys", VersionExtensionsExport, false},
      {"tool.EXE", VersionExtensionsExport, true},
      {"archive.tar.gz", ImageExtensions, false},
      {"budget.xls", OfficeExtensions, true},
      {"letter.docx", OfficeExtensions, false},
      {".doc", OfficeExtensions, true},
      // A bare trailing dot would occur in every list.
      {"notes.", VersionExtensionsPrint, false},
      {"notes.", ImageExtensions, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QualifiesForDetail(c.name, c.list), c.expected) << c.name << " in " << c.list;
  }
}

TEST(QualifiesForDetail, Mp3NeedsTheWholeExtension) {
  EXPECT_TRUE(QualifiesForMp3("song.mp3"));
  EXPECT_TRUE(QualifiesForMp3("SONG.Mp3"));
  EXPECT_FALSE(QualifiesForMp3("song.mp"));
  EXPECT_FALSE(QualifiesForMp3("song.mp3x"));
  EXPECT_FALSE(QualifiesForMp3("mp3"));
}

TEST(VersionDetail, ShownOnlyWithADescriptionAboveOneBlank) {
  FakeDetailSources fakes;
  fakes.version.Set("/bin/a.exe", {"Acme", "Tool", "1.0.2"});
  fakes.version.Set("/bin/b.exe", {"Acme", "", "1.0"});
  fakes.version.Set("/bin/c.exe", {"Acme", " ", "1.0"});

  const VersionDetailResult a = VersionDetail("/bin/a.exe", fakes.version);
  EXPECT_TRUE(a.shown);
  EXPECT_EQ(a.text, "Acme - Tool - 1.0.2");
  EXPECT_FALSE(VersionDetail("/bin/b.exe", fakes.version).shown);
  EXPECT_FALSE(VersionDetail("/bin/c.exe", fakes.version).shown);
  EXPECT_FALSE(VersionDetail("/bin/none.exe", fakes.version).shown);
}

TEST(Mp3Detail, FileWithoutATagStillShowsItsTime) {
  EXPECT_EQ(Mp3DetailText({"", "", "3:25"}), " -  - 3:25");
  EXPECT_EQ(Mp3DetailText({"Artist", "Song", "0:07"}), "Artist - Song - 0:07");
}

TEST(OfficeDetail, JoinedTexts) {
  struct Case {
    OfficeTexts texts;
    const char* text;
    bool shown;
  };
  const Case cases[] = {
      {{"Budget", "", ""}, "Budget ", true},
      {{"", "Q3", "Lee"}, "Q3 - Lee", true},
      {{"", "", ""}, "", false},
      {{"Budget", "Q3", "Lee"}, "Budget - Q3 - Lee", true},
      {{" ", " ", " "}, "", false},
      {{"", "", "L"}, "L", false},  // one character is not enough
      {{"X", "", ""}, "X ", true},
  };
  for (const Case& c : cases) {
    const OfficeDetailResult result = OfficeDetailFromTexts(c.texts);
    EXPECT_EQ(result.text, c.text) << c.texts.title << "|" << c.texts.subject;
    EXPECT_EQ(result.shown, c.shown) << c.text;
  }
}

TEST(FloatText, GeneralRenderingWithTheLocaleDecimalPoint) {
  FakeLocale locale;
  struct Case {
    double value;
    const char* expected;
  };
  const Case cases[] = {
      {2.8, "2.8"},       {1 / 0.008, "125"}, {0.1 + 0.2, "0.3"}, {1.0 / 3, "0.333333333333333"},
      {1e-7, "1E-7"},     {1e20, "1E20"},     {4, "4"},           {0, "0"},
      {1 / 0.0125, "80"}, {-1.5, "-1.5"},
  };
  for (const Case& c : cases) EXPECT_EQ(FloatText(c.value, locale), c.expected) << c.value;
  locale.decimalPoint = ",";
  EXPECT_EQ(FloatText(2.8, locale), "2,8");
}

ImageParams Exif(const char* date, double fNumber, double exposure) {
  ImageParams p;
  p.width = 640;
  p.height = 480;
  p.dpi = 72;
  p.hasExif = true;
  p.exifDateTime = date;
  p.fNumber = fNumber;
  p.exposureTime = exposure;
  return p;
}

TEST(ImageDetail, TextsAndCommaDelimitedFields) {
  FakeLocale locale;
  struct Case {
    const char* what;
    ImageParams params;
    const char* text;
    const char* sizeField;
    const char* resolutionField;
    const char* dateField;
    const char* exposureField;
  };
  ImageParams noExif;
  noExif.width = 1024;
  noExif.height = 768;
  noExif.dpi = 96;
  ImageParams resolutionOne = noExif;
  resolutionOne.dpi = 1;
  const Case cases[] = {
      {"no EXIF", noExif, "Size: 1024x768; DPI: 96", "1024x768", "96 DPI", "", ""},
      {"resolution 1", resolutionOne, "Size: 1024x768; DPI: 300", "1024x768", "300 DPI", "", ""},
      {"exposure 0 with F 2.8", Exif("2003:12:31 15:05:00", 2.8, 0),
       "Size: 640x480; DPI: 72; Date: 12/31/2003 3:05:00pm", "640x480", "72 DPI",
       "12/31/2003 3:05:00pm", "F2.8"},
      {"full EXIF", Exif("2003:12:31 09:05:07", 2.8, 0.008),
       "Size: 640x480; DPI: 72; Date: 12/31/2003 9:05:07am; Exposure: F2.8  1/125", "640x480",
       "72 DPI", "12/31/2003 9:05:07am", "F2.8  1/125"},
      {"midnight leaves the time out", Exif("2004:02:29 00:00:00", 4, 0.5),
       "Size: 640x480; DPI: 72; Date: 2/29/2004; Exposure: F4  1/2", "640x480", "72 DPI",
       "2/29/2004", "F4  1/2"},
      {"unset EXIF date", Exif("0000:00:00 00:00:00", 2.8, 0.008), "Size: 640x480; DPI: 72",
       "640x480", "72 DPI", "", "F2.8  1/125"},
      {"not a number", Exif("2003:1x:31 15:05:00", 2.8, 0.008), "Size: 640x480; DPI: 72", "640x480",
       "72 DPI", "", "F2.8  1/125"},
      {"short text", Exif("2003:12", 2.8, 0.008), "Size: 640x480; DPI: 72", "640x480", "72 DPI", "",
       "F2.8  1/125"},
      {"31 February", Exif("2003:02:31 10:00:00", 2.8, 0.008), "Size: 640x480; DPI: 72", "640x480",
       "72 DPI", "", "F2.8  1/125"},
  };
  for (const Case& c : cases) {
    const ImageDetailResult r = ImageDetailFromParams(c.params, locale);
    EXPECT_EQ(r.text, c.text) << c.what;
    EXPECT_EQ(r.sizeField, c.sizeField) << c.what;
    EXPECT_EQ(r.resolutionField, c.resolutionField) << c.what;
    EXPECT_EQ(r.hasExif, c.params.hasExif) << c.what;
    EXPECT_EQ(r.dateField, c.dateField) << c.what;
    EXPECT_EQ(r.exposureField, c.exposureField) << c.what;
  }
}

TEST(ImageDetail, TwentyFourHourLocaleAndDecimalComma) {
  FakeLocale locale;
  locale.shortDateFormat = "dd.MM.yyyy";
  locale.longTimeFormat = "HH:mm:ss";
  locale.uses12HourClock = false;
  locale.decimalPoint = ",";
  const ImageDetailResult r =
      ImageDetailFromParams(Exif("2003:12:31 15:05:00", 5.6, 1.0 / 250), locale);
  EXPECT_EQ(r.text, "Size: 640x480; DPI: 72; Date: 31.12.2003 15:05:00; Exposure: F5,6  1/250");
}

TEST(EntryDetails, OrderOptionsAndTheTwoVersionLists) {
  FakeLocale locale;
  FakeDetailSources fakes;
  fakes.version.Set("/d/x.sys", {"Acme", "Driver", "2.0"});
  fakes.image.Set("/d/p.png", Exif("2003:12:31 15:05:00", 2.8, 0.008));
  fakes.office.Set("/d/b.doc", {"Budget", "", ""});
  fakes.mp3.Set("/d/s.mp3", {"A", "T", "1:00"});

  DetailOptions all{true, true, true, true, true};
  auto kinds = [&](const char* name, const DetailOptions& options) {
    std::string out;
    for (const ShownDetail& d :
         EntryDetails(name, std::string("/d/") + name, options, fakes.Sources(), locale)) {
      out += d.kind == DetailKind::kVersion ? "V"
             : d.kind == DetailKind::kMp3   ? "M"
             : d.kind == DetailKind::kImage ? "I"
                                            : "O";
    }
    return out;
  };
  EXPECT_EQ(kinds("x.sys", all), "V");
  DetailOptions exportAll = all;
  exportAll.forPrint = false;
  EXPECT_EQ(kinds("x.sys", exportAll), "");
  EXPECT_EQ(kinds("p.png", all), "I");
  EXPECT_EQ(kinds("s.mp3", all), "M");
  EXPECT_EQ(kinds("b.doc", all), "O");
  EXPECT_EQ(kinds("empty.doc", all), "");  // no summary: no Office detail
  EXPECT_EQ(kinds("README", all), "");
  DetailOptions noImage = all;
  noImage.chkImage = false;
  EXPECT_EQ(kinds("p.png", noImage), "");
  // A file the image reader cannot read still gets its (empty) image line.
  EXPECT_EQ(kinds("broken.jpg", all), "I");

  const auto details = EntryDetails("x.sys", "/d/x.sys", all, fakes.Sources(), locale);
  ASSERT_EQ(details.size(), 1u);
  EXPECT_EQ(details[0].text, "Acme - Driver - 2.0");
  EXPECT_EQ(details[0].csvFields, "\"Acme\",\"Driver\",\"2.0\"");
  EXPECT_EQ(fakes.version.AskedPaths().back(), "/d/x.sys");
}

}  // namespace
}  // namespace tabulon
