#include "listing/listing_job.h"

#include <utility>

#include "listing/folder_selection.h"
#include "listing/listing_totals.h"
#include "platform/clock.h"
#include "platform/date_format.h"
#include "platform/file_time.h"

namespace tabulon {
namespace {

const char* ItemOrEmpty(const char* item) {
  return item != nullptr ? item : "";
}

}  // namespace

std::string TrimBlanks(std::string_view text) {
  std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  std::size_t end = text.find_last_not_of(' ');
  return std::string(text.substr(begin, end - begin + 1));
}

ListingJob::ListingJob(const ListingOptions& options, const Services& services, JobHost& host)
    : options_(options), services_(services), host_(host) {
  formats_ = ChooseDateFormats(*services_.locale);
}

void ListingJob::SetSortFieldCaption() {
  tabulon::SetSortFieldCaption(options_.grpSortField, sortFieldCaption_);
}

int ListingJob::AdjustSortField() {
  if (options_.grpSortField == kSortShortName && !options_.chkShortName) {
    options_.grpSortField = kSortLongName;
    sortFieldCaption_ = "Long Name";
  }
  if (options_.grpSortField == kSortLongName && !options_.chkLongName) {
    options_.grpSortField = kSortShortName;
    sortFieldCaption_ = "Short Name";
  }
  return options_.grpSortField;
}

void ListingJob::SetMasks(std::string txtFilespec, std::string txtExclude) {
  options_.txtFilespec = std::move(txtFilespec);
  options_.txtExclude = std::move(txtExclude);
}

void ListingJob::ComputeDateRange() {
  dateRange_ = ComputeDateRangeBounds(options_, *services_.locale);
}

void ListingJob::FormRoot(const std::string& folder) {
  rootPath_ = FormRootPath(folder);
  rootSpec_ = FormRootSpec(rootPath_, options_.txtFilespec);
  diskLabel_ = services_.volumes != nullptr ? QueryDiskLabel(*services_.volumes, rootPath_) : "";
}

void ListingJob::ResetTotals(ListingTotals& totals) {
  host_.SetCancelRequested(false);
  totals.DirectoryCount = 0;
  totals.FileCount = 0;
  totals.ByteCount = 0;
}

void ListingJob::ShowProcessingRoot() {
  host_.SetStatus(0, " Processing directory " + rootPath_);
  host_.SetStatus(1, " Cancel");
}

void ListingJob::RunDirectoryLoop(
    const std::function<void(const std::string& directory)>& perDirectory) {
  if (!options_.chkInclSub) {
    perDirectory(rootPath_);
    return;
  }
  BuildDirectoryList(rootPath_, options_, *services_.fileSystem, *services_.locale, host_,
                     directoryList_);
  for (const std::string& entry : directoryList_) {
    if (host_.CancelRequested()) break;
    host_.SetStatus(0, " Processing directory " + entry);
    host_.SetStatus(1, " Cancel");
    perDirectory(EnsureTrailingBackslash(entry));
  }
}

int ListingJob::TreeDepth(std::string_view folderText) const {
  return CountSeparators(folderText) + 1 - CountSeparators(rootSpec_);
}

std::string ListingJob::DirectoryOfText() const {
  std::string text = "Directory of: " + rootSpec_;
  if (!options_.txtExclude.empty()) text += " (Excluding " + options_.txtExclude + ")";
  return text;
}

std::optional<std::string> ListingJob::DateRangeText() const {
  if (!dateRange_) return std::nullopt;
  const DateTimeSeparators separators = LocaleSeparators(*services_.locale);
  // A bound the packed form cannot hold is shown as it was typed.
  auto bound = [&](DosDateTime packed, const std::string& typed) {
    DateTimeValue value = 0;
    if (packed != 0 && DosDateTimeToDateTime(packed, value)) {
      return FormatDateTime(formats_.DateOnlyFormat, value, separators);
    }
    return TrimBlanks(typed);
  };
  return "Files dated from " + bound(dateRange_->lower, options_.txtFromDate) + " to " +
         bound(dateRange_->upper, options_.txtToDate);
}

std::string ListingJob::JobTimeText() const {
  FileTime now = services_.clock->NowUtc();
  FileTime local = now;
  if (services_.timeZone == nullptr || !services_.timeZone->UtcToLocal(now, local)) local = now;
  CalendarTime calendar;
  DateTimeValue value = 0;
  if (!FileTimeToCalendar(local, calendar) || !EncodeDateTime(calendar, value)) return {};
  return FormatDateTime(formats_.DateTimeFormat, value, LocaleSeparators(*services_.locale));
}

std::string ListingJob::FilesOptionsText(std::string_view gap) const {
  std::string text;
  if (options_.chkInclSub) {
    text += "Levels: ";
    text += ItemOrEmpty(LevelsItem(options_.cboLevels));
    text += gap;
  }
  if (options_.chkFileDate && !options_.chkDirOnly) {
    text += "Date: ";
    text += ItemOrEmpty(DateTypeItem(options_.grpDate));
    text += gap;
  }
  if (!options_.chkHidden) {
    text += "Hidden excluded";
    text += gap;
  }
  if (options_.chkExcludeEmpty) {
    text += "Empty subdirectories excluded";
    text += gap;
  }
  if (!TrimBlanks(diskLabel_).empty()) text += "Disk Label: " + diskLabel_;
  return text;
}

std::string ListingJob::DirectoriesOnlyOptionsText(std::string_view gap) const {
  std::string text;
  if (options_.chkInclSub) {
    text += "Levels: ";
    text += ItemOrEmpty(LevelsItem(options_.cboLevels));
    text += gap;
  }
  if (!options_.chkHidden) text += "Hidden excluded";
  text += gap;
  if (options_.chkExcludeEmpty) text += "Empty subdirectories excluded";
  text += gap;
  text += TrimBlanks(diskLabel_).empty() ? std::string(" ") : "Disk Label: " + diskLabel_;
  return text;
}

std::optional<std::string> ListingJob::PageHeaderText() const {
  if (!options_.chkPageHeader || TrimBlanks(options_.txtPageHeader).empty()) return std::nullopt;
  return options_.txtPageHeader;
}

}  // namespace tabulon
