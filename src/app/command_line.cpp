#include "app/command_line.h"

#include <QGuiApplication>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/cli_export.h"
#include "app/cli_job_host.h"
#include "app/cli_options.h"
#include "app/headless_job.h"
#include "details/detail_sources.h"
#include "listing/listing_settings.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/file_time.h"
#include "platform/font_catalog.h"
#include "platform/locale.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "platform/volumes.h"

#if __has_include("app/headless_pdf.h")
#include "app/headless_pdf.h"
#define TABULON_HAVE_HEADLESS_PDF 1
#endif

namespace tabulon {
namespace {

constexpr int kExitBadCommandLine = 2;

int BadCommandLine(const std::string& message) {
  std::fprintf(stderr, "tabulon: %s\n\n%s", message.c_str(), UsageText());
  return kExitBadCommandLine;
}

// A path made absolute, without a trailing "/" (the root keeps it); links are
// not resolved, so the listing names the folder as the user did.
std::string AbsolutePath(const std::string& folder) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::absolute(folder, error);
  if (error) path = folder;
  std::string text = path.lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

// Qt's notes about the session (a missing XDG_RUNTIME_DIR and the like) are
// no business of a listing's user; real warnings still reach standard error.
void FilterQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtDebugMsg || type == QtInfoMsg) return;
  if (message.startsWith(QLatin1String("QStandardPaths:"))) return;
  std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

// Fonts and the shell need a QGuiApplication; a display is never required.
// The offscreen platform serves unless the user asked to open the file and a
// display is there to open it on.
std::unique_ptr<QGuiApplication> MakeGuiApplication(bool wantsDisplay, char* programName) {
  const bool haveDisplay =
      std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr && !(wantsDisplay && haveDisplay)) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  qInstallMessageHandler(FilterQtMessages);
  static int qtArgc = 1;
  static char* qtArgv[] = {programName, nullptr};
  return std::make_unique<QGuiApplication>(qtArgc, qtArgv);
}

}  // namespace

int RunCommandLine(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  ParsedCommandLine parsed;
  if (auto error = ParseArguments(args, parsed)) return BadCommandLine(*error);
  if (parsed.help) {
    std::fputs(UsageText(), stdout);
    return 0;
  }
  if (parsed.version) {
    std::printf("tabulon %s\n", TABULON_VERSION);
    return 0;
  }
  if (parsed.exportFile.empty() && parsed.pdfFile.empty()) {
    // The window is not there yet: without a job there is only the usage.
    std::fputs(UsageText(), stderr);
    return kExitBadCommandLine;
  }
  if (parsed.positionals.empty()) return BadCommandLine("FOLDER is missing");
  if (parsed.positionals.size() > 1) {
    return BadCommandLine("one FOLDER only, not also \"" + parsed.positionals[1] + "\"");
  }

  std::unique_ptr<QGuiApplication> app = MakeGuiApplication(parsed.open, argv[0]);

  std::unique_ptr<TimeZone> timeZone = MakeSystemTimeZone();
  std::unique_ptr<FileSystem> fileSystem = MakeRealFileSystem(*timeZone);
  std::unique_ptr<Locale> locale = MakeSystemLocale();
  std::unique_ptr<Clock> clock = MakeSystemClock();
  std::unique_ptr<SettingsStore> settings = MakeSettingsStore();
  std::unique_ptr<Shell> shell = MakeDesktopShell();
  std::unique_ptr<Volumes> volumes = MakeSystemVolumes();
  std::unique_ptr<FontCatalog> fonts = MakeFontCatalog();

  const std::string folder = AbsolutePath(parsed.positionals[0]);
  if (!fileSystem->IsDirectory(folder)) {
    return BadCommandLine("\"" + parsed.positionals[0] + "\" is not a folder");
  }

  HeadlessJob job;
  if (!parsed.defaults) {
    LoadListingOptions(*settings, *fonts, job.options);
    LoadExportOptions(*settings, job.options.exportPanel);
  }
  if (auto error = ApplySettings(parsed, *locale, job.options)) return BadCommandLine(*error);
  job.folder = folder;
  job.openFile = parsed.open;
  job.services.fileSystem = fileSystem.get();
  job.services.timeZone = timeZone.get();
  job.services.locale = locale.get();
  job.services.clock = clock.get();
  job.services.settings = settings.get();
  job.services.shell = shell.get();
  job.services.volumes = volumes.get();
  job.details = RealDetailSources();

  CliJobHost host(IsTerminal(stderr) ? stderr : nullptr);
  if (!parsed.pdfFile.empty()) {
    job.outputFile = parsed.pdfFile;
#ifdef TABULON_HAVE_HEADLESS_PDF
    return RunHeadlessPdf(job, host);
#else
    std::fputs("tabulon: --pdf is not available in this build\n", stderr);
    return kExitBadCommandLine;
#endif
  }
  // Absolute, so that the shell can open it and messages name it whole.
  job.outputFile = AbsolutePath(parsed.exportFile);
  job.format = ChooseExportFormat(parsed);
  return RunHeadlessExport(job, host);
}

}  // namespace tabulon
