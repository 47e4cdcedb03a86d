// One accepted file of the directory being listed: its sort key and its
// seven preformatted text slots, and the order the listing sorts them in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/date_format.h"
#include "platform/file_system.h"
#include "platform/file_time.h"

namespace tabulon {

class Locale;
class TimeZone;

struct FileEntry {
  std::string SortKey;
  // The seven slots, always in this order.
  std::string ShortName;     // the 8.3 name; the long name when there is none
  std::string LongName;      // the found name, without folder
  std::string ExtensionKey;  // "%-4s%s" of extension and head of the name
  std::string TypeName;      // the shell type name (cut to the column on paper)
  std::string SizeField;     // decimal digits padded on the left to 10
  std::string DateText;      // DateTimeFormat rendering, or "N/A"
  std::string AttrText;      // "R", "H", "S", "A" as set, padded to 4

  std::uint64_t Size = 0;  // the 64-bit size
};

// What the slots are built from besides the search record.
struct EntryFormat {
  int grpDate = 0;       // 0 modified, 1 created, 2 accessed
  int grpSortField = 1;  // SortFieldIndex
  bool chkLongName = true;
  bool chkFileType = false;
  std::string dateTimeFormat = "mm/dd/yyyy  h:mm";
  DateTimeSeparators separators;
  // dateTimeFormat read once, for a caller that builds many entries; null
  // reads the pattern for every entry. Borrowed.
  const CompiledDateFormat* compiledDateTimeFormat = nullptr;
};

// The folder as a heading shows it: without its trailing "/", while the root
// "/" keeps it.
std::string FolderDisplayPath(std::string_view folder);

// The chosen time stamp as a local DOS date-time; 0 when it cannot be
// converted. "Modified" is the record's own (already local) time.
DosDateTime EntryTime(const SearchRec& fileInfo, int grpDate, const TimeZone& timeZone);

// ".docreport" for report.final.doc, four blanks then "readme" for readme,
// ".profile" for .profile.
std::string ExtensionKey(std::string_view longName);
// The size in decimal digits, padded on the left with blanks to 10.
std::string SizeField(std::uint64_t size);
// "R", "H", "S", "A" for the bits that are set, then blanks up to 4.
std::string AttrText(std::uint32_t attributes);
// "yyyymmddhhnn" of a DOS date-time; false (and "N/A") when it is not a
// valid date and time, 0 included.
bool DateKey(DosDateTime time, std::string& key);

// Fills every slot but TypeName, which the caller gives since it needs the
// shell (and on paper the type column's width): `typeName` is used as it
// stands. Builds SortKey.
FileEntry MakeFileEntry(const SearchRec& fileInfo, std::string typeName, const EntryFormat& format,
                        const TimeZone& timeZone);
// The same into an entry whose strings keep their storage, for a caller that
// reuses entries.
void FillFileEntry(FileEntry& entry, const SearchRec& fileInfo, std::string_view typeName,
                   const EntryFormat& format, const TimeZone& timeZone);

// The sort key of a filled entry for a sort field (SortFieldIndex).
std::string BuildSortKey(const FileEntry& entry, int grpSortField, bool chkLongName,
                         std::string_view dateKey);

// Compares the sort keys by the locale's case-insensitive collation:
// negative, zero or positive, times the direction (+1 ascending, -1
// descending).
int CompareEntries(const FileEntry& a, const FileEntry& b, int direction, const Locale& locale);

// From this many entries on, a sort builds one collation key per entry and
// compares bytes; below it, collating at each comparison costs less.
constexpr std::size_t kKeyedSortFrom = 256;

// Sorts by CompareEntries; entries with equal keys keep their order. Either
// way of sorting (`keyedFrom`) gives the same order.
void SortEntries(std::vector<FileEntry>& entries, int direction, const Locale& locale,
                 std::size_t keyedFrom = kKeyedSortFrom);

}  // namespace tabulon
