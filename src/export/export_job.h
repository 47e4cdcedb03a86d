// The export job: writes the listing of a folder into a plain text,
// comma-delimited or HTML file, from the search set-up to the closed file.
#pragma once

#include <memory>
#include <string>

#include "details/detail_sources.h"
#include "export/export_format.h"
#include "export/export_writers.h"
#include "listing/collect_directory.h"
#include "listing/job_host.h"
#include "listing/line_writer.h"
#include "listing/listing_job.h"
#include "listing/listing_options.h"
#include "listing/section_writer.h"
#include "platform/services.h"

namespace tabulon {

// What the job hands back to the window, which shows it and later saves it.
struct ExportResult {
  bool cancelled = false;
  int grpSortField = kSortLongName;  // after the sort field adjustment
  std::string txtFilespec;           // the mask boxes as trimmed
  std::string txtExclude;
};

class ExportJob : private SectionWriter {
 public:
  // Everything is borrowed and must outlive the job.
  ExportJob(ListingSession& session, const Services& services, const DetailSources& details,
            JobHost& host);

  // The job from the folder check on (the folder is valid and the file
  // chosen). A file that cannot be created or written throws OutputError:
  // what was written stays in the file, which is then neither finished nor
  // opened.
  ExportResult Run(const ListingOptions& options, const std::string& folder,
                   const std::string& fileName, ExportFormat format);

  // The state that lasts after the job.
  int ShadeCounter() const { return shadeCounter_; }
  const ListingTotals& Totals() const { return session_.Totals; }
  ExportFormat Format() const { return format_; }
  const ExportFlags& Flags() const { return flags_; }

 private:
  ExportResult RunJob(const ListingOptions& options, const std::string& folder,
                      const std::string& fileName, ExportFormat format);
  // Lists one directory, a path ending in "/".
  void ExportDirectory(const std::string& path);
  // The heading of a directory, or the start of a directories-only line.
  void ExportDirectoryHeading(const std::string& folderText);
  void WriteDirectoryHeading(const std::string& folderText) override {
    ExportDirectoryHeading(folderText);
  }

  ListingSession& session_;
  Services services_;
  const DetailSources& details_;
  JobHost& host_;

  std::unique_ptr<ListingJob> job_;
  std::unique_ptr<LineWriter> file_;
  std::unique_ptr<ExportWriter> writer_;
  ExportFormat format_ = ExportFormat::kText;
  ExportFlags flags_;
  int shadeCounter_ = 0;
};

}  // namespace tabulon
