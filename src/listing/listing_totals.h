// The counters of a listing job: per directory and for the whole job. Exact
// whole numbers; byte counts are 64-bit so nothing wraps beyond 4 GiB.
#pragma once

#include <cstdint>

namespace tabulon {

struct ListingTotals {
  std::uint64_t DirFileCount = 0;  // current directory, reset per directory
  std::uint64_t DirByteCount = 0;
  std::uint32_t DirectoryCount = 0;  // directories the renderer listed
  std::uint64_t FileCount = 0;       // job, reset per job
  std::uint64_t ByteCount = 0;

  void StartDirectory() {
    DirFileCount = 0;
    DirByteCount = 0;
  }
  void AddFile(std::uint64_t size) {
    DirFileCount += 1;
    DirByteCount += size;
  }
  // Run by the renderer at the end of a directory it did not cancel.
  void EndDirectory() {
    FileCount += DirFileCount;
    ByteCount += DirByteCount;
  }
};

}  // namespace tabulon
