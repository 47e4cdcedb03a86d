// Writes the recorded pages as a PDF with real, selectable text.
#pragma once

#include <string>

namespace tabulon {

class TPreviewPrinter;

// Plays every recorded page into `fileName`: letter size at 600 dpi in the
// recorder's orientation. An existing file is replaced only when the whole
// PDF has been written. Throws std::runtime_error naming the file and the
// reason when it cannot be written.
void WritePdf(TPreviewPrinter& printer, const std::string& fileName);

}  // namespace tabulon
