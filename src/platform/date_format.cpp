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
  if (value < 0) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", digits, value);
    out += buffer;
    return;
  }
  char buffer[16];
  int length = 0;
  do {
    buffer[length++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (int pad = length; pad < digits; ++pad) out += '0';
  while (length > 0) out += buffer[--length];
}

}  // namespace

CompiledDateFormat::CompiledDateFormat(std::string_view pattern) : twelveHour_(HasAmPm(pattern)) {
  auto text = [this](std::string_view piece) {
    if (!pieces_.empty() && pieces_.back().field == Field::kText) {
      pieces_.back().text.append(piece);
    } else {
      pieces_.push_back(Piece{Field::kText, 0, std::string(piece), {}});
    }
  };
  auto field = [this](Field kind, int width) { pieces_.push_back(Piece{kind, width, {}, {}}); };

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
      text(pattern.substr(i + 1, stop - i - 1));
      i = end == std::string_view::npos ? pattern.size() : end + 1;
      continue;
    }
    if (token == 'A') {
      if (StartsWithNoCase(pattern, i, "am/pm")) {
        // Printed in the case the pattern gives: "am/pm" prints "pm".
        pieces_.push_back(Piece{Field::kAmPm, 0, std::string(pattern.substr(i, 2)),
                                std::string(pattern.substr(i + 3, 2))});
        i += 5;
        lastToken = 'A';
        continue;
      }
      if (StartsWithNoCase(pattern, i, "a/p")) {
        pieces_.push_back(
            Piece{Field::kAmPm, 0, std::string(1, pattern[i]), std::string(1, pattern[i + 2])});
        i += 3;
        lastToken = 'A';
        continue;
      }
      text(std::string_view(&pattern[i], 1));
      ++i;
      continue;
    }

    std::size_t used = run >= 2 ? 2 : 1;
    const int width = static_cast<int>(used);
    switch (token) {
      case 'Y':
        if (run <= 2) {
          field(Field::kYear2, 2);
        } else {
          field(Field::kYear4, 4);
        }
        used = run;
        break;
      case 'D':
        field(Field::kDay, width);
        break;
      case 'M':
        // Right after an hour field "m" means minutes.
        if (lastToken == 'H') {
          field(Field::kMinute, width);
          lastToken = 'N';
          i += used;
          continue;
        }
        field(Field::kMonth, width);
        break;
      case 'H':
        field(Field::kHour, width);
        break;
      case 'N':
        field(Field::kMinute, width);
        break;
      case 'S':
        field(Field::kSecond, width);
        break;
      case 'Z':
        used = run >= 3 ? 3 : 1;
        field(Field::kMilli, static_cast<int>(used));
        break;
      case '/':
        field(Field::kDateSeparator, 0);
        used = 1;
        break;
      case ':':
        field(Field::kTimeSeparator, 0);
        used = 1;
        break;
      default:
        text(std::string_view(&pattern[i], 1));
        i += 1;
        if (token >= 'A' && token <= 'Z') lastToken = token;
        continue;
    }
    if (token >= 'A' && token <= 'Z') lastToken = token;
    i += used;
  }
}

void CompiledDateFormat::AppendTo(std::string& out, const CalendarTime& t,
                                  const DateTimeSeparators& separators) const {
  for (const Piece& piece : pieces_) {
    switch (piece.field) {
      case Field::kText:
        out += piece.text;
        break;
      case Field::kYear2:
        AppendNumber(out, t.year % 100, 2);
        break;
      case Field::kYear4:
        AppendNumber(out, t.year, 4);
        break;
      case Field::kDay:
        AppendNumber(out, t.day, piece.width);
        break;
      case Field::kMonth:
        AppendNumber(out, t.month, piece.width);
        break;
      case Field::kHour: {
        int hour = t.hour;
        if (twelveHour_) hour = hour % 12 == 0 ? 12 : hour % 12;
        AppendNumber(out, hour, piece.width);
        break;
      }
      case Field::kMinute:
        AppendNumber(out, t.minute, piece.width);
        break;
      case Field::kSecond:
        AppendNumber(out, t.second, piece.width);
        break;
      case Field::kMilli:
        AppendNumber(out, t.millisecond, piece.width);
        break;
      case Field::kAmPm:
        out += t.hour < 12 ? piece.text : piece.pm;
        break;
      case Field::kDateSeparator:
        out += separators.date;
        break;
      case Field::kTimeSeparator:
        out += separators.time;
        break;
    }
  }
}

std::string CompiledDateFormat::Format(DateTimeValue value,
                                       const DateTimeSeparators& separators) const {
  CalendarTime t;
  if (!DecodeDateTime(value, t)) return {};
  std::string out;
  AppendTo(out, t, separators);
  return out;
}

std::string FormatDateTime(std::string_view pattern, DateTimeValue value,
                           const DateTimeSeparators& separators) {
  CalendarTime t;
  if (!DecodeDateTime(value, t)) return {};
  std::string out;
  CompiledDateFormat(pattern).AppendTo(out, t, separators);
  return out;
}

}  // namespace tabulon
