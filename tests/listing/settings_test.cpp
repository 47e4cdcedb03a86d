#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <variant>

#include "listing/listing_options.h"
#include "listing/listing_settings.h"
#include "platform/settings_store.h"
#include "support/fake_font_catalog.h"
#include "support/memory_settings_store.h"

namespace tabulon {
namespace {

using testing::FakeFontCatalog;
using testing::MemorySettingsStore;

FakeFontCatalog LinuxFonts() {
  return FakeFontCatalog(
      {"DejaVu Sans", "DejaVu Serif", "Liberation Mono", "Liberation Sans", "Liberation Serif"},
      {{"Arial", "Liberation Sans"}});
}

// Every member of both tables, as "Name=value" lines, for whole-text comparison.
std::string Describe(const ListingOptions& o) {
  std::ostringstream out;
  out << "IncludeFiles=" << o.txtFilespec << "|\nExcludeFiles=" << o.txtExclude
      << "|\nFontSize=" << o.cboFontSize << "\nShortName=" << o.chkShortName
      << "\nLongName=" << o.chkLongName << "\nFileType=" << o.chkFileType
      << "\nFileSize=" << o.chkFileSize << "\nFileDate=" << o.chkFileDate
      << "\nFileAttr=" << o.chkFileAttr << "\nVerInfo=" << o.chkVersion << "\nMP3Info=" << o.chkMP3
      << "\nImageInfo=" << o.chkImage << "\nMSOffice=" << o.chkMSOffice
      << "\nDateType=" << o.grpDate << "\nSortField=" << o.grpSortField
      << "\nSortOrder=" << o.grpSortOrder << "\nColumns=" << o.grpColumns
      << "\nOrientation=" << o.grpOrientation << "\nIncludeSub=" << o.chkInclSub
      << "\nExcludeEmpty=" << o.chkExcludeEmpty << "\nLevels=" << o.cboLevels
      << "\nDirOnly=" << o.chkDirOnly << "\nTree=" << o.chkTree
      << "\nPageHeader=" << o.chkPageHeader << "\nPrintShade=" << o.chkShade
      << "\nHidden=" << o.chkHidden << "\nDateRange=" << o.chkDateRange
      << "\nFromDate=" << o.txtFromDate << "|\nToDate=" << o.txtToDate
      << "|\nFontName=" << o.cboFont << "\nOpenExport=" << o.exportPanel.chkOpenFile
      << "\nTableBorders=" << o.exportPanel.chkBorders << "\nTableShade=" << o.exportPanel.chkShade
      << "\nCSVNoTotals=" << o.exportPanel.chkNoTotals
      << "\nCSVFullPath=" << o.exportPanel.chkFullPath
      << "\nCSVFullPathOption=" << o.exportPanel.grpFullPath << "\n";
  return out.str();
}

ListingOptions LoadAll(const SettingsStore& store, const FontCatalog& fonts) {
  ListingOptions options;
  LoadListingOptions(store, fonts, options);
  LoadExportOptions(store, options.exportPanel);
  return options;
}

TEST(LoadListingOptions, FirstRunShowsTheDefaults) {
  const MemorySettingsStore empty;
  const FakeFontCatalog fonts = LinuxFonts();
  ListingOptions options;
  // Whatever the options held before, a first run shows the defaults.
  options.chkShortName = true;
  options.grpSortField = kSortSize;
  options.exportPanel.chkOpenFile = false;
  LoadListingOptions(empty, fonts, options);
  LoadExportOptions(empty, options.exportPanel);
  EXPECT_EQ(Describe(options),
            "IncludeFiles=*.*|\nExcludeFiles=|\nFontSize=2\nShortName=0\nLongName=1\n"
            "FileType=0\nFileSize=1\nFileDate=1\nFileAttr=1\nVerInfo=0\nMP3Info=0\n"
            "ImageInfo=0\nMSOffice=0\nDateType=0\nSortField=1\nSortOrder=0\nColumns=0\n"
            "Orientation=0\nIncludeSub=1\nExcludeEmpty=0\nLevels=0\nDirOnly=0\nTree=0\n"
            "PageHeader=0\nPrintShade=0\nHidden=1\nDateRange=0\nFromDate=  /  /    |\n"
            "ToDate=  /  /    |\nFontName=Liberation Sans\nOpenExport=1\nTableBorders=1\n"
            "TableShade=1\nCSVNoTotals=0\nCSVFullPath=0\nCSVFullPathOption=0\n");
  EXPECT_STREQ(FontSizeItem(options.cboFontSize), "10");

  // Where the fonts hold Arial itself, Arial it is.
  const FakeFontCatalog windowsFonts({"Arial", "Courier New", "Times New Roman"});
  LoadListingOptions(empty, windowsFonts, options);
  EXPECT_EQ(options.cboFont, "Arial");
}

TEST(LoadListingOptions, StoredValuesOutOfRangeOrOfTheWrongKind) {
  struct Case {
    const char* name;
    std::variant<std::int64_t, std::string> stored;
    int ListingOptions::*member;
    int expected;
  };
  const Case cases[] = {
      {"FontSize", 7, &ListingOptions::cboFontSize, 2},
      {"FontSize", 5, &ListingOptions::cboFontSize, 2},
      {"FontSize", -1, &ListingOptions::cboFontSize, 2},
      {"FontSize", 4, &ListingOptions::cboFontSize, 4},
      {"FontSize", std::string("3"), &ListingOptions::cboFontSize, 2},
      // A radio index above range selects the last item.
      {"DateType", 3, &ListingOptions::grpDate, 2},
      {"SortField", 9, &ListingOptions::grpSortField, 6},
      {"SortField", 6, &ListingOptions::grpSortField, 6},
      {"SortField", 0x7fffffffffffLL, &ListingOptions::grpSortField, 6},
      {"SortOrder", 2, &ListingOptions::grpSortOrder, 1},
      {"Columns", 3, &ListingOptions::grpColumns, 2},
      {"Orientation", 5, &ListingOptions::grpOrientation, 1},
      {"Levels", 11, &ListingOptions::cboLevels, 10},
      {"Levels", 250, &ListingOptions::cboLevels, 10},
      // Negative and wrong-kind values count as missing: the default.
      {"SortField", -2, &ListingOptions::grpSortField, 1},
      {"SortField", std::string("Size"), &ListingOptions::grpSortField, 1},
      {"Levels", -1, &ListingOptions::cboLevels, 0},
      {"DateType", -5, &ListingOptions::grpDate, 0},
  };
  const FakeFontCatalog fonts = LinuxFonts();
  for (const Case& c : cases) {
    MemorySettingsStore store;
    if (const auto* number = std::get_if<std::int64_t>(&c.stored)) {
      store.WriteInteger(c.name, *number);
    } else {
      store.StoreWrongKind(c.name, std::get<std::string>(c.stored));
    }
    ListingOptions options;
    LoadListingOptions(store, fonts, options);
    EXPECT_EQ(options.*c.member, c.expected) << c.name;
  }

  MemorySettingsStore store;
  store.WriteInteger("CSVFullPathOption", 4);
  store.WriteInteger("OpenExport", 0);
  store.WriteText("TableBorders", "no");  // wrong kind: the default stays
  store.WriteInteger("CSVFullPath", 5);   // any integer but 0 checks a box
  ExportPanelOptions panel;
  LoadExportOptions(store, panel);
  EXPECT_EQ(panel.grpFullPath, 1);
  EXPECT_FALSE(panel.chkOpenFile);
  EXPECT_TRUE(panel.chkBorders);
  EXPECT_TRUE(panel.chkFullPath);
}

TEST(LoadListingOptions, EnablingRulesBetweenControls) {
  struct Case {
    std::int64_t dirOnly, tree, columns, orientation;
    bool expectedTree;
    int expectedOrientation;
  };
  const Case cases[] = {
      {1, 1, 0, 1, true, 1},
      // Tree is loaded only while DirOnly has enabled it.
      {0, 1, 0, 1, false, 1},
      {1, 0, 0, 0, false, 0},
      // More than one column forces Portrait.
      {0, 0, 1, 1, false, 0},
      {0, 0, 2, 1, false, 0},
      {0, 0, 7, 1, false, 0},
  };
  const FakeFontCatalog fonts = LinuxFonts();
  for (const Case& c : cases) {
    MemorySettingsStore store;
    store.WriteInteger("DirOnly", c.dirOnly);
    store.WriteInteger("Tree", c.tree);
    store.WriteInteger("Columns", c.columns);
    store.WriteInteger("Orientation", c.orientation);
    ListingOptions options;
    LoadListingOptions(store, fonts, options);
    EXPECT_EQ(options.chkTree, c.expectedTree) << c.dirOnly << c.tree << c.columns;
    EXPECT_EQ(options.grpOrientation, c.expectedOrientation) << c.dirOnly << c.tree << c.columns;
  }
}

// The options with every value away from its default.
ListingOptions EveryValueChanged() {
  ListingOptions o;
  o.txtFilespec = "*.mp3;*.jpg";
  o.txtExclude = "~*.tmp";
  o.cboFontSize = 4;
  o.chkShortName = true;
  o.chkLongName = false;
  o.chkFileType = true;
  o.chkFileSize = false;
  o.chkFileDate = false;
  o.chkFileAttr = false;
  o.chkVersion = true;
  o.chkMP3 = true;
  o.chkImage = true;
  o.chkMSOffice = true;
  o.grpDate = 2;
  o.grpSortField = kSortAttributes;
  o.grpSortOrder = 1;
  o.grpColumns = 0;
  o.grpOrientation = 1;
  o.chkInclSub = false;
  o.chkExcludeEmpty = true;
  o.cboLevels = 10;
  o.chkDirOnly = true;
  o.chkTree = true;
  o.chkPageHeader = true;
  o.chkShade = true;
  o.chkHidden = false;
  o.chkDateRange = true;
  o.txtFromDate = "01/06/2003";
  o.txtToDate = "12/31/2003";
  o.cboFont = "DejaVu Serif";
  o.exportPanel.chkOpenFile = false;
  o.exportPanel.chkBorders = false;
  o.exportPanel.chkShade = false;
  o.exportPanel.chkNoTotals = true;
  o.exportPanel.chkFullPath = true;
  o.exportPanel.grpFullPath = 1;
  return o;
}

TEST(SaveListingOptions, WritesEveryValueOfBothTables) {
  MemorySettingsStore store;
  ASSERT_TRUE(SaveListingOptions(EveryValueChanged(), store));
  EXPECT_EQ(store.Values().size(), 36u);
  EXPECT_EQ(store.ReadText("FontName"), "DejaVu Serif");
  EXPECT_EQ(store.ReadInteger("FontSize"), 4);
  EXPECT_EQ(store.ReadInteger("Levels"), 10);
  EXPECT_EQ(store.ReadInteger("Hidden"), 0);
  EXPECT_EQ(store.ReadText("ToDate"), "12/31/2003");
  EXPECT_EQ(store.FlushCount(), 1);

  // A store that cannot be written reports it instead of passing for saved.
  MemorySettingsStore readOnly;
  readOnly.SetFlushError("Permission denied");
  std::string error;
  EXPECT_FALSE(SaveListingOptions(ListingOptions{}, readOnly, &error));
  EXPECT_EQ(error, "Permission denied");
}

// The real store writes $XDG_CONFIG_HOME/Veltro/Tabulon.conf. Its location is
// fixed at the first use of the store in the process, so the variable is set
// before any test runs.
class ConfigHomeEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tabulon-settings-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    home_ = pattern;
    setenv("XDG_CONFIG_HOME", home_.c_str(), 1);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(home_, ignored);
  }
  static const std::filesystem::path& Home() { return home_; }

