// Records the printed listing of 100,000 files with all six columns shown and
// writes its PDF, in fresh child processes so that each run's peak memory is
// its own. Prints the medians of recording time, PDF time and peak memory,
// and the bytes of page record per page.
//
//   bench_record_pdf [RUNS]        (default 5)

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "listing/collect_directory.h"
#include "listing/job_host.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/file_time.h"
#include "platform/locale.h"
#include "platform/services.h"
#include "platform/shell.h"
#include "platform/text_measurer.h"
#include "platform/volumes.h"
#include "preview/pdf_writer.h"
#include "preview/preview_printer.h"
#include "preview/reference_device.h"
#include "print/print_job.h"

namespace {

using namespace tabulon;

constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 1000;
const char* const kRoot = "/bench";

// A tree that exists only in memory: kFolders folders of kFilesPerFolder
// files each, with varied names, sizes and times, so that the listing's cost
// is the drawing and not the disk.
class SyntheticFileSystem : public FileSystem {
 public:
  class Search : public DirectorySearch {
   public:
    explicit Search(int folder) : folder_(folder) {}
    bool Next(SearchRec& rec) override {
      if (folder_ < 0 || index_ >= kFilesPerFolder) return false;
      const int i = index_++;
      static const char* const kExtensions[] = {".txt", ".doc", ".jpg", ".mp3", ".cpp", ".pdf"};
      rec = SearchRec{};
      rec.name = "file " + std::to_string(folder_) + "-" + std::to_string(i) + " of the bench" +
                 kExtensions[i % 6];
      if (i % 17 == 0) rec.name = std::string(90, 'n') + rec.name;  // wraps
      const std::uint64_t size = std::uint64_t(i) * 7919 % 10'000'000;
      rec.findData.fileName = rec.name;
      rec.findData.sizeLow = std::uint32_t(size);
      rec.findData.attributes = kAttrArchive;
      rec.attr = kAttrArchive;
      rec.size = std::uint32_t(size);
      FileTime local = FileTimeFromUnix(1072883100 + std::int64_t(i) * 3600);
      rec.findData.lastWriteTime = local;
      FileTimeToDosDateTime(local, rec.time);
      return true;
    }

   private:
    int folder_;
    int index_ = 0;
  };

  std::unique_ptr<DirectorySearch> FindFirst(const std::string& spec, std::uint32_t) override {
    const std::string prefix = std::string(kRoot) + "/d";
    int folder = -1;
    if (spec.rfind(prefix, 0) == 0) folder = std::atoi(spec.c_str() + prefix.size());
    return std::make_unique<Search>(folder);
  }
  std::vector<SubdirectoryEntry> ListSubdirectories(const std::string& folder) override {
    std::vector<SubdirectoryEntry> entries;
    if (folder != kRoot && folder != std::string(kRoot) + "/") return entries;
    for (int i = 0; i < kFolders; ++i) {
      char name[8];
      std::snprintf(name, sizeof name, "d%03d", i);
      entries.push_back({name, kAttrDirectory});
    }
    return entries;
  }
  bool IsDirectory(const std::string&) override { return true; }
  bool Exists(const std::string&) override { return true; }
};

class QuietHost : public JobHost {
 public:
  void SetStatus(int, const std::string&) override {}
  void ProcessEvents() override {}
  bool CancelRequested() const override { return cancel_; }
  void SetCancelRequested(bool value) override { cancel_ = value; }

 private:
  bool cancel_ = false;
};

class NoVolumes : public Volumes {
 public:
  VolumeInfo Query(const std::string&) const override { return {}; }
};

// Forwards to the real measurer and counts the widths asked for.
class CountingMeasurer : public TextMeasurer {
 public:
  explicit CountingMeasurer(const TextMeasurer& inner) : inner_(inner) {}
  int TextWidth(const MeasureFont& font, std::string_view text) const override {
    ++widths;
    return inner_.TextWidth(font, text);
  }
  int TextHeight(const MeasureFont& font, std::string_view text) const override {
    return inner_.TextHeight(font, text);
  }
  mutable std::uint64_t widths = 0;

