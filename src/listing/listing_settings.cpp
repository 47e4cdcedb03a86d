#include "listing/listing_settings.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace tabulon {

namespace {

class OptionReader {
 public:
  explicit OptionReader(const SettingsStore& store) : store_(store) {}

  std::string Text(const char* name, const std::string& fallback) const {
    return store_.ReadText(name).value_or(fallback);
  }

  bool Flag(const char* name, bool fallback) const {
    const std::optional<std::int64_t> value = store_.ReadInteger(name);
    return value ? *value != 0 : fallback;
  }

  // A radio group: above the last item selects the last item.
  int Radio(const char* name, int itemCount, int fallback) const {
    const std::optional<std::int64_t> value = store_.ReadInteger(name);
    if (!value || *value < 0) return fallback;
    return static_cast<int>(std::min<std::int64_t>(*value, itemCount - 1));
  }

  // FontSize: anything but one of the five items selects "10".
  int FontSize(const char* name) const {
    const std::optional<std::int64_t> value = store_.ReadInteger(name);
    if (!value || *value < 0 || *value >= kFontSizeItemCount) return kDefaultFontSizeIndex;
    return static_cast<int>(*value);
  }

 private:
  const SettingsStore& store_;
};

}  // namespace

std::string SelectFontName(const std::vector<std::string>& fontList, const FontCatalog& fonts,
                           const std::string& storedName) {
  if (fontList.empty()) return storedName;
  const auto holds = [&fontList](const std::string& name) {
    return std::find(fontList.begin(), fontList.end(), name) != fontList.end();
  };
  if (holds(storedName)) return storedName;
  const std::string matched = fonts.MatchFamily(storedName);
  if (!matched.empty() && holds(matched)) return matched;
  return fontList.size() > 2 ? fontList[2] : fontList.front();
}

void LoadListingOptions(const SettingsStore& store, const FontCatalog& fonts,
                        ListingOptions& options) {
  const ListingOptions defaults;
  const OptionReader read(store);
  options.txtFilespec = read.Text("IncludeFiles", defaults.txtFilespec);
  options.txtExclude = read.Text("ExcludeFiles", defaults.txtExclude);
  options.cboFontSize = read.FontSize("FontSize");
  options.chkShortName = read.Flag("ShortName", defaults.chkShortName);
  options.chkLongName = read.Flag("LongName", defaults.chkLongName);
  options.chkFileType = read.Flag("FileType", defaults.chkFileType);
  options.chkFileSize = read.Flag("FileSize", defaults.chkFileSize);
  options.chkFileDate = read.Flag("FileDate", defaults.chkFileDate);
  options.chkFileAttr = read.Flag("FileAttr", defaults.chkFileAttr);
  options.chkVersion = read.Flag("VerInfo", defaults.chkVersion);
  options.chkMP3 = read.Flag("MP3Info", defaults.chkMP3);
  options.chkImage = read.Flag("ImageInfo", defaults.chkImage);
  options.chkMSOffice = read.Flag("MSOffice", defaults.chkMSOffice);
  options.grpDate = read.Radio("DateType", kDateTypeItemCount, defaults.grpDate);
  options.grpSortField = read.Radio("SortField", kSortFieldItemCount, defaults.grpSortField);
  options.grpSortOrder = read.Radio("SortOrder", kSortOrderItemCount, defaults.grpSortOrder);
  options.grpColumns = read.Radio("Columns", kColumnsItemCount, defaults.grpColumns);
  options.grpOrientation =
      read.Radio("Orientation", kOrientationItemCount, defaults.grpOrientation);
  // More than one column leaves no choice but Portrait.
  if (options.grpColumns > 0) options.grpOrientation = 0;
  options.chkInclSub = read.Flag("IncludeSub", defaults.chkInclSub);
  options.chkExcludeEmpty = read.Flag("ExcludeEmpty", defaults.chkExcludeEmpty);
  options.cboLevels = read.Radio("Levels", kLevelsItemCount, defaults.cboLevels);
  options.chkDirOnly = read.Flag("DirOnly", defaults.chkDirOnly);
  // The tree style exists only for a directories-only listing.
  options.chkTree = options.chkDirOnly && read.Flag("Tree", defaults.chkTree);
  options.chkPageHeader = read.Flag("PageHeader", defaults.chkPageHeader);
  options.chkShade = read.Flag("PrintShade", defaults.chkShade);
  options.chkHidden = read.Flag("Hidden", defaults.chkHidden);
  options.chkDateRange = read.Flag("DateRange", defaults.chkDateRange);
  options.txtFromDate = read.Text("FromDate", defaults.txtFromDate);
  options.txtToDate = read.Text("ToDate", defaults.txtToDate);
  options.cboFont =
      SelectFontName(fonts.Families(), fonts, read.Text("FontName", defaults.cboFont));
}

