// Where the readers of file details take their bytes from: a regular file or
// a buffer in memory (the fuzz targets and tests feed memory directly).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/regular_file.h"

namespace tabulon {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Reads up to `count` bytes at `offset`; the count read, 0 at or beyond the
  // end, -1 on an error.
  virtual std::int64_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const = 0;

  // Exactly `count` bytes at `offset`, or false.
  bool ReadExact(std::uint64_t offset, void* buffer, std::size_t count) const {
    if (offset > Size() || count > Size() - offset) return false;
    auto* out = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
      const std::int64_t got = ReadAt(offset + done, out + done, count - done);
      if (got <= 0) return false;
      done += static_cast<std::size_t>(got);
    }
    return true;
  }
};

class MemorySource : public ByteSource {
 public:
  MemorySource(const void* data, std::size_t size)
      : data_(static_cast<const unsigned char*>(data)), size_(size) {}
  explicit MemorySource(const std::string& bytes) : MemorySource(bytes.data(), bytes.size()) {}

  std::uint64_t Size() const override { return size_; }
  std::int64_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const override {
    if (offset >= size_) return 0;
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
    if (n > 0) std::memcpy(buffer, data_ + offset, n);
    return static_cast<std::int64_t>(n);
  }

 private:
  const unsigned char* data_;
  std::size_t size_;
};

// An open RegularFile; the caller keeps it open while the source is used.
class FileSource : public ByteSource {
 public:
  explicit FileSource(const RegularFile& file) : file_(file) {}
  std::uint64_t Size() const override { return file_.Size(); }
  std::int64_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const override {
    return file_.ReadAt(offset, buffer, count);
  }

 private:
  const RegularFile& file_;
};

// A window of another source, e.g. an EXIF block inside a JPEG file.
class SubSource : public ByteSource {
 public:
  SubSource(const ByteSource& base, std::uint64_t offset, std::uint64_t size) : base_(base) {
    const std::uint64_t total = base.Size();
    offset_ = std::min(offset, total);
    size_ = std::min(size, total - offset_);
  }
  std::uint64_t Size() const override { return size_; }
  std::int64_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const override {
    if (offset >= size_) return 0;
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
    return base_.ReadAt(offset_ + offset, buffer, n);
  }

 private:
  const ByteSource& base_;
  std::uint64_t offset_ = 0;
  std::uint64_t size_ = 0;
};

// Little- and big-endian integers from a byte buffer.
inline std::uint16_t Le16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t Le32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint64_t Le64(const unsigned char* p) {
  return static_cast<std::uint64_t>(Le32(p)) | (static_cast<std::uint64_t>(Le32(p + 4)) << 32);
}
inline std::uint16_t Be16(const unsigned char* p) {
  return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
inline std::uint32_t Be32(const unsigned char* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}

// Text read from a file for display: kept as it is when it is valid UTF-8,
// otherwise read as Latin-1 (what ID3v1 tags and old summaries mostly hold).
std::string DisplayText(const std::string& bytes);

// UTF-16LE code units to UTF-8, up to the first NUL or `units`; an unpaired
// surrogate is kept as its own code point.
std::string Utf16LeToUtf8(const unsigned char* p, std::size_t units);

}  // namespace tabulon
