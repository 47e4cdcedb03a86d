#include "details/size_text.h"

#include "details/column_text.h"
#include "platform/locale.h"

namespace tabulon {

std::string SizeText(std::uint64_t value, const Locale& locale) {
  const std::string digits = std::to_string(value);
  const std::string separator = locale.ThousandsSeparator();
  std::string out;
  out.reserve(digits.size() + digits.size() / 3 * separator.size());
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return out;
}

std::string SizeTextRight(std::uint64_t value, std::size_t width, const Locale& locale) {
  return utf8::PadLeft(SizeText(value, locale), width);
}

}  // namespace tabulon
