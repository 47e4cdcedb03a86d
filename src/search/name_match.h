// Mask and folder lists, wildcard matching of names and the exclusion masks,
// and the date tests of the search criteria.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_time.h"

namespace tabulon {

class Locale;
class TimeZone;

// Cuts the text at every ";", trims each piece of bytes up to 32, and drops
// empty pieces and those equal (ignoring case, by the locale) to an earlier one.
// Folder lists pass `exactRepeats`: Linux names are case-sensitive, so only an
// exact repeat names the same folder.
std::vector<std::string> SplitList(std::string_view text, const Locale& locale,
                                   bool exactRepeats = false);

// Reads and removes a "<" (subfolders off) or ">" (on) prefix; any other
// entry keeps `defaultFlag`.
bool ParseSubfolderPrefix(std::string& entry, bool defaultFlag);

// One name part against one mask part, ignoring ASCII case. A "*" ends the
// test with success, so a*b behaves as a*; a trailing "?" may match nothing.
// "?" stands for one character (one UTF-8 sequence, or one stray byte).
bool MatchWildcard(std::string_view name, std::string_view mask);

// A file name against the file-name part of a mask, base and extension apart;
// a mask without an extension ignores the file's extension.
bool MatchNameAndExtension(std::string_view fileName, std::string_view mask);

// The drive of a folder against the drive of a mask: "?:" and "*:" match any,
// "//server/share" by wildcard, a letter and colon only a folder with that
// drive (none on Linux).
bool MatchDrive(std::string_view folderDrive, std::string_view maskDrive);

// The drive at the start of a path: a letter and a colon, or two separators
// with the server and share names; empty when there is none.
std::string_view PathDrive(std::string_view path);

// An exclusion mask against a file of a folder (a target path ending in "/").
// The mask's folder part is a plain suffix test, so Temp/ also matches
// .../MyTemp/; an empty name part matches every file; an empty mask every file
// of every folder.
bool MatchExclusionMask(std::string_view folder, std::string_view fileName, std::string_view mask);

// A UTC file time as a local date-time value; 0 when it cannot be converted.
DateTimeValue LocalDateTime(FileTime utc, const TimeZone& timeZone);

// Inclusive bounds, 0 meaning none: a whole date bounds the day, a value
// below 1 the time of day on any date, any other value the moment.
bool InDateRange(DateTimeValue value, DateTimeValue before, DateTimeValue after);

}  // namespace tabulon
