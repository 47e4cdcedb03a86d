#include "preview/preview_printer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "support/fixed_text_measurer.h"

namespace tabulon {
namespace {

using testing::FixedTextMeasurer;

// A printer that reports fixed metrics and keeps what each job was sent.
class FakePrinter : public ReferenceDevice {
 public:
  struct PlayedPage {
    const PageRecord* page;
    int x, y;
    double scaleX, scaleY;
  };
  struct Job {
    PrinterOrientation orientation;
    std::string name;
    std::vector<PlayedPage> pages;
    int newPages = 0;
    bool ended = false;
  };

  explicit FakePrinter(DeviceMetrics metrics) : metrics_(metrics), jobMetrics_(metrics) {}

  bool ReadMetrics(PrinterOrientation orientation, DeviceMetrics& metrics) override {
    orientations.push_back(orientation);
    if (broken) return false;
    metrics = metrics_;
    return true;
  }

  std::unique_ptr<DevicePrintJob> StartJob(PrinterOrientation orientation,
                                           const std::string& name) override {
    jobs.push_back(Job{orientation, name, {}, 0, false});
    return std::make_unique<FakeJob>(*this, jobs.size() - 1);
  }

  void SetJobMetrics(DeviceMetrics metrics) { jobMetrics_ = metrics; }

  bool broken = false;
  std::vector<PrinterOrientation> orientations;
  std::vector<Job> jobs;

 private:
  class FakeJob : public DevicePrintJob {
   public:
    FakeJob(FakePrinter& owner, std::size_t index) : owner_(owner), index_(index) {}
    DeviceMetrics Metrics() const override { return owner_.jobMetrics_; }
    void PlayPage(const PageRecord& page, int x, int y, double sx, double sy) override {
      owner_.jobs[index_].pages.push_back({&page, x, y, sx, sy});
    }
    void NewPage() override { ++owner_.jobs[index_].newPages; }
    void End() override { owner_.jobs[index_].ended = true; }

   private:
    FakePrinter& owner_;
    std::size_t index_;
  };

  DeviceMetrics metrics_;
  DeviceMetrics jobMetrics_;
};

class FakeDialog : public PrintDialog {
 public:
  bool Execute(int minPage, int maxPage, PrintDialogChoice& choice) override {
    shownMin = minPage;
    shownMax = maxPage;
    shownFrom = choice.fromPage;
    shownTo = choice.toPage;
    if (!accept) return false;
    choice = answer;
    return true;
  }
  bool accept = true;
  PrintDialogChoice answer;
  int shownMin = 0, shownMax = 0, shownFrom = 0, shownTo = 0;
};

constexpr DeviceMetrics k600Dpi{600, 600, 5100, 6600, 75, 50};

struct Recorder {
  FixedTextMeasurer measurer;
  FakePrinter printer{k600Dpi};
  ScreenReferenceDevice screen{96};
  TPreviewPrinter preview{measurer, &printer, screen};

