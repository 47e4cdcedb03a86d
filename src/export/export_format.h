// The three formats of an export file.
#pragma once

#include <string_view>

namespace tabulon {

// ExportFormat: plain text "T", comma-delimited "D", HTML "H".
enum class ExportFormat : char {
  kText = 'T',
  kDelimited = 'D',
  kHtml = 'H',
};

// The format a file name's extension suggests: .csv comma-delimited, .htm and
// .html HTML (any case), anything else plain text.
ExportFormat ExportFormatFromFileName(std::string_view fileName);

}  // namespace tabulon
