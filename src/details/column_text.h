// How each output renders an entry's column values and details: the printed
// page, the plain text file, the comma-delimited file and the HTML file.
//
// Every writer takes its texts from here, so the comma-delimited quoting and
// the HTML escaping hold for all of them: a double quote inside a quoted
// field is doubled and a bare field that needs it is quoted; HTML text is
// escaped and link addresses are percent-encoded where a URL requires it.
// Texts without such characters come out exactly as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "details/detail_sources.h"
#include "details/detail_text.h"
#include "platform/code_points.h"

namespace tabulon {

class Locale;

// The six value texts of an entry and its size (the listing's FileEntry
// hands these over). The texts are borrowed from whoever holds the entry.
struct EntryValues {
  std::string_view shortName;
  std::string_view longName;
  std::string_view typeName;
  std::string_view sizeField;  // decimal digits, padded on the left to 10
  std::string_view dateText;
  std::string_view attrText;  // "RHSA" letters, padded to 4
  std::uint64_t size = 0;
};

// The shown columns (chkShortName ... chkFileAttr).
struct ShownColumns {
  bool shortName = false;
  bool longName = true;
  bool fileType = false;
  bool fileSize = true;
  bool fileDate = true;
  bool fileAttr = true;
};

enum class Column { kShortName, kLongName, kFileType, kSize, kDateTime, kAttributes };

// The plain text width of the long name: 120 less what the other shown
// columns take (42 with all six, 83 for the first-run choice).
int LongNameWidth(const ShownColumns& shown);
// The HTML width of the long name cell in percent (70 for the first-run
// choice).
int LongNamePercent(const ShownColumns& shown);

// The folder path without its trailing "/"; the root "/" keeps it.
std::string FolderText(std::string_view folder);
// The folder path with one trailing "/".
std::string FolderWithDelim(std::string_view folder);

// Print: the value as it is; the size as SizeText.
std::string PrintColumnText(Column column, const EntryValues& values, const Locale& locale);

// Plain text: the shown columns one after another, padded as the format
// wants, with no other separator.
std::string PlainTextColumns(const EntryValues& values, const ShownColumns& shown,
                             const Locale& locale);
// The same, added to the end of `out`.
void AppendPlainTextColumns(std::string& out, const EntryValues& values, const ShownColumns& shown,
                            const Locale& locale);
// Adds one detail to the lines of an entry, whose last line is the one still
// open: version, MP3 and Office start a new line of two blanks and the text;
// an image puts its text on a line of its own and leaves an empty line open.
void AppendPlainTextDetail(std::vector<std::string>& lines, const ShownDetail& detail);
// The lines of a plain text entry (each to be written with a line end).
std::vector<std::string> PlainTextEntryLines(const EntryValues& values, const ShownColumns& shown,
                                             const std::vector<ShownDetail>& details,
                                             const Locale& locale);

// Comma-delimited fields. A quoted field doubles the double quotes inside
// it; a bare field holding a comma, a double quote or a line break is
// quoted, so that no value can shift the fields of a row.
std::string CsvQuoted(std::string_view text);
std::string CsvBare(std::string_view text);

enum class CsvPathOption { kNone, kSeparate, kCombined };

// The column fields of a row, each followed by a comma, the folder field
// first with kSeparate; short and long name carry the folder with kCombined.
// `folder` is the entry's folder path (with or without its trailing "/").
std::string CsvColumns(const EntryValues& values, const ShownColumns& shown,
                       std::string_view folder, CsvPathOption pathOption);
void AppendCsvColumns(std::string& out, const EntryValues& values, const ShownColumns& shown,
                      std::string_view folder, CsvPathOption pathOption);
// Detail fields, quoted and joined by commas, without a comma at either end.
std::string CsvVersionFields(const VersionStrings& strings);
std::string CsvMp3Fields(const Mp3Texts& texts);
std::string CsvImageFields(const ImageDetailResult& image);
std::string CsvOfficeFields(const OfficeTexts& texts);
// A whole row without its line end: the column fields, then the fields of
// every detail (a comma between two details, none after the last).
std::string CsvEntryRow(const EntryValues& values, const ShownColumns& shown,
                        std::string_view folder, CsvPathOption pathOption,
                        const std::vector<ShownDetail>& details);
void AppendCsvEntryRow(std::string& out, const EntryValues& values, const ShownColumns& shown,
                       std::string_view folder, CsvPathOption pathOption,
                       const std::vector<ShownDetail>& details);

// HTML: text with "&", "<", ">" and '"' escaped.
std::string HtmlText(std::string_view text);
void AppendHtmlText(std::string& out, std::string_view text);
// A path as a link address: every byte a URL may not hold as it stands
// (blanks, controls, non-ASCII bytes, '"', "#", "%", "<", ">", "?" and the
// like) percent-encoded, then escaped for the attribute.
std::string HtmlLinkAddress(std::string_view path);
void AppendHtmlLinkAddress(std::string& out, std::string_view path);
// The cells of the shown columns. `folder` is the entry's folder path.
std::string HtmlColumns(const EntryValues& values, const ShownColumns& shown,
                        std::string_view folder, const Locale& locale);
void AppendHtmlColumns(std::string& out, const EntryValues& values, const ShownColumns& shown,
                       std::string_view folder, const Locale& locale);
// "<TR><TD COLSPAN=6>&nbsp;&nbsp;&nbsp;&nbsp;" + text + "</TD></TR>".
std::string HtmlDetailRow(const ShownDetail& detail);

}  // namespace tabulon
