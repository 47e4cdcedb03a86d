#include "platform/text_measurer.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cstdlib>

namespace tabulon {
namespace {

void EnsureGuiApplication() {
  if (qGuiApp != nullptr) return;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "tests_preview";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);  // lives as long as the test program
}

TEST(TextMeasurerTest, MeasuresAtThePixelSize) {
  EnsureGuiApplication();
  const auto measurer = MakeTextMeasurer();
  const MeasureFont arial{"Arial", 83, false, false};
  const MeasureFont arialBold{"Arial", 83, true, false};
  const MeasureFont twice{"Arial", 166, false, false};

  // Liberation Sans stands in for Arial with the same metrics: "M" is 0.833
  // em wide, a line 0.905 + 0.212 em high.
  const int m = measurer->TextWidth(arial, "M");
  EXPECT_NEAR(m, 0.833 * 83, 1.5);
  EXPECT_NEAR(measurer->TextHeight(arial, "M"), (0.905 + 0.212) * 83, 1.5);
  EXPECT_EQ(measurer->TextWidth(arial, "Arial"),
            measurer->TextWidth({"Liberation Sans", 83, false, false}, "Arial"));

  // No kerning: a text is as wide as its characters together.
  EXPECT_NEAR(measurer->TextWidth(arial, "MMMMMMMM.MMM"), 11 * m + measurer->TextWidth(arial, "."),
              6);
  EXPECT_NEAR(measurer->TextWidth(twice, "99/99/9999  99:99am"),
              2 * measurer->TextWidth(arial, "99/99/9999  99:99am"), 2);
  EXPECT_GT(measurer->TextWidth(arialBold, "Directory of"),
            measurer->TextWidth(arial, "Directory of"));
  EXPECT_EQ(measurer->TextWidth(arial, ""), 0);
  // Asked twice (cached), the same answer.
  EXPECT_EQ(measurer->TextWidth(arial, "MMMMMMMM.MMM"), measurer->TextWidth(arial, "MMMMMMMM.MMM"));
  // Bytes that are not UTF-8 still take room.
  EXPECT_GT(measurer->TextWidth(arial, "a\xFF"), measurer->TextWidth(arial, "a"));
}

}  // namespace
}  // namespace tabulon
