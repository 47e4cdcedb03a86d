// A locale whose every value the test sets. The defaults are those of
// en-US. Casing, comparisons and sort keys are ASCII-only and
// case-insensitive ones fold ASCII letters, so results never depend on the
// machine's locale.
#pragma once

#include <string>
#include <string_view>

#include "platform/locale.h"

namespace tabulon::testing {

class FakeLocale : public Locale {
 public:
  std::string shortDateFormat = "M/d/yyyy";
  std::string longTimeFormat = "h:mm:ss AP";
  bool uses12HourClock = true;
  std::string dateSeparator = "/";
  std::string timeSeparator = ":";
  std::string thousandsSeparator = ",";
  std::string decimalPoint = ".";

  std::string ShortDateFormat() const override { return shortDateFormat; }
  std::string LongTimeFormat() const override { return longTimeFormat; }
  bool Uses12HourClock() const override { return uses12HourClock; }
  std::string DateSeparator() const override { return dateSeparator; }
  std::string TimeSeparator() const override { return timeSeparator; }
  std::string ThousandsSeparator() const override { return thousandsSeparator; }
  std::string DecimalPoint() const override { return decimalPoint; }

  // Qt pattern letters d dd M MM yy yyyy, and h hh H HH m mm s ss AP ap A a;
  // text in single quotes and other characters copied.
  std::string FormatShortDate(int year, int month, int day) const override;
  std::string FormatLongTime(int hour, int minute, int second) const override;
  bool ParseShortDate(std::string_view text, int& year, int& month, int& day) const override;

  std::string ToUpper(std::string_view text) const override;
  std::string ToLower(std::string_view text) const override;
  int CompareCaseInsensitive(std::string_view a, std::string_view b) const override;
  int CompareCaseSensitive(std::string_view a, std::string_view b) const override;
  std::string SortKeyCaseInsensitive(std::string_view text) const override;
  std::string SortKeyCaseSensitive(std::string_view text) const override;
};

}  // namespace tabulon::testing
