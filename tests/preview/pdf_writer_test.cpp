#include "preview/pdf_writer.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "platform/text_measurer.h"
#include "preview/preview_printer.h"
#include "preview/printer_device.h"

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

std::string RunCommand(const std::string& command) {
  std::string output;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return output;
  std::array<char, 4096> buffer;
  std::size_t read;
  while ((read = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0) {
    output.append(buffer.data(), read);
  }
  return output;
}

// The lines of the text, without trailing blanks, empty lines dropped.
std::string Squeeze(const std::string& text) {
  std::istringstream in(text);
  std::string line, result;
  while (std::getline(in, line)) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\f')) line.pop_back();
    const std::size_t start = line.find_first_not_of(" \f");
    if (start == std::string::npos) continue;
    result += line.substr(start) + "\n";
  }
  return result;
}

class PdfWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    ASSERT_TRUE(dir_.isValid());
  }
  std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }

  // Two pages the way a listing draws them: a bold heading, a band, lines.
  void RecordListing(TPreviewPrinter& preview) {
    preview.BeginDoc();
    for (int pageNumber = 1; pageNumber <= 2; ++pageNumber) {
      if (pageNumber > 1) preview.NewPage();
      TPageMetaFileCanvas& canvas = preview.Canvas();
      const int lineHeight = canvas.TextHeight("M") * 6 / 5;
      const int inch = preview.PixelsPerInchX();
      const int left = inch / 2;
      int y = inch / 2;
      canvas.SetFontBold(true);
      canvas.TextOut(left, y, "Directory of /home/user/Documents/*.*");
      y += lineHeight;
      canvas.TextOut(left, y, "Page " + std::to_string(pageNumber) + "     Sorted by Long Name");
      y += 2 * lineHeight;
      canvas.SetFontBold(false);
      for (int line = 0; line < 3; ++line) {
        if (line == 1) {
          canvas.SetBrushStyle(BrushStyle::kSolid);
          canvas.SetBrushColor(PageRgb(204, 204, 204));
          canvas.FillRect(left - 12, y, 8 * inch, y + lineHeight);
          canvas.SetBrushStyle(BrushStyle::kClear);
        }
        const std::string name = "file_" + std::to_string(pageNumber) + std::to_string(line) +
                                 (line == 2 ? "_caf\xC3\xA9.txt" : ".txt");
        canvas.TextOut(left, y, name);
        canvas.TextOut(5 * inch, y, "1,234");
        y += lineHeight;
      }
    }
    preview.EndDoc();
  }

  QTemporaryDir dir_;
};

TEST_F(PdfWriterTest, PagesBecomeSelectableTextInOrder) {
  const auto measurer = MakeTextMeasurer();
  PdfReferenceDevice pdf;
  ScreenReferenceDevice screen(96);
  TPreviewPrinter preview(*measurer, &pdf, screen);
  preview.SetTitle("Tabulon - Preview");
  RecordListing(preview);
  ASSERT_EQ(preview.PageCount(), 2);
  EXPECT_EQ(preview.Metrics(), (DeviceMetrics{600, 600, 5100, 6600, 0, 0}));

  const std::string file = Path("listing.pdf");
  WritePdf(preview, file);

  const std::string info = RunCommand("pdfinfo '" + file + "' 2>&1");
  EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
  EXPECT_NE(info.find("612 x 792 pts (letter)"), std::string::npos) << info;
  EXPECT_NE(info.find("Tabulon - Preview"), std::string::npos) << info;

  const std::string text = Squeeze(RunCommand("pdftotext -layout '" + file + "' - 2>&1"));
  const std::string expected =
      "Directory of /home/user/Documents/*.*\n"
      "Page 1     Sorted by Long Name\n"
      "file_10.txt                                   1,234\n"
      "file_11.txt                                   1,234\n"
      "file_12_caf\xC3\xA9.txt                              1,234\n"
      "Directory of /home/user/Documents/*.*\n"
      "Page 2     Sorted by Long Name\n"
      "file_20.txt                                   1,234\n"
      "file_21.txt                                   1,234\n"
      "file_22_caf\xC3\xA9.txt                              1,234\n";
  // The blanks between columns depend on pdftotext's layout; compare words.
  auto words = [](const std::string& s) {
    std::istringstream in(s);
    std::string word, all;
    while (in >> word) all += word + " ";
    return all;
  };
  EXPECT_EQ(words(text), words(expected)) << text;
  // Columns stay columns: the counts stand further right than the names.
  EXPECT_NE(text.find("file_10.txt  "), std::string::npos) << text;
}

