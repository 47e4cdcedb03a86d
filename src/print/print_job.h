// The print and preview job: the listing drawn page by page on the preview
// printer, then printed, shown, or written as a PDF.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "details/detail_sources.h"
#include "listing/job_host.h"
#include "listing/listing_job.h"
#include "listing/listing_options.h"
#include "listing/listing_totals.h"
#include "listing/section_writer.h"
#include "platform/services.h"
#include "print/page_metrics.h"
#include "print/text_fit.h"

namespace tabulon {

class ListingSession;
class TPreviewPrinter;
class TPageMetaFileCanvas;
struct FileEntry;

// The drawing position of a running job and the job's page count.
struct PrintJobState {
  int CurrentX = 0;
  int CurrentY = 0;
  int PageNumber = 0;    // the page whose heading block was drawn last
  int ShadeCounter = 0;  // directories-only lines drawn while shading is on
};

// Which button started the job: it decides the end and the cancel wording.
enum class PrintButton { kPrint, kPreview };

// The end of a completed job: the print dialog and the printer, or the
// preview window (or, headless, the PDF file).
class PrintOutput {
 public:
  virtual ~PrintOutput() = default;
  virtual void Print(TPreviewPrinter& printer) = 0;
  virtual void Preview(TPreviewPrinter& printer) = 0;
};

// What a job hands back to the window, which shows and later saves it.
struct PrintJobResult {
  int grpSortField = 0;     // after the sort field adjustment
  std::string txtFilespec;  // the mask boxes, trimmed
  std::string txtExclude;
  bool cancelled = false;
};

// The job installs itself as the section writer of the match handler, so
// that a deferred heading is drawn at a directory's first match.
class TPrintJob : public SectionWriter {
 public:
  // `options` is the job's snapshot of the window's controls; the folder has
  // been checked, the include box is not blank and the page header dialog
  // has been answered. The services, host, printer, detail sources and the
  // session (which holds the entries and the totals) are borrowed and must
  // outlive the job.
  TPrintJob(const ListingOptions& options, const Services& services, JobHost& host,
            TPreviewPrinter& printer, const DetailSources& details, ListingSession& session);
  ~TPrintJob() override;
  TPrintJob(const TPrintJob&) = delete;
  TPrintJob& operator=(const TPrintJob&) = delete;

  // The whole job on `folder`: the document, every directory, the closing
  // lines, and the end through `output`.
  PrintJobResult Run(const std::string& folder, PrintButton button, PrintOutput& output);

  // The steps before the first heading block: the search set-up, the root,
  // the document with the body font, the measures, the sort field and the
  // status texts. Run calls it; tests call it to draw pieces on their own.
  void StartDocument(const std::string& folder);

  // The heading block at the top of a page.
  void PrintHeadingBlock();
  // One directory's section; the path ends in "/".
  void PrintDirectory(const std::string& path);
  // A directory's heading, or its line in a directories-only listing. The
  // text is the path without its trailing "/" (the root keeps it).
  // `deferred` is set when the first match draws it.
  void PrintDirectoryHeading(std::string_view text, bool deferred);
  // A grey band behind one or two lines from y down.
  void ShadeBand(int y, int lineCount);
  // The bold total lines that close a listing.
  void PrintClosingLines();

  // The match handler's heading: immediate before the search, deferred at
  // the first match.
  void WriteDirectoryHeading(const std::string& folderText) override;

  const PageMetrics& Metrics() const { return metrics_; }
  const PrintJobState& State() const { return state_; }
  const ListingTotals& Totals() const;
  const ListingJob& Listing() const { return listing_; }
  int EffectiveColumns() const { return columns_; }

 private:
  PrintJobResult RunSteps(const std::string& folder, PrintButton button, PrintOutput& output);
  TPageMetaFileCanvas& Canvas();
  void DrawText(int x, int y, std::string_view text);
  void SetBold(bool bold);
  int TextWidth(std::string_view text);
  // Widths in the canvas's current font, for fitting.
  WidthOf CanvasWidths();
  void BreakPage();
  void DrawEntry(const FileEntry& entry);
  void DrawDetails(const std::string& folder, const FileEntry& entry);
  void EndOnCancel(PrintButton button);
  std::string FitTypeName(const std::string& typeName);

  const ListingOptions& Options() const { return listing_.Options(); }

  const Services& services_;
  JobHost& host_;
  TPreviewPrinter& printer_;
  DetailSources details_;
  ListingSession& session_;
  ListingJob listing_;
  PageMetrics metrics_;
  PrintJobState state_;
  int columns_ = 1;
  int longNameWidth_ = 0;  // the long name column as drawn
};

}  // namespace tabulon
