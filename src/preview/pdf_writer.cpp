#include "preview/pdf_writer.h"

#include <stdexcept>

#include "preview/preview_printer.h"
#include "preview/reference_device.h"

namespace tabulon {

void WritePdf(TPreviewPrinter& printer, const std::string& fileName) {
  if (printer.Printing()) throw std::logic_error("WritePdf inside a document");
  PdfReferenceDevice device;
  device.SetFileName(fileName);
  if (printer.PageCount() == 0) {
    // Nothing recorded: still a valid document, one blank sheet.
    device.StartJob(printer.Orientation(), printer.Title())->End();
    return;
  }
  printer.PrintPagesOn(device, 0, printer.PageCount() - 1);
}

}  // namespace tabulon
