// A reader of compound files (structured storage, versions 3 and 4): enough
// to open a stream of the root storage by name and read it whole.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "details/byte_source.h"

namespace tabulon {

class CompoundFile {
 public:
  // Summary streams are small; anything claiming more is not read.
  static constexpr std::uint64_t kDefaultMaxStream = 16u * 1024 * 1024;

  // Reads the header, the DIFAT and the directory chain. False when the
  // bytes are not a compound file this reader understands. The source must
  // outlive the reader.
  bool Open(const ByteSource& source);

  // Reads the stream `name` (UTF-8, compared without regard to ASCII case)
  // of the root storage. False when it is missing, larger than `maxSize`,
  // or any of its sectors cannot be reached: a broken, cyclic or short
  // chain, or a sector beyond the file.
  bool ReadRootStream(const std::string& name, std::string& out,
                      std::uint64_t maxSize = kDefaultMaxStream) const;

  int MajorVersion() const { return majorVersion_; }

 private:
  struct DirEntry {
    std::string name;  // UTF-8
    std::uint8_t type = 0;
    std::uint32_t left = 0, right = 0, child = 0;
    std::uint32_t start = 0;
    std::uint64_t size = 0;
  };

  bool ReadSector(std::uint32_t sector, std::uint64_t within, void* out, std::size_t count) const;
  bool FatEntry(std::uint32_t sector, std::uint32_t& next) const;
  // The sectors of a chain; `needed` of them, or up to its end when 0.
  bool Chain(std::uint32_t start, std::uint64_t needed, std::vector<std::uint32_t>& out) const;
  bool ReadDirEntry(std::uint32_t id, DirEntry& entry) const;
  bool ReadMiniStream(const DirEntry& entry, std::string& out) const;
  bool ReadRegularStream(const DirEntry& entry, std::string& out) const;

  const ByteSource* source_ = nullptr;
  int majorVersion_ = 0;
  std::uint32_t sectorSize_ = 512;
  std::uint64_t sectorCount_ = 0;
  std::uint32_t miniFatStart_ = 0;
  std::vector<std::uint32_t> fatSectors_;
  std::vector<std::uint32_t> dirChain_;
  std::uint32_t dirEntryCount_ = 0;
};

}  // namespace tabulon
