#include <cstdlib>

#include "details/detail_sources.h"
#include "details/doc_info.h"
#include "details/image_info.h"
#include "details/mp3_info.h"
#include "details/version_info.h"

namespace tabulon {

namespace {

class RealMp3Source : public Mp3Source {
 public:
  Mp3Texts ReadMp3(const std::string& path) const override { return Mp3Detail(path); }
};

class RealOfficeSource : public OfficeSource {
 public:
  OfficeTexts ReadOffice(const std::string& path) const override { return OfficeSummary(path); }
};

// The user's language, as the C library's locale variables name it.
std::uint16_t UserLanguage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value && *value) return LanguageIdOfLocaleName(value);
  }
  return 0;
}

}  // namespace

DetailSources RealDetailSources() {
  static const PeVersionReader version(UserLanguage());
  static const RealMp3Source mp3;
  static const ImageReader image;
  static const RealOfficeSource office;
  return DetailSources{&version, &mp3, &image, &office};
}

}  // namespace tabulon
