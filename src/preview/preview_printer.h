// TPreviewPrinter: the page recorder that a printed listing is drawn on. It
// records every page as a list of drawing commands against a reference
// device, so that resolutions and text widths are the printer's; afterwards
// the pages are printed, shown in the preview window or written as a PDF.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "preview/page_canvas.h"
#include "preview/page_record.h"
#include "preview/reference_device.h"

namespace tabulon {

class TextMeasurer;
class TPreviewPrinter;

enum class ZoomOption { kFitToPage = 0, kFitToWidth = 1, kTwoPages = 2 };

// The status type argument of OnStatus.
enum class PreviewStatus {
  kPaginating = 0,          // "Paginating page %d", one-based page number
  kPrinting = 1,            // "Printing page %d", zero-based page index
  kPaginationComplete = 2,  // "Pagination Complete", -1
  kPrintJobComplete = 3,    // "Print Job Complete", -1
};

using PreviewStatusHandler = std::function<void(TPreviewPrinter& sender, const std::string& text,
                                                int pageNumber, PreviewStatus status)>;

// What the user chose in the print dialog. Page numbers are one-based.
struct PrintDialogChoice {
  bool pageRange = false;
  int fromPage = 1;
  int toPage = 1;
  int copies = 1;
};

// The print dialog: page range from minPage to maxPage, and copies.
class PrintDialog {
 public:
  virtual ~PrintDialog() = default;
  // False when the user cancels.
  virtual bool Execute(int minPage, int maxPage, PrintDialogChoice& choice) = 0;
};

// Shows the recorded pages (the preview window) and returns when it closes.
class PreviewShower {
 public:
  virtual ~PreviewShower() = default;
  virtual void Show(TPreviewPrinter& printer) = 0;
};

class TPreviewPrinter {
 public:
  // `printer` may be null (no printer installed); recording then falls back
  // to `screen`, as it does when the printer gives no metrics.
  TPreviewPrinter(const TextMeasurer& measurer, ReferenceDevice* printer, ReferenceDevice& screen);
  ~TPreviewPrinter();
  TPreviewPrinter(const TPreviewPrinter&) = delete;
  TPreviewPrinter& operator=(const TPreviewPrinter&) = delete;

  PrinterOrientation Orientation() const { return orientation_; }
  void SetOrientation(PrinterOrientation orientation) { orientation_ = orientation; }
  bool Printing() const { return printing_; }
  const std::string& Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }
  ZoomOption GetZoomOption() const { return zoomOption_; }
  void SetZoomOption(ZoomOption zoom) { zoomOption_ = zoom; }
  void SetOnStatus(PreviewStatusHandler handler) { onStatus_ = std::move(handler); }

  // Opens a document: discards the recorded pages and starts page 1.
  void BeginDoc();
  // Finishes the current page and starts a new one. Only inside a document.
  void NewPage();
  // The current page's canvas; marks the page as used. Outside a document
  // it throws std::runtime_error "Canvas is not available before BeginDoc".
  TPageMetaFileCanvas& Canvas();
  // Ends the document; a last page whose canvas was never asked for is
  // dropped. Does nothing outside a document.
  void EndDoc();

  int PageCount() const { return int(pages_.size()); }
  // Zero-based; throws std::out_of_range past the last page.
  const PageRecord& Pages(int index) const { return *pages_.at(std::size_t(index)); }
  void ClearPages();
  bool PageUsed() const { return pageUsed_; }

  // The reference device's metrics, read again at every page start.
  int PixelsPerInchX() const { return metrics_.pixelsPerInchX; }
  int PixelsPerInchY() const { return metrics_.pixelsPerInchY; }
  int PageWidth() const { return metrics_.pageWidth; }
  int PageHeight() const { return metrics_.pageHeight; }
  int PageOffsetX() const { return metrics_.pageOffsetX; }
  int PageOffsetY() const { return metrics_.pageOffsetY; }
  const DeviceMetrics& Metrics() const { return metrics_; }

  // The print dialog, then one print job per copy. False when the user
  // cancelled or there is nothing to print.
  bool Print(PrintDialog& dialog);
  // Prints pages first to last (zero-based, clamped to the recorded pages)
  // as one job on the printer, each page placed at (-PageOffsetX,
  // -PageOffsetY). False when there is no printer or no page in the range.
  // Throws std::runtime_error when the job fails.
  bool PrintPages(int first, int last);
  // Prints pages first to last on the given device (the PDF writer).
  bool PrintPagesOn(ReferenceDevice& device, int first, int last);
  // Shows the preview window. Not inside a document.
  void Preview(PreviewShower& shower);

 private:
  void StartPage();
  void Notify(const std::string& text, int pageNumber, PreviewStatus status);

  const TextMeasurer& measurer_;
  ReferenceDevice* printer_;
  ReferenceDevice& screen_;
  PrinterOrientation orientation_ = PrinterOrientation::kPortrait;
  bool printing_ = false;
  std::string title_;
  ZoomOption zoomOption_ = ZoomOption::kFitToPage;
  PreviewStatusHandler onStatus_;
  std::vector<std::unique_ptr<PageRecord>> pages_;
  std::unique_ptr<TPageMetaFileCanvas> canvas_;
  DeviceMetrics metrics_;
  bool pageUsed_ = false;
};

}  // namespace tabulon
