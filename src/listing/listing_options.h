// Every option of a listing: the main window's and the export panel's, with
// the first-run defaults. Members carry the names of the controls that hold
// them; indexes are zero-based item indexes.
#pragma once

#include <string>

namespace tabulon {

// The export options panel.
struct ExportPanelOptions {
  bool chkOpenFile = true;   // OpenExport: "Open export file after creating"
  bool chkBorders = true;    // TableBorders: "Include table borders"
  bool chkShade = true;      // TableShade: HTML "Shade alternate lines"
  bool chkNoTotals = false;  // CSVNoTotals: "No headers or totals"
  bool chkFullPath = false;  // CSVFullPath: "Include full path with file names"
  int grpFullPath = 0;       // CSVFullPathOption: 0 "Separate field", 1 "Combined with file name"
};

enum SortFieldIndex {
  kSortShortName = 0,
  kSortLongName = 1,
  kSortExtension = 2,
  kSortFileType = 3,
  kSortSize = 4,
  kSortDateTime = 5,
  kSortAttributes = 6,
};

struct ListingOptions {
  std::string txtFilespec = "*.*";         // IncludeFiles
  std::string txtExclude;                  // ExcludeFiles
  int cboFontSize = 2;                     // FontSize: "8", "9", "10", "11", "12"
  bool chkShortName = false;               // ShortName
  bool chkLongName = true;                 // LongName
  bool chkFileType = false;                // FileType
  bool chkFileSize = true;                 // FileSize
  bool chkFileDate = true;                 // FileDate
  bool chkFileAttr = true;                 // FileAttr
  bool chkVersion = false;                 // VerInfo
  bool chkMP3 = false;                     // MP3Info
  bool chkImage = false;                   // ImageInfo
  bool chkMSOffice = false;                // MSOffice
  int grpDate = 0;                         // DateType: 0 "Modified", 1 "Created", 2 "Accessed"
  int grpSortField = kSortLongName;        // SortField
  int grpSortOrder = 0;                    // SortOrder: 0 "Ascending", 1 "Descending"
  int grpColumns = 0;                      // Columns: 0 "1", 1 "2", 2 "4"
  int grpOrientation = 0;                  // Orientation: 0 "Portrait", 1 "Landscape"
  bool chkInclSub = true;                  // IncludeSub
  bool chkExcludeEmpty = false;            // ExcludeEmpty
  int cboLevels = 0;                       // Levels: 0 "All", 1..10
  bool chkDirOnly = false;                 // DirOnly
  bool chkTree = false;                    // Tree (enabled only with chkDirOnly)
  bool chkPageHeader = false;              // PageHeader
  bool chkShade = false;                   // PrintShade (main window)
  bool chkHidden = true;                   // Hidden
  bool chkDateRange = false;               // DateRange
  std::string txtFromDate = "  /  /    ";  // FromDate, kept as typed
  std::string txtToDate = "  /  /    ";    // ToDate, kept as typed
  std::string cboFont = "Arial";           // FontName

  ExportPanelOptions exportPanel;

  // The page header dialog's text; lasts only while the program runs.
  std::string txtPageHeader;
};

// Item counts of the lists and radio groups.
constexpr int kFontSizeItemCount = 5;
constexpr int kDefaultFontSizeIndex = 2;  // "10"
constexpr int kLevelsItemCount = 11;      // "All", "1" .. "10"
constexpr int kDateTypeItemCount = 3;
constexpr int kSortFieldItemCount = 7;
constexpr int kSortOrderItemCount = 2;
constexpr int kColumnsItemCount = 3;
constexpr int kOrientationItemCount = 2;
constexpr int kFullPathItemCount = 2;

// The number of columns that a grpColumns index stands for: 1, 2 or 4.
int ColumnCount(int grpColumnsIndex);

// Item texts of the lists and radio groups, by index.
const char* FontSizeItem(int index);   // "8" .. "12"; "10" for an index out of range
const char* LevelsItem(int index);     // "All", "1" .. "10"; nullptr out of range
const char* DateTypeItem(int index);   // "Modified", "Created", "Accessed"; nullptr out of range
const char* SortFieldItem(int index);  // "Short Name" .. "Attributes"; nullptr out of range

}  // namespace tabulon
