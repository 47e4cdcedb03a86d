// The version resource of a PE file (32- or 64-bit): the strings of its
// StringFileInfo, as the version detail shows them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "details/byte_source.h"
#include "details/detail_sources.h"

namespace tabulon {

constexpr std::uint16_t kLanguageUsEnglish = 0x0409;

// CompanyName, FileDescription and FileVersion. The string table of the
// user's language is taken when there is one, else US English, else the
// first. All empty for a file without a version resource.
VersionStrings ReadVersionInfo(const ByteSource& source, std::uint16_t userLanguage);
VersionStrings ReadVersionInfoFile(const std::string& fileName, std::uint16_t userLanguage);

// The Windows language identifier for a POSIX locale name such as
// "de_DE.UTF-8"; 0 when unknown.
std::uint16_t LanguageIdOfLocaleName(std::string_view name);

class PeVersionReader : public VersionSource {
 public:
  explicit PeVersionReader(std::uint16_t userLanguage) : userLanguage_(userLanguage) {}
  VersionStrings ReadVersion(const std::string& path) const override {
    return ReadVersionInfoFile(path, userLanguage_);
  }

 private:
  std::uint16_t userLanguage_;
};

}  // namespace tabulon
