#include "platform/code_points.h"

namespace tabulon::utf8 {

std::size_t CharLength(std::string_view text, std::size_t i) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  if (b0 < 0x80) return 1;
  std::size_t length = 0;
  unsigned char lo = 0x80, hi = 0xBF;
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

namespace {

std::size_t ByteOffset(std::string_view text, std::size_t count) {
  std::size_t i = 0;
  while (count > 0 && i < text.size()) {
    i += static_cast<unsigned char>(text[i]) < 0x80 ? 1 : CharLength(text, i);
    --count;
  }
  return i;
}

}  // namespace

std::size_t Count(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size();) {
    // Runs of ASCII, most names, count a byte each.
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
    } else {
      i += CharLength(text, i);
    }
    ++count;
  }
  return count;
}

std::string_view Left(std::string_view text, std::size_t count) {
  return text.substr(0, ByteOffset(text, count));
}

std::string_view Copy(std::string_view text, std::size_t start, std::size_t count) {
  return Left(text.substr(ByteOffset(text, start == 0 ? 0 : start - 1)), count);
}

void AppendPadRight(std::string& out, std::string_view text, std::size_t width) {
  out.append(text);
  const std::size_t n = Count(text);
  if (n < width) out.append(width - n, ' ');
}

void AppendPadLeft(std::string& out, std::string_view text, std::size_t width) {
  const std::size_t n = Count(text);
  if (n < width) out.append(width - n, ' ');
  out.append(text);
}

void AppendFit(std::string& out, std::string_view text, std::size_t width) {
  AppendPadRight(out, Left(text, width), width);
}

std::string PadRight(std::string_view text, std::size_t width) {
  std::string out;
  AppendPadRight(out, text, width);
  return out;
}

std::string PadLeft(std::string_view text, std::size_t width) {
  std::string out;
  AppendPadLeft(out, text, width);
  return out;
}

std::string Fit(std::string_view text, std::size_t width) {
  std::string out;
  AppendFit(out, text, width);
  return out;
}

}  // namespace tabulon::utf8
