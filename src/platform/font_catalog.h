// The fonts the program can print with, and the host's font matching.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tabulon {

class FontCatalog {
 public:
  virtual ~FontCatalog() = default;
  // The font family names, sorted alphabetically (case-insensitively).
  virtual std::vector<std::string> Families() const = 0;
  // The family that font matching picks for a requested name (e.g. a
  // metric-compatible substitute for "Arial"); empty when there is none.
  virtual std::string MatchFamily(const std::string& name) const = 0;
};

// QFontDatabase and QFontInfo. Both need a QGuiApplication: without one the
// catalog is empty and matches nothing.
std::unique_ptr<FontCatalog> MakeFontCatalog();

}  // namespace tabulon
