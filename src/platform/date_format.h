// Date-time formatting with the listing's patterns.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_time.h"

namespace tabulon {

struct DateTimeSeparators {
  std::string date = "/";
  std::string time = ":";
};

// Formats a date-time value with a pattern of this subset:
//   d dd m mm yy yyyy h hh n nn s ss am/pm, "/" and ":" as the separators,
//   "mm"/"m" right after an "h" or "hh" (and its ":") meaning minutes,
//   text in double or single quotes copied as it stands, any other character
//   copied.
// Covers "mm/dd/yyyy  h:mm", "dd/mm/yyyy  h:mmam/pm", "yyyymmddhhnnss" and
// the like. "am/pm" switches the hours to the 12-hour clock and prints "am"
// or "pm" in lower case.
std::string FormatDateTime(std::string_view pattern, DateTimeValue value,
                           const DateTimeSeparators& separators = {});

// A pattern read once, for formatting many values: Format gives exactly what
// FormatDateTime gives for the same pattern.
class CompiledDateFormat {
 public:
  explicit CompiledDateFormat(std::string_view pattern = {});

  std::string Format(DateTimeValue value, const DateTimeSeparators& separators = {}) const;
  // Appends the text to `out`; nothing for a value that cannot be decoded.
  void AppendTo(std::string& out, const CalendarTime& time,
                const DateTimeSeparators& separators) const;

 private:
  enum class Field {
    kText,
    kYear2,
    kYear4,
    kDay,
    kMonth,
    kHour,
    kMinute,
    kSecond,
    kMilli,
    kAmPm,
    kDateSeparator,
    kTimeSeparator
  };
  struct Piece {
    Field field = Field::kText;
    int width = 0;
    std::string text;  // kText; for kAmPm the morning text
    std::string pm;    // kAmPm: the afternoon text
  };
  std::vector<Piece> pieces_;
  bool twelveHour_ = false;
};

}  // namespace tabulon
