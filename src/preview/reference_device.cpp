#include "preview/reference_device.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QScreen>
#include <cmath>
#include <stdexcept>

#include "preview/page_renderer.h"

namespace tabulon {
namespace {

// An exact half goes to the even neighbour, as every inch measure does.
int RoundInches(double inches, int dotsPerInch) {
  return int(std::nearbyint(inches * dotsPerInch));
}

std::string Reason(const QString& text) {
  return text.toStdString();
}

class PdfPrintJob : public DevicePrintJob {
 public:
  PdfPrintJob(const std::string& fileName, PrinterOrientation orientation,
              const std::string& documentName, const DeviceMetrics& metrics)
      : fileName_(fileName), file_(QString::fromStdString(fileName)), metrics_(metrics) {
    if (!file_.open(QIODevice::WriteOnly)) {
      throw std::runtime_error("Cannot write \"" + fileName_ +
                               "\": " + Reason(file_.errorString()));
    }
    writer_ = std::make_unique<QPdfWriter>(&file_);
    writer_->setResolution(PdfReferenceDevice::kResolution);
    writer_->setPageLayout(QPageLayout(QPageSize(QPageSize::Letter),
                                       orientation == PrinterOrientation::kLandscape
                                           ? QPageLayout::Landscape
                                           : QPageLayout::Portrait,
                                       QMarginsF(0, 0, 0, 0)));
    writer_->setTitle(QString::fromStdString(documentName));
    writer_->setCreator(QStringLiteral("Tabulon"));
    if (!painter_.begin(writer_.get())) {
      file_.cancelWriting();
      throw std::runtime_error("Cannot write \"" + fileName_ + "\": the PDF could not be started");
    }
  }

  ~PdfPrintJob() override {
    if (painter_.isActive()) painter_.end();
    // A job that did not reach End leaves any earlier file as it was.
    file_.cancelWriting();
  }

  DeviceMetrics Metrics() const override { return metrics_; }

  void PlayPage(const PageRecord& page, int x, int y, double scaleX, double scaleY) override {
    painter_.save();
    painter_.translate(x, y);
    painter_.scale(scaleX, scaleY);
    RenderPage(painter_, page);
    painter_.restore();
  }

  void NewPage() override { writer_->newPage(); }

  void End() override {
    painter_.end();
    writer_.reset();
    if (!file_.commit()) {
      throw std::runtime_error("Cannot write \"" + fileName_ +
                               "\": " + Reason(file_.errorString()));
    }
  }

 private:
  std::string fileName_;
  QSaveFile file_;
  DeviceMetrics metrics_;
  std::unique_ptr<QPdfWriter> writer_;
  QPainter painter_;
};

}  // namespace

bool ScreenReferenceDevice::ReadMetrics(PrinterOrientation orientation, DeviceMetrics& metrics) {
  if (dotsPerInch_ <= 0) return false;
  metrics.pixelsPerInchX = dotsPerInch_;
  metrics.pixelsPerInchY = dotsPerInch_;
  metrics.pageWidth = RoundInches(8.5, dotsPerInch_);
  metrics.pageHeight = RoundInches(11, dotsPerInch_);
  // A landscape listing needs a landscape sheet, also on the screen.
  if (orientation == PrinterOrientation::kLandscape) {
    std::swap(metrics.pageWidth, metrics.pageHeight);
  }
  metrics.pageOffsetX = 0;
  metrics.pageOffsetY = 0;
  return true;
}

std::unique_ptr<ReferenceDevice> MakeScreenReferenceDevice() {
  int dotsPerInch = 96;
  if (qGuiApp != nullptr && QGuiApplication::primaryScreen() != nullptr) {
    dotsPerInch = int(std::lround(QGuiApplication::primaryScreen()->logicalDotsPerInchY()));
    if (dotsPerInch <= 0) dotsPerInch = 96;
  }
  return std::make_unique<ScreenReferenceDevice>(dotsPerInch);
}

bool PdfReferenceDevice::ReadMetrics(PrinterOrientation orientation, DeviceMetrics& metrics) {
  const QSize sheet = QPageSize(QPageSize::Letter).sizePixels(kResolution);
  metrics.pixelsPerInchX = kResolution;
  metrics.pixelsPerInchY = kResolution;
  metrics.pageWidth = sheet.width();
  metrics.pageHeight = sheet.height();
  if (orientation == PrinterOrientation::kLandscape) {
    std::swap(metrics.pageWidth, metrics.pageHeight);
  }
  metrics.pageOffsetX = 0;
  metrics.pageOffsetY = 0;
  return true;
}

std::unique_ptr<DevicePrintJob> PdfReferenceDevice::StartJob(PrinterOrientation orientation,
                                                             const std::string& documentName) {
  if (fileName_.empty()) throw std::runtime_error("No PDF file name was given");
  DeviceMetrics metrics;
  ReadMetrics(orientation, metrics);
  return std::make_unique<PdfPrintJob>(fileName_, orientation, documentName, metrics);
}

}  // namespace tabulon
