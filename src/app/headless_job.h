// One job of the command line: everything it needs, already parsed.
#pragma once

#include <string>

#include "details/detail_sources.h"
#include "export/export_format.h"
#include "listing/listing_options.h"
#include "platform/services.h"

namespace tabulon {

struct HeadlessJob {
  ListingOptions options;  // saved or first-run values with the command line's overrides
  std::string folder;      // the listed folder, as given (an existing directory)
  std::string outputFile;  // the export or PDF file to write
  ExportFormat format = ExportFormat::kText;  // export only
  bool openFile = false;  // --open: open the finished (or cancelled) file with the shell
  Services services;      // borrowed; outlive the job
  DetailSources details;  // the readers of the detail lines
};

}  // namespace tabulon