  // Draws one text on each of `count` pages, the last page left open.
  void DrawPages(int count) {
    preview.BeginDoc();
    for (int i = 0; i < count; ++i) {
      if (i > 0) preview.NewPage();
      preview.Canvas().TextOut(300, 300, "page " + std::to_string(i + 1));
    }
  }
};

TEST(PreviewPrinterTest, PageStartedButNeverDrawnIsDropped) {
  struct Case {
    int drawnPages;
    bool trailingNewPage;
    int expected;
  };
  for (const Case& c : {Case{1, false, 1}, Case{1, true, 1}, Case{3, true, 3}, Case{0, false, 0}}) {
    SCOPED_TRACE(::testing::Message() << c.drawnPages << " pages, new page " << c.trailingNewPage);
    Recorder r;
    r.DrawPages(c.drawnPages);
    if (c.trailingNewPage) r.preview.NewPage();
    EXPECT_EQ(r.preview.PageCount(), c.drawnPages == 0 ? 1 : c.drawnPages + c.trailingNewPage);
    r.preview.EndDoc();
    EXPECT_FALSE(r.preview.Printing());
    EXPECT_EQ(r.preview.PageCount(), c.expected);
    for (int i = 0; i < r.preview.PageCount(); ++i) {
      ASSERT_EQ(r.preview.Pages(i).Texts().size(), 1u);
      EXPECT_EQ(r.preview.Pages(i).Texts()[0].text, "page " + std::to_string(i + 1));
    }
  }
}

TEST(PreviewPrinterTest, BeginDocDiscardsTheOldPages) {
  Recorder r;
  r.DrawPages(3);
  r.preview.EndDoc();
  ASSERT_EQ(r.preview.PageCount(), 3);

  r.preview.BeginDoc();
  EXPECT_TRUE(r.preview.Printing());
  EXPECT_EQ(r.preview.PageCount(), 1);
  EXPECT_TRUE(r.preview.Pages(0).Empty());
  // The new document starts afresh: Arial 10 and a clear brush again.
  EXPECT_EQ(r.preview.Canvas().FontName(), "Arial");
  EXPECT_FALSE(r.preview.Canvas().FontBold());
  EXPECT_EQ(r.preview.Canvas().Brush().style, BrushStyle::kClear);
  r.preview.EndDoc();
  EXPECT_EQ(r.preview.PageCount(), 1);

  r.preview.ClearPages();
  EXPECT_EQ(r.preview.PageCount(), 0);
}

TEST(PreviewPrinterTest, FirstPageStartsInArial10WithAClearBrush) {
  Recorder r;
  r.preview.BeginDoc();
  TPageMetaFileCanvas& canvas = r.preview.Canvas();
  EXPECT_EQ(canvas.FontName(), "Arial");
  EXPECT_EQ(canvas.FontSize(), 10);
  EXPECT_EQ(canvas.FontPixelSize(), 83);  // 10 pt at 600 dpi
  EXPECT_FALSE(canvas.FontBold());
  EXPECT_EQ(canvas.Brush().style, BrushStyle::kClear);

  canvas.TextOut(10, 20, "x");
  const PageText text = r.preview.Pages(0).Texts().at(0);
  EXPECT_EQ(*text.font, (PageFont{"Arial", 83, false, false, kBlack}));
  EXPECT_FALSE(text.opaque);
}

TEST(PreviewPrinterTest, NextPageKeepsFontBrushAndPen) {
  Recorder r;
  r.preview.BeginDoc();
  TPageMetaFileCanvas& first = r.preview.Canvas();
  first.SetFontName("Courier New");
  first.SetFontSize(12);
  first.SetFontBold(true);
  first.SetFontItalic(true);
  first.SetBrushStyle(BrushStyle::kSolid);
  first.SetBrushColor(PageRgb(204, 204, 204));
  first.SetPen(PagePen{PageRgb(1, 2, 3), 4, PenStyle::kSolid});
  first.TextOut(0, 0, "one");

  r.preview.NewPage();
  TPageMetaFileCanvas& second = r.preview.Canvas();
  EXPECT_NE(&first, &second);
  EXPECT_EQ(second.FontName(), "Courier New");
  EXPECT_EQ(second.FontSize(), 12);
  EXPECT_EQ(second.FontPixelSize(), 100);
  EXPECT_TRUE(second.FontBold());
  EXPECT_EQ(second.Brush(), (CanvasBrush{BrushStyle::kSolid, PageRgb(204, 204, 204)}));
  EXPECT_EQ(second.Pen(), (PagePen{PageRgb(1, 2, 3), 4, PenStyle::kSolid}));
  second.TextOut(5, 6, "two");
  r.preview.EndDoc();

  ASSERT_EQ(r.preview.PageCount(), 2);
  const PageText one = r.preview.Pages(0).Texts().at(0);
  const PageText two = r.preview.Pages(1).Texts().at(0);
  EXPECT_EQ(*one.font, *two.font);
  EXPECT_EQ(*two.font, (PageFont{"Courier New", 100, true, true, kBlack}));
  EXPECT_TRUE(two.opaque);
  EXPECT_EQ(two.background, PageRgb(204, 204, 204));
}

TEST(PreviewPrinterTest, CanvasOutsideADocumentIsAnError) {
  Recorder r;
  auto expectError = [&] {
    try {
      r.preview.Canvas();
      ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& error) {
      EXPECT_STREQ(error.what(), "Canvas is not available before BeginDoc");
    }
  };
  expectError();
  r.DrawPages(1);
  r.preview.EndDoc();
  expectError();
  EXPECT_THROW(r.preview.NewPage(), std::logic_error);
  // EndDoc outside a document changes nothing.
  r.preview.EndDoc();
  EXPECT_EQ(r.preview.PageCount(), 1);
}

TEST(PreviewPrinterTest, MetricsComeFromTheReferenceDevice) {
  Recorder r;
  r.preview.SetOrientation(PrinterOrientation::kLandscape);
  r.preview.BeginDoc();
  EXPECT_EQ(r.preview.Metrics(), k600Dpi);
  EXPECT_EQ(r.preview.PixelsPerInchX(), 600);
  EXPECT_EQ(r.preview.PageOffsetX(), 75);
  EXPECT_EQ(r.preview.PageOffsetY(), 50);
  r.preview.NewPage();
  // Every page start asks the device again, in the recorder's orientation.
  EXPECT_EQ(r.printer.orientations,
            (std::vector<PrinterOrientation>{PrinterOrientation::kLandscape,
                                             PrinterOrientation::kLandscape}));
}

TEST(PreviewPrinterTest, WithoutAPrinterTheScreenGivesALetterSheet) {
  struct Case {
    int dpi;
    PrinterOrientation orientation;
    DeviceMetrics expected;
  };
  const Case cases[] = {
      {96, PrinterOrientation::kPortrait, {96, 96, 816, 1056, 0, 0}},
      {96, PrinterOrientation::kLandscape, {96, 96, 1056, 816, 0, 0}},
      {120, PrinterOrientation::kPortrait, {120, 120, 1020, 1320, 0, 0}},
      // 8.5 x 97 = 824.5: a half goes to the even neighbour.
      {97, PrinterOrientation::kPortrait, {97, 97, 824, 1067, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    FixedTextMeasurer measurer;
    ScreenReferenceDevice screen(c.dpi);
    TPreviewPrinter preview(measurer, nullptr, screen);
    preview.SetOrientation(c.orientation);
    preview.BeginDoc();
    EXPECT_EQ(preview.Metrics(), c.expected);
    EXPECT_EQ(preview.Canvas().FontPixelSize(), PointsToPixels(10, c.dpi));
    preview.EndDoc();
    EXPECT_FALSE(preview.PrintPages(0, 0));  // nothing to print on
  }

  // A printer that cannot be opened falls back the same way.
  Recorder r;
  r.printer.broken = true;
  r.preview.BeginDoc();
  EXPECT_EQ(r.preview.Metrics(), (DeviceMetrics{96, 96, 816, 1056, 0, 0}));
  EXPECT_EQ(r.preview.Canvas().FontPixelSize(), 13);
}

TEST(PreviewPrinterTest, PointSizesBecomePixelsAtTheVerticalResolution) {
  const std::tuple<int, int, int> cases[] = {{10, 600, 83}, {10, 96, 13}, {12, 300, 50},
                                             {8, 600, 67},  {9, 100, 13}, {0, 600, 0}};
  for (const auto& [points, dpi, pixels] : cases) {
    EXPECT_EQ(PointsToPixels(points, dpi), pixels) << points << " pt at " << dpi;
  }
  // Only the vertical resolution counts.
  FixedTextMeasurer measurer;
  FakePrinter printer({300, 600, 2550, 6600, 0, 0});
  ScreenReferenceDevice screen(96);
  TPreviewPrinter preview(measurer, &printer, screen);
  preview.BeginDoc();
  EXPECT_EQ(preview.Canvas().FontPixelSize(), 83);
}

TEST(PreviewPrinterTest, StatusNotifications) {
  Recorder r;
  std::vector<std::tuple<std::string, int, PreviewStatus>> seen;
  r.preview.SetOnStatus(
      [&](TPreviewPrinter& sender, const std::string& text, int page, PreviewStatus status) {
        EXPECT_EQ(&sender, &r.preview);
        seen.emplace_back(text, page, status);
      });
  r.DrawPages(2);
  r.preview.NewPage();  // dropped at EndDoc
  r.preview.EndDoc();
  r.preview.PrintPages(0, 1);

  using S = PreviewStatus;
  const std::vector<std::tuple<std::string, int, PreviewStatus>> expected = {
      {"Paginating page 1", 1, S::kPaginating},
      {"Paginating page 2", 2, S::kPaginating},
      {"Paginating page 3", 3, S::kPaginating},
      {"Pagination Complete", -1, S::kPaginationComplete},
      {"Printing page 1", 0, S::kPrinting},
      {"Printing page 2", 1, S::kPrinting},
      {"Print Job Complete", -1, S::kPrintJobComplete},
  };
  EXPECT_EQ(seen, expected);
}

TEST(PreviewPrinterTest, PrintMakesOneJobPerCopyOfTheChosenRange) {
  Recorder r;
  r.preview.SetTitle("Tabulon - Preview");
  r.preview.SetOrientation(PrinterOrientation::kLandscape);
  r.DrawPages(4);
  r.preview.EndDoc();

  FakeDialog dialog;
  dialog.answer = PrintDialogChoice{true, 2, 3, 2};
  EXPECT_TRUE(r.preview.Print(dialog));
  EXPECT_EQ(dialog.shownMin, 1);
  EXPECT_EQ(dialog.shownMax, 4);
  EXPECT_EQ(dialog.shownFrom, 1);
  EXPECT_EQ(dialog.shownTo, 4);

  ASSERT_EQ(r.printer.jobs.size(), 2u);
  for (const FakePrinter::Job& job : r.printer.jobs) {
    EXPECT_EQ(job.name, "Tabulon - Preview");
    EXPECT_EQ(job.orientation, PrinterOrientation::kLandscape);
    ASSERT_EQ(job.pages.size(), 2u);
    EXPECT_EQ(job.pages[0].page, &r.preview.Pages(1));
    EXPECT_EQ(job.pages[1].page, &r.preview.Pages(2));
    for (const auto& played : job.pages) {
      EXPECT_EQ(played.x, -75);
      EXPECT_EQ(played.y, -50);
      EXPECT_EQ(played.scaleX, 1.0);
    }
    EXPECT_EQ(job.newPages, 1);  // between the two pages only
    EXPECT_TRUE(job.ended);
  }

  // Without a range every page is printed, once.
  dialog.answer = PrintDialogChoice{false, 1, 1, 1};
  EXPECT_TRUE(r.preview.Print(dialog));
  ASSERT_EQ(r.printer.jobs.size(), 3u);
  EXPECT_EQ(r.printer.jobs[2].pages.size(), 4u);

  // Cancelling prints nothing and keeps the pages.
  dialog.accept = false;
  EXPECT_FALSE(r.preview.Print(dialog));
  EXPECT_EQ(r.printer.jobs.size(), 3u);
  EXPECT_EQ(r.preview.PageCount(), 4);
}

TEST(PreviewPrinterTest, PrintingOnAnotherResolutionKeepsThePaperSize) {
  Recorder r;
  r.DrawPages(1);
  r.preview.EndDoc();
  // The dialog chose a 300 dpi printer with other margins.
  r.printer.SetJobMetrics({300, 300, 2550, 3300, 20, 30});
  EXPECT_TRUE(r.preview.PrintPages(0, 5));  // clamped to the recorded pages
  ASSERT_EQ(r.printer.jobs.size(), 1u);
  ASSERT_EQ(r.printer.jobs[0].pages.size(), 1u);
  const auto& played = r.printer.jobs[0].pages[0];
  EXPECT_EQ(played.x, -20);
  EXPECT_EQ(played.y, -30);
  EXPECT_DOUBLE_EQ(played.scaleX, 0.5);
  EXPECT_DOUBLE_EQ(played.scaleY, 0.5);
  // The recorded pages keep the metrics they were drawn with.
  EXPECT_EQ(r.preview.Metrics(), k600Dpi);
}

TEST(PreviewPrinterTest, CanvasRecordsCommandsNotPixels) {
  Recorder r;
  r.preview.BeginDoc();
  TPageMetaFileCanvas& canvas = r.preview.Canvas();
  // A clear brush fills nothing; a solid one fills with its colour.
  canvas.FillRect(0, 0, 100, 100);
  canvas.SetBrushStyle(BrushStyle::kSolid);
  canvas.SetBrushColor(PageRgb(204, 204, 204));
  canvas.FillRect(288, 400, 4860, 500);
  canvas.FillRect(10, 10, 10, 50);  // empty
  canvas.SetBrushStyle(BrushStyle::kClear);
  canvas.SetFontBold(true);
  canvas.TextOut(300, 400, "Directory of /data/*.*");
  canvas.SetFontBold(false);
  canvas.TextOut(300, 500, "caf\xC3\xA9");
  canvas.TextOut(300, 600, "");
  canvas.MoveTo(1, 2);
  canvas.LineTo(3, 4);
  EXPECT_EQ(canvas.TextWidth("caf\xC3\xA9"), 40);
  EXPECT_EQ(canvas.TextHeight("M"), 20);
  r.preview.EndDoc();

  const PageRecord& page = r.preview.Pages(0);
  const std::vector<PageFill> fills = page.Fills();
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(std::tie(fills[0].left, fills[0].top, fills[0].right, fills[0].bottom, fills[0].color),
            std::make_tuple(288, 400, 4860, 500, PageRgb(204, 204, 204)));
  const std::vector<PageText> texts = page.Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(std::tie(texts[0].x, texts[0].y, texts[0].text),
            std::make_tuple(300, 400, std::string_view("Directory of /data/*.*")));
  EXPECT_TRUE(texts[0].font->bold);
  EXPECT_EQ(texts[1].text, "caf\xC3\xA9");
  EXPECT_FALSE(texts[1].font->bold);
  EXPECT_EQ(page.Fonts().size(), 2u);
  ASSERT_EQ(page.Commands().size(), 4u);
  EXPECT_EQ(page.Commands()[3].kind, PageCommandKind::kLine);
}

TEST(PreviewPrinterTest, ALongPageCostsAFewKilobytes) {
  Recorder r;
  r.preview.BeginDoc();
  TPageMetaFileCanvas& canvas = r.preview.Canvas();
  canvas.SetBrushColor(PageRgb(204, 204, 204));
  for (int line = 0; line < 60; ++line) {
    const int y = 600 + line * 112;
    if (line % 2 == 1) {
      canvas.SetBrushStyle(BrushStyle::kSolid);
      canvas.FillRect(288, y, 4860, y + 112);
      canvas.SetBrushStyle(BrushStyle::kClear);
    }
    canvas.TextOut(300, y, "a_file_name_of_some_length_" + std::to_string(line) + ".txt");
    canvas.TextOut(2800, y, "12,345,678");
    canvas.TextOut(3400, y, "01/02/2024  13:45");
    canvas.TextOut(4400, y, "RA");
  }
  r.preview.EndDoc();
  const std::size_t bytes = r.preview.Pages(0).ByteSize();
  EXPECT_LT(bytes, 12u * 1024u);
  EXPECT_GT(bytes, 2u * 1024u);
}

}  // namespace
}  // namespace tabulon
