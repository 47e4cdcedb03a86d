// The collection of one directory's matches into sorted FileEntry records
// with their counters, and the moment a deferred directory heading is
// written. One ListingSession lives with the main window (or the command
// line) and is reused by every job.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "listing/configure_search.h"
#include "listing/file_entry.h"
#include "listing/listing_options.h"
#include "listing/listing_totals.h"
#include "listing/section_writer.h"
#include "platform/date_format.h"
#include "search/find_file.h"

namespace tabulon {

class FileSystem;
class Locale;
class Shell;
class TimeZone;

// The job-specific parts a running job installs.
struct CollectorJob {
  // The job's options snapshot, with the trimmed mask boxes.
  ListingOptions options;
  std::string dateTimeFormat = "mm/dd/yyyy  h:mm";
  DateTimeSeparators separators;
  // Writes the directory heading: before the search in immediate mode, at
  // the first match in deferred mode. Borrowed; may be null.
  SectionWriter* sectionWriter = nullptr;
  // Print and preview jobs fit the type name to their type column here
  // (dropping characters from the end while too wide); exports leave it
  // empty.
  std::function<std::string(const std::string& typeName)> fitTypeName;
};

// True when the heading is written before the search: the include box is
// exactly "*.*" and empty subdirectories are not excluded. Otherwise it
// waits for the first accepted file, so an empty directory leaves no trace.
bool HeadingIsImmediate(const ListingOptions& options);

class ListingSession {
 public:
  // The services are borrowed and must outlive the session.
  ListingSession(FileSystem& fileSystem, const TimeZone& timeZone, const Locale& locale,
                 const Shell& shell);
  ListingSession(const ListingSession&) = delete;
  ListingSession& operator=(const ListingSession&) = delete;

  // Copies the job's options into the search criteria and installs the job's
  // parts. Returns the trimmed mask boxes; the snapshot kept holds them too.
  TrimmedMasks ConfigureSearch(CollectorJob job);

  // Lists one directory (a path ending in "/"): resets the directory
  // counters, writes an immediate heading, searches, and leaves the entries
  // in lstFiles, sorted unless the listing is directories-only. The caller
  // renders them and then calls Totals.EndDirectory() (not on cancel).
  void CollectDirectory(const std::string& directory);

  // The OnFileMatch handler of FindFiles; runs once per accepted file.
  void FindFilesFileMatch(TFindFile& sender, const std::string& folder, const SearchRec& fileInfo);

  // The shell's type name of a file; empty when it gives none.
  std::string ShellTypeName(const std::string& fullPath) const;

  TFindFile& FindFiles() { return findFiles_; }
  const CollectorJob& Job() const { return job_; }

  std::vector<FileEntry> lstFiles;
  ListingTotals Totals;
  bool FirstMatchPending = false;

 private:
  const TimeZone& timeZone_;
  const Locale& locale_;
  const Shell& shell_;
  TFindFile findFiles_;
  CollectorJob job_;
  void PrepareEntryFormat();
  // The entries of the previous directory, kept so that the next one reuses
  // their string storage; as many as the largest directory had.
  std::vector<FileEntry> spareEntries_;
  FileEntry& NewEntry();

  // Built from the job once, not for every match.
  CompiledDateFormat compiledDateTimeFormat_;
  EntryFormat entryFormat_;
};

}  // namespace tabulon
