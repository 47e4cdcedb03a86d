#include "platform/date_format.h"

#include <cstdio>

namespace tabulon {
namespace {

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view word) {
  if (text.size() - at < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (Upper(text[at + i]) != Upper(word[i])) return false;
  }
  return true;
}

// True when an "am/pm" or "a/p" field appears outside quotes.
bool HasAmPm(std::string_view pattern) {
  char quote = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (StartsWithNoCase(pattern, i, "am/pm") || StartsWithNoCase(pattern, i, "a/p")) {
      return true;
    }
  }
  return false;
}

void AppendNumber(std::string& out, int value, int digits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", digits, value);
  out += buffer;
}

}  // namespace

std::string FormatDateTime(std::string_view pattern, DateTimeValue value,
                           const DateTimeSeparators& separators) {
  CalendarTime t;
  if (!DecodeDateTime(value, t)) return {};
  const bool twelveHour = HasAmPm(pattern);

  std::string out;
  char lastToken = 0;  // the last field letter, upper-cased
  std::size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    const char token = Upper(c);
    std::size_t run = 1;
    while (i + run < pattern.size() && Upper(pattern[i + run]) == token) ++run;

    if (c == '"' || c == '\'') {
      const std::size_t end = pattern.find(c, i + 1);
      const std::size_t stop = end == std::string_view::npos ? pattern.size() : end;
      out.append(pattern.substr(i + 1, stop - i - 1));
      i = end == std::string_view::npos ? pattern.size() : end + 1;
      continue;
    }
    if (token == 'A') {
      if (StartsWithNoCase(pattern, i, "am/pm")) {
        // Printed in the case the pattern gives: "am/pm" prints "pm".
        out.append(pattern.substr(t.hour < 12 ? i : i + 3, 2));
        i += 5;
        lastToken = 'A';
        continue;
      }
      if (StartsWithNoCase(pattern, i, "a/p")) {
        out += pattern[t.hour < 12 ? i : i + 2];
        i += 3;
        lastToken = 'A';
        continue;
      }
      out += c;
      ++i;
      continue;
    }

    std::size_t used = run >= 2 ? 2 : 1;
    const int width = static_cast<int>(used);
    switch (token) {
      case 'Y':
        if (run <= 2) {
          AppendNumber(out, t.year % 100, 2);
        } else {
          AppendNumber(out, t.year, 4);
        }
        used = run;
        break;
      case 'D':
        AppendNumber(out, t.day, width);
        break;
      case 'M':
        // Right after an hour field "m" means minutes.
        AppendNumber(out, lastToken == 'H' ? t.minute : t.month, width);
        if (lastToken == 'H') {
          lastToken = 'N';
          i += used;
          continue;
        }
        break;
      case 'H': {
        int hour = t.hour;
        if (twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
        AppendNumber(out, hour, width);
        break;
      }
      case 'N':
        AppendNumber(out, t.minute, width);
        break;
      case 'S':
        AppendNumber(out, t.second, width);
        break;
      case 'Z':
        used = run >= 3 ? 3 : 1;
        AppendNumber(out, t.millisecond, static_cast<int>(used));
        break;
      case '/':
        out += separators.date;
        used = 1;
        break;
      case ':':
        out += separators.time;
        used = 1;
        break;
      default:
        out += c;
        i += 1;
        if (token >= 'A' && token <= 'Z') lastToken = token;
        continue;
    }
    if (token >= 'A' && token <= 'Z') lastToken = token;
    i += used;
  }
  return out;
}

}  // namespace tabulon
