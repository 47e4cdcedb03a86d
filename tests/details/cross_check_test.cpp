// The readers against independent tools on the same files: olefile for
// compound files and summaries, pefile for version strings, exiftool for
// images, lame for the playing time. A missing tool fails the test.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "details/compound_file.h"
#include "details/doc_info.h"
#include "details/image_info.h"
#include "details/mp3_info.h"
#include "details/version_info.h"
#include "support/fixture_compound.h"
#include "support/fixture_mp3.h"
#include "support/fixture_pe.h"
#include "support/fixture_tools.h"
#include "support/temp_tree.h"

namespace tabulon {
namespace {

using testing::RunTool;
using testing::ShellQuote;

// Runs a tool that must be there; the output must be what it printed.
std::string MustRun(const std::string& commandLine) {
  const testing::ToolResult r = RunTool(commandLine);
  EXPECT_EQ(r.exitCode, 0) << commandLine << "\n" << r.output;
  return r.output;
}

std::string Python(testing::TempTree& tree, const std::string& script,
                   const std::vector<std::string>& args) {
  const std::string path = tree.AddFile("check.py", script);
  std::string line = std::string(testing::kSystemPython) + " " + ShellQuote(path);
  for (const std::string& a : args) line += " " + ShellQuote(a);
  return MustRun(line);
}

// "key=value" lines.
std::multimap<std::string, std::string> Pairs(const std::string& text) {
  std::multimap<std::string, std::string> out;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos) out.emplace(line.substr(0, eq), line.substr(eq + 1));
  }
  return out;
}

std::string Get(const std::multimap<std::string, std::string>& pairs, const std::string& key) {
  const auto it = pairs.find(key);
  return it == pairs.end() ? std::string() : it->second;
}

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (const char c : bytes) {
    out += digits[(static_cast<unsigned char>(c) >> 4) & 15];
    out += digits[static_cast<unsigned char>(c) & 15];
  }
  return out;
}

