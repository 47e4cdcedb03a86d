// A text measurer for tests: every code point has the same advance and every
// text the same height, whatever the font.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/text_measurer.h"

namespace tabulon::testing {

class FixedTextMeasurer : public TextMeasurer {
 public:
  explicit FixedTextMeasurer(int advance = 10, int height = 20)
      : advance_(advance), height_(height) {}

  int TextWidth(const MeasureFont&, std::string_view text) const override {
    return advance_ * CodePoints(text);
  }
  int TextHeight(const MeasureFont&, std::string_view) const override { return height_; }

  // UTF-8 code points; a byte that does not begin a complete, valid
  // sequence counts as one.
  static int CodePoints(std::string_view text) {
    int count = 0;
    std::size_t i = 0;
    while (i < text.size()) {
      const unsigned char lead = static_cast<unsigned char>(text[i]);
      std::size_t length = lead < 0x80                      ? 1
                           : (lead >= 0xC2 && lead <= 0xDF) ? 2
                           : (lead >= 0xE0 && lead <= 0xEF) ? 3
                           : (lead >= 0xF0 && lead <= 0xF4) ? 4
                                                            : 0;
      if (length == 0 || i + length > text.size()) {
        length = 1;
      } else {
        for (std::size_t k = 1; k < length; ++k) {
          if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) length = 1;
        }
      }
      ++count;
      i += length;
    }
    return count;
  }

 private:
  int advance_;
  int height_;
};

}  // namespace tabulon::testing
