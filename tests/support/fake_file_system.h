// An in-memory folder tree for tests: any attributes, times, sizes and
// alternate names, and folders that cannot be read. Attributes are exactly
// those the test sets: a name beginning with "." is not made hidden.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace tabulon::testing {

class FakeFileSystem : public FileSystem {
 public:
  struct Entry {
    bool isDirectory = false;
    std::uint32_t attributes = 0;  // kAttrDirectory is added for folders
    FileTime creationTime = 0;     // UTC
    FileTime lastAccessTime = 0;   // UTC
    FileTime lastWriteTime = 0;    // UTC
    std::uint64_t size = 0;
    std::string alternateName;
    bool readable = true;  // a folder that cannot be read yields nothing
  };

  // The time zone turns lastWriteTime into the record's local DOS time.
  explicit FakeFileSystem(const TimeZone& timeZone);
  ~FakeFileSystem() override;

  // Absolute paths with "/" separators; missing parent folders are created.
  // Entries of a folder are returned in the order they were added, after "."
  // and "..". Returns the entry to set further fields on.
  Entry& AddFile(const std::string& path, std::uint64_t size = 0,
                 std::uint32_t attributes = kAttrArchive);
  Entry& AddFolder(const std::string& path, std::uint32_t attributes = 0);
  Entry* Find(const std::string& path);
  // Every folder whose search was started, in order (spec folders, and the
  // folders given to ListSubdirectories).
  const std::vector<std::string>& SearchedFolders() const { return searched_; }

  std::unique_ptr<DirectorySearch> FindFirst(const std::string& spec,
                                             std::uint32_t attrFilter) override;
  std::vector<SubdirectoryEntry> ListSubdirectories(const std::string& folder) override;
  bool IsDirectory(const std::string& path) override;
  bool Exists(const std::string& path) override;

 private:
  struct Node;
  Node* NodeFor(const std::string& path, bool create);
  const TimeZone& timeZone_;
  std::unique_ptr<Node> root_;
  std::vector<std::string> searched_;
};

}  // namespace tabulon::testing