 private:
  static inline std::filesystem::path home_;
};

[[maybe_unused]] ::testing::Environment* const kConfigHome =
    ::testing::AddGlobalTestEnvironment(new ConfigHomeEnvironment);

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(SettingsFile, EveryValueSurvivesSaveAndLoad) {
  const FakeFontCatalog fonts = LinuxFonts();
  const std::filesystem::path file = ConfigHomeEnvironment::Home() / "Veltro" / "Tabulon.conf";

  ListingOptions blanks;  // an empty exclude box and blank date boxes
  blanks.txtFilespec = " *.txt ";
  blanks.cboFont = "Liberation Mono";
  blanks.chkDateRange = true;
  blanks.txtFromDate = "  /  /    ";
  blanks.txtToDate = "";

  for (const ListingOptions& saved : {EveryValueChanged(), blanks}) {
    {
      const std::unique_ptr<SettingsStore> store = MakeSettingsStore();
      std::string error;
      ASSERT_TRUE(SaveListingOptions(saved, *store, &error)) << error;
    }
    const std::string text = ReadFile(file);
    for (const char* name :
         {"IncludeFiles",     "ExcludeFiles", "FontSize",    "ShortName",   "LongName",
          "FileType",         "FileSize",     "FileDate",    "FileAttr",    "VerInfo",
          "MP3Info",          "ImageInfo",    "MSOffice",    "DateType",    "SortField",
          "SortOrder",        "Columns",      "Orientation", "IncludeSub",  "ExcludeEmpty",
          "Levels",           "DirOnly",      "Tree",        "PageHeader",  "PrintShade",
          "Hidden",           "DateRange",    "FromDate",    "ToDate",      "FontName",
          "OpenExport",       "TableBorders", "TableShade",  "CSVNoTotals", "CSVFullPath",
          "CSVFullPathOption"}) {
      EXPECT_NE(text.find(std::string(name) + "="), std::string::npos) << name << "\n" << text;
    }
    const std::unique_ptr<SettingsStore> store = MakeSettingsStore();
    EXPECT_EQ(Describe(LoadAll(*store, fonts)), Describe(saved));
  }
}

TEST(SettingsFile, ValueOfTheWrongKindCountsAsMissing) {
  const FakeFontCatalog fonts = LinuxFonts();
  {
    const std::unique_ptr<SettingsStore> store = MakeSettingsStore();
    ASSERT_TRUE(SaveListingOptions(ListingOptions{}, *store));
    store->WriteText("SortField", "Size");
    store->WriteText("Levels", "-");
    store->WriteInteger("FontSize", 3);
    ASSERT_TRUE(store->Flush());
  }
  const std::unique_ptr<SettingsStore> store = MakeSettingsStore();
  const ListingOptions loaded = LoadAll(*store, fonts);
  EXPECT_EQ(loaded.grpSortField, kSortLongName);
  EXPECT_EQ(loaded.cboLevels, 0);
  EXPECT_EQ(loaded.cboFontSize, 3);
}

}  // namespace
}  // namespace tabulon
