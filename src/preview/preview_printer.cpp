#include "preview/preview_printer.h"

#include <algorithm>
#include <stdexcept>

#include "platform/text_measurer.h"

namespace tabulon {

TPreviewPrinter::TPreviewPrinter(const TextMeasurer& measurer, ReferenceDevice* printer,
                                 ReferenceDevice& screen)
    : measurer_(measurer), printer_(printer), screen_(screen) {}

TPreviewPrinter::~TPreviewPrinter() = default;

void TPreviewPrinter::Notify(const std::string& text, int pageNumber, PreviewStatus status) {
  if (onStatus_) onStatus_(*this, text, pageNumber, status);
}

void TPreviewPrinter::BeginDoc() {
  printing_ = true;
  ClearPages();
  StartPage();
}

void TPreviewPrinter::NewPage() {
  if (!printing_) throw std::logic_error("NewPage outside a document");
  StartPage();
}

void TPreviewPrinter::StartPage() {
  pages_.push_back(std::make_unique<PageRecord>());
  DeviceMetrics metrics;
  bool read = printer_ != nullptr && printer_->ReadMetrics(orientation_, metrics);
  if (!read) read = screen_.ReadMetrics(orientation_, metrics);
  if (read) metrics_ = metrics;

  auto canvas =
      std::make_unique<TPageMetaFileCanvas>(*pages_.back(), measurer_, metrics_.pixelsPerInchY);
  if (canvas_) {
    canvas->CopyStateFrom(*canvas_);
  } else {
    canvas->SetFontName("Arial");
    canvas->SetFontSize(10);
    canvas->SetBrushStyle(BrushStyle::kClear);
  }
  // Freeing the old canvas completes the previous page.
  if (pages_.size() >= 2) pages_[pages_.size() - 2]->Compact();
  canvas_ = std::move(canvas);
  pageUsed_ = false;
  Notify("Paginating page " + std::to_string(PageCount()), PageCount(), PreviewStatus::kPaginating);
}

TPageMetaFileCanvas& TPreviewPrinter::Canvas() {
  if (!printing_) throw std::runtime_error("Canvas is not available before BeginDoc");
  // ClearPages inside a document leaves no page to draw on: start one.
  if (!canvas_) StartPage();
  pageUsed_ = true;
  return *canvas_;
}

void TPreviewPrinter::EndDoc() {
  if (!printing_) return;
  printing_ = false;
  const bool hadCanvas = canvas_ != nullptr;
  canvas_.reset();
  if (hadCanvas && !pageUsed_ && !pages_.empty()) pages_.pop_back();
  if (!pages_.empty()) pages_.back()->Compact();
  Notify("Pagination Complete", -1, PreviewStatus::kPaginationComplete);
}

void TPreviewPrinter::ClearPages() {
  canvas_.reset();
  pages_.clear();
}

bool TPreviewPrinter::Print(PrintDialog& dialog) {
  if (printing_) throw std::logic_error("Print inside a document");
  if (pages_.empty()) return false;
  PrintDialogChoice choice;
  choice.fromPage = 1;
  choice.toPage = PageCount();
  if (!dialog.Execute(1, PageCount(), choice)) return false;
  int first = 0;
  int last = PageCount() - 1;
  if (choice.pageRange) {
    first = choice.fromPage - 1;
    last = choice.toPage - 1;
  }
  for (int copy = 0; copy < std::max(choice.copies, 1); ++copy) PrintPages(first, last);
  return true;
}

bool TPreviewPrinter::PrintPages(int first, int last) {
  if (printer_ == nullptr) return false;
  return PrintPagesOn(*printer_, first, last);
}

bool TPreviewPrinter::PrintPagesOn(ReferenceDevice& device, int first, int last) {
  if (printing_) throw std::logic_error("PrintPages inside a document");
  first = std::max(first, 0);
  last = std::min(last, PageCount() - 1);
  if (first > last) return false;
  std::unique_ptr<DevicePrintJob> job = device.StartJob(orientation_, title_);
  if (!job) return false;
  const DeviceMetrics target = job->Metrics();
  // Pages recorded at another resolution (another printer chosen in the
  // dialog) are scaled to the printer's, so they keep their size on paper.
  const double scaleX = metrics_.pixelsPerInchX > 0 && target.pixelsPerInchX > 0
                            ? double(target.pixelsPerInchX) / metrics_.pixelsPerInchX
                            : 1.0;
  const double scaleY = metrics_.pixelsPerInchY > 0 && target.pixelsPerInchY > 0
                            ? double(target.pixelsPerInchY) / metrics_.pixelsPerInchY
                            : 1.0;
  for (int index = first; index <= last; ++index) {
    Notify("Printing page " + std::to_string(index + 1), index, PreviewStatus::kPrinting);
    job->PlayPage(*pages_[std::size_t(index)], -target.pageOffsetX, -target.pageOffsetY, scaleX,
                  scaleY);
    if (index < last) job->NewPage();
  }
  job->End();
  Notify("Print Job Complete", -1, PreviewStatus::kPrintJobComplete);
  return true;
}

void TPreviewPrinter::Preview(PreviewShower& shower) {
  if (printing_) throw std::logic_error("Preview inside a document");
  shower.Show(*this);
}

}  // namespace tabulon
