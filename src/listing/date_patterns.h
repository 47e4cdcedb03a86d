// The job-wide date display patterns, and the date range bounds taken from
// the two date boxes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "listing/listing_options.h"
#include "platform/date_format.h"
#include "platform/file_time.h"
#include "platform/locale.h"

namespace tabulon {

struct DateFormats {
  // "mm/dd/yyyy  h:mm", "dd/mm/yyyy  h:mm" or "yyyy/mm/dd  h:mm", followed by
  // "am/pm" when the locale keeps a 12-hour clock.
  std::string DateTimeFormat;
  // The first ten characters of DateTimeFormat.
  std::string DateOnlyFormat;
};

// Rebuilt whenever the main window becomes active. A short date format that
// starts with anything but M, D or Y gets the month-first pattern.
DateFormats ChooseDateFormats(const Locale& locale);

// The locale's separators, which the patterns' "/" and ":" print as.
DateTimeSeparators LocaleSeparators(const Locale& locale);

// A date box counts as empty when, without its trailing blanks, it is the
// blank mask "  /  /", or when it holds no digit at all (a blank mask of any
// other order or separator).
bool IsDateBoxEmpty(std::string_view text);

// The date typed in a date box, in the locale's date order; false when it is
// not a valid date.
bool ParseDateBox(const Locale& locale, std::string_view text, int& year, int& month, int& day);

// A date box's date at the given time of day as a packed DOS date-time; 0
// when the text is not a date or the date lies outside 1980 to 2099.
DosDateTime PackDateBound(const Locale& locale, std::string_view text, int hour, int minute,
                          int second);

struct DateRangeBounds {
  DosDateTime lower = 0;  // the From date at 00:00:00; 0 when it is not a valid date
  DosDateTime upper = 0;  // the To date at 23:59:59 (23:59:58 packed); 0 likewise
};

// The bounds a job computes: only when chkDateRange is checked and neither
// date box is empty; otherwise none.
std::optional<DateRangeBounds> ComputeDateRangeBounds(const ListingOptions& options,
                                                      const Locale& locale);

}  // namespace tabulon
