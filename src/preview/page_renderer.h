// Plays a recorded page on any QPainter: the PDF writer, the printer, the
// preview window, an image.
#pragma once

#include <QFont>

#include "preview/page_record.h"

class QPainter;

namespace tabulon {

// The font a recorded font is drawn with. The text measurer builds the same
// font, so widths measured while recording hold on the page.
QFont PageQFont(const PageFont& font);

// Plays the page in the painter's current coordinates, one unit per device
// pixel of the recorded page; the caller's transform places and scales it.
// Texts are drawn with their top-left corner at the recorded point.
void RenderPage(QPainter& painter, const PageRecord& page);

}  // namespace tabulon
