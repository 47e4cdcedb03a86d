#include "platform/font_catalog.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QString>
#include <QStringList>
#include <algorithm>

namespace tabulon {

namespace {

bool HaveGuiApplication() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

class QtFontCatalog : public FontCatalog {
 public:
  std::vector<std::string> Families() const override {
    std::vector<std::string> names;
    if (!HaveGuiApplication()) return names;
    QStringList families = QFontDatabase::families();
    // Case-insensitive, as a sorted list box orders them; ties by code point
    // so that the order never depends on the database's own.
    std::sort(families.begin(), families.end(), [](const QString& a, const QString& b) {
      const int order = QString::compare(a, b, Qt::CaseInsensitive);
      return order != 0 ? order < 0 : a < b;
    });
    families.removeDuplicates();
    names.reserve(static_cast<std::size_t>(families.size()));
    for (const QString& family : families) names.push_back(family.toStdString());
    return names;
  }

  std::string MatchFamily(const std::string& name) const override {
    if (!HaveGuiApplication() || name.empty()) return {};
    const QFont font(QString::fromStdString(name));
    return QFontInfo(font).family().toStdString();
  }
};

}  // namespace

std::unique_ptr<FontCatalog> MakeFontCatalog() {
  return std::make_unique<QtFontCatalog>();
}

}  // namespace tabulon
