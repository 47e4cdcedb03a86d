#include "app/headless_pdf.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "app/cli_job_host.h"
#include "app/headless_job.h"
#include "platform/file_system.h"
#include "support/fake_clock.h"
#include "support/fake_locale.h"
#include "support/fake_shell.h"
#include "support/fake_time_zone.h"
#include "support/fake_volumes.h"
#include "support/temp_tree.h"

namespace tabulon {
namespace {

// Fonts and text measurement need a GUI application; the offscreen platform
// serves.
void EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "tests_app";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
}

std::string RunCommand(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  pclose(pipe);
  return output;
}

// pdftotext's layout with runs of blanks made one and empty lines left out,
// so that the comparison does not hang on how it spaces the columns.
std::string NormalizedLayout(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  std::string out;
  while (std::getline(in, line)) {
    std::string collapsed;
    for (char c : line) {
      if (c == ' ' && (collapsed.empty() || collapsed.back() == ' ')) continue;
      if (c == '\f') continue;
      collapsed += c;
    }
    while (!collapsed.empty() && collapsed.back() == ' ') collapsed.pop_back();
    if (!collapsed.empty()) out += collapsed + "\n";
  }
  return out;
}

constexpr std::int64_t kExampleSeconds = 1072883100;  // 2003-12-31 15:05 UTC

struct PdfRig {
  PdfRig() {
    EnsureGuiApplication();
    fileSystem = MakeRealFileSystem(timeZone);
    clock.Set(FileTimeFromUnix(kExampleSeconds));
    job.services.fileSystem = fileSystem.get();
    job.services.timeZone = &timeZone;
    job.services.locale = &locale;
    job.services.clock = &clock;
    job.services.shell = &shell;
    job.services.volumes = &volumes;
    job.options.chkShade = true;
    job.options.cboFont = "Liberation Sans";
    job.folder = tree.Path("data");
    job.outputFile = tree.Path("listing.pdf");
  }

  void AddFile(const std::string& relative, std::size_t size) {
    tree.AddFile(relative, std::string(size, 'x'));
    tree.SetModificationTime(relative, kExampleSeconds);
  }

  testing::TempTree tree;
  testing::FakeTimeZone timeZone;
  std::unique_ptr<FileSystem> fileSystem;
  testing::FakeLocale locale;
  testing::FakeClock clock;
  testing::FakeShell shell;
  testing::FakeVolumes volumes;
  HeadlessJob job;
};

TEST(PdfHeadlessTest, WritesTheListingAsTextThatCanBeSelected) {
  PdfRig rig;
  rig.AddFile("data/b.txt", 2000);
  rig.AddFile("data/a.txt", 1000);
  rig.tree.AddFolder("data/empty");
  rig.AddFile("data/sub/c.txt", 500);
  CliJobHost host(nullptr);
  ASSERT_EQ(RunHeadlessPdf(rig.job, host), 0);

  const std::string root = rig.tree.Path("data");
  const std::string text =
      RunCommand("pdftotext -layout '" + rig.job.outputFile + "' - 2>/dev/null");
  EXPECT_EQ(NormalizedLayout(text), "Directory of " + root + "/*.*\n" +
                                        "Page 1 12/31/2003 3:05pm Sorted by Long Name\n"
                                        "Levels: All Date: Modified\n" +
                                        root + "\n" +
                                        "a.txt 1,000 12/31/2003 3:05pm\n"
                                        "b.txt 2,000 12/31/2003 3:05pm\n"
                                        "2 files; 3,000 bytes\n" +
                                        root + "/empty\n" + "0 files; 0 bytes\n" + root + "/sub\n" +
                                        "c.txt 500 12/31/2003 3:05pm\n"
                                        "1 file; 500 bytes\n"
                                        "Total: 3 directories; 3 files; 3,500 bytes\n");

  // Page 1 as an image: black text and the grey band behind the second entry.
  const std::string prefix = rig.tree.Path("page");
  RunCommand("pdftoppm -png -r 50 -f 1 -l 1 '" + rig.job.outputFile + "' '" + prefix + "'");
  QImage image(QString::fromStdString(prefix + "-1.png"));
  ASSERT_FALSE(image.isNull()) << "pdftoppm did not render page 1";
  EXPECT_EQ(image.width(), 425);  // 8.5 in at 50 dpi
  int grey = 0;
  int dark = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      if (qRed(pixel) == 204 && qGreen(pixel) == 204 && qBlue(pixel) == 204) ++grey;
      if (qGray(pixel) < 100) ++dark;
    }
  }
  // The band behind b.txt is about 3.9 in by 0.2 in: several hundred pixels.
  EXPECT_GT(grey, 200);
  EXPECT_GT(dark, 200);
}

TEST(PdfHeadlessTest, AFileThatCannotBeWrittenExitsWithOne) {
  PdfRig rig;
  rig.AddFile("data/a.txt", 1);
  rig.job.outputFile = rig.tree.Path("missing/folder/listing.pdf");
  CliJobHost host(nullptr);
  ::testing::internal::CaptureStderr();
  const int status = RunHeadlessPdf(rig.job, host);
  const std::string message = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, 1);
  EXPECT_NE(message.find(rig.job.outputFile), std::string::npos) << message;
  EXPECT_FALSE(std::filesystem::exists(rig.job.outputFile));
}

TEST(PdfHeadlessTest, CtrlCCancelsWithoutWritingTheFile) {
  PdfRig rig;
  rig.AddFile("data/a.txt", 1);
  CliJobHost host(nullptr);
  std::raise(SIGINT);  // the host turns it into the cancel flag
  ::testing::internal::CaptureStderr();
  const int status = RunHeadlessPdf(rig.job, host);
  const std::string message = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, 130);
  EXPECT_NE(message.find("interrupted"), std::string::npos) << message;
  EXPECT_FALSE(std::filesystem::exists(rig.job.outputFile));
}

}  // namespace
}  // namespace tabulon
