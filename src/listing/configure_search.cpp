#include "listing/configure_search.h"

#include "listing/date_patterns.h"
#include "platform/locale.h"

namespace tabulon {
namespace {

// Trims spaces and control characters from both ends.
std::string Trim(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  return std::string(text.substr(b, e - b));
}

}  // namespace

std::vector<std::string> CutExcludeMasks(std::string_view text) {
  std::vector<std::string> pieces;
  std::size_t position = 0;
  while (position < text.size()) {
    const std::size_t semicolon = text.find(';', position);
    if (semicolon == std::string_view::npos) {
      pieces.emplace_back(text.substr(position));
      break;
    }
    pieces.emplace_back(text.substr(position, semicolon - position));
    position = semicolon + 1;
  }
  return pieces;
}

DateTimeValue DateBoxValue(std::string_view text, const Locale& locale) {
  if (IsDateBoxEmpty(text)) return 0;
  CalendarTime date;
  if (!locale.ParseShortDate(text, date.year, date.month, date.day)) return 0;
  DateTimeValue value = 0;
  return EncodeDateTime(date, value) ? value : 0;
}

TrimmedMasks ConfigureSearch(const ListingOptions& options, TSearchCriteria& criteria,
                             const Locale& locale) {
  TrimmedMasks masks{Trim(options.txtFilespec), Trim(options.txtExclude)};

  TFileCriteria& files = criteria.Files();
  files.SetFileName(masks.txtFilespec);
  files.SetExcluded(CutExcludeMasks(masks.txtExclude));
  files.SetMaxLevel(static_cast<std::uint16_t>(options.cboLevels < 0 ? 0 : options.cboLevels));
  // One folder per search; the job's depth limit is applied by its
  // directory list.
  files.SetSubfolders(false);

  if (options.chkHidden) {
    criteria.Attribute().SetAttributes({ffArchive, ffReadonly, ffHidden, ffSystem});
  } else {
    criteria.Attribute().SetAttributes({ffArchive, ffReadonly});
  }
  criteria.Attribute().SetExactMatch(false);

  TDateTimeCriteria& stamps = criteria.TimeStamp();
  stamps.SetCreatedAfter(0);
  stamps.SetCreatedBefore(0);
  stamps.SetModifiedAfter(0);
  stamps.SetModifiedBefore(0);
  stamps.SetAccessedAfter(0);
  stamps.SetAccessedBefore(0);
  if (options.chkDateRange) {
    const DateTimeValue after = DateBoxValue(options.txtFromDate, locale);
    const DateTimeValue before = DateBoxValue(options.txtToDate, locale);
    switch (options.grpDate) {
      case 1:
        stamps.SetCreatedAfter(after);
        stamps.SetCreatedBefore(before);
        break;
      case 2:
        stamps.SetAccessedAfter(after);
        stamps.SetAccessedBefore(before);
        break;
      default:
        stamps.SetModifiedAfter(after);
        stamps.SetModifiedBefore(before);
        break;
    }
  }

  criteria.Size().SetMin(0);
  criteria.Size().SetMax(0);
  criteria.Content().SetPhrase("");
  return masks;
}

}  // namespace tabulon
