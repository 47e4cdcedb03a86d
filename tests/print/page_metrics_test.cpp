#include "print/page_metrics.h"

#include <gtest/gtest.h>

#include "preview/page_canvas.h"
#include "print_fixture.h"

namespace tabulon {
namespace {

using testing::FixedDevice;
using testing::PrintRig;

TEST(PageMetricsTest, InchesRoundToTheNearestPixelWithHalvesToEven) {
  struct Case {
    int hundredths;
    int dpi;
    int expected;
  };
  for (const Case& c : {Case{15, 600, 90}, Case{15, 150, 22}, Case{15, 130, 20}, Case{15, 110, 16},
                        Case{15, 96, 14}, Case{765, 150, 1148}, Case{585, 150, 878},
                        Case{75, 150, 112}, Case{48, 96, 46}, Case{50, 0, 0}}) {
    SCOPED_TRACE(::testing::Message() << c.hundredths << " at " << c.dpi);
    EXPECT_EQ(InchesToPixels(c.hundredths, c.dpi), c.expected);
  }
  EXPECT_EQ(RoundHalfEven(-5, 2), -2);
  EXPECT_EQ(RoundHalfEven(-7, 2), -4);
  EXPECT_EQ(RoundHalfEven(7, -2), -4);
}

// The measures of a job as the canvas gives them in the body font, with a
// fixed advance of 50 pixels per character and 100 pixels per line.
PageMetrics MeasuredMetrics(int dpi, int orientation, int pageHeight, int pageOffsetY) {
  PrintRig rig(DeviceMetrics{dpi, dpi, dpi * 17 / 2, pageHeight, 0, pageOffsetY});
  rig.options.grpOrientation = orientation;
  rig.preview.SetOrientation(orientation == 1 ? PrinterOrientation::kLandscape
                                              : PrinterOrientation::kPortrait);
  rig.preview.BeginDoc();
  PageGeometry geometry{rig.preview.PixelsPerInchX(), rig.preview.PixelsPerInchY(),
                        rig.preview.PageHeight(), rig.preview.PageOffsetY()};
  return ComputePageMetrics(geometry, rig.preview.Canvas(), rig.options);
}

TEST(PageMetricsTest, MeasuresByResolutionAndOrientation) {
  struct Case {
    int dpi;
    int orientation;
    int textLeft, columnGap, typeWidth, textArea, dirName, dirFilesX, dirBytesBase, detailX,
        shadeLeft, shadeRight, bottomMargin;
  };
  // 14 characters of "99,999 files  " are added to the byte count position.
  constexpr int kBytesText = 14 * PrintRig::kAdvance;
  const Case cases[] = {
      {600, 0, 300, 90, 1080, 4380, 3000, 3420, 3510, 360, 288, 4860, 450},
      {600, 1, 300, 90, 1080, 6060, 4200, 4590, 4860, 360, 288, 6360, 450},
      {300, 0, 150, 45, 540, 2190, 1500, 1710, 1755, 180, 144, 2430, 225},
      {300, 1, 150, 45, 540, 3030, 2100, 2295, 2430, 180, 144, 3180, 225},
      // Exact halves go to the even neighbour.
      {150, 0, 75, 22, 270, 1095, 750, 855, 878, 90, 72, 1215, 112},
      {150, 1, 75, 22, 270, 1515, 1050, 1148, 1215, 90, 72, 1590, 112},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.dpi << " dpi, orientation " << c.orientation);
    // The landscape sheet of the fixed device is 8.5 in high.
    const int height = c.orientation == 1 ? c.dpi * 17 / 2 : c.dpi * 11;
    PageMetrics m = MeasuredMetrics(c.dpi, c.orientation, c.dpi * 11, 40);
    EXPECT_EQ(m.PixelsPerInchX, c.dpi);
    EXPECT_EQ(m.PixelsPerInchY, c.dpi);
    EXPECT_EQ(m.TextLeft, c.textLeft);
    EXPECT_EQ(m.TextTop, c.textLeft);
    EXPECT_EQ(m.ColumnGap, c.columnGap);
    EXPECT_EQ(m.TypeColumnWidth, c.typeWidth);
    EXPECT_EQ(m.TextAreaWidth, c.textArea);
    EXPECT_EQ(m.DirNameWidth, c.dirName);
    EXPECT_EQ(m.DirFilesX, c.dirFilesX);
    EXPECT_EQ(m.DirBytesX, c.dirBytesBase + kBytesText);
    EXPECT_EQ(m.DetailX, c.detailX);
    EXPECT_EQ(m.ShadeLeft, c.shadeLeft);
    EXPECT_EQ(m.ShadeRight, c.shadeRight);
    const int offsetY = c.orientation == 1 ? 0 : 40;
    EXPECT_EQ(m.BottomLimit, height - offsetY - c.bottomMargin);
    EXPECT_EQ(m.LineHeight, 120);
    EXPECT_EQ(m.ShortNameColumnWidth, 12 * PrintRig::kAdvance);
    EXPECT_EQ(m.DateColumnWidth, 19 * PrintRig::kAdvance);
    EXPECT_EQ(m.SizeColumnWidth, 13 * PrintRig::kAdvance);
    EXPECT_EQ(m.AttrColumnWidth, 4 * PrintRig::kAdvance);
  }
}

TEST(PageMetricsTest, LineHeightIsOneAndAFifthOfTheHeightOfM) {
  for (auto [height, expected] : {std::pair{83, 100}, std::pair{85, 102}, std::pair{47, 56}}) {
    testing::FixedTextMeasurer measurer(10, height);
    FixedDevice device(testing::kLetter600);
    ScreenReferenceDevice screen(96);
    TPreviewPrinter preview(measurer, &device, screen);
    preview.BeginDoc();
    PageMetrics m = ComputePageMetrics({600, 600, 6600, 50}, preview.Canvas(), ListingOptions{});
    EXPECT_EQ(m.LineHeight, expected) << "height " << height;
  }
}

TEST(PageMetricsTest, LongNameColumnIsWhatTheOtherShownColumnsLeave) {
  PageMetrics m;
  m.TextAreaWidth = 4380;
  m.ColumnGap = 90;
  m.ShortNameColumnWidth = 600;
  m.DateColumnWidth = 950;
  m.SizeColumnWidth = 650;
  m.AttrColumnWidth = 200;
  m.TypeColumnWidth = 1080;
  ListingOptions o;  // long name, size, date/time and attributes
  EXPECT_EQ(ComputeLongNameColumnWidth(m, o), 4380 - 1040 - 740 - 290);
  o.chkShortName = o.chkFileType = true;
  EXPECT_EQ(ComputeLongNameColumnWidth(m, o), 4380 - 1040 - 740 - 290 - 690 - 1170);
  o = ListingOptions{};
  o.chkFileSize = o.chkFileDate = o.chkFileAttr = false;
  EXPECT_EQ(ComputeLongNameColumnWidth(m, o), 4380);
}

TEST(PageMetricsTest, LongNameWidthOnlyWhenTheColumnIsShown) {
  ListingOptions o;
  o.chkLongName = false;
  o.chkShortName = true;
  testing::FixedTextMeasurer measurer;
  FixedDevice device(testing::kLetter600);
  ScreenReferenceDevice screen(96);
  TPreviewPrinter preview(measurer, &device, screen);
  preview.BeginDoc();
  EXPECT_EQ(ComputePageMetrics({600, 600, 6600, 50}, preview.Canvas(), o).LongNameColumnWidth, 0);
}

TEST(PageMetricsTest, EffectiveColumnCount) {
  struct Case {
    int grpColumns;
    bool longName, type, size, date, attr, version, mp3, image, office;
    int expected;
  };
  const Case cases[] = {
      {0, false, false, false, false, false, false, false, false, false, 1},
      {1, false, false, true, true, false, false, false, false, false, 2},
      {1, false, false, true, true, true, false, false, false, false, 1},
      {1, true, false, false, false, false, false, false, false, false, 1},
      {1, false, true, false, false, false, false, false, false, false, 1},
      {1, false, false, false, false, false, true, false, false, false, 1},
      {1, false, false, false, false, false, false, true, false, false, 1},
      {2, false, false, false, false, false, false, false, false, false, 4},
      {2, false, false, true, false, false, false, false, false, false, 1},
      {2, false, false, false, false, true, false, false, false, false, 1},
      {2, false, false, false, false, false, false, false, true, false, 1},
      {2, false, false, false, false, false, false, false, false, true, 1},
  };
  for (const Case& c : cases) {
    ListingOptions o;
    o.grpColumns = c.grpColumns;
    o.chkShortName = true;
    o.chkLongName = c.longName;
    o.chkFileType = c.type;
    o.chkFileSize = c.size;
    o.chkFileDate = c.date;
    o.chkFileAttr = c.attr;
    o.chkVersion = c.version;
    o.chkMP3 = c.mp3;
    o.chkImage = c.image;
    o.chkMSOffice = c.office;
    EXPECT_EQ(EffectiveColumnCount(o), c.expected)
        << "columns " << c.grpColumns << " size " << c.size << " date " << c.date << " attr "
        << c.attr;
  }
}

TEST(PageMetricsTest, ColumnStarts) {
  PageMetrics m;
  m.PixelsPerInchX = 600;
  m.TextLeft = 300;
  EXPECT_EQ(ColumnStartX(m, 1, 1), 300);
  EXPECT_EQ(ColumnStartX(m, 2, 1), 300);
  EXPECT_EQ(ColumnStartX(m, 2, 2), 2550);
  EXPECT_EQ(ColumnStartX(m, 4, 1), 300);
  EXPECT_EQ(ColumnStartX(m, 4, 2), 1350);
  EXPECT_EQ(ColumnStartX(m, 4, 3), 2400);
  EXPECT_EQ(ColumnStartX(m, 4, 4), 3450);
}

}  // namespace
}  // namespace tabulon
