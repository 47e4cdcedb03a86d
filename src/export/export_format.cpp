#include "export/export_format.h"

#include <cctype>
#include <string>

namespace tabulon {

ExportFormat ExportFormatFromFileName(std::string_view fileName) {
  std::size_t slash = fileName.rfind('/');
  std::string_view base = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
  std::size_t dot = base.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return ExportFormat::kText;
  std::string extension;
  for (char c : base.substr(dot + 1)) {
    extension += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  if (extension == "csv") return ExportFormat::kDelimited;
  if (extension == "htm" || extension == "html") return ExportFormat::kHtml;
  return ExportFormat::kText;
}

}  // namespace tabulon