TEST(CrossCheck, SummaryAndStreamsAgainstOlefile) {
  testing::TempTree tree;
  const std::string script = R"(import sys, olefile
path = sys.argv[1]
ole = olefile.OleFileIO(path)
props = ole.getproperties('\x05SummaryInformation', convert_time=False)
for pid in sorted(props):
    v = props[pid]
    if isinstance(v, bytes):
        print('%d=%s' % (pid, v.split(b'\x00')[0].hex()))
    else:
        print('%d=%d' % (pid, v))
for name in sys.argv[2:]:
    print('stream:%s=%s' % (name, ole.openstream(name).read().hex()))
ole.close()
)";
  using testing::FileTimeProperty;
  using testing::IntProperty;
  using testing::TextProperty;
  const struct {
    const char* name;
    int version;
    std::vector<testing::SummaryProperty> properties;
  } cases[] = {
      {"all text fields, version 3",
       3,
       {TextProperty(2, "Budget"), TextProperty(3, "Q3"), TextProperty(4, "Lee"),
        TextProperty(5, "plans"), TextProperty(6, "Draft"), TextProperty(7, "Normal.dot"),
        TextProperty(8, "Kim"), TextProperty(9, "4"), IntProperty(14, 12), IntProperty(15, 3456),
        IntProperty(16, 20000), FileTimeProperty(12, 127'000'000'000'000'000ull),
        FileTimeProperty(13, 128'000'000'000'000'000ull)}},
      {"no title, version 4",
       4,
       {TextProperty(3, "Only subject"), TextProperty(4, "Ann"), IntProperty(14, 1)}},
      {"empty author", 3, {TextProperty(2, "T"), TextProperty(4, "")}},
  };
  for (const auto& c : cases) {
    const std::string summary = testing::BuildSummaryStream(c.properties);
    const std::string big(9000, 'b');
    const std::string file = tree.AddFile(
        std::string("doc") + std::to_string(&c - cases) + ".doc",
        testing::BuildCompoundFile(
            {{testing::kSummaryName, summary}, {"WordDocument", big}, {"Small", "tiny"}}, c.version)
            .bytes);
    const auto tool = Pairs(Python(tree, script, {file, "WordDocument", "Small"}));
    ASSERT_FALSE(tool.empty()) << c.name;

    TFileInfo info(file);
    const TDocInfo d = info.ReadDocInfo();
    ASSERT_EQ(d.Status, -1) << c.name;
    const std::pair<int, const std::string*> texts[] = {
        {2, &d.Title},    {3, &d.Subject},  {4, &d.Author},     {5, &d.Keywords},
        {6, &d.Comments}, {7, &d.Template}, {8, &d.LastAuthor}, {9, &d.RevNumber}};
    for (const auto& [id, text] : texts)
      EXPECT_EQ(Hex(*text), Get(tool, std::to_string(id))) << c.name << " property " << id;
    const std::pair<int, std::int32_t> numbers[] = {
        {14, d.PageCount}, {15, d.WordCount}, {16, d.CharCount}};
    for (const auto& [id, value] : numbers) {
      const std::string expected = Get(tool, std::to_string(id));
      EXPECT_EQ(std::to_string(value), expected.empty() ? "0" : expected)
          << c.name << " property " << id;
    }
    const std::pair<int, DateTimeValue> dates[] = {{12, d.Created}, {13, d.LastSaved}};
    for (const auto& [id, value] : dates) {
      // olefile gives file times in whole seconds.
      const std::string ticks = Get(tool, std::to_string(id));
      DateTimeValue expected = 0;
      DosDateTime dos = 0;
      if (!ticks.empty() && FileTimeToDosDateTime(std::stoull(ticks) * 10'000'000ull, dos))
        DosDateTimeToDateTime(dos, expected);
      EXPECT_DOUBLE_EQ(value, expected) << c.name << " property " << id;
    }

    // The streams themselves, regular and mini.
    RegularFile handle;
    ASSERT_TRUE(handle.Open(file));
    FileSource source(handle);
    CompoundFile storage;
    ASSERT_TRUE(storage.Open(source));
    for (const std::string name : {"WordDocument", "Small"}) {
      std::string data;
      ASSERT_TRUE(storage.ReadRootStream(name, data)) << name;
      EXPECT_EQ(Hex(data), Get(tool, "stream:" + name)) << c.name << " " << name;
    }
  }
}

TEST(CrossCheck, VersionStringsAgainstPefile) {
  testing::TempTree tree;
  const std::string script = R"(import sys, pefile
pe = pefile.PE(sys.argv[1])
for fi in getattr(pe, 'FileInfo', []):
    for block in fi:
        if getattr(block, 'Key', b'') == b'StringFileInfo':
            for table in block.StringTable:
                for k, v in table.entries.items():
                    print('%s/%s=%s' % (table.LangID.decode(), k.decode(), v.decode('utf-8')))
)";
  // A 64-bit program linked by the mingw tools from a resource script.
  const std::string rc = tree.AddFile("v.rc", R"(1 VERSIONINFO
FILEVERSION 1,2,3,4
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "040704b0"
    BEGIN
      VALUE "CompanyName", "Veltro GmbH"
      VALUE "FileDescription", "Werkzeug"
      VALUE "FileVersion", "1.2.3.4"
    END
    BLOCK "040904b0"
    BEGIN
      VALUE "CompanyName", "Veltro Inc."
      VALUE "FileDescription", "Listing tool"
    END
  END
  BLOCK "VarFileInfo"
  BEGIN
    VALUE "Translation", 0x407, 1200, 0x409, 1200
  END
END
)");
  const std::string obj = tree.Path("v.o");
  const std::string exe = tree.Path("tool.exe");
  MustRun("x86_64-w64-mingw32-windres --preprocessor=cpp -i " + ShellQuote(rc) + " -o " +
          ShellQuote(obj));
  MustRun("x86_64-w64-mingw32-ld -e 0 -o " + ShellQuote(exe) + " " + ShellQuote(obj));

  // And 32- and 64-bit files built by code.
  const testing::VersionTable us{
      "040904E4",
      {{"CompanyName", "Veltro"}, {"FileDescription", "Driver"}, {"FileVersion", "5.0"}}};
  const testing::VersionTable fr{"040C04E4", {{"CompanyName", "Veltro SA"}}};
  const std::string pe32 = tree.AddFile(
      "drv.sys", testing::BuildPeFile(false, {{0x0409, testing::VersionResourceBlob({fr, us})}}));
  const std::string pe64 = tree.AddFile(
      "lib.dll", testing::BuildPeFile(true, {{0x0409, testing::VersionResourceBlob({us})}}));

  const struct {
    std::string path;
    std::uint16_t user;
    const char* table;  // the table the reader must take
  } cases[] = {
      {exe, 0x0409, "040904b0"},  {exe, 0x0407, "040704b0"},  {exe, 0x0411, "040904b0"},
      {pe32, 0x0409, "040904E4"}, {pe32, 0x040C, "040C04E4"}, {pe64, 0x0407, "040904E4"},
  };
  for (const auto& c : cases) {
    const auto tool = Pairs(Python(tree, script, {c.path}));
    ASSERT_FALSE(tool.empty()) << c.path;
    const VersionStrings v = ReadVersionInfoFile(c.path, c.user);
    const std::string prefix = std::string(c.table) + "/";
    EXPECT_EQ(v.companyName, Get(tool, prefix + "CompanyName")) << c.path << " " << c.user;
    EXPECT_EQ(v.fileDescription, Get(tool, prefix + "FileDescription")) << c.path;
    EXPECT_EQ(v.fileVersion, Get(tool, prefix + "FileVersion")) << c.path;
  }
}

TEST(CrossCheck, ImagesAgainstExiftool) {
  testing::TempTree tree;
  const struct {
    const char* name;
    const char* convertArgs;
    bool exif;
  } cases[] = {
      {"a.jpg", "-size 64x48 xc:red -units PixelsPerInch -density 300", true},
      {"b.jpg", "-size 20x10 xc:red -units PixelsPerCentimeter -density 40", false},
      {"c.png", "-size 30x20 xc:blue -units PixelsPerCentimeter -density 40", true},
      {"d.png", "-size 7x5 xc:blue -units PixelsPerInch -density 72", false},
      {"e.tif", "-size 17x9 xc:green -units PixelsPerInch -density 150", true},
      {"f.tif", "-size 17x9 xc:green -units PixelsPerCentimeter -density 100", false},
      {"g.bmp", "-size 13x7 xc:red -units PixelsPerInch -density 72", false},
      {"h.gif", "-size 11x5 xc:red", false},
      {"i.pcx", "-size 9x4 xc:red -density 200", false},
      {"j.ico", "-size 32x32 xc:red", false},
  };
  for (const auto& c : cases) {
    const std::string path = tree.Path(c.name);
    MustRun(std::string("convert ") + c.convertArgs + " " + ShellQuote(path));
    if (c.exif)
      MustRun(
          "exiftool -q -overwrite_original -DateTimeOriginal='2004:07:15 09:30:00' "
          "-FNumber=2.8 -ExposureTime=1/125 " +
          ShellQuote(path));
    const auto tool = Pairs(MustRun(
        "exiftool -a -args -n -G -ImageWidth -ImageHeight -XResolution -ResolutionUnit "
        "-PixelsPerUnitX -PixelUnits -PixelsPerMeterX -DateTimeOriginal -FNumber -ExposureTime " +
        ShellQuote(path)));
    std::string width, height;
    for (const auto& [key, value] : tool) {
      if (key.ends_with(":ImageWidth") && width.empty()) width = value;
      if (key.ends_with(":ImageHeight") && height.empty()) height = value;
    }
    // The resolution in dots per inch from whichever header the format keeps.
    double dpi = 0;
    const auto perUnit = [](const std::string& value, const std::string& unit) {
      return std::stod(value) * (unit == "3" ? 2.54 : 1.0);
    };
    if (!Get(tool, "-JFIF:XResolution").empty()) {
      const std::string unit = Get(tool, "-JFIF:ResolutionUnit");  // 1 inch, 2 cm
      dpi = std::stod(Get(tool, "-JFIF:XResolution")) * (unit == "2" ? 2.54 : 1.0);
    } else if (!Get(tool, "-PNG:PixelsPerUnitX").empty()) {
      dpi = std::stod(Get(tool, "-PNG:PixelsPerUnitX")) * 0.0254;
    } else if (!Get(tool, "-File:PixelsPerMeterX").empty()) {
      dpi = std::stod(Get(tool, "-File:PixelsPerMeterX")) * 0.0254;
    } else if (!Get(tool, "-File:XResolution").empty()) {
      dpi = std::stod(Get(tool, "-File:XResolution"));
    } else if (!Get(tool, "-EXIF:XResolution").empty()) {
      dpi = perUnit(Get(tool, "-EXIF:XResolution"), Get(tool, "-EXIF:ResolutionUnit"));
    }

    const ImageParams p = ReadImageFile(path);
    EXPECT_EQ(std::to_string(p.width), width) << c.name;
    EXPECT_EQ(std::to_string(p.height), height) << c.name;
    EXPECT_EQ(p.dpi, static_cast<int>(std::lround(dpi))) << c.name;
    EXPECT_EQ(p.hasExif, c.exif) << c.name;
    if (c.exif) {
      EXPECT_EQ(p.exifDateTime, Get(tool, "-EXIF:DateTimeOriginal")) << c.name;
      EXPECT_NEAR(p.fNumber, std::stod(Get(tool, "-EXIF:FNumber")), 1e-9) << c.name;
      EXPECT_NEAR(p.exposureTime, std::stod(Get(tool, "-EXIF:ExposureTime")), 1e-9) << c.name;
    }
  }
}

TEST(CrossCheck, ConstantBitRatePlayingTimeOfLame) {
  testing::TempTree tree;
  for (const int seconds : {10, 75}) {
    const std::string wav =
        tree.AddFile("tone" + std::to_string(seconds) + ".wav", testing::WavFile(seconds));
    const std::string mp3 = tree.Path("tone" + std::to_string(seconds) + ".mp3");
    MustRun("lame --quiet -b 128 --cbr " + ShellQuote(wav) + " " + ShellQuote(mp3));
    TFileInfo info(mp3);
    const MP3FrameInfo f = info.ReadFrameInfo();
    ASSERT_EQ(f.Status, -1);
    EXPECT_EQ(f.BitRate, 128);
    EXPECT_EQ(f.SampleRate, 44100);
    EXPECT_EQ(f.Layer, 3);
    EXPECT_EQ(f.Version, 1);
    // The whole file at 128 kbit/s: the encoder's few frames of delay and
    // padding stay within a second.
    EXPECT_EQ(f.Duration, f.FileSize * 8 / 128000);
    EXPECT_NEAR(f.Duration, seconds, 1);
    const double toolSeconds = std::stod(MustRun("exiftool -n -s3 -Duration " + ShellQuote(mp3)));
    EXPECT_NEAR(f.Duration, toolSeconds, 1.0);
  }
  const Mp3Texts texts = Mp3Detail(tree.Path("tone75.mp3"));
  EXPECT_EQ(texts.playingTime, "1:15");
}

}  // namespace
}  // namespace tabulon
