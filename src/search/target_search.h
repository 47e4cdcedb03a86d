// One prepared search: the folders to walk with their masks and levels, and
// private copies of the criteria that every found entry must pass.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "search/search_criteria.h"

namespace tabulon {

class Locale;
class TimeZone;

struct TTargetFolder {
  std::string Path;  // full path with a trailing separator
  bool Subfolders = true;
  std::vector<std::string> Masks;  // in the order added
  std::uint16_t MinLevel = 0;
  std::uint16_t MaxLevel = 0;
};

// New folders go to the front and the walk goes from the back, so folders are
// walked in the order in which they were first named.
class TTargetFolderList {
 public:
  std::size_t Count() const { return items_.size(); }
  TTargetFolder& operator[](std::size_t i) { return *items_[i]; }
  const TTargetFolder& operator[](std::size_t i) const { return *items_[i]; }

  // Position of the folder with exactly this path (Linux names are
  // case-sensitive); -1 when there is none.
  int IndexOfPath(const std::string& path) const;
  // Normalises the path and returns its folder, inserting a new one at the
  // front when it is not there yet.
  TTargetFolder& FolderFor(const std::string& path);
  // True when any of ExcludedMasks matches the file of the folder.
  bool IsExcluded(const std::string& folder, const std::string& name) const;

  std::vector<std::string> ExcludedMasks;

 private:
  std::vector<std::unique_ptr<TTargetFolder>> items_;
};

// The full path of a folder as a search target: made absolute against the
// current directory, "." and ".." segments and doubled separators resolved,
// and ending in a separator.
std::string NormalizeTargetPath(const std::string& path);

class TTargetSearch {
 public:
  TTargetSearch(const TSearchCriteria& criteria, const Locale& locale, const TimeZone& timeZone);

  // The acceptance test: attributes, size, time stamps, exclusions, content.
  bool Matches(const std::string& folder, const SearchRec& rec) const;

  TTargetFolderList Folders;
  TAttributeCriteria Attribute;
  TDateTimeCriteria TimeStamp;
  TSizeCriteria Size;
  TContentCriteria Content;

 private:
  const TimeZone& timeZone_;
};

}  // namespace tabulon
