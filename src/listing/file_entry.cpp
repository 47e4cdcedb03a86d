#include "listing/file_entry.h"

#include <algorithm>
#include <cstdio>

#include "listing/listing_options.h"
#include "platform/code_points.h"
#include "platform/locale.h"
#include "search/string_collection.h"

namespace tabulon {

std::string FolderDisplayPath(std::string_view folder) {
  if (folder.size() > 1 && folder.back() == kPathDelim && !IsRootPath(folder)) {
    folder.remove_suffix(1);
  }
  return std::string(folder);
}

DosDateTime EntryTime(const SearchRec& fileInfo, int grpDate, const TimeZone& timeZone) {
  if (grpDate != 1 && grpDate != 2) return fileInfo.time;
  const FileTime utc =
      grpDate == 1 ? fileInfo.findData.creationTime : fileInfo.findData.lastAccessTime;
  FileTime local = 0;
  DosDateTime dos = 0;
  if (!timeZone.UtcToLocal(utc, local) || !FileTimeToDosDateTime(local, dos)) return 0;
  return dos;
}

namespace {

void AssignExtensionKey(std::string_view longName, std::string& key) {
  const std::size_t lastDot = longName.rfind('.');
  const std::string_view ext =
      lastDot == std::string_view::npos ? std::string_view() : longName.substr(lastDot);
  const std::size_t firstDot = longName.find('.');
  const std::string_view head =
      firstDot == std::string_view::npos ? longName : longName.substr(0, firstDot);
  key.clear();
  utf8::AppendPadRight(key, ext, 4);
  key.append(head);
}

void AssignSizeField(std::uint64_t size, std::string& field) {
  char digits[20];
  char* end = digits + sizeof digits;
  char* begin = end;
  do {
    *--begin = static_cast<char>('0' + size % 10);
    size /= 10;
  } while (size != 0);
  const auto length = static_cast<std::size_t>(end - begin);
  field.assign(length < 10 ? 10 - length : 0, ' ');
  field.append(begin, length);
}

void AssignAttrText(std::uint32_t attributes, std::string& text) {
  text.clear();
  if (attributes & kAttrReadOnly) text += 'R';
  if (attributes & kAttrHidden) text += 'H';
  if (attributes & kAttrSystem) text += 'S';
  if (attributes & kAttrArchive) text += 'A';
  if (text.size() < 4) text.append(4 - text.size(), ' ');
}

}  // namespace

std::string ExtensionKey(std::string_view longName) {
  std::string key;
  AssignExtensionKey(longName, key);
  return key;
}

std::string SizeField(std::uint64_t size) {
  std::string field;
  AssignSizeField(size, field);
  return field;
}

std::string AttrText(std::uint32_t attributes) {
  std::string text;
  AssignAttrText(attributes, text);
  return text;
}

namespace {

void AppendDigits(std::string& out, unsigned value, int digits) {
  char buffer[12];
  int length = 0;
  do {
    buffer[length++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (int pad = length; pad < digits; ++pad) out += '0';
  while (length > 0) out += buffer[--length];
}

// The key of a time known to be valid.
void AppendDateKey(DosDateTime time, std::string& key) {
  // Minute precision: two files of the same minute sort as equal.
  AppendDigits(key, (time >> 25) + 1980u, 4);
  AppendDigits(key, (time >> 21) & 15u, 2);
  AppendDigits(key, (time >> 16) & 31u, 2);
  AppendDigits(key, (time >> 11) & 31u, 2);
  AppendDigits(key, (time >> 5) & 63u, 2);
}

}  // namespace

bool DateKey(DosDateTime time, std::string& key) {
  DateTimeValue value = 0;
  if (!DosDateTimeToDateTime(time, value)) {
    key = "N/A";
    return false;
  }
  key.clear();
  AppendDateKey(time, key);
  return true;
}

std::string BuildSortKey(const FileEntry& entry, int grpSortField, bool chkLongName,
                         std::string_view dateKey) {
  const std::string& name = chkLongName ? entry.LongName : entry.ShortName;
  switch (grpSortField) {
    case kSortShortName:
      return entry.ShortName;
    case kSortLongName:
      return entry.LongName;
    case kSortExtension:
      return entry.ExtensionKey;
    case kSortFileType:
      return PadRight(entry.TypeName, 40) + name;
    case kSortSize:
      return entry.SizeField;
    case kSortDateTime:
      return std::string(dateKey);
    case kSortAttributes:
      return entry.AttrText + name;
    default:
      return entry.LongName;
  }
}

FileEntry MakeFileEntry(const SearchRec& fileInfo, std::string typeName, const EntryFormat& format,
                        const TimeZone& timeZone) {
  FileEntry entry;
  FillFileEntry(entry, fileInfo, typeName, format, timeZone);
  return entry;
}

void FillFileEntry(FileEntry& entry, const SearchRec& fileInfo, std::string_view typeName,
                   const EntryFormat& format, const TimeZone& timeZone) {
  const std::string_view alternate = fileInfo.findData.alternateName;
  // The 8.3 field ends at its first NUL.
  const std::string_view shortName = alternate.substr(0, alternate.find('\0'));
  entry.LongName.assign(fileInfo.name);
  entry.ShortName.assign(shortName.empty() ? std::string_view(fileInfo.name) : shortName);
  AssignExtensionKey(entry.LongName, entry.ExtensionKey);
  entry.TypeName.assign(typeName);
  entry.Size = fileInfo.Size64();
  AssignSizeField(entry.Size, entry.SizeField);

  const DosDateTime time = EntryTime(fileInfo, format.grpDate, timeZone);
  std::string dateKey;
  CalendarTime calendar;
  if (DosDateTimeToCalendar(time, calendar)) {
    // Only a sort by date reads the key.
    if (format.grpSortField == kSortDateTime) AppendDateKey(time, dateKey);
    entry.DateText.clear();
    if (format.compiledDateTimeFormat != nullptr) {
      format.compiledDateTimeFormat->AppendTo(entry.DateText, calendar, format.separators);
    } else {
      DateTimeValue value = 0;
      DosDateTimeToDateTime(time, value);
      entry.DateText = FormatDateTime(format.dateTimeFormat, value, format.separators);
    }
  } else {
    dateKey = "N/A";
    entry.DateText.assign("N/A");
  }
  AssignAttrText(fileInfo.attr, entry.AttrText);

  // The usual sort, by name, copies the name into the key's own storage.
  if (format.grpSortField == kSortLongName) {
    entry.SortKey.assign(entry.LongName);
  } else {
    entry.SortKey = BuildSortKey(entry, format.grpSortField, format.chkLongName, dateKey);
  }
}

int CompareEntries(const FileEntry& a, const FileEntry& b, int direction, const Locale& locale) {
  const int order = locale.CompareCaseInsensitive(a.SortKey, b.SortKey);
  const int sign = order < 0 ? -1 : (order > 0 ? 1 : 0);
  return sign * direction;
}

namespace {

// Moves each entry to its place in `order` (order[k] is the entry that goes
// to k) by following the cycles, so the vector and the entries' storage stay
// where they are.
void ApplyOrder(std::vector<FileEntry>& entries, const std::vector<std::size_t>& order) {
  std::vector<bool> placed(entries.size(), false);
  for (std::size_t start = 0; start < entries.size(); ++start) {
    if (placed[start] || order[start] == start) continue;
    FileEntry held = std::move(entries[start]);
    std::size_t to = start;
    while (order[to] != start) {
      const std::size_t from = order[to];
      entries[to] = std::move(entries[from]);
      placed[to] = true;
      to = from;
    }
    entries[to] = std::move(held);
    placed[to] = true;
  }
}

}  // namespace

void SortEntries(std::vector<FileEntry>& entries, int direction, const Locale& locale,
                 std::size_t keyedFrom) {
  if (entries.size() < 2) return;
  std::vector<std::size_t> order(entries.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  // Ties go by position either way, so equal keys keep their order.
  if (entries.size() >= keyedFrom) {
    std::vector<std::string> keys(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      locale.AssignSortKeyCaseInsensitive(entries[i].SortKey, keys[i]);
    }
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      const int compared = keys[a].compare(keys[b]);
      if (compared == 0) return a < b;
      return (compared < 0) == (direction > 0);
    });
  } else {
    // Binary insertion: the fewest collations for a small directory, and
    // an entry goes after the equal ones already placed.
    const auto goesBefore = [&](std::size_t a, std::size_t b) {
      const int compared = locale.CompareCaseInsensitive(entries[a].SortKey, entries[b].SortKey);
      return direction > 0 ? compared < 0 : compared > 0;
    };
    for (std::size_t i = 1; i < order.size(); ++i) {
      const auto place = std::upper_bound(order.begin(), order.begin() + i, i, goesBefore);
      std::rotate(place, order.begin() + i, order.begin() + i + 1);
    }
  }
  ApplyOrder(entries, order);
}

}  // namespace tabulon
