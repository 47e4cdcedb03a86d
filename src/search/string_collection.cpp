#include "search/string_collection.h"

#include "platform/locale.h"

namespace tabulon {
namespace {

// The byte length of the character starting at `i`: a well-formed UTF-8
// sequence, or 1 for any byte that does not start one.
std::size_t CharLength(std::string_view text, std::size_t i) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  if (b0 < 0x80) return 1;
  std::size_t length = 0;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3;
    if (b0 == 0xE0) lo = 0xA0;  // no overlong forms
    if (b0 == 0xED) hi = 0x9F;  // no surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
  } else {
    return 1;
  }
  if (i + length > text.size()) return 1;
  for (std::size_t k = 1; k < length; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if (k == 1 ? (b < lo || b > hi) : (b < 0x80 || b > 0xBF)) return 1;
  }
  return length;
}

// The byte offset after `count` characters (the size when there are fewer).
std::size_t ByteOffset(std::string_view text, std::size_t count) {
  std::size_t i = 0;
  while (count > 0 && i < text.size()) {
    i += CharLength(text, i);
    --count;
  }
  return i;
}

}  // namespace

std::size_t CharCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) ++count;
  return count;
}

std::string_view LeftChars(std::string_view text, std::size_t count) {
  return text.substr(0, ByteOffset(text, count));
}

std::string_view CopyChars(std::string_view text, std::size_t start, std::size_t count) {
  const std::size_t from = ByteOffset(text, start == 0 ? 0 : start - 1);
  return LeftChars(text.substr(from), count);
}

std::string PadRight(std::string_view text, std::size_t width) {
  std::string out(text);
  const std::size_t n = CharCount(text);
  if (n < width) out.append(width - n, ' ');
  return out;
}

std::string PadLeft(std::string_view text, std::size_t width) {
  const std::size_t n = CharCount(text);
  std::string out(n < width ? width - n : 0, ' ');
  out.append(text);
  return out;
}

std::string FitRight(std::string_view text, std::size_t width) {
  return PadRight(LeftChars(text, width), width);
}

std::string TStringCollection::UpperText(std::string_view text) const {
  return locale_.ToUpper(text);
}

std::size_t TStringCollection::FindText(std::string_view part, std::string_view text,
                                        bool ignoreCase, std::size_t start) const {
  if (part.empty()) return 0;
  std::string upperPart, upperText;
  if (ignoreCase) {
    upperPart = UpperText(part);
    upperText = UpperText(text);
    part = upperPart;
    text = upperText;
  }
  const std::size_t from = start == 0 ? 0 : start - 1;
  if (from >= text.size()) return 0;
  const std::size_t at = text.find(part, from);
  return at == std::string_view::npos ? 0 : at + 1;
}

std::string TStringCollection::RepeatChar(char c, int n) {
  return n <= 0 ? std::string() : std::string(static_cast<std::size_t>(n), c);
}

std::string TStringCollection::Replicate(std::string_view text, int n) {
  std::string out;
  if (n <= 0) return out;
  out.reserve(text.size() * static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) out.append(text);
  return out;
}

std::string TStringCollection::ReplaceAll(std::string_view find, std::string_view replace,
                                          std::string_view text) {
  if (find.empty()) return std::string(text);
  std::string out;
  std::string_view rest = text;
  for (;;) {
    const std::size_t at = rest.find(find);
    if (at == std::string_view::npos) break;
    out.append(rest.substr(0, at));
    out.append(replace);
    rest = LeftChars(rest.substr(at + find.size()), kReplaceAllRestLimit);
  }
  out.append(rest);
  return out;
}

}  // namespace tabulon
