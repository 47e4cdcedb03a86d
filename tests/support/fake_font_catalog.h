// A FontCatalog for tests: a fixed family list and a table of what font
// matching gives for a requested name.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/font_catalog.h"

namespace tabulon::testing {

class FakeFontCatalog : public FontCatalog {
 public:
  FakeFontCatalog() = default;
  // `families` must already be sorted, as the real catalog gives them.
  explicit FakeFontCatalog(std::vector<std::string> families,
                           std::map<std::string, std::string> matches = {})
      : families_(std::move(families)), matches_(std::move(matches)) {}

  std::vector<std::string> Families() const override { return families_; }

  std::string MatchFamily(const std::string& name) const override {
    const auto it = matches_.find(name);
    return it != matches_.end() ? it->second : std::string{};
  }

 private:
  std::vector<std::string> families_;
  std::map<std::string, std::string> matches_;
};

}  // namespace tabulon::testing
