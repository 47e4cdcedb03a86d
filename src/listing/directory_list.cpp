#include "listing/directory_list.h"

#include <algorithm>
#include <numeric>

#include "listing/folder_selection.h"

namespace tabulon {

namespace {

// The folder as the file system is asked for it: no trailing "/" but for "/".
std::string FolderArgument(const std::string& path) {
  const auto last = path.find_last_not_of(kPathDelim);
  if (last == std::string::npos) return path.empty() ? path : std::string(1, kPathDelim);
  return path.substr(0, last + 1);
}

}  // namespace

DirectoryWalk::DirectoryWalk(FileSystem& fileSystem, JobHost& host, DirectoryList& list,
                             bool includeHidden, int levelLimit)
    : fileSystem_(fileSystem),
      host_(host),
      list_(list),
      includeHidden_(includeHidden),
      levelLimit_(std::max(levelLimit, 0)) {}

void DirectoryWalk::Run(const std::string& rootPath) {
  cancelled_ = false;
  Walk(rootPath, 0);
}

void DirectoryWalk::Walk(const std::string& folder, int depth) {
  const std::vector<SubdirectoryEntry> entries =
      fileSystem_.ListSubdirectories(FolderArgument(folder));
  const std::string parent = EnsureTrailingBackslash(folder);
  const int childDepth = depth + 1;
  for (const SubdirectoryEntry& entry : entries) {
    host_.ProcessEvents();
    if (host_.CancelRequested()) {
      cancelled_ = true;
      return;
    }
    if ((entry.attributes & kAttrDirectory) == 0) continue;
    if (entry.name.empty() || entry.name.front() == '.') continue;
    if (!includeHidden_ && (entry.attributes & (kAttrHidden | kAttrSystem)) != 0) continue;
    if (levelLimit_ > 0 && childDepth > levelLimit_) continue;
    std::string path = parent + entry.name;
    list_.push_back(path);
    ++count_;
    host_.SetStatus(0, " Retrieving directory names: " + std::to_string(count_));
    if (entry.mayHaveSubfolders) Walk(path, childDepth);
    // A cancel below ends this level too, without another entry.
    if (cancelled_) return;
  }
}

void SortDirectoryList(DirectoryList& list, const Locale& locale) {
  if (list.size() < 2) return;
  // One key per path, built once; the root keeps its place at the front.
  std::vector<std::string> keys(list.size());
  for (std::size_t i = 1; i < list.size(); ++i) keys[i] = locale.SortKeyCaseSensitive(list[i]);
  std::vector<std::size_t> order(list.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin() + 1, order.end(), [&](std::size_t a, std::size_t b) {
    const int byKey = keys[a].compare(keys[b]);
    return byKey != 0 ? byKey < 0 : list[a] < list[b];
  });
  DirectoryList sorted;
  sorted.reserve(list.size());
  for (const std::size_t index : order) sorted.push_back(std::move(list[index]));
  list = std::move(sorted);
}

bool BuildDirectoryList(const std::string& rootPath, const ListingOptions& options,
                        FileSystem& fileSystem, const Locale& locale, JobHost& host,
                        DirectoryList& list) {
  list.clear();
  list.push_back(rootPath);
  DirectoryWalk walk(fileSystem, host, list, options.chkHidden, options.cboLevels);
  walk.Run(rootPath);
  SortDirectoryList(list, locale);
  return !walk.Cancelled();
}

}  // namespace tabulon
