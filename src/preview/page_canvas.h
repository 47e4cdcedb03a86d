// The page canvas: what the print job draws on. It records into a page
// instead of drawing, and turns point sizes into pixels with the reference
// device's vertical resolution, so that a 10-point font on a 600 dpi printer
// is 83 pixels high on the page.
#pragma once

#include <string>
#include <string_view>

#include "preview/page_record.h"

namespace tabulon {

class TextMeasurer;

struct CanvasFont {
  std::string name = "Arial";
  int size = 10;      // points
  int pixelSize = 0;  // follows size and the pixels per inch
  bool bold = false;
  bool italic = false;
  PageColor color = kBlack;

  bool operator==(const CanvasFont&) const = default;
};

struct CanvasBrush {
  BrushStyle style = BrushStyle::kSolid;
  PageColor color = kWhite;

  bool operator==(const CanvasBrush&) const = default;
};

// Points to pixels: round(points x pixelsPerInch / 72), an exact half away
// from zero, as the printer's own font mapping does.
int PointsToPixels(int points, int pixelsPerInch);

class TPageMetaFileCanvas {
 public:
  TPageMetaFileCanvas(PageRecord& page, const TextMeasurer& measurer, int pixelsPerInch);

  // Font.
  void SetFontName(std::string name);
  void SetFontSize(int points);
  void SetFontBold(bool bold);
  void SetFontItalic(bool italic);
  void SetFontColor(PageColor color);
  void SetFont(const CanvasFont& font);  // keeps this canvas's pixels per inch
  const CanvasFont& Font() const { return font_; }
  const std::string& FontName() const { return font_.name; }
  int FontSize() const { return font_.size; }
  int FontPixelSize() const { return font_.pixelSize; }
  bool FontBold() const { return font_.bold; }
  int PixelsPerInch() const { return pixelsPerInch_; }

  // Brush: a solid brush fills rectangles and the cells behind texts; a clear
  // brush fills nothing, so texts are drawn without a background.
  void SetBrushStyle(BrushStyle style) { brush_.style = style; }
  void SetBrushColor(PageColor color) { brush_.color = color; }
  void SetBrush(const CanvasBrush& brush) { brush_ = brush; }
  const CanvasBrush& Brush() const { return brush_; }

  void SetPen(const PagePen& pen) { pen_ = pen; }
  void SetPenColor(PageColor color) { pen_.color = color; }
  void SetPenWidth(int width) { pen_.width = width; }
  void SetPenStyle(PenStyle style) { pen_.style = style; }
  const PagePen& Pen() const { return pen_; }

  // Drawing. Right and bottom edges are exclusive; a text's top-left corner
  // is at (x, y).
  void FillRect(int left, int top, int right, int bottom);
  void TextOut(int x, int y, std::string_view text);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);

  // Measures in the current font, in device pixels.
  int TextWidth(std::string_view text) const;
  int TextHeight(std::string_view text) const;

  // Continues drawing with another canvas's font, brush and pen.
  void CopyStateFrom(const TPageMetaFileCanvas& other);

 private:
  PageFont RecordFont() const;

  PageRecord& page_;
  const TextMeasurer& measurer_;
  int pixelsPerInch_;
  CanvasFont font_;
  CanvasBrush brush_;
  PagePen pen_;
  int penX_ = 0;
  int penY_ = 0;
};

}  // namespace tabulon
