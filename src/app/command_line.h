// The command line: --help, --version and the headless jobs.
#pragma once

namespace tabulon {

int RunCommandLine(int argc, char** argv);

}  // namespace tabulon