TEST_F(PdfWriterTest, LandscapeGivesALandscapeSheet) {
  const auto measurer = MakeTextMeasurer();
  PdfReferenceDevice pdf;
  ScreenReferenceDevice screen(96);
  TPreviewPrinter preview(*measurer, &pdf, screen);
  preview.SetOrientation(PrinterOrientation::kLandscape);
  RecordListing(preview);
  EXPECT_EQ(preview.Metrics(), (DeviceMetrics{600, 600, 6600, 5100, 0, 0}));
  const std::string file = Path("wide.pdf");
  WritePdf(preview, file);
  const std::string info = RunCommand("pdfinfo '" + file + "' 2>&1");
  EXPECT_NE(info.find("792 x 612 pts"), std::string::npos) << info;
}

TEST_F(PdfWriterTest, AFailureNamesTheFileAndTheReason) {
  const auto measurer = MakeTextMeasurer();
  PdfReferenceDevice pdf;
  ScreenReferenceDevice screen(96);
  TPreviewPrinter preview(*measurer, &pdf, screen);
  RecordListing(preview);
  const std::string file = Path("no such folder/listing.pdf");
  try {
    WritePdf(preview, file);
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    const std::string message = error.what();
    EXPECT_NE(message.find(file), std::string::npos) << message;
    EXPECT_NE(message.find("No such file or directory"), std::string::npos) << message;
  }
}

// The printer path, on a printer that prints to a PDF file: the chosen range
// arrives as one job, in order.
TEST_F(PdfWriterTest, PrinterJobPrintsTheRange) {
  const auto measurer = MakeTextMeasurer();
  const std::string file = Path("printed.pdf");
  auto qprinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
  qprinter->setOutputFormat(QPrinter::PdfFormat);
  qprinter->setOutputFileName(QString::fromStdString(file));
  qprinter->setResolution(300);
  qprinter->setPageSize(QPageSize(QPageSize::Letter));
  PrinterReferenceDevice printer(std::move(qprinter));
  ScreenReferenceDevice screen(96);
  TPreviewPrinter preview(*measurer, &printer, screen);
  preview.SetTitle("Tabulon - Preview");
  RecordListing(preview);
  EXPECT_EQ(preview.PixelsPerInchY(), 300);
  EXPECT_EQ(preview.PageWidth(), 2550);
  EXPECT_EQ(preview.PageHeight(), 3300);

  ASSERT_TRUE(preview.PrintPages(1, 1));
  const std::string info = RunCommand("pdfinfo '" + file + "' 2>&1");
  EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
  const std::string text = Squeeze(RunCommand("pdftotext -layout '" + file + "' - 2>&1"));
  EXPECT_NE(text.find("file_22_caf\xC3\xA9.txt"), std::string::npos) << text;
  EXPECT_NE(text.find("1,234"), std::string::npos) << text;
  EXPECT_EQ(text.find("file_10"), std::string::npos) << text;
}

TEST_F(PdfWriterTest, AnEmptyRecordStillGivesAValidDocument) {
  const auto measurer = MakeTextMeasurer();
  PdfReferenceDevice pdf;
  ScreenReferenceDevice screen(96);
  TPreviewPrinter preview(*measurer, &pdf, screen);
  preview.BeginDoc();
  preview.EndDoc();
  ASSERT_EQ(preview.PageCount(), 0);
  const std::string file = Path("empty.pdf");
  WritePdf(preview, file);
  EXPECT_NE(RunCommand("pdfinfo '" + file + "' 2>&1").find("Pages:           1"),
            std::string::npos);
}

}  // namespace
}  // namespace tabulon
