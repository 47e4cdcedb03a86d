// Running the independent tools the cross-checks compare against. A missing
// tool fails the test loudly; it is never a reason to skip.
#pragma once

#include <string>

namespace tabulon::testing {

struct ToolResult {
  int exitCode = -1;
  std::string output;  // standard output and standard error
};

// Runs a shell command line and gathers what it prints.
ToolResult RunTool(const std::string& commandLine);

// Quotes a path or argument for the shell.
std::string ShellQuote(const std::string& text);

// The Python that has olefile and pefile (not the one first on PATH).
inline constexpr const char* kSystemPython = "/usr/bin/python3";

}  // namespace tabulon::testing
