// The system printer as reference device and print destination.
#pragma once

#include <QPrinter>
#include <memory>

#include "preview/reference_device.h"

namespace tabulon {

class PrinterReferenceDevice : public ReferenceDevice {
 public:
  explicit PrinterReferenceDevice(std::unique_ptr<QPrinter> printer);
  ~PrinterReferenceDevice() override;

  bool ReadMetrics(PrinterOrientation orientation, DeviceMetrics& metrics) override;
  std::unique_ptr<DevicePrintJob> StartJob(PrinterOrientation orientation,
                                           const std::string& documentName) override;

  // The print dialog chooses the printer and its settings on this.
  QPrinter& Printer() { return *printer_; }

 private:
  std::unique_ptr<QPrinter> printer_;
};

// The default printer; nullptr when no printer is installed.
std::unique_ptr<PrinterReferenceDevice> MakeDefaultPrinterDevice();

}  // namespace tabulon
