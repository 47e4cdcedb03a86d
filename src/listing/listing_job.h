// The steps a print job and an export job share: the root path and RootSpec,
// the sort field adjustment, the date range bounds, the disk label, the
// totals reset, the directory loop, and the pieces of the heading block.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "listing/date_patterns.h"
#include "listing/directory_list.h"
#include "listing/job_host.h"
#include "listing/listing_options.h"
#include "platform/services.h"

namespace tabulon {

struct ListingTotals;

// The state of one running listing job, from its options snapshot on. Both
// job drivers own one, take its steps in their own order and read what it
// has formed.
class ListingJob {
 public:
  // `options` is the job's snapshot; the job changes only its sort field.
  // `services` must outlive the job (fileSystem, timeZone, locale, clock and
  // volumes are used).
  ListingJob(const ListingOptions& options, const Services& services, JobHost& host);

  const ListingOptions& Options() const { return options_; }
  const Services& HostServices() const { return services_; }
  JobHost& Host() const { return host_; }

  // Sets SortFieldCaption from grpSortField (the job's second step).
  void SetSortFieldCaption();

  // Points the sort field at a shown name column: Short Name without the short
  // name column becomes Long Name, then Long Name without the long name column
  // becomes Short Name; the caption follows. Returns the resulting
  // grpSortField, which the window shows and saves.
  int AdjustSortField();

  // Takes the mask boxes as the search set-up trimmed them.
  void SetMasks(std::string txtFilespec, std::string txtExclude);

  // Computes the date range bounds when chkDateRange is checked and neither
  // date box is empty; otherwise there are none.
  void ComputeDateRange();

  // Forms the root path from the folder ("/" stays, any other folder gets one
  // "/"), RootSpec (root path + include box), and reads DiskLabel.
  void FormRoot(const std::string& folder);

  // Clears CancelRequested and the job totals (DirectoryCount, FileCount,
  // ByteCount).
  void ResetTotals(ListingTotals& totals);

  // " Processing directory " + the root path in the first panel, " Cancel" in
  // the second.
  void ShowProcessingRoot();

  // The directory loop. With subdirectories: builds the DirectoryList, then
  // for each entry while cancel has not been requested shows " Processing
  // directory " + entry and " Cancel", and calls `perDirectory` with the entry
  // ending in "/". Without subdirectories: `perDirectory` with the root path
  // alone. Exceptions thrown by `perDirectory` pass through.
  void RunDirectoryLoop(const std::function<void(const std::string& directory)>& perDirectory);

  bool CancelRequested() const { return host_.CancelRequested(); }

  const std::string& RootPath() const { return rootPath_; }
  const std::string& RootSpec() const { return rootSpec_; }
  const std::string& DiskLabel() const { return diskLabel_; }
  const std::string& SortFieldCaption() const { return sortFieldCaption_; }
  const std::optional<DateRangeBounds>& DateRange() const { return dateRange_; }
  const DateFormats& Formats() const { return formats_; }
  const DirectoryList& Directories() const { return directoryList_; }

  // Tree depth of a folder text: the "/" of the text with one "/" appended,
  // minus the "/" of RootSpec. The listed folder itself has depth 0.
  int TreeDepth(std::string_view folderText) const;

  // Heading pieces.
  // "Directory of: " + RootSpec [+ " (Excluding " + exclude box + ")"].
  std::string DirectoryOfText() const;
  // "Files dated from " + lower + " to " + upper in DateOnlyFormat; nullopt
  // when the job has no date range bounds.
  std::optional<std::string> DateRangeText() const;
  // The current date and time in DateTimeFormat.
  std::string JobTimeText() const;
  // The options line of a files listing: levels, date kind, hidden, empty and
  // label, each but the label carrying `gap` after it.
  std::string FilesOptionsText(std::string_view gap) const;
  // The options line of a directories-only export: levels, then the hidden
  // and empty elements each followed by `gap` whether shown or not, then the
  // label or one blank.
  std::string DirectoriesOnlyOptionsText(std::string_view gap) const;
  // The page header text, untrimmed; nullopt when chkPageHeader is off or the
  // text is blank.
  std::optional<std::string> PageHeaderText() const;

 private:
  ListingOptions options_;
  Services services_;
  JobHost& host_;
  DateFormats formats_;
  std::string rootPath_;
  std::string rootSpec_;
  std::string diskLabel_;
  std::string sortFieldCaption_;
  std::optional<DateRangeBounds> dateRange_;
  DirectoryList directoryList_;
};

// The text with its leading and trailing blanks removed.
std::string TrimBlanks(std::string_view text);

}  // namespace tabulon
