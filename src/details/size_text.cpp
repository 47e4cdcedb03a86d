#include "details/size_text.h"

#include "details/column_text.h"
#include "platform/code_points.h"
#include "platform/locale.h"

namespace tabulon {

namespace {

// The digits of a value into a buffer that holds any 64-bit value; returns
// their count.
std::size_t Digits(std::uint64_t value, char (&digits)[20]) {
  char reversed[20];
  std::size_t count = 0;
  do {
    reversed[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (std::size_t i = 0; i < count; ++i) digits[i] = reversed[count - 1 - i];
  return count;
}

void AppendGrouped(std::string& out, const char* digits, std::size_t count,
                   std::string_view separator) {
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0 && (count - i) % 3 == 0) out.append(separator);
    out += digits[i];
  }
}

}  // namespace

std::string SizeText(std::uint64_t value, const Locale& locale) {
  char digits[20];
  const std::size_t count = Digits(value, digits);
  const std::string separator = locale.ThousandsSeparator();
  std::string out;
  out.reserve(count + count / 3 * separator.size());
  AppendGrouped(out, digits, count, separator);
  return out;
}

std::string SizeTextRight(std::uint64_t value, std::size_t width, const Locale& locale) {
  std::string out;
  AppendSizeTextRight(out, value, width, locale);
  return out;
}

void AppendSizeTextRight(std::string& out, std::uint64_t value, std::size_t width,
                         const Locale& locale) {
  char digits[20];
  const std::size_t count = Digits(value, digits);
  const std::string separator = locale.ThousandsSeparator();
  const std::size_t characters = count + (count - 1) / 3 * utf8::Count(separator);
  if (characters < width) out.append(width - characters, ' ');
  AppendGrouped(out, digits, count, separator);
}

}  // namespace tabulon
