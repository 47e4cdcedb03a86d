// A real temporary folder built by code: files with contents or sizes and
// modification times, folders, links and fifos. It is removed with all it
// holds when the object goes, also where a test took away permissions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tabulon::testing {

class TempTree {
 public:
  TempTree();  // a new empty folder under $TMPDIR (else /tmp); throws on failure
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // The folder itself, without a trailing separator.
  const std::string& Root() const { return root_; }
  // Root() + "/" + relative; Root() for an empty relative path.
  std::string Path(std::string_view relative) const;

  // Each creates missing parent folders and returns the full path. Failures
  // throw std::runtime_error with the system's reason.
  std::string AddFile(std::string_view relative, std::string_view content = {});
  // A file of `size` bytes without writing them (sparse), so sizes beyond
  // 4 GiB cost nothing.
  std::string AddFileOfSize(std::string_view relative, std::uint64_t size);
  std::string AddFolder(std::string_view relative);
  // A symbolic link holding `target` as it stands (relative or absolute).
  std::string AddLink(std::string_view relative, std::string_view target);
  std::string AddFifo(std::string_view relative);

  // Last-write and last-access times in Unix seconds (and nanoseconds). The
  // link itself is changed, not what it points to, when `ofLink` is set.
  void SetTimes(std::string_view relative, std::int64_t accessSeconds, std::int64_t writeSeconds,
                std::int64_t nanoseconds = 0, bool ofLink = false);
  // Sets the access time to the same value.
  void SetModificationTime(std::string_view relative, std::int64_t seconds,
                           std::int64_t nanoseconds = 0);
  void SetMode(std::string_view relative, unsigned mode);

 private:
  void MakeParents(std::string_view relative);
  std::string root_;
};

}  // namespace tabulon::testing
