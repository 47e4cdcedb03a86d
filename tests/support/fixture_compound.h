// Compound files and summary property sets built by code.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tabulon::testing {

struct CompoundStream {
  std::string name;  // ASCII; "\x05SummaryInformation" for the summary
  std::string data;
};

struct CompoundImage {
  std::string bytes;
  std::uint32_t sectorSize = 512;
  std::vector<std::uint32_t> fatSectors;             // in FAT order
  std::map<std::string, std::uint32_t> streamStart;  // regular streams only
  // Points the FAT entry of `sector` at `next` (for broken chains).
  void SetFatEntry(std::uint32_t sector, std::uint32_t next);
  // Byte offset of a sector in the file.
  std::size_t SectorOffset(std::uint32_t sector) const { return (sector + 1ull) * sectorSize; }
};

// Streams of 4096 bytes and more go into regular sectors, smaller ones into
// the mini stream. Version 3 (512-byte sectors) or 4 (4096-byte sectors).
CompoundImage BuildCompoundFile(const std::vector<CompoundStream>& streams, int majorVersion = 3);

struct SummaryProperty {
  std::uint32_t id = 0;
  std::uint32_t type = 0;
  std::string value;  // the bytes after the type, as stored
};
SummaryProperty TextProperty(std::uint32_t id, const std::string& text, bool countNul = true);
SummaryProperty IntProperty(std::uint32_t id, std::int32_t value);
SummaryProperty FileTimeProperty(std::uint32_t id, std::uint64_t fileTime);

// A summary information property set with one section. A code page
// property (1, 1252) comes first unless `withCodePage` is false.
std::string BuildSummaryStream(const std::vector<SummaryProperty>& properties,
                               bool withCodePage = true);

inline const std::string kSummaryName = std::string("\x05") + "SummaryInformation";

}  // namespace tabulon::testing