 private:
  const TextMeasurer& inner_;
};

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// Records the end of the job and the time the PDF took.
class TimedPdfOutput : public PrintOutput {
 public:
  explicit TimedPdfOutput(std::string file) : file_(std::move(file)) {}
  void Print(TPreviewPrinter& printer) override {
    recorded = std::chrono::steady_clock::now();
    WritePdf(printer, file_);
    written = std::chrono::steady_clock::now();
  }
  void Preview(TPreviewPrinter& printer) override { Print(printer); }
  std::chrono::steady_clock::time_point recorded, written;

 private:
  std::string file_;
};

// One run, in this process: prints "record pdf pages recordBytes".
int RunOnce(char* programName) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int argc = 1;
  char* argv[] = {programName, nullptr};
  QGuiApplication app(argc, argv);

  std::unique_ptr<TimeZone> timeZone = MakeSystemTimeZone();
  SyntheticFileSystem fileSystem;
  std::unique_ptr<Locale> locale = MakeSystemLocale();
  std::unique_ptr<Clock> clock = MakeSystemClock();
  std::unique_ptr<Shell> shell = MakeDesktopShell();
  NoVolumes volumes;
  Services services;
  services.fileSystem = &fileSystem;
  services.timeZone = timeZone.get();
  services.locale = locale.get();
  services.clock = clock.get();
  services.shell = shell.get();
  services.volumes = &volumes;

  ListingOptions options;  // first-run options with every column shown
  options.chkShortName = options.chkFileType = true;
  options.chkShade = true;

  std::unique_ptr<TextMeasurer> realMeasurer = MakeTextMeasurer();
  CountingMeasurer measurer(*realMeasurer);
  PdfReferenceDevice pdf;
  ScreenReferenceDevice screen(PdfReferenceDevice::kResolution);
  TPreviewPrinter printer(measurer, &pdf, screen);
  QuietHost host;
  ListingSession session(fileSystem, *timeZone, *locale, *shell);
  const std::string file = "/tmp/bench_record_pdf_" + std::to_string(getpid()) + ".pdf";
  TimedPdfOutput output(file);
  TPrintJob job(options, services, host, printer, DetailSources{}, session);

  const auto start = std::chrono::steady_clock::now();
  job.Run(kRoot, PrintButton::kPrint, output);
  std::size_t recordBytes = 0;
  for (int i = 0; i < printer.PageCount(); ++i) recordBytes += printer.Pages(i).ByteSize();
  std::printf("%f %f %d %zu %llu %llu\n", Seconds(output.recorded - start),
              Seconds(output.written - output.recorded), printer.PageCount(), recordBytes,
              static_cast<unsigned long long>(job.Totals().FileCount),
              static_cast<unsigned long long>(measurer.widths));
  unlink(file.c_str());
  return 0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--once") return RunOnce(argv[0]);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  std::vector<double> recordTimes, pdfTimes, peaks;
  int pages = 0;
  std::size_t recordBytes = 0;
  unsigned long long files = 0;
  unsigned long long widths = 0;
  for (int r = 0; r < runs; ++r) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return 1;
    const pid_t child = fork();
    if (child == 0) {
      dup2(pipeFds[1], STDOUT_FILENO);
      close(pipeFds[0]);
      execl("/proc/self/exe", argv[0], "--once", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(pipeFds[1]);
    char buffer[256] = {};
    const ssize_t n = read(pipeFds[0], buffer, sizeof buffer - 1);
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    double record = 0, pdf = 0;
    if (n <= 0 || std::sscanf(buffer, "%lf %lf %d %zu %llu %llu", &record, &pdf, &pages,
                              &recordBytes, &files, &widths) != 6) {
      std::fprintf(stderr, "run %d failed\n", r + 1);
      return 1;
    }
    recordTimes.push_back(record);
    pdfTimes.push_back(pdf);
    peaks.push_back(double(usage.ru_maxrss) / 1024.0);  // KiB to MiB
  }
  std::printf("files listed          %llu\n", files);
  std::printf("pages                 %d\n", pages);
  std::printf("runs                  %d\n", runs);
  std::printf("record, median        %.3f s\n", Median(recordTimes));
  std::printf("write PDF, median     %.3f s\n", Median(pdfTimes));
  std::printf("peak memory, median   %.1f MiB\n", Median(peaks));
  std::printf("page record per page  %zu bytes\n", pages > 0 ? recordBytes / pages : 0);
  std::printf("text widths measured  %llu (%.1f per file)\n", widths,
              files > 0 ? double(widths) / double(files) : 0.0);
  return 0;
}
