// The device whose resolution and sheet the pages are recorded against, and
// which prints them: the default printer, the screen when there is none, or
// the PDF writer of the headless run.
#pragma once

#include <memory>
#include <string>

namespace tabulon {

class PageRecord;

enum class PrinterOrientation { kPortrait = 0, kLandscape = 1 };

// Device pixels; the offsets are from the sheet's edges to the printable area.
struct DeviceMetrics {
  int pixelsPerInchX = 0;
  int pixelsPerInchY = 0;
  int pageWidth = 0;
  int pageHeight = 0;
  int pageOffsetX = 0;
  int pageOffsetY = 0;

  bool operator==(const DeviceMetrics&) const = default;
};

// One print job on a device. Pages are played with the origin of the
// device's canvas, the corner of its printable area.
class DevicePrintJob {
 public:
  virtual ~DevicePrintJob() = default;
  virtual DeviceMetrics Metrics() const = 0;
  // Plays the page with the sheet's corner at (x, y) of the device's canvas,
  // its pixels scaled by (scaleX, scaleY) into the device's pixels.
  virtual void PlayPage(const PageRecord& page, int x, int y, double scaleX, double scaleY) = 0;
  virtual void NewPage() = 0;
  // Ends the job; throws std::runtime_error when it could not be completed.
  virtual void End() = 0;
};

class ReferenceDevice {
 public:
  virtual ~ReferenceDevice() = default;
  // The metrics for a sheet in that orientation; false when the device cannot
  // give them (no printer, or it cannot be opened).
  virtual bool ReadMetrics(PrinterOrientation orientation, DeviceMetrics& metrics) = 0;
  // Starts a job; nullptr when this device cannot print. Throws
  // std::runtime_error when the job cannot be started.
  virtual std::unique_ptr<DevicePrintJob> StartJob(PrinterOrientation orientation,
                                                   const std::string& documentName) = 0;
};

// A letter-size sheet at a screen's resolution: 8.5 x 11 inches (11 x 8.5 in
// landscape), rounded to the nearest pixel with a half to the even neighbour,
// offsets 0. It cannot print.
class ScreenReferenceDevice : public ReferenceDevice {
 public:
  explicit ScreenReferenceDevice(int dotsPerInch) : dotsPerInch_(dotsPerInch) {}
  bool ReadMetrics(PrinterOrientation orientation, DeviceMetrics& metrics) override;
  std::unique_ptr<DevicePrintJob> StartJob(PrinterOrientation, const std::string&) override {
    return nullptr;
  }

 private:
  int dotsPerInch_;
};

// The primary screen's logical resolution (96 when there is no screen).
std::unique_ptr<ReferenceDevice> MakeScreenReferenceDevice();

// Qt's PDF output at 600 dpi, letter size, the whole sheet printable. Its
// jobs write to `fileName`, set before a job starts.
class PdfReferenceDevice : public ReferenceDevice {
 public:
  static constexpr int kResolution = 600;
  bool ReadMetrics(PrinterOrientation orientation, DeviceMetrics& metrics) override;
  std::unique_ptr<DevicePrintJob> StartJob(PrinterOrientation orientation,
                                           const std::string& documentName) override;
  void SetFileName(std::string fileName) { fileName_ = std::move(fileName); }

 private:
  std::string fileName_;
};

}  // namespace tabulon
