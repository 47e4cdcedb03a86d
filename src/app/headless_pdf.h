// The command line's --pdf: the printed listing written as a PDF file.
#pragma once

#include "app/cli_job_host.h"
#include "app/headless_job.h"

namespace tabulon {

// Records the listing against Qt's PDF printer at 600 dpi, as a print job
// would against a printer, and writes its pages to job.outputFile. Returns 0
// when the file is complete, 1 when it could not be written (the message
// names the file and the reason), 130 when Ctrl+C cancelled the job; a
// cancelled job writes no file, as a cancelled print job prints nothing.
int RunHeadlessPdf(const HeadlessJob& job, CliJobHost& host);

}  // namespace tabulon
