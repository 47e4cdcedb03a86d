#include "preview/page_canvas.h"

#include <cstdint>

#include "platform/text_measurer.h"

namespace tabulon {

int PointsToPixels(int points, int pixelsPerInch) {
  const std::int64_t product = std::int64_t(points) * pixelsPerInch;
  const std::int64_t half = product >= 0 ? 36 : -36;
  return int((product + half) / 72);
}

TPageMetaFileCanvas::TPageMetaFileCanvas(PageRecord& page, const TextMeasurer& measurer,
                                         int pixelsPerInch)
    : page_(page), measurer_(measurer), pixelsPerInch_(pixelsPerInch) {
  font_.pixelSize = PointsToPixels(font_.size, pixelsPerInch_);
}

void TPageMetaFileCanvas::SetFontName(std::string name) {
  font_.name = std::move(name);
}

void TPageMetaFileCanvas::SetFontSize(int points) {
  font_.size = points;
  font_.pixelSize = PointsToPixels(points, pixelsPerInch_);
}

void TPageMetaFileCanvas::SetFontBold(bool bold) {
  font_.bold = bold;
}
void TPageMetaFileCanvas::SetFontItalic(bool italic) {
  font_.italic = italic;
}
void TPageMetaFileCanvas::SetFontColor(PageColor color) {
  font_.color = color;
}

void TPageMetaFileCanvas::SetFont(const CanvasFont& font) {
  font_ = font;
  font_.pixelSize = PointsToPixels(font_.size, pixelsPerInch_);
}

PageFont TPageMetaFileCanvas::RecordFont() const {
  return PageFont{font_.name, font_.pixelSize, font_.bold, font_.italic, font_.color};
}

void TPageMetaFileCanvas::FillRect(int left, int top, int right, int bottom) {
  if (brush_.style == BrushStyle::kClear) return;
  page_.AddFillRect(left, top, right, bottom, brush_.color);
}

void TPageMetaFileCanvas::TextOut(int x, int y, std::string_view text) {
  page_.AddText(x, y, text, RecordFont(), brush_.style == BrushStyle::kSolid, brush_.color);
}

void TPageMetaFileCanvas::MoveTo(int x, int y) {
  penX_ = x;
  penY_ = y;
}

void TPageMetaFileCanvas::LineTo(int x, int y) {
  page_.AddLine(penX_, penY_, x, y, pen_);
  MoveTo(x, y);
}

int TPageMetaFileCanvas::TextWidth(std::string_view text) const {
  return measurer_.TextWidth(MeasureFont{font_.name, font_.pixelSize, font_.bold, font_.italic},
                             text);
}

int TPageMetaFileCanvas::TextHeight(std::string_view text) const {
  return measurer_.TextHeight(MeasureFont{font_.name, font_.pixelSize, font_.bold, font_.italic},
                              text);
}

void TPageMetaFileCanvas::CopyStateFrom(const TPageMetaFileCanvas& other) {
  SetFont(other.font_);
  brush_ = other.brush_;
  pen_ = other.pen_;
}

}  // namespace tabulon
