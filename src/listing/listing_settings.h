// Loading and saving the listing options in the per-user settings store, and
// choosing the body font from the fonts on offer.
#pragma once

#include <string>
#include <vector>

#include "listing/listing_options.h"
#include "platform/font_catalog.h"
#include "platform/settings_store.h"

namespace tabulon {

// The font to select in cboFont for a stored name: the stored name when the
// list holds it exactly; else the family that font matching gives for it,
// when the list holds that one ("Arial" finds Liberation Sans); else the third
// name of the list. With fewer than three names the first one is taken, and
// with no names at all the stored name is kept.
std::string SelectFontName(const std::vector<std::string>& fontList, const FontCatalog& fonts,
                           const std::string& storedName);

// Reads every main-window value in table order, applying the rules of the
// controls: a missing, negative or wrong-kind value gives the default, a
// radio index above range the last item, a FontSize outside the five items
// "10", Levels above 10 the last item, Tree only together with DirOnly,
// Portrait whenever more than one column is chosen. Leaves the export panel
// options and the page header text as they are.
void LoadListingOptions(const SettingsStore& store, const FontCatalog& fonts,
                        ListingOptions& options);

// Reads the six export panel values, with the same rules.
void LoadExportOptions(const SettingsStore& store, ExportPanelOptions& panel);

// Writes every value of both tables, then flushes the store. False (with the
// reason in `error`) when the store could not be written.
bool SaveListingOptions(const ListingOptions& options, SettingsStore& store,
                        std::string* error = nullptr);

}  // namespace tabulon
