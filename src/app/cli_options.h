// Reading the command line: which job, its file and folder, and the options
// that override the saved ones.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "export/export_format.h"
#include "listing/listing_options.h"
#include "platform/locale.h"

namespace tabulon {

struct ParsedCommandLine {
  bool help = false;
  bool version = false;
  bool defaults = false;  // start from the first-run values, not the saved ones
  bool open = false;
  std::string exportFile;            // --export FILE
  std::string pdfFile;               // --pdf FILE
  std::optional<ExportFormat> type;  // --type
  std::vector<std::string> positionals;
  // The option flags in the order given, with their values ("" for a switch).
  std::vector<std::pair<std::string, std::string>> settings;
};

// Splits the arguments (without the program name). Returns the message of the
// first error: an unknown option, a missing value, a bad --type.
std::optional<std::string> ParseArguments(const std::vector<std::string>& args,
                                          ParsedCommandLine& out);

// Applies the option flags to `options` in order, a later flag winning.
// Returns the message of the first bad value.
std::optional<std::string> ApplySettings(const ParsedCommandLine& parsed, const Locale& locale,
                                         ListingOptions& options);

// The format for an export: --type when given, else the file's extension.
ExportFormat ChooseExportFormat(const ParsedCommandLine& parsed);

// The usage text of --help.
const char* UsageText();

}  // namespace tabulon
