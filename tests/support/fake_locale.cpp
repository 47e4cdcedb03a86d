#include "support/fake_locale.h"

#include <cstdio>

namespace tabulon::testing {
namespace {

std::string Number(int value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
  return buffer;
}

struct Fields {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// A small renderer of Qt's date-time pattern letters.
std::string Render(std::string_view pattern, const Fields& f) {
  bool twelveHour = false;
  bool quoted = false;
  for (char c : pattern) {
    if (c == '\'') quoted = !quoted;
    if (!quoted && (c == 'a' || c == 'A')) twelveHour = true;
  }
  std::string out;
  std::size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    if (c == '\'') {
      const std::size_t end = pattern.find('\'', i + 1);
      if (end == i + 1) {
        out += '\'';  // '' is a quote
      } else {
        const std::size_t stop = end == std::string_view::npos ? pattern.size() : end;
        out.append(pattern.substr(i + 1, stop - i - 1));
      }
      i = end == std::string_view::npos ? pattern.size() : end + 1;
      continue;
    }
    if (c == 'A' || c == 'a') {
      const bool upper = c == 'A';
      out += f.hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
      const char p = upper ? 'P' : 'p';
      i += (i + 1 < pattern.size() && pattern[i + 1] == p) ? 2 : 1;
      continue;
    }
    std::size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    const int width = run >= 2 ? 2 : 1;
    std::size_t used = run >= 2 ? 2 : 1;
    switch (c) {
      case 'd':
        out += Number(f.day, width);
        break;
      case 'M':
        out += Number(f.month, width);
        break;
      case 'y':
        out += run >= 4 ? Number(f.year, 4) : Number(f.year % 100, 2);
        used = run;
        break;
      case 'H':
        out += Number(f.hour, width);
        break;
      case 'h': {
        int hour = f.hour;
        if (twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
        out += Number(hour, width);
        break;
      }
      case 'm':
        out += Number(f.minute, width);
        break;
      case 's':
        out += Number(f.second, width);
        break;
      default:
        out.append(run, c);
        used = run;
        break;
    }
    i += used;
  }
  return out;
}

int Sign(int value) {
  return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

std::string FoldAscii(std::string_view text, bool upper) {
  std::string out(text);
  for (char& c : out) {
    if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace

std::string FakeLocale::FormatShortDate(int year, int month, int day) const {
  return Render(shortDateFormat, Fields{year, month, day, 0, 0, 0});
}

std::string FakeLocale::FormatLongTime(int hour, int minute, int second) const {
  return Render(longTimeFormat, Fields{0, 0, 0, hour, minute, second});
}

bool FakeLocale::ParseShortDate(std::string_view text, int& year, int& month, int& day) const {
  return ParseDateInFieldOrder(text, shortDateFormat, year, month, day);
}

std::string FakeLocale::ToUpper(std::string_view text) const {
  return FoldAscii(text, true);
}
std::string FakeLocale::ToLower(std::string_view text) const {
  return FoldAscii(text, false);
}

int FakeLocale::CompareCaseInsensitive(std::string_view a, std::string_view b) const {
  return Sign(FoldAscii(a, false).compare(FoldAscii(b, false)));
}

int FakeLocale::CompareCaseSensitive(std::string_view a, std::string_view b) const {
  return Sign(a.compare(b));
}

std::string FakeLocale::SortKeyCaseInsensitive(std::string_view text) const {
  return FoldAscii(text, false);
}

std::string FakeLocale::SortKeyCaseSensitive(std::string_view text) const {
  return std::string(text);
}

}  // namespace tabulon::testing
