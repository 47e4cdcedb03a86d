// Read-only access to a regular file. Everything that reads a file's content
// goes through here, so that no fifo, device or socket is ever opened for
// reading and no open blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tabulon {

class RegularFile {
 public:
  RegularFile() = default;
  ~RegularFile();
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;
  RegularFile(RegularFile&& other) noexcept;
  RegularFile& operator=(RegularFile&& other) noexcept;

  // Opens the path for reading. False when it does not exist, cannot be
  // opened, or is not a regular file (after following links); nothing that is
  // not a regular file is ever opened in a way that could block.
  bool Open(const std::string& path);
  bool IsOpen() const { return fd_ >= 0; }
  void Close();

  std::uint64_t Size() const { return size_; }
  // Reads up to `count` bytes at `offset`; returns the count read, or -1 on
  // an error.
  std::int64_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const;
  // Reads exactly `count` bytes at `offset`; false when fewer are there.
  bool ReadExactAt(std::uint64_t offset, void* buffer, std::size_t count) const;

 private:
  int fd_ = -1;
  std::uint64_t size_ = 0;
};

// Whether the path exists at all (any kind of entry, a dangling link too).
bool PathExists(const std::string& path);

}  // namespace tabulon
