#include "preview/page_renderer.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QTextItem>
#include <cstdlib>
#include <vector>

#include "preview/page_record.h"

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

// A paint device that keeps what the painter asked for, in device units.
class RecordingEngine : public QPaintEngine {
 public:
  struct Text {
    QPointF baseline;
    QString text;
    QFont font;
    double scale;
  };
  RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState& state) override {
    if (state.state() & QPaintEngine::DirtyTransform) transform_ = state.transform();
  }
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
  void drawTextItem(const QPointF& p, const QTextItem& item) override {
    texts.push_back({transform_.map(p), item.text(), item.font(), transform_.m22()});
  }
  void drawRects(const QRectF* rects, int count) override {
    for (int i = 0; i < count; ++i) rectangles.push_back(transform_.mapRect(rects[i]));
  }
  void drawRects(const QRect* rects, int count) override {
    for (int i = 0; i < count; ++i) rectangles.push_back(transform_.mapRect(QRectF(rects[i])));
  }
  Type type() const override { return QPaintEngine::User; }

  std::vector<Text> texts;
  std::vector<QRectF> rectangles;

 private:
  QTransform transform_;
};

class RecordingDevice : public QPaintDevice {
 public:
  QPaintEngine* paintEngine() const override { return &engine; }
  int metric(PaintDeviceMetric metric) const override {
    switch (metric) {
      case PdmWidth:
        return 5100;
      case PdmHeight:
        return 6600;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY:
        return 600;
      case PdmDepth:
        return 32;
      case PdmDevicePixelRatio:
        return 1;
      case PdmDevicePixelRatioScaled:
        return int(QPaintDevice::devicePixelRatioFScale());
      default:
        return 0;
    }
  }
  mutable RecordingEngine engine;
};

PageRecord SamplePage() {
  PageRecord page;
  page.AddFillRect(288, 400, 4860, 512, PageRgb(204, 204, 204));
  page.AddText(300, 400, "Directory of /data/*.*", PageFont{"Arial", 83, true, false, kBlack},
               false, 0);
  page.AddText(300, 512, "report.txt", PageFont{"Arial", 83, false, false, kBlack}, false, 0);
  return page;
}

TEST(PageRendererTest, TextTopLeftLandsOnTheRecordedPointAtAnyScale) {
  EnsureGuiApplication();
  const PageRecord page = SamplePage();
  const qreal ascent = QFontMetricsF(PageQFont(*page.Texts()[0].font)).ascent();
  // Liberation Sans, Arial's metric twin: 0.905 em above the baseline.
  EXPECT_NEAR(ascent, 0.905 * 83, 1.5);

  for (const double scale : {1.0, 0.25, 2.0}) {
    SCOPED_TRACE(scale);
    RecordingDevice device;
    {
      QPainter painter(&device);
      painter.translate(-75, -50);
      painter.scale(scale, scale);
      RenderPage(painter, page);
    }
    const auto& texts = device.engine.texts;
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "Directory of /data/*.*");
    EXPECT_NEAR(texts[0].baseline.x(), -75 + 300 * scale, 0.01);
    EXPECT_NEAR(texts[0].baseline.y(), -50 + (400 + ascent) * scale, 0.01);
    EXPECT_EQ(texts[0].font.pixelSize(), 83);
    EXPECT_TRUE(texts[0].font.bold());
    EXPECT_EQ(texts[1].text, "report.txt");
    EXPECT_NEAR(texts[1].baseline.y(), -50 + (512 + ascent) * scale, 0.01);
    EXPECT_FALSE(texts[1].font.bold());
    EXPECT_DOUBLE_EQ(texts[0].scale, scale);

    ASSERT_FALSE(device.engine.rectangles.empty());
    const QRectF band = device.engine.rectangles.front();
    EXPECT_NEAR(band.left(), -75 + 288 * scale, 0.01);
    EXPECT_NEAR(band.top(), -50 + 400 * scale, 0.01);
    EXPECT_NEAR(band.width(), (4860 - 288) * scale, 0.01);
    EXPECT_NEAR(band.height(), 112 * scale, 0.01);
  }
}

// The ink of a text stays inside the cell below and right of its point, and
// a band is filled with its colour.
TEST(PageRendererTest, InkOnAnImageStaysInTheTextCell) {
  EnsureGuiApplication();
  PageRecord page;
  const PageFont font{"Arial", 40, false, false, kBlack};
  page.AddFillRect(0, 200, 400, 240, PageRgb(204, 204, 204));
  page.AddText(100, 100, "HHHH", font, false, 0);
  page.AddText(50, 200, "l", font, true, kWhite);  // opaque: a white cell on the band

  for (const double scale : {1.0, 0.5}) {
    SCOPED_TRACE(scale);
    QImage image(600, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      painter.scale(scale, scale);
      RenderPage(painter, page);
    }
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < int(190 * scale); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (qGray(image.pixel(x, y)) < 128) {
          left = std::min(left, x);
          right = std::max(right, x);
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
      }
    }
    const QFontMetricsF metrics(PageQFont(font));
    ASSERT_GE(right, 0) << "no ink";
    EXPECT_GE(left, int(100 * scale));
    EXPECT_LE(left, int(110 * scale));
    // Capital H rises from the baseline to the cap height.
    EXPECT_NEAR(top, (100 + metrics.ascent() - metrics.capHeight()) * scale, 2);
    EXPECT_NEAR(bottom, (100 + metrics.ascent()) * scale, 2);
    EXPECT_LE(right, int((100 + metrics.horizontalAdvance("HHHH")) * scale) + 1);

    EXPECT_EQ(image.pixel(int(300 * scale), int(220 * scale)), qRgb(204, 204, 204));
    EXPECT_EQ(image.pixel(int(51 * scale), int(202 * scale)), qRgb(255, 255, 255));
  }
}

}  // namespace
}  // namespace tabulon
