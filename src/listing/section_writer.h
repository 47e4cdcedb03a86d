// What a running job installs so that the search's match handler can write
// a deferred directory heading without knowing which output it feeds.
#pragma once

#include <string>

namespace tabulon {

class SectionWriter {
 public:
  virtual ~SectionWriter() = default;
  // The heading of a directory, or in a directories-only listing the start
  // of its line (PrintDirectoryHeading, ExportDirectoryHeading). The folder
  // text has no trailing "/"; the root "/" keeps it.
  virtual void WriteDirectoryHeading(const std::string& folderText) = 0;
};

}  // namespace tabulon
