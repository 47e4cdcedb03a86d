// Turns the listing options into the criteria of the search component.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "listing/listing_options.h"
#include "search/search_criteria.h"

namespace tabulon {

class Locale;

// The two mask boxes as trimmed; the window shows and later saves them.
struct TrimmedMasks {
  std::string txtFilespec;
  std::string txtExclude;
};

// The exclude box cut at every ";": pieces are kept untrimmed, an empty piece
// between two ";" is kept as an empty mask, and a text ending in ";" gives
// no empty last piece.
std::vector<std::string> CutExcludeMasks(std::string_view text);

// The whole date typed in a date box (00:00 of that day), or 0 when the box
// is empty or holds no date.
DateTimeValue DateBoxValue(std::string_view text, const Locale& locale);

// Fills the criteria for a listing job: masks, attributes by chkHidden, the
// time stamp pair chosen by grpDate when chkDateRange is checked. Location
// is left for each directory.
TrimmedMasks ConfigureSearch(const ListingOptions& options, TSearchCriteria& criteria,
                             const Locale& locale);

}  // namespace tabulon
