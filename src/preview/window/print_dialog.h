// The system print dialog for Print: the printer, the page range and copies.
#pragma once

#include "preview/preview_printer.h"

class QPrinter;
class QWidget;

namespace tabulon {

class QtPrintDialog : public PrintDialog {
 public:
  // The dialog sets up `printer` (the one the pages are printed on).
  QtPrintDialog(QPrinter& printer, QWidget* parent) : printer_(printer), parent_(parent) {}
  bool Execute(int minPage, int maxPage, PrintDialogChoice& choice) override;

 private:
  QPrinter& printer_;
  QWidget* parent_;
};

}  // namespace tabulon
