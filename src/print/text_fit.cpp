#include "print/text_fit.h"

namespace tabulon {
namespace {

// The length of the valid UTF-8 sequence starting at `i`, or 1 when the bytes
// there do not form one.
std::size_t SequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned min = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    min = 0x10000;
  } else {
    return 1;
  }
  if (i + length > text.size()) return 1;
  unsigned value = lead & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 1;
    value = (value << 6) | (byte(i + k) & 0x3F);
  }
  if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 1;
  return length;
}

}  // namespace

std::vector<std::size_t> CodePointLengths(std::string_view text) {
  std::vector<std::size_t> lengths;
  lengths.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = SequenceLength(text, i);
    lengths.push_back(length);
    i += length;
  }
  return lengths;
}

std::string_view FitToWidth(std::string_view text, int width, const WidthOf& widthOf) {
  if (widthOf(text) <= width) return text;
  std::vector<std::size_t> lengths = CodePointLengths(text);
  std::size_t end = text.size();
  while (!lengths.empty()) {
    end -= lengths.back();
    lengths.pop_back();
    std::string_view part = text.substr(0, end);
    if (part.empty() || widthOf(part) <= width) return part;
  }
  return text.substr(0, 0);
}

std::string_view RestOfText(std::string_view text, std::size_t prefixBytes, std::size_t maxChars) {
  if (prefixBytes >= text.size()) return text.substr(text.size());
  std::string_view rest = text.substr(prefixBytes);
  std::size_t bytes = 0;
  std::size_t chars = 0;
  while (bytes < rest.size() && chars < maxChars) {
    bytes += SequenceLength(rest, bytes);
    ++chars;
  }
  return rest.substr(0, bytes);
}

TwoLines SplitToWidth(std::string_view text, int width, const WidthOf& widthOf, bool fitSecond) {
  TwoLines lines;
  lines.first = FitToWidth(text, width, widthOf);
  if (lines.first.size() == text.size()) return lines;
  lines.wrapped = true;
  lines.second = RestOfText(text, lines.first.size());
  if (fitSecond) lines.second = FitToWidth(lines.second, width, widthOf);
  return lines;
}

}  // namespace tabulon
