// Runs an export job for the command line and turns its end into an exit
// status: 0 complete, 1 not written, 130 interrupted.
#pragma once

#include "app/cli_job_host.h"
#include "app/headless_job.h"

namespace tabulon {

int RunHeadlessExport(const HeadlessJob& job, CliJobHost& host);

}  // namespace tabulon
