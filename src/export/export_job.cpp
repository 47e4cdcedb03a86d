#include "export/export_job.h"

#include "listing/date_patterns.h"
#include "platform/shell.h"

namespace tabulon {
namespace {

// Lines gather here and go to the file in few large writes; a cancel, an
// error and the end of the job all flush what is gathered.
constexpr std::size_t kFileBufferSize = 32 * 1024;

}  // namespace

ExportJob::ExportJob(ListingSession& session, const Services& services,
                     const DetailSources& details, JobHost& host)
    : session_(session), services_(services), details_(details), host_(host) {}

ExportResult ExportJob::Run(const ListingOptions& options, const std::string& folder,
                            const std::string& fileName, ExportFormat format) {
  try {
    return RunJob(options, folder, fileName, format);
  } catch (...) {
    // What was written stays in the file, even when the job fails.
    if (file_) {
      try {
        file_->Close();
      } catch (const OutputError&) {
      }
    }
    throw;
  }
}

ExportResult ExportJob::RunJob(const ListingOptions& options, const std::string& folder,
                               const std::string& fileName, ExportFormat format) {
  writer_.reset();
  file_.reset();
  job_ = std::make_unique<ListingJob>(options, services_, host_);
  job_->SetSortFieldCaption();

  shadeCounter_ = 0;
  // The sort field is adjusted before the search set-up, so the entries are
  // keyed by the field the heading names.
  const int sortField = job_->AdjustSortField();

  CollectorJob collector;
  collector.options = job_->Options();
  collector.dateTimeFormat = job_->Formats().DateTimeFormat;
  collector.separators = LocaleSeparators(*services_.locale);
  collector.sectionWriter = this;
  TrimmedMasks masks = session_.ConfigureSearch(std::move(collector));
  job_->SetMasks(masks.txtFilespec, masks.txtExclude);
  const ListingOptions& opts = job_->Options();

  const ExportPanelOptions& panel = opts.exportPanel;
  flags_.TableStartTag = panel.chkBorders ? "<TABLE CELLPADDING=3 BORDER=0 WIDTH=\"95%\">"
                                          : "<TABLE CELLSPACING=3 BORDER=0 WIDTH=\"95%\">";
  flags_.CsvPathCombined = panel.chkFullPath && panel.grpFullPath == 1;
  flags_.CsvPathSeparate = panel.chkFullPath && panel.grpFullPath == 0;
  flags_.CsvNoHeaders = panel.chkNoTotals;
  flags_.HtmlShade = panel.chkShade;
  job_->ComputeDateRange();
  format_ = format;

  file_ = std::make_unique<LineWriter>(fileName, kFileBufferSize);
  writer_ = MakeExportWriter(format_, *file_, *job_, flags_, details_, shadeCounter_);

  job_->FormRoot(folder);
  job_->ResetTotals(session_.Totals);
  job_->ShowProcessingRoot();

  const bool headed = !(format_ == ExportFormat::kDelimited && flags_.CsvNoHeaders);
  if (format_ == ExportFormat::kHtml) writer_->DocumentStart();
  if (headed) writer_->HeadingBlock();

  job_->RunDirectoryLoop([this](const std::string& directory) { ExportDirectory(directory); });

  ExportResult result;
  result.grpSortField = sortField;
  result.txtFilespec = masks.txtFilespec;
  result.txtExclude = masks.txtExclude;
  result.cancelled = host_.CancelRequested();
  if (result.cancelled) {
    file_->Flush();
    host_.SetStatus(0, " Export canceled");
  } else {
    if (headed) {
      file_->WriteLine();
      writer_->GrandTotals(session_.Totals);
    }
    if (format_ == ExportFormat::kHtml) writer_->DocumentEnd();
    host_.SetStatus(0, "");
  }
  host_.SetStatus(1, "");
  file_->Close();
  // A cancelled export is opened too, as far as it was written.
  if (opts.exportPanel.chkOpenFile && services_.shell != nullptr) services_.shell->Open(fileName);
  return result;
}

void ExportJob::ExportDirectory(const std::string& path) {
  const ListingOptions& opts = job_->Options();
  session_.CollectDirectory(path);
  ListingTotals& totals = session_.Totals;
  if (!opts.chkDirOnly) {
    for (std::size_t i = 0; i < totals.DirFileCount && i < session_.lstFiles.size(); ++i) {
      host_.ProcessEvents();
      if (host_.CancelRequested()) break;
      writer_->Entry(session_.lstFiles[i], i, path);
    }
  }
  host_.ProcessEvents();
  if (host_.CancelRequested()) {
    file_->Flush();
    return;
  }
  const bool anyFiles = totals.DirFileCount != 0;
  const bool listed =
      (opts.txtFilespec == "*.*" || anyFiles) && (!opts.chkExcludeEmpty || anyFiles);
  if (listed) {
    totals.DirectoryCount += 1;
    if (opts.chkDirOnly) {
      writer_->DirectoryCounts(totals);
    } else {
      writer_->DirectoryTotals(totals);
    }
  }
  totals.EndDirectory();
}

void ExportJob::ExportDirectoryHeading(const std::string& folderText) {
  writer_->DirectoryHeading(folderText, !HeadingIsImmediate(job_->Options()));
}

}  // namespace tabulon
