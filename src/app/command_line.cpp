#include "app/command_line.h"

#include <cstdio>
#include <cstring>

namespace tabulon {
namespace {

const char kUsage[] =
    "Usage: tabulon [--help] [--version]\n"
    "\n"
    "Tabulon lists the contents of a folder tree on paper or in a file.\n"
    "\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and exit\n";

}  // namespace

int RunCommandLine(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("tabulon %s\n", TABULON_VERSION);
      return 0;
    }
  }
  std::fputs(kUsage, stderr);
  return 2;
}

}  // namespace tabulon
