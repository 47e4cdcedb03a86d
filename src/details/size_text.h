// Sizes and counts as listings show them: the "%.0n" rendering, whole
// numbers with the locale's thousands separator, and its right-aligned
// "%6.0n" and "%12.0n" forms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tabulon {

class Locale;

// 1234567 gives "1,234,567" where the separator is a comma. Groups of three.
std::string SizeText(std::uint64_t value, const Locale& locale);

// SizeText right-aligned with blanks in `width` characters; never cut.
std::string SizeTextRight(std::uint64_t value, std::size_t width, const Locale& locale);
// SizeTextRight added to the end of `out`.
void AppendSizeTextRight(std::string& out, std::uint64_t value, std::size_t width,
                         const Locale& locale);
inline std::string SizeText6(std::uint64_t value, const Locale& locale) {
  return SizeTextRight(value, 6, locale);
}
inline std::string SizeText12(std::uint64_t value, const Locale& locale) {
  return SizeTextRight(value, 12, locale);
}

}  // namespace tabulon
