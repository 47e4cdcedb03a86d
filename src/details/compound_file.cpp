#include "details/compound_file.h"

#include <algorithm>
#include <cstring>

namespace tabulon {

namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFEu;
constexpr std::uint32_t kNoStream = 0xFFFFFFFFu;
constexpr std::uint32_t kMiniStreamCutoff = 4096;
constexpr std::uint32_t kMiniSectorSize = 64;
constexpr std::uint32_t kDirEntrySize = 128;
constexpr unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::uint8_t kTypeStream = 2;
constexpr std::uint8_t kTypeRoot = 5;

}  // namespace

std::string Utf16LeToUtf8(const unsigned char* p, std::size_t units) {
  std::string out;
  for (std::size_t i = 0; i < units; ++i) {
    std::uint32_t c = Le16(p + 2 * i);
    if (c == 0) break;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units) {
      const std::uint32_t low = Le16(p + 2 * (i + 1));
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

namespace {

bool SameNameIgnoringAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto x = static_cast<unsigned char>(a[i]);
    auto y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

std::uint64_t CeilDiv(std::uint64_t a, std::uint64_t b) {
  return a / b + (a % b != 0);
}

}  // namespace

bool CompoundFile::Open(const ByteSource& source) {
  source_ = nullptr;
  unsigned char header[512];
  if (!source.ReadExact(0, header, sizeof header)) return false;
  if (std::memcmp(header, kSignature, 8) != 0) return false;
  if (Le16(header + 0x1C) != 0xFFFE) return false;
  majorVersion_ = Le16(header + 0x1A);
  const std::uint16_t sectorShift = Le16(header + 0x1E);
  if (!((majorVersion_ == 3 && sectorShift == 9) || (majorVersion_ == 4 && sectorShift == 12)))
    return false;
  if (Le16(header + 0x20) != 6) return false;
  sectorSize_ = 1u << sectorShift;
  const std::uint64_t size = source.Size();
  sectorCount_ = size > sectorSize_ ? CeilDiv(size - sectorSize_, sectorSize_) : 0;
  // Sector numbers are 32-bit and the top few are markers.
  sectorCount_ = std::min<std::uint64_t>(sectorCount_, 0xFFFFFFFAu);
  source_ = &source;

  // The FAT sectors, as many as can map the sectors the file holds.
  const std::uint32_t perSector = sectorSize_ / 4;
  const std::uint64_t fatWanted =
      std::min<std::uint64_t>(Le32(header + 0x2C), CeilDiv(sectorCount_, perSector));
  fatSectors_.clear();
  for (int i = 0; i < 109 && fatSectors_.size() < fatWanted; ++i)
    fatSectors_.push_back(Le32(header + 0x4C + 4 * i));
  std::uint32_t difat = Le32(header + 0x44);
  std::uint64_t difatLeft = Le32(header + 0x48);
  std::vector<unsigned char> block(sectorSize_);
  std::uint64_t steps = 0;
  while (fatSectors_.size() < fatWanted && difatLeft > 0 && difat < sectorCount_) {
    // Each DIFAT sector is visited at most once per sector of the file.
    if (++steps > sectorCount_) break;
    if (!ReadSector(difat, 0, block.data(), sectorSize_)) break;
    for (std::uint32_t i = 0; i + 1 < perSector && fatSectors_.size() < fatWanted; ++i)
      fatSectors_.push_back(Le32(block.data() + 4 * i));
    difat = Le32(block.data() + 4 * (perSector - 1));
    --difatLeft;
  }
  miniFatStart_ = Le32(header + 0x3C);

  if (!Chain(Le32(header + 0x30), 0, dirChain_) || dirChain_.empty()) {
    source_ = nullptr;
    return false;
  }
  const std::uint64_t entries =
      static_cast<std::uint64_t>(dirChain_.size()) * (sectorSize_ / kDirEntrySize);
  dirEntryCount_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(entries, kNoStream - 1));
  DirEntry root;
  if (!ReadDirEntry(0, root) || root.type != kTypeRoot) {
    source_ = nullptr;
    return false;
  }
  return true;
}

bool CompoundFile::ReadSector(std::uint32_t sector, std::uint64_t within, void* out,
                              std::size_t count) const {
  if (sector >= sectorCount_ || within + count > sectorSize_) return false;
  const std::uint64_t offset = (static_cast<std::uint64_t>(sector) + 1) * sectorSize_ + within;
  return source_->ReadExact(offset, out, count);
}

bool CompoundFile::FatEntry(std::uint32_t sector, std::uint32_t& next) const {
  const std::uint32_t perSector = sectorSize_ / 4;
  const std::uint64_t index = sector / perSector;
  if (index >= fatSectors_.size()) return false;
  unsigned char bytes[4];
  if (!ReadSector(fatSectors_[index], (sector % perSector) * 4u, bytes, 4)) return false;
  next = Le32(bytes);
  return true;
}

bool CompoundFile::Chain(std::uint32_t start, std::uint64_t needed,
                         std::vector<std::uint32_t>& out) const {
  out.clear();
  if (needed > sectorCount_) return false;
  std::vector<bool> seen(sectorCount_, false);
  std::uint32_t sector = start;
  while (needed == 0 || out.size() < needed) {
    if (sector == kEndOfChain) return needed == 0;
    // Free, marker or out-of-range sectors, and a sector met twice (a cycle),
    // all break the chain.
    if (sector >= sectorCount_ || seen[sector]) return false;
    seen[sector] = true;
    out.push_back(sector);
    if (!FatEntry(sector, sector)) return false;
  }
  return true;
}

bool CompoundFile::ReadDirEntry(std::uint32_t id, DirEntry& entry) const {
  if (id >= dirEntryCount_) return false;
  const std::uint32_t perSector = sectorSize_ / kDirEntrySize;
  unsigned char raw[kDirEntrySize];
  if (!ReadSector(dirChain_[id / perSector], (id % perSector) * kDirEntrySize, raw, sizeof raw))
    return false;
  const std::uint16_t nameBytes = Le16(raw + 0x40);
  const std::size_t units = std::min<std::size_t>(nameBytes / 2, 32);
  entry.name = Utf16LeToUtf8(raw, units);
  entry.type = raw[0x42];
  entry.left = Le32(raw + 0x44);
  entry.right = Le32(raw + 0x48);
  entry.child = Le32(raw + 0x4C);
  entry.start = Le32(raw + 0x74);
  // Version 3 files may leave garbage in the high half of the size.
  entry.size = majorVersion_ == 3 ? Le32(raw + 0x78) : Le64(raw + 0x78);
  return true;
}

bool CompoundFile::ReadRootStream(const std::string& name, std::string& out,
                                  std::uint64_t maxSize) const {
  out.clear();
  if (!source_) return false;
  DirEntry root;
  if (!ReadDirEntry(0, root)) return false;

  // Walk the root's children (a tree through left and right) without
  // trusting its order; every entry at most once.
  std::vector<bool> seen(dirEntryCount_, false);
  std::vector<std::uint32_t> pending{root.child};
  while (!pending.empty()) {
    const std::uint32_t id = pending.back();
    pending.pop_back();
    if (id >= dirEntryCount_ || seen[id]) continue;
    seen[id] = true;
    DirEntry entry;
    if (!ReadDirEntry(id, entry)) return false;
    if (entry.type == kTypeStream && SameNameIgnoringAsciiCase(entry.name, name)) {
      if (entry.size > maxSize) return false;
      return entry.size < kMiniStreamCutoff ? ReadMiniStream(entry, out)
                                            : ReadRegularStream(entry, out);
    }
    pending.push_back(entry.left);
    pending.push_back(entry.right);
  }
  return false;
}

bool CompoundFile::ReadRegularStream(const DirEntry& entry, std::string& out) const {
  const std::uint64_t needed = CeilDiv(entry.size, sectorSize_);
  std::vector<std::uint32_t> chain;
  if (!Chain(entry.start, needed, chain)) return false;
  out.resize(entry.size);
  std::uint64_t done = 0;
  for (const std::uint32_t sector : chain) {
    const std::size_t n =
        static_cast<std::size_t>(std::min<std::uint64_t>(sectorSize_, entry.size - done));
    if (!ReadSector(sector, 0, out.data() + done, n)) {
      out.clear();
      return false;
    }
    done += n;
  }
  return true;
}

bool CompoundFile::ReadMiniStream(const DirEntry& entry, std::string& out) const {
  if (entry.size == 0) return true;
  DirEntry root;
  if (!ReadDirEntry(0, root)) return false;
  // The mini stream lives in the root entry's regular sectors.
  if (root.size > sectorCount_ * sectorSize_) return false;
  std::vector<std::uint32_t> rootChain;
  if (!Chain(root.start, CeilDiv(root.size, sectorSize_), rootChain)) return false;
  std::vector<std::uint32_t> miniFatChain;
  if (!Chain(miniFatStart_, 0, miniFatChain)) return false;
  const std::uint64_t miniCount = root.size / kMiniSectorSize;
  const std::uint32_t perSector = sectorSize_ / 4;

  const std::uint64_t needed = CeilDiv(entry.size, kMiniSectorSize);
  if (needed > miniCount) return false;
  std::vector<bool> seen(miniCount, false);
  out.resize(entry.size);
  std::uint64_t done = 0;
  std::uint32_t mini = entry.start;
  for (std::uint64_t k = 0; k < needed; ++k) {
    if (mini >= miniCount || seen[mini]) break;
    seen[mini] = true;
    const std::uint64_t at = static_cast<std::uint64_t>(mini) * kMiniSectorSize;
    const std::size_t n =
        static_cast<std::size_t>(std::min<std::uint64_t>(kMiniSectorSize, entry.size - done));
    if (!ReadSector(rootChain[at / sectorSize_], at % sectorSize_, out.data() + done, n)) break;
    done += n;
    if (done == entry.size) return true;
    // The next mini sector from the mini FAT.
    const std::uint64_t fatIndex = mini / perSector;
    if (fatIndex >= miniFatChain.size()) break;
    unsigned char bytes[4];
    if (!ReadSector(miniFatChain[fatIndex], (mini % perSector) * 4u, bytes, 4)) break;
    mini = Le32(bytes);
  }
  out.clear();
  return false;
}

}  // namespace tabulon
