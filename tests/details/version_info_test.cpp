#include "details/version_info.h"

#include <gtest/gtest.h>

#include "support/fixture_pe.h"
#include "support/temp_tree.h"

namespace tabulon {
namespace {

using testing::BuildPeFile;
using testing::VersionResourceBlob;
using testing::VersionTable;

VersionTable Table(const std::string& key, const std::string& company) {
  return VersionTable{key,
                      {{"CompanyName", company},
                       {"FileDescription", company + " tool"},
                       {"FileVersion", "1.2.3.4"},
                       {"ProductName", "Suite"}}};
}

VersionStrings ReadBytes(const std::string& bytes, std::uint16_t language = 0) {
  return ReadVersionInfo(MemorySource(bytes), language);
}

TEST(VersionInfo, StringsOf32And64BitFiles) {
  for (const bool wide : {false, true}) {
    const std::string pe =
        BuildPeFile(wide, {{0x0409, VersionResourceBlob({Table("040904b0", "Veltro")})}});
    const VersionStrings v = ReadBytes(pe);
    EXPECT_EQ(v.companyName, "Veltro") << wide;
    EXPECT_EQ(v.fileDescription, "Veltro tool") << wide;
    EXPECT_EQ(v.fileVersion, "1.2.3.4") << wide;
  }
}

TEST(VersionInfo, MissingStringsAndResources) {
  const std::string partial = BuildPeFile(
      false, {{0x0409, VersionResourceBlob({VersionTable{
                           "040904b0", {{"FileVersion", "2.0"}, {"CompanyName", ""}}}})}});
  const VersionStrings v = ReadBytes(partial);
  EXPECT_EQ(v.companyName, "");
  EXPECT_EQ(v.fileDescription, "");
  EXPECT_EQ(v.fileVersion, "2.0");

  const VersionStrings none = ReadBytes(BuildPeFile(true, {}));
  EXPECT_EQ(none.companyName + none.fileDescription + none.fileVersion, "");
  const VersionStrings noTables = ReadBytes(BuildPeFile(true, {{0x0409, VersionResourceBlob({})}}));
  EXPECT_EQ(noTables.fileVersion, "");
}

TEST(VersionInfo, StringTableOfTheUsersLanguage) {
  const std::string three = BuildPeFile(
      false,
      {{0x0409, VersionResourceBlob({Table("040704b0", "Deutsch"), Table("040904b0", "English"),
                                     Table("040C04E4", "Francais")})}});
  const std::string noEnglish =
      BuildPeFile(false, {{0x0409, VersionResourceBlob({Table("040704b0", "Deutsch"),
                                                        Table("040C04b0", "Francais")})}});
  const struct {
    const std::string* file;
    std::uint16_t user;
    const char* company;
  } cases[] = {
      {&three, 0x040C, "Francais"},     {&three, 0x0407, "Deutsch"},
      {&three, 0x0C07, "Deutsch"},      {&three, 0x0411, "English"},
      {&three, 0, "English"},           {&noEnglish, 0x0411, "Deutsch"},
      {&noEnglish, 0x040C, "Francais"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReadBytes(*c.file, c.user).companyName, c.company) << std::hex << c.user;

  // The same choice among resources of several languages.
  const std::string perLanguage =
      BuildPeFile(true, {{0x0407, VersionResourceBlob({Table("040704b0", "Deutsch")})},
                         {0x0409, VersionResourceBlob({Table("040904b0", "English")})}});
  EXPECT_EQ(ReadBytes(perLanguage, 0x0411).companyName, "English");
  EXPECT_EQ(ReadBytes(perLanguage, 0x0407).companyName, "Deutsch");
}

TEST(VersionInfo, CutAndDamagedFilesGiveEmptyStrings) {
  const std::string pe =
      BuildPeFile(false, {{0x0409, VersionResourceBlob({Table("040904b0", "Veltro")})}});
  for (std::size_t size = 0; size < pe.size(); size += 7) {
    const VersionStrings v = ReadBytes(pe.substr(0, size));
    // A cut file may keep what lies before the cut, never more.
    EXPECT_TRUE(v.companyName.empty() || v.companyName == "Veltro") << size;
  }
  std::string flipped = pe;
  for (std::size_t at = 0x200; at < flipped.size(); at += 3) {
    std::string damaged = flipped;
    damaged[at] = static_cast<char>(~damaged[at]);
    ReadBytes(damaged);  // must not crash or read out of bounds
  }
  EXPECT_EQ(ReadBytes("MZ this is not a program").fileVersion, "");
}

TEST(VersionInfo, LanguageOfLocaleNames) {
  const struct {
    const char* name;
    std::uint16_t id;
  } cases[] = {{"en_US.UTF-8", 0x0409},
               {"en_GB.UTF-8", 0x0809},
               {"de_DE.UTF-8", 0x0407},
               {"de_AT", 0x0C07},
               {"fr_FR@euro", 0x040C},
               {"C", 0},
               {"POSIX", 0},
               {"", 0},
               {"pt_BR.UTF-8", 0x0416}};
  for (const auto& c : cases) EXPECT_EQ(LanguageIdOfLocaleName(c.name), c.id) << c.name;
}

TEST(VersionInfo, FilesOnDisk) {
  testing::TempTree tree;
  const std::string exe = tree.AddFile(
      "tool.exe",
      BuildPeFile(true, {{0x0409, VersionResourceBlob({Table("040904b0", "Veltro")})}}));
  const PeVersionReader reader(0x0409);
  EXPECT_EQ(reader.ReadVersion(exe).companyName, "Veltro");
  EXPECT_EQ(reader.ReadVersion(tree.AddFile("notes.dll", "text")).companyName, "");
  EXPECT_EQ(reader.ReadVersion(tree.AddFifo("pipe.exe")).companyName, "");
  EXPECT_EQ(reader.ReadVersion(tree.Path("missing.exe")).companyName, "");
}

}  // namespace
}  // namespace tabulon
