// The desktop shell: file type names and opening a file with its program.
#pragma once

#include <memory>
#include <string>

namespace tabulon {

class Shell {
 public:
  virtual ~Shell() = default;
  // The type description of a file, by its name (e.g. "plain text
  // document"); empty when unknown. At most 80 characters.
  virtual std::string TypeName(const std::string& path) const = 0;
  // Opens a file or address with its associated program; false on failure.
  virtual bool Open(const std::string& pathOrUrl) = 0;
};

// QMimeDatabase comments and QDesktopServices::openUrl.
std::unique_ptr<Shell> MakeDesktopShell();

}  // namespace tabulon
