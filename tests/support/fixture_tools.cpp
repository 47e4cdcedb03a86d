#include "support/fixture_tools.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>

namespace tabulon::testing {

ToolResult RunTool(const std::string& commandLine) {
  ToolResult result;
  const std::string line = commandLine + " 2>&1";
  FILE* pipe = ::popen(line.c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> chunk;
  std::size_t n = 0;
  while ((n = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
    result.output.append(chunk.data(), n);
  const int status = ::pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string ShellQuote(const std::string& text) {
  std::string out = "'";
  for (const char c : text) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

}  // namespace tabulon::testing
