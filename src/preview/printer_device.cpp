#include "preview/printer_device.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPrinterInfo>
#include <stdexcept>

#include "preview/page_renderer.h"

namespace tabulon {
namespace {

QPageLayout::Orientation ToQt(PrinterOrientation orientation) {
  return orientation == PrinterOrientation::kLandscape ? QPageLayout::Landscape
                                                       : QPageLayout::Portrait;
}

// The printer's canvas starts at its printable area, as a printer's device
// context does: margins are the printer's own unprintable border.
void PrepareLayout(QPrinter& printer, PrinterOrientation orientation) {
  printer.setFullPage(false);
  printer.setPageOrientation(ToQt(orientation));
  printer.setPageMargins(printer.pageLayout().minimumMargins(), QPageLayout::Millimeter);
}

DeviceMetrics MetricsOf(QPrinter& printer) {
  const int resolution = printer.resolution();
  const QPageLayout layout = printer.pageLayout();
  const QRect full = layout.fullRectPixels(resolution);
  const QRect paint = layout.paintRectPixels(resolution);
  DeviceMetrics metrics;
  metrics.pixelsPerInchX = resolution;
  metrics.pixelsPerInchY = resolution;
  metrics.pageWidth = full.width();
  metrics.pageHeight = full.height();
  metrics.pageOffsetX = paint.left() - full.left();
  metrics.pageOffsetY = paint.top() - full.top();
  return metrics;
}

class PrinterPrintJob : public DevicePrintJob {
 public:
  PrinterPrintJob(QPrinter& printer, PrinterOrientation orientation,
                  const std::string& documentName)
      : printer_(printer) {
    if (qGuiApp != nullptr) {
      QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
      cursorSet_ = true;
    }
    PrepareLayout(printer_, orientation);
    printer_.setDocName(QString::fromStdString(documentName));
    // Every copy is a job of its own.
    printer_.setCopyCount(1);
    metrics_ = MetricsOf(printer_);
    if (!painter_.begin(&printer_)) {
      RestoreCursor();
      throw std::runtime_error("The printer \"" + printer_.printerName().toStdString() +
                               "\" could not start the print job");
    }
  }

  ~PrinterPrintJob() override {
    if (painter_.isActive()) {
      printer_.abort();
      painter_.end();
    }
    RestoreCursor();
  }

  DeviceMetrics Metrics() const override { return metrics_; }

  void PlayPage(const PageRecord& page, int x, int y, double scaleX, double scaleY) override {
    painter_.save();
    painter_.translate(x, y);
    painter_.scale(scaleX, scaleY);
    RenderPage(painter_, page);
    painter_.restore();
  }

  void NewPage() override { printer_.newPage(); }

  void End() override {
    const bool ended = painter_.end();
    RestoreCursor();
    if (!ended || printer_.printerState() == QPrinter::Error) {
      throw std::runtime_error("The printer \"" + printer_.printerName().toStdString() +
                               "\" could not complete the print job");
    }
  }

 private:
  void RestoreCursor() {
    if (cursorSet_) QGuiApplication::restoreOverrideCursor();
    cursorSet_ = false;
  }

  QPrinter& printer_;
  QPainter painter_;
  DeviceMetrics metrics_;
  bool cursorSet_ = false;
};

}  // namespace

PrinterReferenceDevice::PrinterReferenceDevice(std::unique_ptr<QPrinter> printer)
    : printer_(std::move(printer)) {}

PrinterReferenceDevice::~PrinterReferenceDevice() = default;

bool PrinterReferenceDevice::ReadMetrics(PrinterOrientation orientation, DeviceMetrics& metrics) {
  if (!printer_ || !printer_->isValid()) return false;
  PrepareLayout(*printer_, orientation);
  const DeviceMetrics read = MetricsOf(*printer_);
  if (read.pixelsPerInchX <= 0 || read.pixelsPerInchY <= 0 || read.pageWidth <= 0 ||
      read.pageHeight <= 0) {
    return false;
  }
  metrics = read;
  return true;
}

std::unique_ptr<DevicePrintJob> PrinterReferenceDevice::StartJob(PrinterOrientation orientation,
                                                                 const std::string& documentName) {
  if (!printer_ || !printer_->isValid()) return nullptr;
  return std::make_unique<PrinterPrintJob>(*printer_, orientation, documentName);
}

std::unique_ptr<PrinterReferenceDevice> MakeDefaultPrinterDevice() {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return nullptr;
  auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  if (!printer->isValid()) return nullptr;
  return std::make_unique<PrinterReferenceDevice>(std::move(printer));
}

}  // namespace tabulon
