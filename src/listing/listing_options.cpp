#include "listing/listing_options.h"

#include <array>

namespace tabulon {

namespace {

constexpr std::array<const char*, kFontSizeItemCount> kFontSizeItems = {"8", "9", "10", "11", "12"};
constexpr std::array<const char*, kLevelsItemCount> kLevelsItems = {"All", "1", "2", "3", "4", "5",
                                                                    "6",   "7", "8", "9", "10"};
constexpr std::array<const char*, kDateTypeItemCount> kDateTypeItems = {"Modified", "Created",
                                                                        "Accessed"};
constexpr std::array<const char*, kSortFieldItemCount> kSortFieldItems = {
    "Short Name", "Long Name", "Extension", "File Type", "Size", "Date/Time", "Attributes"};

template <std::size_t N>
const char* ItemAt(const std::array<const char*, N>& items, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= N) return nullptr;
  return items[static_cast<std::size_t>(index)];
}

}  // namespace

int ColumnCount(int grpColumnsIndex) {
  switch (grpColumnsIndex) {
    case 1:
      return 2;
    case 2:
      return 4;
    default:
      return 1;
  }
}

const char* FontSizeItem(int index) {
  const char* item = ItemAt(kFontSizeItems, index);
  return item != nullptr ? item : kFontSizeItems[kDefaultFontSizeIndex];
}

const char* LevelsItem(int index) {
  return ItemAt(kLevelsItems, index);
}

const char* DateTypeItem(int index) {
  return ItemAt(kDateTypeItems, index);
}

const char* SortFieldItem(int index) {
  return ItemAt(kSortFieldItems, index);
}

}  // namespace tabulon
