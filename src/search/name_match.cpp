#include "search/name_match.h"

#include <cmath>

#include "platform/locale.h"
#include "search/search_criteria.h"

namespace tabulon {

namespace {

unsigned char Lower(char c) {
  return LowerCaseTable[static_cast<unsigned char>(c)];
}

bool IsContinuation(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

// The length of the character at `i`: a whole UTF-8 sequence, or one byte
// when the bytes there do not form one.
std::size_t CharLength(std::string_view s, std::size_t i) {
  unsigned char lead = static_cast<unsigned char>(s[i]);
  std::size_t n = lead < 0xC2 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 1;
  if (n == 1 || i + n > s.size()) return 1;
  for (std::size_t k = 1; k < n; ++k)
    if (!IsContinuation(static_cast<unsigned char>(s[i + k]))) return 1;
  return n;
}

bool IsPathBreak(char c) {
  return c == '/' || c == ':';
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  if (suffix.size() > text.size()) return false;
  std::string_view tail = text.substr(text.size() - suffix.size());
  for (std::size_t i = 0; i < suffix.size(); ++i)
    if (Lower(tail[i]) != Lower(suffix[i])) return false;
  return true;
}

}  // namespace

std::vector<std::string> SplitList(std::string_view text, const Locale& locale, bool exactRepeats) {
  std::vector<std::string> list;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(';', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view piece = text.substr(start, end - start);
    while (!piece.empty() && static_cast<unsigned char>(piece.front()) <= 32)
      piece.remove_prefix(1);
    while (!piece.empty() && static_cast<unsigned char>(piece.back()) <= 32) piece.remove_suffix(1);
    if (!piece.empty()) {
      bool repeated = false;
      for (const std::string& earlier : list)
        if (exactRepeats ? earlier == piece : locale.CompareCaseInsensitive(earlier, piece) == 0) {
          repeated = true;
          break;
        }
      if (!repeated) list.emplace_back(piece);
    }
    start = end + 1;
  }
  return list;
}

bool ParseSubfolderPrefix(std::string& entry, bool defaultFlag) {
  if (!entry.empty() && (entry[0] == '<' || entry[0] == '>')) {
    bool flag = entry[0] == '>';
    entry.erase(0, 1);
    return flag;
  }
  return defaultFlag;
}

bool MatchWildcard(std::string_view name, std::string_view mask) {
  std::size_t n = 0, m = 0;
  while (n < name.size() && m < mask.size()) {
    char mc = mask[m];
    if (mc == '*') return true;
    if (mc == '?') {
      n += CharLength(name, n);
    } else {
      if (Lower(mc) != Lower(name[n])) return false;
      ++n;
    }
    ++m;
  }
  if (m == mask.size()) return n == name.size();
  while (m < mask.size() && (mask[m] == '*' || mask[m] == '?')) ++m;
  return m == mask.size();
}

bool MatchNameAndExtension(std::string_view fileName, std::string_view mask) {
  std::size_t maskDot = mask.rfind('.');
  if (maskDot == std::string_view::npos) {
    std::size_t dot = fileName.rfind('.');
    return MatchWildcard(fileName.substr(0, dot), mask);
  }
  std::size_t dot = fileName.rfind('.');
  std::string_view base = dot == std::string_view::npos ? fileName : fileName.substr(0, dot);
  std::string_view ext =
      dot == std::string_view::npos ? std::string_view(".") : fileName.substr(dot);
  return MatchWildcard(ext, mask.substr(maskDot)) && MatchWildcard(base, mask.substr(0, maskDot));
}

std::string_view PathDrive(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
  if (path.size() >= 2 && path[0] == '/' && path[1] == '/') {
    // "//server/share": up to the separator after the share name.
    std::size_t server = path.find('/', 2);
    if (server == std::string_view::npos) return path;
    std::size_t share = path.find('/', server + 1);
    return share == std::string_view::npos ? path : path.substr(0, share);
  }
  return {};
}

bool MatchDrive(std::string_view folderDrive, std::string_view maskDrive) {
  if (maskDrive.size() >= 2 && maskDrive[0] == '/' && maskDrive[1] == '/')
    return MatchWildcard(folderDrive, maskDrive);
  if (!maskDrive.empty() && (maskDrive[0] == '*' || maskDrive[0] == '?')) return true;
  return !folderDrive.empty() && !maskDrive.empty() && Lower(folderDrive[0]) == Lower(maskDrive[0]);
}

bool MatchExclusionMask(std::string_view folder, std::string_view fileName, std::string_view mask) {
  std::size_t cut = 0;
  for (std::size_t i = mask.size(); i > 0; --i)
    if (IsPathBreak(mask[i - 1])) {
      cut = i;
      break;
    }
  std::string_view pathPart = mask.substr(0, cut);
  std::string_view namePart = mask.substr(cut);
  if (!pathPart.empty()) {
    std::string_view folderDrive = PathDrive(folder);
    std::string_view maskDrive = PathDrive(pathPart);
    if (!maskDrive.empty()) {
      if (!MatchDrive(folderDrive, maskDrive)) return false;
      pathPart.remove_prefix(maskDrive.size());
    }
    if (!pathPart.empty()) {
      if (folder.size() - folderDrive.size() < pathPart.size()) return false;
      if (!EndsWithIgnoringCase(folder, pathPart)) return false;
    }
  }
  if (namePart.empty()) return true;
  return MatchNameAndExtension(fileName, namePart);
}

DateTimeValue LocalDateTime(FileTime utc, const TimeZone& timeZone) {
  FileTime local = 0;
  CalendarTime fields;
  DateTimeValue value = 0;
  if (!timeZone.UtcToLocal(utc, local) || !FileTimeToCalendar(local, fields) ||
      !EncodeDateTime(fields, value))
    return 0;
  return value;
}

namespace {
// One bound: `cmp` holds for (a, b) when a is within b.
template <typename Cmp>
bool WithinBound(DateTimeValue value, DateTimeValue bound, Cmp cmp) {
  double boundWhole = std::trunc(bound);
  double valueWhole = std::trunc(value);
  if (bound == boundWhole) return cmp(valueWhole, bound);
  if (boundWhole == 0) return cmp(value - valueWhole, bound);
  return cmp(value, bound);
}
}  // namespace

bool InDateRange(DateTimeValue value, DateTimeValue before, DateTimeValue after) {
  bool ok = true;
  if (before != 0) ok = WithinBound(value, before, [](double a, double b) { return a <= b; });
  if (after != 0) ok = WithinBound(value, after, [](double a, double b) { return a >= b; }) && ok;
  return ok;
}

}  // namespace tabulon
