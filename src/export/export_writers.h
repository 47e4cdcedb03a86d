// The three formats of an export file: plain text, comma-delimited and HTML.
// Each writes the pieces the export job and ExportDirectory ask for, through
// the line writer, so everything written is in the file at once.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "details/detail_sources.h"
#include "export/export_format.h"
#include "listing/file_entry.h"
#include "listing/line_writer.h"
#include "listing/listing_job.h"
#include "listing/listing_totals.h"

namespace tabulon {

// The export flags and state the job sets before the first line.
struct ExportFlags {
  std::string TableStartTag;     // the HTML table start tag
  bool CsvPathCombined = false;  // full path combined with the file name
  bool CsvPathSeparate = false;  // full path in a field of its own
  bool CsvNoHeaders = false;     // rows only
  bool HtmlShade = false;        // the panel's "Shade alternate lines"
};

class ExportWriter {
 public:
  ExportWriter(LineWriter& out, const ListingJob& job, const ExportFlags& flags,
               const DetailSources& details, int& shadeCounter);
  virtual ~ExportWriter() = default;

  // Step 16: the HTML document start; nothing for the other formats.
  virtual void DocumentStart() {}
  // Step 17: the heading block (the job decides whether it is written).
  virtual void HeadingBlock() = 0;
  // ExportDirectoryHeading: a files listing's directory heading, or the start
  // of a directories-only line. `deferred` when the first match writes it.
  virtual void DirectoryHeading(const std::string& folderText, bool deferred) = 0;
  // One entry of a files listing; `folder` ends in "/".
  virtual void Entry(const FileEntry& entry, std::size_t index, const std::string& folder) = 0;
  // The counted directory's totals (files listing) or its count part, which
  // ends its line (directories-only).
  virtual void DirectoryTotals(const ListingTotals& totals) = 0;
  virtual void DirectoryCounts(const ListingTotals& totals) = 0;
  // Step 19: the grand totals after the empty line, then the document end.
  virtual void GrandTotals(const ListingTotals& totals) = 0;
  virtual void DocumentEnd() {}

 protected:
  // The common heading lines 1 to 5 with the format's gap and line ends.
  struct HeadingForm {
    std::string_view gap = {};
    std::string_view line1Start = {};
    std::string_view line1End = {};
    std::string_view line2End = {};
    std::string_view line3End = {};
    std::string_view line4End = {};
    std::string_view line5End = {};
    bool escapeHtml = false;
    bool csvColumnsLine = false;  // "Directory,Files,Bytes" after line 4
  };
  void WriteHeadingLines(const HeadingForm& form);
  std::string FullPath(const std::string& folder, const FileEntry& entry) const;

  LineWriter& out_;
  const ListingJob& job_;
  const ListingOptions& options_;
  const Locale& locale_;
  const ExportFlags& flags_;
  const DetailSources& details_;
  int& shadeCounter_;
};

std::unique_ptr<ExportWriter> MakeExportWriter(ExportFormat format, LineWriter& out,
                                               const ListingJob& job, const ExportFlags& flags,
                                               const DetailSources& details, int& shadeCounter);

// The last component of a folder text: the part after its last "/".
std::string_view LastComponent(std::string_view folderText);

}  // namespace tabulon
