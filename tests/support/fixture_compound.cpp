#include "support/fixture_compound.h"

#include <algorithm>
#include <cctype>
#include <functional>

namespace tabulon::testing {

namespace {

constexpr std::uint32_t kEnd = 0xFFFFFFFEu;
constexpr std::uint32_t kFree = 0xFFFFFFFFu;
constexpr std::uint32_t kFatMark = 0xFFFFFFFDu;

void PutLe(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void SetLe(std::string& out, std::size_t at, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

struct Entry {
  std::string name;
  std::uint8_t type = 0;
  std::uint32_t left = kFree, right = kFree, child = kFree;
  std::uint32_t start = kEnd;
  std::uint64_t size = 0;
};

std::string EncodeEntry(const Entry& e) {
  std::string out(128, '\0');
  if (e.type != 0) {
    for (std::size_t i = 0; i < e.name.size() && i < 31; ++i) out[2 * i] = e.name[i];
    SetLe(out, 0x40, (e.name.size() + 1) * 2, 2);
  }
  out[0x42] = static_cast<char>(e.type);
  out[0x43] = 1;  // black
  SetLe(out, 0x44, e.left, 4);
  SetLe(out, 0x48, e.right, 4);
  SetLe(out, 0x4C, e.child, 4);
  SetLe(out, 0x74, e.start, 4);
  SetLe(out, 0x78, e.size, 8);
  return out;
}

bool NameLess(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return a.size() < b.size();
  for (std::size_t i = 0; i < a.size(); ++i) {
    const int x = std::toupper(static_cast<unsigned char>(a[i]));
    const int y = std::toupper(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y;
  }
  return false;
}

}  // namespace

void CompoundImage::SetFatEntry(std::uint32_t sector, std::uint32_t next) {
  const std::uint32_t perSector = sectorSize / 4;
  const std::size_t at = SectorOffset(fatSectors[sector / perSector]) + (sector % perSector) * 4;
  SetLe(bytes, at, next, 4);
}

CompoundImage BuildCompoundFile(const std::vector<CompoundStream>& streams, int majorVersion) {
  CompoundImage image;
  const std::uint32_t ss = majorVersion == 4 ? 4096 : 512;
  image.sectorSize = ss;
  std::vector<std::string> sectors;
  std::vector<std::uint32_t> fat;
  auto allocate = [&](const std::string& data) -> std::uint32_t {
    if (data.empty()) return kEnd;
    const auto first = static_cast<std::uint32_t>(sectors.size());
    for (std::size_t at = 0; at < data.size(); at += ss) {
      std::string sector = data.substr(at, ss);
      sector.resize(ss, '\0');
      sectors.push_back(sector);
      fat.push_back(static_cast<std::uint32_t>(sectors.size()));
    }
    fat.back() = kEnd;
    return first;
  };

  std::vector<Entry> entries(1);
  entries[0].name = "Root Entry";
  entries[0].type = 5;
  std::string mini;
  std::vector<std::uint32_t> miniFat;
  for (const CompoundStream& s : streams) {
    Entry e;
    e.name = s.name;
    e.type = 2;
    e.size = s.data.size();
    if (s.data.size() >= 4096) {
      e.start = allocate(s.data);
      image.streamStart[s.name] = e.start;
    } else if (!s.data.empty()) {
      e.start = static_cast<std::uint32_t>(mini.size() / 64);
      std::string padded = s.data;
      padded.resize((padded.size() + 63) / 64 * 64, '\0');
      for (std::size_t k = 0; k < padded.size() / 64; ++k)
        miniFat.push_back(static_cast<std::uint32_t>(e.start + k + 1));
      miniFat.back() = kEnd;
      mini += padded;
    }
    entries.push_back(e);
  }
  entries[0].start = allocate(mini);
  entries[0].size = mini.size();
  std::string miniFatBytes;
  for (const std::uint32_t v : miniFat) PutLe(miniFatBytes, v, 4);
  if (!miniFatBytes.empty()) miniFatBytes.resize((miniFatBytes.size() + ss - 1) / ss * ss, '\xFF');
  const std::uint32_t miniFatStart = allocate(miniFatBytes);
  const std::uint32_t miniFatCount = static_cast<std::uint32_t>(miniFatBytes.size() / ss);

  // A balanced tree of the root's children in the format's name order.
  std::vector<std::uint32_t> order;
  for (std::uint32_t i = 1; i < entries.size(); ++i) order.push_back(i);
  std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    return NameLess(entries[a].name, entries[b].name);
  });
  std::function<std::uint32_t(int, int)> build = [&](int lo, int hi) -> std::uint32_t {
    if (lo >= hi) return kFree;
    const int mid = (lo + hi) / 2;
    const std::uint32_t id = order[mid];
    entries[id].left = build(lo, mid);
    entries[id].right = build(mid + 1, hi);
    return id;
  };
  entries[0].child = build(0, static_cast<int>(order.size()));
  std::string directory;
  for (const Entry& e : entries) directory += EncodeEntry(e);
  while (directory.size() % ss != 0) directory += EncodeEntry(Entry{});
  const std::uint32_t dirStart = allocate(directory);
  const std::uint32_t dirCount = static_cast<std::uint32_t>(directory.size() / ss);

  // FAT sectors, then DIFAT sectors beyond the header's 109 entries, at the
  // end; enough of them to map themselves too.
  const std::uint32_t perSector = ss / 4;
  std::uint32_t fatCount = 1, difatCount = 0;
  for (;;) {
    const std::size_t total = sectors.size() + fatCount + difatCount;
    const std::uint32_t needFat = static_cast<std::uint32_t>((total + perSector - 1) / perSector);
    const std::uint32_t needDifat =
        needFat > 109 ? (needFat - 109 + perSector - 2) / (perSector - 1) : 0;
    if (needFat <= fatCount && needDifat <= difatCount) break;
    fatCount = std::max(fatCount, needFat);
    difatCount = std::max(difatCount, needDifat);
  }
  for (std::uint32_t i = 0; i < fatCount; ++i) {
    image.fatSectors.push_back(static_cast<std::uint32_t>(sectors.size()));
    sectors.emplace_back(ss, '\0');
    fat.push_back(kFatMark);
  }
  std::vector<std::uint32_t> difatSectors;
  for (std::uint32_t i = 0; i < difatCount; ++i) {
    difatSectors.push_back(static_cast<std::uint32_t>(sectors.size()));
    sectors.emplace_back(ss, '\xFF');
    fat.push_back(0xFFFFFFFCu);
  }
  fat.resize(static_cast<std::size_t>(fatCount) * perSector, kFree);
  for (std::uint32_t i = 0; i < fatCount; ++i) {
    std::string& sector = sectors[image.fatSectors[i]];
    for (std::uint32_t k = 0; k < perSector; ++k) SetLe(sector, 4 * k, fat[i * perSector + k], 4);
  }
  for (std::uint32_t d = 0; d < difatCount; ++d) {
    std::string& sector = sectors[difatSectors[d]];
    for (std::uint32_t k = 0; k + 1 < perSector; ++k) {
      const std::size_t index = 109 + static_cast<std::size_t>(d) * (perSector - 1) + k;
      if (index < fatCount) SetLe(sector, 4 * k, image.fatSectors[index], 4);
    }
    SetLe(sector, ss - 4, d + 1 < difatCount ? difatSectors[d + 1] : kEnd, 4);
  }

  std::string header(ss, '\0');
  const unsigned char signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  for (int i = 0; i < 8; ++i) header[i] = static_cast<char>(signature[i]);
  SetLe(header, 0x18, 0x3E, 2);
  SetLe(header, 0x1A, majorVersion, 2);
  SetLe(header, 0x1C, 0xFFFE, 2);
  SetLe(header, 0x1E, majorVersion == 4 ? 12 : 9, 2);
  SetLe(header, 0x20, 6, 2);
  SetLe(header, 0x28, majorVersion == 4 ? dirCount : 0, 4);
  SetLe(header, 0x2C, fatCount, 4);
  SetLe(header, 0x30, dirStart, 4);
  SetLe(header, 0x38, 4096, 4);
  SetLe(header, 0x3C, miniFatCount ? miniFatStart : kEnd, 4);
  SetLe(header, 0x40, miniFatCount, 4);
  SetLe(header, 0x44, difatCount ? difatSectors[0] : kEnd, 4);
  SetLe(header, 0x48, difatCount, 4);
  for (int i = 0; i < 109; ++i)
    SetLe(header, 0x4C + 4 * i, i < static_cast<int>(fatCount) ? image.fatSectors[i] : kFree, 4);
  image.bytes = header;
  for (const std::string& s : sectors) image.bytes += s;
  return image;
}

SummaryProperty TextProperty(std::uint32_t id, const std::string& text, bool countNul) {
  SummaryProperty p{id, 30, {}};
  const std::string stored = countNul ? text + '\0' : text;
  PutLe(p.value, stored.size(), 4);
  p.value += stored;
  return p;
}

SummaryProperty IntProperty(std::uint32_t id, std::int32_t value) {
  SummaryProperty p{id, 3, {}};
  PutLe(p.value, static_cast<std::uint32_t>(value), 4);
  return p;
}

SummaryProperty FileTimeProperty(std::uint32_t id, std::uint64_t fileTime) {
  SummaryProperty p{id, 64, {}};
  PutLe(p.value, fileTime, 8);
  return p;
}

std::string BuildSummaryStream(const std::vector<SummaryProperty>& properties, bool withCodePage) {
  std::vector<SummaryProperty> all;
  if (withCodePage) {
    SummaryProperty codePage{1, 2, {}};
    PutLe(codePage.value, 1252, 4);  // a 16-bit value padded to 4 bytes
    all.push_back(codePage);
  }
  all.insert(all.end(), properties.begin(), properties.end());

  std::string values;
  std::string index;
  const std::size_t indexSize = 8 + 8 * all.size();
  for (const SummaryProperty& p : all) {
    PutLe(index, p.id, 4);
    PutLe(index, indexSize + values.size(), 4);
    PutLe(values, p.type, 4);
    values += p.value;
    while (values.size() % 4 != 0) values += '\0';
  }
  std::string section;
  PutLe(section, indexSize + values.size(), 4);
  PutLe(section, all.size(), 4);
  section += index + values;

  std::string out;
  PutLe(out, 0xFFFE, 2);
  PutLe(out, 0, 2);
  PutLe(out, 0x00020005, 4);  // system identifier
  out += std::string(16, '\0');
  PutLe(out, 1, 4);
  const unsigned char fmtid[16] = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                   0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
  out.append(reinterpret_cast<const char*>(fmtid), 16);
  PutLe(out, 48, 4);
  return out + section;
}

}  // namespace tabulon::testing
