#include "search/string_collection.h"

#include "platform/locale.h"

namespace tabulon {

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
