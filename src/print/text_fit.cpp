#include "print/text_fit.h"

#include "search/string_collection.h"

namespace tabulon {

std::string_view FitToWidth(std::string_view text, int width, const WidthOf& widthOf) {
  if (widthOf(text) <= width) return text;
  for (std::size_t chars = CharCount(text); chars > 0; --chars) {
    std::string_view part = LeftChars(text, chars - 1);
    if (part.empty() || widthOf(part) <= width) return part;
  }
  return text.substr(0, 0);
}

std::string_view RestOfText(std::string_view text, std::size_t prefixBytes, std::size_t maxChars) {
  if (prefixBytes >= text.size()) return text.substr(text.size());
  return LeftChars(text.substr(prefixBytes), maxChars);
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
