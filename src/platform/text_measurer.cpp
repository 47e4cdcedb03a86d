#include "platform/text_measurer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QString>
#include <cmath>
#include <functional>
#include <map>
#include <tuple>
#include <unordered_map>

namespace tabulon {
namespace {

// The renderer builds its fonts the same way, so what is measured here is
// what lands on the page.
QFont ToQFont(const MeasureFont& font) {
  QFont qfont(QString::fromStdString(font.family));
  qfont.setPixelSize(font.pixelSize > 0 ? font.pixelSize : 1);
  qfont.setBold(font.bold);
  qfont.setItalic(font.italic);
  qfont.setHintingPreference(QFont::PreferNoHinting);
  qfont.setKerning(false);
  return qfont;
}

struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const {
    return std::hash<std::string_view>()(text);
  }
};

class QtTextMeasurer : public TextMeasurer {
 public:
  int TextWidth(const MeasureFont& font, std::string_view text) const override {
    Entry& entry = Lookup(font);
    auto found = entry.widths.find(text);
    if (found != entry.widths.end()) return found->second;
    // Fitting measures many prefixes of many names: keep the cache bounded.
    if (entry.widths.size() >= kMaxCachedWidths) entry.widths.clear();
    const qreal advance =
        entry.metrics.horizontalAdvance(QString::fromUtf8(text.data(), qsizetype(text.size())));
    const int width = int(std::lround(advance));
    entry.widths.emplace(std::string(text), width);
    return width;
  }

  int TextHeight(const MeasureFont& font, std::string_view) const override {
    return Lookup(font).height;
  }

 private:
  static constexpr std::size_t kMaxCachedWidths = 20000;

  struct Entry {
    explicit Entry(const QFont& font) : metrics(font) {
      height = int(std::lround(metrics.ascent() + metrics.descent()));
    }
    QFontMetricsF metrics;
    int height = 0;
    std::unordered_map<std::string, int, TextHash, std::equal_to<>> widths;
  };

  Entry& Lookup(const MeasureFont& font) const {
    // A listing measures in one font for long stretches.
    if (last_ != nullptr && lastFont_ == font) return *last_;
    auto key = std::make_tuple(font.family, font.pixelSize, font.bold, font.italic);
    auto found = fonts_.find(key);
    if (found == fonts_.end()) found = fonts_.emplace(key, Entry(ToQFont(font))).first;
    lastFont_ = font;
    last_ = &found->second;
    return found->second;
  }

  mutable std::map<std::tuple<std::string, int, bool, bool>, Entry> fonts_;
  mutable MeasureFont lastFont_;
  mutable Entry* last_ = nullptr;
};

}  // namespace

std::unique_ptr<TextMeasurer> MakeTextMeasurer() {
  return std::make_unique<QtTextMeasurer>();
}

}  // namespace tabulon
