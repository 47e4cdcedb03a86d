#include "listing/date_patterns.h"

#include <algorithm>

namespace tabulon {

namespace {

constexpr int kFirstPackedYear = 1980;
constexpr int kLastPackedYear = 2099;

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

}  // namespace

DateFormats ChooseDateFormats(const Locale& locale) {
  DateFormats formats;
  switch (ShortDateFirstLetter(locale)) {
    case 'D':
      formats.DateTimeFormat = "dd/mm/yyyy  h:mm";
      break;
    case 'Y':
      formats.DateTimeFormat = "yyyy/mm/dd  h:mm";
      break;
    default:
      formats.DateTimeFormat = "mm/dd/yyyy  h:mm";
      break;
  }
  if (locale.Uses12HourClock()) formats.DateTimeFormat += "am/pm";
  formats.DateOnlyFormat = formats.DateTimeFormat.substr(0, 10);
  return formats;
}

DateTimeSeparators LocaleSeparators(const Locale& locale) {
  DateTimeSeparators separators;
  separators.date = locale.DateSeparator();
  separators.time = locale.TimeSeparator();
  return separators;
}

bool IsDateBoxEmpty(std::string_view text) {
  const auto end = text.find_last_not_of(' ');
  const std::string_view trimmed =
      end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
  if (trimmed == "  /  /") return true;
  return std::none_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool ParseDateBox(const Locale& locale, std::string_view text, int& year, int& month, int& day) {
  const std::string_view trimmed = TrimBlanks(text);
  if (trimmed.empty()) return false;
  int y = 0, m = 0, d = 0;
  if (!locale.ParseShortDate(trimmed, y, m, d)) return false;
  // The calendar decides what a valid date is (no 30 February).
  CalendarTime calendar;
  calendar.year = y;
  calendar.month = m;
  calendar.day = d;
  FileTime unused = 0;
  if (!CalendarToFileTime(calendar, unused)) return false;
  year = y;
  month = m;
  day = d;
  return true;
}

DosDateTime PackDateBound(const Locale& locale, std::string_view text, int hour, int minute,
                          int second) {
  int year = 0, month = 0, day = 0;
  if (!ParseDateBox(locale, text, year, month, day)) return 0;
  if (year < kFirstPackedYear || year > kLastPackedYear) return 0;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) return 0;
  const auto date = static_cast<DosDateTime>(((year - kFirstPackedYear) << 9) | (month << 5) | day);
  const auto time = static_cast<DosDateTime>((hour << 11) | (minute << 5) | (second / 2));
  return (date << 16) | time;
}

std::optional<DateRangeBounds> ComputeDateRangeBounds(const ListingOptions& options,
                                                      const Locale& locale) {
  if (!options.chkDateRange || IsDateBoxEmpty(options.txtFromDate) ||
      IsDateBoxEmpty(options.txtToDate)) {
    return std::nullopt;
  }
  DateRangeBounds bounds;
  bounds.lower = PackDateBound(locale, options.txtFromDate, 0, 0, 0);
  bounds.upper = PackDateBound(locale, options.txtToDate, 23, 59, 59);
  return bounds;
}

}  // namespace tabulon
