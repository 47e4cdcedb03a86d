// What the print tests share: fake services, a recorder at a fixed
// resolution with a fixed-advance measurer, and readers of the recorded
// texts.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "listing/collect_directory.h"
#include "listing/listing_options.h"
#include "platform/services.h"
#include "preview/page_record.h"
#include "preview/preview_printer.h"
#include "preview/reference_device.h"
#include "print/print_job.h"
#include "support/fake_clock.h"
#include "support/fake_detail_sources.h"
#include "support/fake_file_system.h"
#include "support/fake_locale.h"
#include "support/fake_shell.h"
#include "support/fake_time_zone.h"
#include "support/fake_volumes.h"
#include "support/fixed_text_measurer.h"
#include "support/recording_job_host.h"

namespace tabulon::testing {

// A printer with fixed metrics in portrait; landscape swaps the sheet.
class FixedDevice : public ReferenceDevice {
 public:
  explicit FixedDevice(DeviceMetrics portrait) : portrait_(portrait) {}
  bool ReadMetrics(PrinterOrientation orientation, DeviceMetrics& metrics) override {
    metrics = portrait_;
    if (orientation == PrinterOrientation::kLandscape) {
      std::swap(metrics.pixelsPerInchX, metrics.pixelsPerInchY);
      std::swap(metrics.pageWidth, metrics.pageHeight);
      std::swap(metrics.pageOffsetX, metrics.pageOffsetY);
    }
    return true;
  }
  std::unique_ptr<DevicePrintJob> StartJob(PrinterOrientation, const std::string&) override {
    return nullptr;
  }

 private:
  DeviceMetrics portrait_;
};

// Letter at 600 dpi with a printable area a little inside the sheet.
constexpr DeviceMetrics kLetter600{600, 600, 5100, 6600, 75, 50};

// Counts what the job asked of its end.
class CountingOutput : public PrintOutput {
 public:
  void Print(TPreviewPrinter& printer) override {
    ++prints;
    pagesAtEnd = printer.PageCount();
    printingAtEnd = printer.Printing();
  }
  void Preview(TPreviewPrinter& printer) override {
    ++previews;
    pagesAtEnd = printer.PageCount();
    printingAtEnd = printer.Printing();
  }
  int prints = 0;
  int previews = 0;
  int pagesAtEnd = -1;
  bool printingAtEnd = true;
};

// 2003-12-31 15:05 UTC, the moment the fixtures are dated.
inline FileTime ExampleNow() {
  FileTime time = 0;
  CalendarToFileTime(CalendarTime{2003, 12, 31, 15, 5, 0, 0}, time);
  return time;
}

inline FileTime UtcTime(int year, int month, int day, int hour, int minute) {
  FileTime time = 0;
  CalendarToFileTime(CalendarTime{year, month, day, hour, minute, 0, 0}, time);
  return time;
}

// Fake services, a job host and a recorder: a fixed-advance measurer of 50
// pixels per character and 100 per line (LineHeight 120).
struct PrintRig {
  static constexpr int kAdvance = 50;
  static constexpr int kHeight = 100;

  explicit PrintRig(DeviceMetrics metrics = kLetter600, int advance = kAdvance)
      : measurer(advance, kHeight), device(metrics) {
    clock.Set(ExampleNow());
    services.fileSystem = &fileSystem;
    services.timeZone = &timeZone;
    services.locale = &locale;
    services.clock = &clock;
    services.shell = &shell;
    services.volumes = &volumes;
    options.chkInclSub = false;
    details = fakeDetails.Sources();
  }

  // Adds a file dated 31 December 2003, 3:05 in the afternoon.
  void AddFile(const std::string& path, std::uint64_t size) {
    fileSystem.AddFile(path, size).lastWriteTime = UtcTime(2003, 12, 31, 15, 5);
  }

  // Runs a whole job on the folder.
  PrintJobResult Run(const std::string& folder, PrintButton button = PrintButton::kPreview) {
    job = MakeJob();
    return job->Run(folder, button, output);
  }

  const PageRecord& Page(int index) const { return preview.Pages(index); }

  std::unique_ptr<TPrintJob> MakeJob() {
    return std::make_unique<TPrintJob>(options, services, host, preview, details, session);
  }

  FakeTimeZone timeZone;
  FakeFileSystem fileSystem{timeZone};
  FakeLocale locale;
  FakeClock clock;
  FakeShell shell;
  FakeVolumes volumes;
  Services services;
  RecordingJobHost host;
  FixedTextMeasurer measurer;
  FixedDevice device;
  ScreenReferenceDevice screen{96};
  TPreviewPrinter preview{measurer, &device, screen};
  FakeDetailSources fakeDetails;
  DetailSources details;
  CountingOutput output;
  std::unique_ptr<TPrintJob> job;
  ListingSession session{fileSystem, timeZone, locale, shell};
  ListingOptions options;
};

// One recorded text, as the tests compare them.
struct Drawn {
  int x = 0;
  int y = 0;
  std::string text;
  bool bold = false;
  bool operator==(const Drawn&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Drawn& d) {
  return out << "(" << d.x << ", " << d.y << (d.bold ? ", bold" : "") << ") \"" << d.text << "\"";
}

inline std::vector<Drawn> DrawnTexts(const PageRecord& page) {
  std::vector<Drawn> drawn;
  for (const PageText& t : page.Texts()) {
    drawn.push_back({t.x, t.y, std::string(t.text), t.font != nullptr && t.font->bold});
  }
  return drawn;
}

// The page's texts, one a line, as "y x [B] text", for whole-page comparisons
// with a readable diff.
inline std::string PageListing(const PageRecord& page) {
  std::ostringstream out;
  for (const Drawn& d : DrawnTexts(page)) {
    out << d.y << " " << d.x << (d.bold ? " B " : " ") << d.text << "\n";
  }
  return out.str();
}

inline std::string FillListing(const PageRecord& page) {
  std::ostringstream out;
  for (const PageFill& f : page.Fills()) {
    out << f.left << "," << f.top << " " << f.right << "," << f.bottom << "\n";
  }
  return out.str();
}

}  // namespace tabulon::testing
