// Which files get a detail line, and the text of each detail: version
// resource, MP3 information, image information and Word/Excel summary.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "details/detail_sources.h"

namespace tabulon {

class Locale;

// Extension lists. ".SYS" qualifies on paper and in the preview only.
inline constexpr std::string_view VersionExtensionsPrint =
    ".EXE .DLL .OCX .TLB .OLB .DRV .SYS .BPL .DPL .CPL";
inline constexpr std::string_view VersionExtensionsExport =
    ".EXE .DLL .OCX .TLB .OLB .DRV .BPL .DPL .CPL";
inline constexpr std::string_view ImageExtensions =
    ".JPG .JPEG .TIFF .GIF .BMP .PNG .WMF .EMF .TGA .ICO .PCX";
inline constexpr std::string_view OfficeExtensions = ".DOC .XLS";
inline constexpr std::string_view Mp3Extension = ".MP3";

// The extension of a name: from its last "." to its end, dot included;
// empty when there is none.
std::string_view NameExtension(std::string_view longName);

// True when the upper-cased extension occurs anywhere in the list, so .TIF
// qualifies through ".TIFF". A name without an extension never qualifies,
// nor does one ending in a bare "." (it would match every list).
bool QualifiesForDetail(std::string_view longName, std::string_view extensionList);
// The MP3 test: the upper-cased extension equals ".MP3".
bool QualifiesForMp3(std::string_view longName);

struct VersionDetailResult {
  VersionStrings strings;
  bool shown = false;  // FileDescription compares greater than " "
  std::string text;    // CompanyName - FileDescription - FileVersion
};
VersionDetailResult VersionDetail(const std::string& fullPath, const VersionSource& source);

// artist + " - " + title + " - " + playing time; shown for every MP3 file.
std::string Mp3DetailText(const Mp3Texts& texts);

struct ImageDetailResult {
  ImageParams params;
  std::string text;  // print, plain text and HTML
  // The comma-delimited pieces, unquoted.
  std::string sizeField;        // width "x" height
  std::string resolutionField;  // resolution " DPI"
  bool hasExif = false;         // the date and exposure fields are written
  std::string dateField;        // empty when the EXIF date cannot be read
  std::string exposureField;    // "F" number ["  1/" reciprocal exposure]
};
ImageDetailResult ImageDetail(const std::string& fullPath, const ImageSource& source,
                              const Locale& locale);
// The image texts of parameters already read.
ImageDetailResult ImageDetailFromParams(const ImageParams& params, const Locale& locale);

// The general floating-point rendering: up to 15 significant digits, no
// trailing zeros, the locale's decimal point (2.8, 125, 1E-7).
std::string FloatText(double value, const Locale& locale);

// An EXIF "YYYY:MM:DD HH:MM:SS" text rendered with the locale's short date,
// one blank and its long time (left out at midnight), " AM"/" PM" becoming
// "am"/"pm". False when the pieces are not numbers or not a valid moment.
bool ExifDateText(std::string_view exifDateTime, const Locale& locale, std::string& out);

struct OfficeDetailResult {
  OfficeTexts texts;
  std::string text;  // the joined text
  bool shown = false;
};
OfficeDetailResult OfficeDetail(const std::string& fullPath, const OfficeSource& source);
OfficeDetailResult OfficeDetailFromTexts(const OfficeTexts& texts);

enum class DetailKind { kVersion, kMp3, kImage, kOffice };

// One detail that an entry shows, with what every output needs of it.
struct ShownDetail {
  DetailKind kind = DetailKind::kVersion;
  std::string text;  // the detail text of print, plain text and HTML
  // The comma-delimited fields, already quoted and joined by commas.
  std::string csvFields;
};

// Which details to look at and where the listing goes.
struct DetailOptions {
  bool chkVersion = false;
  bool chkMP3 = false;
  bool chkImage = false;
  bool chkMSOffice = false;
  bool forPrint = false;  // paper and preview: the version list with ".SYS"
};

// The details of one entry, in the order version, MP3, image, Office, each
// considered only when its option is checked and the file qualifies. A
// source that is null gives no detail of its kind.
std::vector<ShownDetail> EntryDetails(std::string_view longName, const std::string& fullPath,
                                      const DetailOptions& options, const DetailSources& sources,
                                      const Locale& locale);

}  // namespace tabulon
