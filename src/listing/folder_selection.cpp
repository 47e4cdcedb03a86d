#include "listing/folder_selection.h"

#include <algorithm>

#include "listing/listing_options.h"
#include "platform/file_system.h"

namespace tabulon {

namespace {

constexpr std::size_t kMaxLabelCharacters = 11;

// The length of the UTF-8 sequence at `pos`; an invalid byte counts as one.
std::size_t SequenceLength(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t length = 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  }
  if (pos + length > text.size()) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

}  // namespace

std::optional<std::string> ValidateFolderSelection(const FolderSelection& selection) {
  if (!selection.path.empty() && !selection.isTopNode) return std::nullopt;
  return "A directory must be selected - You cannot select " + selection.caption;
}

void SetSortFieldCaption(int grpSortFieldIndex, std::string& caption) {
  if (const char* item = SortFieldItem(grpSortFieldIndex)) caption = item;
}

std::string QueryDiskLabel(const Volumes& volumes, const std::string& rootPath) {
  const VolumeInfo volume = volumes.Query(rootPath);
  if (volume.type != DriveType::Removable && volume.type != DriveType::Network &&
      volume.type != DriveType::Optical) {
    return {};
  }
  std::string_view label = volume.label;
  label = label.substr(0, std::min(label.find('\0'), label.size()));
  std::size_t end = 0;
  for (std::size_t characters = 0; end < label.size() && characters < kMaxLabelCharacters;
       ++characters) {
    end += SequenceLength(label, end);
  }
  return std::string(label.substr(0, end));
}

std::string EnsureTrailingBackslash(std::string_view path) {
  std::string result(path);
  if (!result.empty() && result.back() != kPathDelim) result += kPathDelim;
  return result;
}

std::string FormRootPath(std::string_view folder) {
  if (folder.empty()) return {};
  const auto last = folder.find_last_not_of(kPathDelim);
  if (last == std::string_view::npos) return std::string(1, kPathDelim);
  return std::string(folder.substr(0, last + 1)) + kPathDelim;
}

std::string FormRootSpec(std::string_view rootPath, std::string_view filespec) {
  return std::string(rootPath) + std::string(filespec);
}

int CountSeparators(std::string_view path) {
  return static_cast<int>(std::count(path.begin(), path.end(), kPathDelim));
}

}  // namespace tabulon
