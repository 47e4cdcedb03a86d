// The pixel measures that all drawing of a printed listing uses, taken once
// per job from the page canvas in the body font.
#pragma once

#include <cstdint>

#include "listing/listing_options.h"

namespace tabulon {

class TPageMetaFileCanvas;

// numerator / denominator to the nearest whole number, an exact half to the
// even neighbour.
int RoundHalfEven(std::int64_t numerator, std::int64_t denominator);

// A measure given in hundredths of an inch at a resolution, in whole pixels,
// an exact half to the even neighbour. Kept in integers so that 0.15 in at
// 600 dpi is exactly 90, not the floating-point neighbour of 90.
int InchesToPixels(int hundredthsOfInch, int pixelsPerInch);

struct PageMetrics {
  int PixelsPerInchX = 0;
  int PixelsPerInchY = 0;
  int BottomLimit = 0;
  int TextLeft = 0;
  int TextTop = 0;
  int LineHeight = 0;
  int ColumnGap = 0;
  int ShortNameColumnWidth = 0;
  int DateColumnWidth = 0;
  int SizeColumnWidth = 0;
  int AttrColumnWidth = 0;
  int TypeColumnWidth = 0;
  int TextAreaWidth = 0;
  int LongNameColumnWidth = 0;
  int DirNameWidth = 0;
  int DirFilesX = 0;
  int DirBytesX = 0;
  int DetailX = 0;
  int ShadeLeft = 0;
  int ShadeRight = 0;

  bool operator==(const PageMetrics&) const = default;
};

// PageHeight - PageOffsetY - 0.75 in: a line that would start at this y or
// lower goes to a new page.
int BottomLimit(int pageHeight, int pageOffsetY, int pixelsPerInchY);

// The page's resolution and sheet, as the preview printer reports them after
// BeginDoc.
struct PageGeometry {
  int pixelsPerInchX = 0;
  int pixelsPerInchY = 0;
  int pageHeight = 0;
  int pageOffsetY = 0;
};

// Every measure of the job. The canvas must carry the body font (regular);
// texts are measured in it. LongNameColumnWidth is computed only when the
// long name column is shown, and is 0 otherwise.
PageMetrics ComputePageMetrics(const PageGeometry& geometry, const TPageMetaFileCanvas& canvas,
                               const ListingOptions& options);

// The text area less every other shown column and its gap.
int ComputeLongNameColumnWidth(const PageMetrics& metrics, const ListingOptions& options);

// The number of columns a section is laid out in: the chosen 1, 2 or 4,
// falling back to 1 when the entries carry more than the narrow columns hold.
int EffectiveColumnCount(const ListingOptions& options);

// The x where column k (1-based) of a row starts.
int ColumnStartX(const PageMetrics& metrics, int columnCount, int k);

}  // namespace tabulon
