#include "app/cli_export.h"

#include <cstdio>

#include "export/export_job.h"
#include "listing/collect_directory.h"
#include "listing/line_writer.h"

namespace tabulon {

int RunHeadlessExport(const HeadlessJob& job, CliJobHost& host) {
  const Services& services = job.services;
  ListingSession session(*services.fileSystem, *services.timeZone, *services.locale,
                         *services.shell);
  ExportJob exportJob(session, services, job.details, host);
  ListingOptions options = job.options;
  options.exportPanel.chkOpenFile = job.openFile;
  try {
    ExportResult result = exportJob.Run(options, job.folder, job.outputFile, job.format);
    host.FinishProgress();
    if (result.cancelled) {
      std::fprintf(stderr, "tabulon: export canceled; \"%s\" holds what was written so far\n",
                   job.outputFile.c_str());
      return 130;
    }
    return 0;
  } catch (const OutputError& error) {
    host.FinishProgress();
    std::fprintf(stderr, "tabulon: %s\n", error.what());
    return 1;
  }
}

}  // namespace tabulon
