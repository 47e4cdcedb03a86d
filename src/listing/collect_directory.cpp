#include "listing/collect_directory.h"

#include "platform/locale.h"
#include "platform/shell.h"
#include "search/string_collection.h"

namespace tabulon {

namespace {
constexpr std::size_t kTypeNameLimit = 80;  // the shell's answer field
}

bool HeadingIsImmediate(const ListingOptions& options) {
  return options.txtFilespec == "*.*" && !options.chkExcludeEmpty;
}

ListingSession::ListingSession(FileSystem& fileSystem, const TimeZone& timeZone,
                               const Locale& locale, const Shell& shell)
    : timeZone_(timeZone),
      locale_(locale),
      shell_(shell),
      findFiles_(fileSystem, timeZone, locale) {
  findFiles_.OnFileMatch = [this](TFindFile& sender, const std::string& folder,
                                  const SearchRec& fileInfo) {
    FindFilesFileMatch(sender, folder, fileInfo);
  };
  PrepareEntryFormat();
}

TrimmedMasks ListingSession::ConfigureSearch(CollectorJob job) {
  job_ = std::move(job);
  const TrimmedMasks masks = tabulon::ConfigureSearch(job_.options, findFiles_.Criteria(), locale_);
  job_.options.txtFilespec = masks.txtFilespec;
  job_.options.txtExclude = masks.txtExclude;
  PrepareEntryFormat();
  return masks;
}

void ListingSession::PrepareEntryFormat() {
  compiledDateTimeFormat_ = CompiledDateFormat(job_.dateTimeFormat);
  entryFormat_ = EntryFormat{};
  entryFormat_.grpDate = job_.options.grpDate;
  entryFormat_.grpSortField = job_.options.grpSortField;
  entryFormat_.chkLongName = job_.options.chkLongName;
  entryFormat_.chkFileType = job_.options.chkFileType;
  entryFormat_.dateTimeFormat = job_.dateTimeFormat;
  entryFormat_.separators = job_.separators;
  entryFormat_.compiledDateTimeFormat = &compiledDateTimeFormat_;
}

void ListingSession::CollectDirectory(const std::string& directory) {
  Totals.StartDirectory();
  if (HeadingIsImmediate(job_.options) && job_.sectionWriter != nullptr) {
    job_.sectionWriter->WriteDirectoryHeading(FolderDisplayPath(directory));
  }
  for (FileEntry& entry : lstFiles) spareEntries_.push_back(std::move(entry));
  lstFiles.clear();
  FirstMatchPending = true;
  findFiles_.Criteria().Files().SetLocation(directory);
  findFiles_.Start();
  if (!job_.options.chkDirOnly) {
    SortEntries(lstFiles, job_.options.grpSortOrder == 1 ? -1 : 1, locale_);
  }
}

void ListingSession::FindFilesFileMatch(TFindFile& /*sender*/, const std::string& folder,
                                        const SearchRec& fileInfo) {
  const ListingOptions& options = job_.options;
  if (FirstMatchPending && !HeadingIsImmediate(options)) {
    if (job_.sectionWriter != nullptr) {
      job_.sectionWriter->WriteDirectoryHeading(FolderDisplayPath(folder));
    }
    FirstMatchPending = false;
  }

  std::string typeName;
  if (options.chkFileType || options.grpSortField == kSortFileType) {
    typeName = ShellTypeName(folder + fileInfo.name);
    if (job_.fitTypeName) typeName = job_.fitTypeName(typeName);
  }
  FileEntry& entry = NewEntry();
  FillFileEntry(entry, fileInfo, typeName, entryFormat_, timeZone_);
  Totals.AddFile(entry.Size);
}

FileEntry& ListingSession::NewEntry() {
  if (spareEntries_.empty()) return lstFiles.emplace_back();
  lstFiles.push_back(std::move(spareEntries_.back()));
  spareEntries_.pop_back();
  return lstFiles.back();
}

std::string ListingSession::ShellTypeName(const std::string& fullPath) const {
  const std::string name = shell_.TypeName(fullPath);
  return std::string(LeftChars(name.substr(0, name.find('\0')), kTypeNameLimit));
}

}  // namespace tabulon
