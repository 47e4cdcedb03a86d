#include "preview/window/print_dialog.h"

#include <QAbstractPrintDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

namespace tabulon {

bool QtPrintDialog::Execute(int minPage, int maxPage, PrintDialogChoice& choice) {
  printer_.setPrintRange(QPrinter::AllPages);
  printer_.setFromTo(0, 0);
  printer_.setCopyCount(1);
  QPrintDialog dialog(&printer_, parent_);
  dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintShowPageSize);
  dialog.setMinMax(minPage, maxPage);
  printer_.setFromTo(choice.fromPage, choice.toPage);
  if (dialog.exec() != QDialog::Accepted) return false;

  choice.pageRange = printer_.printRange() == QPrinter::PageRange && printer_.fromPage() > 0;
  if (choice.pageRange) {
    choice.fromPage = std::clamp(printer_.fromPage(), minPage, maxPage);
    choice.toPage = std::clamp(printer_.toPage(), choice.fromPage, maxPage);
  }
  choice.copies = std::max(printer_.copyCount(), 1);
  // The recorder prints the range and makes one job per copy itself; the
  // printer must not repeat either.
  printer_.setPrintRange(QPrinter::AllPages);
  printer_.setCopyCount(1);
  return true;
}

}  // namespace tabulon
