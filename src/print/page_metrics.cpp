#include "print/page_metrics.h"

#include "preview/page_canvas.h"

namespace tabulon {
namespace {

// Measures in hundredths of an inch, by orientation.
struct OrientationMeasures {
  int textAreaWidth;
  int dirNameWidth;
  int dirFilesX;
  int dirBytesX;
  int shadeRight;
};

constexpr OrientationMeasures kPortrait{730, 500, 570, 585, 810};
constexpr OrientationMeasures kLandscape{1010, 700, 765, 810, 1060};

}  // namespace

int RoundHalfEven(std::int64_t numerator, std::int64_t denominator) {
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  std::int64_t quotient = numerator / denominator;
  std::int64_t remainder = numerator % denominator;
  if (remainder < 0) {  // floor division
    remainder += denominator;
    --quotient;
  }
  std::int64_t twice = 2 * remainder;
  if (twice > denominator || (twice == denominator && quotient % 2 != 0)) ++quotient;
  return int(quotient);
}

int InchesToPixels(int hundredthsOfInch, int pixelsPerInch) {
  return RoundHalfEven(std::int64_t{hundredthsOfInch} * pixelsPerInch, 100);
}

int BottomLimit(int pageHeight, int pageOffsetY, int pixelsPerInchY) {
  return pageHeight - pageOffsetY - InchesToPixels(75, pixelsPerInchY);
}

PageMetrics ComputePageMetrics(const PageGeometry& geometry, const TPageMetaFileCanvas& canvas,
                               const ListingOptions& options) {
  const OrientationMeasures& o = options.grpOrientation == 1 ? kLandscape : kPortrait;
  const int x = geometry.pixelsPerInchX;
  const int y = geometry.pixelsPerInchY;
  PageMetrics m;
  m.PixelsPerInchX = x;
  m.PixelsPerInchY = y;
  m.BottomLimit = BottomLimit(geometry.pageHeight, geometry.pageOffsetY, y);
  m.TextLeft = InchesToPixels(50, x);
  m.TextTop = InchesToPixels(50, y);
  m.ShortNameColumnWidth = canvas.TextWidth("MMMMMMMM.MMM");
  m.DateColumnWidth = canvas.TextWidth("99/99/9999  99:99am");
  m.SizeColumnWidth = canvas.TextWidth("9,999,999,999");
  m.AttrColumnWidth = canvas.TextWidth("ARHS");
  m.TypeColumnWidth = InchesToPixels(180, x);
  m.DirBytesX = InchesToPixels(o.dirBytesX, x) + canvas.TextWidth("99,999 files  ");
  m.DirFilesX = InchesToPixels(o.dirFilesX, x);
  m.LineHeight = RoundHalfEven(std::int64_t{canvas.TextHeight("M")} * 12, 10);
  m.ColumnGap = InchesToPixels(15, x);
  m.TextAreaWidth = InchesToPixels(o.textAreaWidth, x);
  m.DirNameWidth = InchesToPixels(o.dirNameWidth, x);
  m.DetailX = InchesToPixels(60, x);
  m.ShadeLeft = InchesToPixels(48, x);
  m.ShadeRight = InchesToPixels(o.shadeRight, x);
  if (options.chkLongName) m.LongNameColumnWidth = ComputeLongNameColumnWidth(m, options);
  return m;
}

int ComputeLongNameColumnWidth(const PageMetrics& m, const ListingOptions& options) {
  int width = m.TextAreaWidth;
  if (options.chkShortName) width -= m.ShortNameColumnWidth + m.ColumnGap;
  if (options.chkFileDate) width -= m.DateColumnWidth + m.ColumnGap;
  if (options.chkFileSize) width -= m.SizeColumnWidth + m.ColumnGap;
  if (options.chkFileAttr) width -= m.AttrColumnWidth + m.ColumnGap;
  if (options.chkFileType) width -= m.TypeColumnWidth + m.ColumnGap;
  return width;
}

int EffectiveColumnCount(const ListingOptions& options) {
  const int chosen = ColumnCount(options.grpColumns);
  if (chosen == 1) return 1;
  const bool wide = options.chkLongName || options.chkFileType || options.chkVersion ||
                    options.chkMP3 || options.chkImage || options.chkMSOffice;
  if (wide) return 1;
  const int narrow = int(options.chkFileSize) + int(options.chkFileDate) + int(options.chkFileAttr);
  if (chosen == 2) return narrow == 3 ? 1 : 2;
  return narrow > 0 ? 1 : 4;
}

int ColumnStartX(const PageMetrics& m, int columnCount, int k) {
  if (columnCount == 2) return InchesToPixels(50 + (k - 1) * 375, m.PixelsPerInchX);
  if (columnCount == 4) return InchesToPixels(50 + (k - 1) * 175, m.PixelsPerInchX);
  return m.TextLeft;
}

}  // namespace tabulon
