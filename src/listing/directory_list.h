// The ordered list of directories a listing with subdirectories processes.
#pragma once

#include <string>
#include <vector>

#include "listing/job_host.h"
#include "listing/listing_options.h"
#include "platform/file_system.h"
#include "platform/locale.h"

namespace tabulon {

// The root path (with its trailing "/") first, then every subdirectory's full
// path without a trailing "/".
using DirectoryList = std::vector<std::string>;

// Adds the subdirectories below one folder to a DirectoryList, depth first.
// Names that begin with "." are skipped with their subtrees, and so are
// hidden and system directories unless hidden files are included; links to
// directories are never entered. Before each entry it lets queued events run
// and stops that level when cancel has been requested, so a cancel ends the
// walk within one entry at every level.
class DirectoryWalk {
 public:
  // `levelLimit` 0 means no limit; k keeps k levels below the root.
  DirectoryWalk(FileSystem& fileSystem, JobHost& host, DirectoryList& list, bool includeHidden,
                int levelLimit);

  // Walks everything below `rootPath`.
  void Run(const std::string& rootPath);

  // Directories added so far (the running count of the status text).
  int Count() const { return count_; }
  bool Cancelled() const { return cancelled_; }

 private:
  void Walk(const std::string& folder, int depth);

  FileSystem& fileSystem_;
  JobHost& host_;
  DirectoryList& list_;
  bool includeHidden_;
  int levelLimit_;
  int count_ = 0;
  bool cancelled_ = false;
};

// Sorts the list ascending by the locale's case-sensitive collation (byte
// order between paths that collate equal). The root stays first.
void SortDirectoryList(DirectoryList& list, const Locale& locale);

// Builds the list for a job with subdirectories: empties it, adds the root
// path, walks with the options' chkHidden and cboLevels, and sorts it. False
// when the walk was cancelled; the list then holds what was found so far.
bool BuildDirectoryList(const std::string& rootPath, const ListingOptions& options,
                        FileSystem& fileSystem, const Locale& locale, JobHost& host,
                        DirectoryList& list);

}  // namespace tabulon
