// Fitting texts to a width the way the printed listing does: one character
// (one code point; an invalid byte counts as one) removed from the end at a
// time, measuring again each time.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace tabulon {

using WidthOf = std::function<int(std::string_view)>;

// The longest starting part of the text no wider than `width`. The empty text
// when not even one character fits.
std::string_view FitToWidth(std::string_view text, int width, const WidthOf& widthOf);

// The text after its first `prefixBytes` bytes, at most `maxChars` characters.
std::string_view RestOfText(std::string_view text, std::size_t prefixBytes,
                            std::size_t maxChars = 1000);

// A text split over two lines: the first fitted to `width`, the second what
// follows (at most 1000 characters), fitted too when `fitSecond` is set.
struct TwoLines {
  std::string_view first;
  std::string_view second;
  bool wrapped = false;  // false when the whole text fits on the first line
};

TwoLines SplitToWidth(std::string_view text, int width, const WidthOf& widthOf, bool fitSecond);

}  // namespace tabulon
