// The user's locale: date and time conventions, number separators, casing and
// collation.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tabulon {

class Locale {
 public:
  virtual ~Locale() = default;

  // The short date pattern in Qt's syntax, e.g. "M/d/yyyy" or "dd.MM.yyyy".
  virtual std::string ShortDateFormat() const = 0;
  // The long time pattern in Qt's syntax without any time-zone field, e.g.
  // "h:mm:ss AP" or "HH:mm:ss".
  virtual std::string LongTimeFormat() const = 0;
  // True when the locale's time format has an AM/PM field.
  virtual bool Uses12HourClock() const = 0;
  // The first non-letter of the short date format if it is "/", "." or "-",
  // else "/".
  virtual std::string DateSeparator() const = 0;
  // The first non-letter of the time format, else ":".
  virtual std::string TimeSeparator() const = 0;
  virtual std::string ThousandsSeparator() const = 0;  // UTF-8, may be empty
  virtual std::string DecimalPoint() const = 0;        // UTF-8

  // A date rendered with ShortDateFormat, a time with LongTimeFormat.
  virtual std::string FormatShortDate(int year, int month, int day) const = 0;
  virtual std::string FormatLongTime(int hour, int minute, int second) const = 0;

  // Reads a date typed in the order of the short date format (day, month and
  // year as numbers between any separators); false when it is not a date.
  virtual bool ParseShortDate(std::string_view text, int& year, int& month, int& day) const = 0;

  // Casing by the locale's rules. Text that is not valid UTF-8 has only its
  // ASCII letters changed; its other bytes stay as they are.
  virtual std::string ToUpper(std::string_view text) const = 0;
  virtual std::string ToLower(std::string_view text) const = 0;

  // Locale-aware comparisons: negative, zero or positive.
  virtual int CompareCaseInsensitive(std::string_view a, std::string_view b) const = 0;
  virtual int CompareCaseSensitive(std::string_view a, std::string_view b) const = 0;
  // Sort keys: comparing two keys byte by byte (std::string::compare) gives
  // the same order as the comparison above. Build a key once per item.
  virtual std::string SortKeyCaseInsensitive(std::string_view text) const = 0;
  // The same key into `key`, whose storage a caller building many keys reuses.
  virtual void AssignSortKeyCaseInsensitive(std::string_view text, std::string& key) const {
    key = SortKeyCaseInsensitive(text);
  }
  virtual std::string SortKeyCaseSensitive(std::string_view text) const = 0;
};

// The first character of the short date format, upper-cased ("M", "D", "Y");
// 0 when the format is empty.
char ShortDateFirstLetter(const Locale& locale);

// True when the bytes are well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view text);

// Reads a date typed in the field order of a Qt date pattern ("d/M/yyyy",
// "yyyy-MM-dd" ...): exactly three numbers between any separators, leading
// and trailing blanks allowed. A year of one or two digits is taken as
// 1950..2049. False when the text holds no valid date.
bool ParseDateInFieldOrder(std::string_view text, std::string_view qtDatePattern, int& year,
                           int& month, int& day);

// QLocale::system() for formats and separators, ICU collation for the
// locale's name (the same collation QCollator uses).
std::unique_ptr<Locale> MakeSystemLocale();
// The same over a named locale ("de_DE", "en_US"), whatever the user's is.
std::unique_ptr<Locale> MakeLocale(const std::string& name);

}  // namespace tabulon
