#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "listing/listing_settings.h"
#include "platform/font_catalog.h"

namespace tabulon {
namespace {

TEST(FontCatalog, WithoutAGuiApplicationItIsEmpty) {
  if (QCoreApplication::instance() != nullptr) GTEST_SKIP() << "an application object exists";
  const std::unique_ptr<FontCatalog> fonts = MakeFontCatalog();
  EXPECT_TRUE(fonts->Families().empty());
  EXPECT_EQ(fonts->MatchFamily("Arial"), "");
}

TEST(FontCatalog, ArialResolvesToAMetricCompatibleFamily) {
  std::unique_ptr<QGuiApplication> app;
  if (QCoreApplication::instance() == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "tests_listing";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QGuiApplication>(argc, argv);
  }
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
    GTEST_SKIP() << "another test made a non-GUI application object";
  }
  const std::unique_ptr<FontCatalog> fonts = MakeFontCatalog();
  const std::vector<std::string> families = fonts->Families();
  ASSERT_FALSE(families.empty());
  EXPECT_TRUE(std::is_sorted(
      families.begin(), families.end(), [](const std::string& a, const std::string& b) {
        return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) <
               0;
      }));
  // fonts-liberation2 is installed by the bootstrap.
  ASSERT_NE(std::find(families.begin(), families.end(), "Liberation Sans"), families.end());
  if (std::find(families.begin(), families.end(), "Arial") == families.end()) {
    EXPECT_EQ(fonts->MatchFamily("Arial"), "Liberation Sans");
    EXPECT_EQ(SelectFontName(families, *fonts, "Arial"), "Liberation Sans");
  }
  EXPECT_EQ(SelectFontName(families, *fonts, "Liberation Mono"), "Liberation Mono");
}

}  // namespace
}  // namespace tabulon
