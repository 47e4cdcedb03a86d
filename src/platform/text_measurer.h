// Measures texts in a font given by family, pixel size and style, so that
// page layout works in the device pixels of the reference device.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tabulon {

struct MeasureFont {
  std::string family;
  int pixelSize = 0;
  bool bold = false;
  bool italic = false;

  bool operator==(const MeasureFont&) const = default;
};

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // The advance width of the text in pixels (UTF-8; invalid bytes count as
  // one character each).
  virtual int TextWidth(const MeasureFont& font, std::string_view text) const = 0;
  // The height of a line of the text in pixels (ascent plus descent).
  virtual int TextHeight(const MeasureFont& font, std::string_view text) const = 0;
};

// QFontMetrics at the pixel size, with a cache of fonts and of widths.
// Needs a QGuiApplication (the offscreen platform will do).
std::unique_ptr<TextMeasurer> MakeTextMeasurer();

}  // namespace tabulon
