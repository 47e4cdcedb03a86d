// TStringCollection: the small string utility the renderers share, and the
// code-point helpers behind every padding and cutting of a listing text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/code_points.h"

namespace tabulon {

class Locale;

// Texts are UTF-8 bytes; "one character" is one code point, and a byte that
// does not start a well-formed sequence counts as one character of its own.
// No helper ever splits a sequence.
inline std::size_t CharCount(std::string_view text) {
  return utf8::Count(text);
}
// The first `count` characters (all of them when there are fewer).
inline std::string_view LeftChars(std::string_view text, std::size_t count) {
  return utf8::Left(text, count);
}
// `count` characters from the 1-based character position `start`; empty when
// start is past the end (start 0 counts as 1).
inline std::string_view CopyChars(std::string_view text, std::size_t start, std::size_t count) {
  return utf8::Copy(text, start, count);
}
// The text followed (PadRight) or preceded (PadLeft) by blanks up to `width`
// characters; a longer text is not cut.
inline std::string PadRight(std::string_view text, std::size_t width) {
  return utf8::PadRight(text, width);
}
inline std::string PadLeft(std::string_view text, std::size_t width) {
  return utf8::PadLeft(text, width);
}
// Padded with blanks and cut to exactly `width` characters.
inline std::string FitRight(std::string_view text, std::size_t width) {
  return utf8::Fit(text, width);
}

class TStringCollection {
 public:
  // The locale gives the casing rules; it is borrowed and must outlive this.
  explicit TStringCollection(const Locale& locale) : locale_(locale) {}

  // The text upper-cased by the locale's rules.
  std::string UpperText(std::string_view text) const;
  // The 1-based byte position of `part` in `text`, searching from byte
  // position `start` (0 searches the whole text); 0 when absent or when
  // `part` is empty. With `ignoreCase` both are upper-cased first and the
  // position is that in the upper-cased text.
  std::size_t FindText(std::string_view part, std::string_view text, bool ignoreCase,
                       std::size_t start) const;
  // `n` copies of the character; empty for n <= 0.
  static std::string RepeatChar(char c, int n);
  // The text repeated `n` times; empty for n <= 0.
  static std::string Replicate(std::string_view text, int n);
  // Every occurrence of `find`, left to right and case-sensitively, replaced
  // by `replace`; the search resumes after the inserted text. After each
  // replacement the rest of the text is kept up to kReplaceAllRestLimit
  // characters. An empty `find` leaves the text as it is.
  static std::string ReplaceAll(std::string_view find, std::string_view replace,
                                std::string_view text);

  static constexpr std::size_t kReplaceAllRestLimit = 65520;

 private:
  const Locale& locale_;
};

}  // namespace tabulon
