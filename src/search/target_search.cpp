#include "search/target_search.h"

#include <filesystem>
#include <system_error>

#include "search/name_match.h"

namespace tabulon {

std::string NormalizeTargetPath(const std::string& path) {
  std::string full = path;
  if (full.empty() || full[0] != kPathDelim) {
    std::error_code ec;
    std::filesystem::path current = std::filesystem::current_path(ec);
    std::string cwd = ec ? std::string(1, kPathDelim) : current.string();
    full = cwd + kPathDelim + full;
  }
  std::vector<std::string_view> parts;
  std::string_view rest = full;
  while (!rest.empty()) {
    std::size_t cut = rest.find(kPathDelim);
    std::string_view part = rest.substr(0, cut);
    rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string result(1, kPathDelim);
  for (std::string_view part : parts) {
    result += part;
    result += kPathDelim;
  }
  return result;
}

int TTargetFolderList::IndexOfPath(const std::string& path) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i]->Path == path) return static_cast<int>(i);
  return -1;
}

TTargetFolder& TTargetFolderList::FolderFor(const std::string& path) {
  std::string full = NormalizeTargetPath(path);
  int index = IndexOfPath(full);
  if (index >= 0) return *items_[static_cast<std::size_t>(index)];
  auto folder = std::make_unique<TTargetFolder>();
  folder->Path = std::move(full);
  items_.insert(items_.begin(), std::move(folder));
  return *items_.front();
}

bool TTargetFolderList::IsExcluded(const std::string& folder, const std::string& name) const {
  for (const std::string& mask : ExcludedMasks)
    if (MatchExclusionMask(folder, name, mask)) return true;
  return false;
}

TTargetSearch::TTargetSearch(const TSearchCriteria& criteria, const Locale& locale,
                             const TimeZone& timeZone)
    : timeZone_(timeZone) {
  Attribute.Assign(criteria.Attribute());
  TimeStamp.Assign(criteria.TimeStamp());
  Size.Assign(criteria.Size());
  Content.Assign(criteria.Content());
  const TFileCriteria& files = criteria.Files();
  Folders.ExcludedMasks = files.Excluded();

  for (std::string item : files.Included()) {
    bool subfolders = ParseSubfolderPrefix(item, files.Subfolders());
    std::size_t cut = item.rfind(kPathDelim);
    std::size_t split = cut == std::string::npos ? 0 : cut + 1;
    TTargetFolder& folder = Folders.FolderFor(item.substr(0, split));
    folder.Masks.push_back(item.substr(split));
    folder.Subfolders = subfolders;
    folder.MinLevel = files.MinLevel();
    folder.MaxLevel = files.MaxLevel();
  }

  std::vector<std::string> masks = SplitList(files.FileName(), locale);
  for (std::string piece : SplitList(files.Location(), locale, true)) {
    bool subfolders = ParseSubfolderPrefix(piece, files.Subfolders());
    TTargetFolder& folder = Folders.FolderFor(piece);
    folder.Masks.insert(folder.Masks.end(), masks.begin(), masks.end());
    folder.Subfolders = subfolders;
    folder.MinLevel = files.MinLevel();
    folder.MaxLevel = files.MaxLevel();
  }

  // Directories never match a content search.
  if (!Content.Phrase().empty()) {
    TFileAttributeSet set = Attribute.Attributes();
    set.Exclude(ffDirectory);
    Attribute.SetAttributes(set);
  }
}

bool TTargetSearch::Matches(const std::string& folder, const SearchRec& rec) const {
  if (!Attribute.Matches(rec.attr)) return false;
  if (!Size.Matches(rec.Size64())) return false;
  if (!TimeStamp.Matches(rec.findData.creationTime, rec.findData.lastWriteTime,
                         rec.findData.lastAccessTime, timeZone_))
    return false;
  if (Folders.IsExcluded(folder, rec.name)) return false;
  // The full path is built only for a content search.
  if (Content.PhraseLength() < 1) return true;
  return Content.Matches(folder + rec.name);
}

}  // namespace tabulon