void LoadExportOptions(const SettingsStore& store, ExportPanelOptions& panel) {
  const ExportPanelOptions defaults;
  const OptionReader read(store);
  panel.chkOpenFile = read.Flag("OpenExport", defaults.chkOpenFile);
  panel.chkBorders = read.Flag("TableBorders", defaults.chkBorders);
  panel.chkShade = read.Flag("TableShade", defaults.chkShade);
  panel.chkNoTotals = read.Flag("CSVNoTotals", defaults.chkNoTotals);
  panel.chkFullPath = read.Flag("CSVFullPath", defaults.chkFullPath);
  panel.grpFullPath = read.Radio("CSVFullPathOption", kFullPathItemCount, defaults.grpFullPath);
}

bool SaveListingOptions(const ListingOptions& options, SettingsStore& store, std::string* error) {
  const auto flag = [&store](const char* name, bool value) {
    store.WriteInteger(name, value ? 1 : 0);
  };
  store.WriteText("IncludeFiles", options.txtFilespec);
  store.WriteText("ExcludeFiles", options.txtExclude);
  store.WriteText("FontName", options.cboFont);
  store.WriteInteger("FontSize", options.cboFontSize);
  flag("ShortName", options.chkShortName);
  flag("LongName", options.chkLongName);
  flag("FileType", options.chkFileType);
  flag("FileSize", options.chkFileSize);
  flag("FileDate", options.chkFileDate);
  flag("FileAttr", options.chkFileAttr);
  flag("VerInfo", options.chkVersion);
  flag("MP3Info", options.chkMP3);
  flag("ImageInfo", options.chkImage);
  flag("MSOffice", options.chkMSOffice);
  store.WriteInteger("DateType", options.grpDate);
  store.WriteInteger("SortField", options.grpSortField);
  store.WriteInteger("SortOrder", options.grpSortOrder);
  store.WriteInteger("Columns", options.grpColumns);
  store.WriteInteger("Orientation", options.grpOrientation);
  flag("IncludeSub", options.chkInclSub);
  flag("ExcludeEmpty", options.chkExcludeEmpty);
  flag("DirOnly", options.chkDirOnly);
  flag("Tree", options.chkTree);
  flag("PageHeader", options.chkPageHeader);
  flag("Hidden", options.chkHidden);
  flag("DateRange", options.chkDateRange);
  store.WriteInteger("Levels", options.cboLevels);
  store.WriteText("FromDate", options.txtFromDate);
  store.WriteText("ToDate", options.txtToDate);
  flag("PrintShade", options.chkShade);
  const ExportPanelOptions& panel = options.exportPanel;
  flag("OpenExport", panel.chkOpenFile);
  flag("TableBorders", panel.chkBorders);
  flag("TableShade", panel.chkShade);
  flag("CSVNoTotals", panel.chkNoTotals);
  flag("CSVFullPath", panel.chkFullPath);
  store.WriteInteger("CSVFullPathOption", panel.grpFullPath);
  return store.Flush(error);
}

}  // namespace tabulon
