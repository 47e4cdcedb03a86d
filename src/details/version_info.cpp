#include "details/version_info.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "platform/regular_file.h"

namespace tabulon {

namespace {

constexpr std::uint32_t kRtVersion = 16;
constexpr std::uint32_t kMaxSections = 96;
constexpr std::uint32_t kMaxDirEntries = 4096;
constexpr std::uint32_t kMaxVersionResource = 0xFFFF;  // its length field is 16-bit

struct Section {
  std::uint32_t virtualAddress = 0;
  std::uint32_t rawSize = 0;
  std::uint32_t rawPointer = 0;
};

class PeImage {
 public:
  explicit PeImage(const ByteSource& source) : source_(source) {}

  bool Load(std::uint32_t& resourceRva) {
    unsigned char dos[64];
    if (!source_.ReadExact(0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z') return false;
    const std::uint64_t pe = Le32(dos + 0x3C);
    unsigned char coff[24];
    if (!source_.ReadExact(pe, coff, sizeof coff) || std::memcmp(coff, "PE\0\0", 4) != 0)
      return false;
    const std::uint32_t sectionCount = std::min<std::uint32_t>(Le16(coff + 6), kMaxSections);
    const std::uint32_t optionalSize = Le16(coff + 20);
    const std::uint64_t optional = pe + 24;
    unsigned char magic[2];
    if (!source_.ReadExact(optional, magic, 2)) return false;
    std::uint32_t countAt = 0;
    if (Le16(magic) == 0x10B) {
      countAt = 92;
    } else if (Le16(magic) == 0x20B) {
      countAt = 108;
    } else {
      return false;
    }
    const std::uint32_t resourceAt = countAt + 4 + 2 * 8;
    if (optionalSize < resourceAt + 8) return false;
    unsigned char word[8];
    if (!source_.ReadExact(optional + countAt, word, 4) || Le32(word) <= 2) return false;
    if (!source_.ReadExact(optional + resourceAt, word, 8)) return false;
    resourceRva = Le32(word);
    if (resourceRva == 0 || Le32(word + 4) == 0) return false;

    const std::uint64_t table = optional + optionalSize;
    for (std::uint32_t i = 0; i < sectionCount; ++i) {
      unsigned char raw[40];
      if (!source_.ReadExact(table + 40ull * i, raw, sizeof raw)) return false;
      sections_.push_back(Section{Le32(raw + 12), Le32(raw + 16), Le32(raw + 20)});
    }
    return true;
  }

  // The file offset of `count` bytes at an address, if a section holds them.
  bool OffsetOf(std::uint32_t rva, std::uint32_t count, std::uint64_t& offset) const {
    for (const Section& s : sections_) {
      if (rva < s.virtualAddress) continue;
      const std::uint64_t within = rva - s.virtualAddress;
      if (within + count > s.rawSize) continue;
      offset = s.rawPointer + within;
      return offset + count <= source_.Size();
    }
    return false;
  }

 private:
  const ByteSource& source_;
  std::vector<Section> sections_;
};

struct DirEntry {
  std::uint32_t name;    // an ID, or a name when the high bit is set
  std::uint32_t target;  // a subdirectory when the high bit is set
};

bool ReadDirectory(const ByteSource& source, std::uint64_t base, std::uint32_t offset,
                   std::vector<DirEntry>& out) {
  out.clear();
  unsigned char head[16];
  if (!source.ReadExact(base + offset, head, sizeof head)) return false;
  const std::uint32_t count =
      std::min<std::uint32_t>(Le16(head + 12) + Le16(head + 14), kMaxDirEntries);
  std::vector<unsigned char> raw(8ull * count);
  if (!source.ReadExact(base + offset + 16, raw.data(), raw.size())) return false;
  for (std::uint32_t i = 0; i < count; ++i)
    out.push_back(DirEntry{Le32(raw.data() + 8 * i), Le32(raw.data() + 8 * i + 4)});
  return true;
}

// The position of `entries` to take for the user's language: an exact match,
// then the same primary language, then US English, then the first.
std::size_t PreferredLanguage(const std::vector<std::uint16_t>& languages,
                              std::uint16_t userLanguage) {
  if (userLanguage != 0) {
    for (std::size_t i = 0; i < languages.size(); ++i)
      if (languages[i] == userLanguage) return i;
    for (std::size_t i = 0; i < languages.size(); ++i)
      if ((languages[i] & 0x3FF) == (userLanguage & 0x3FF)) return i;
  }
  for (std::size_t i = 0; i < languages.size(); ++i)
    if (languages[i] == kLanguageUsEnglish) return i;
  return 0;
}

// One node of the version resource tree: wLength, wValueLength, wType, key,
// value, children; each part 32-bit aligned from the start of the resource.
struct Node {
  std::size_t start = 0, end = 0;
  std::string key;
  std::size_t valueStart = 0;
  std::size_t valueLength = 0;  // as stored
  std::uint16_t type = 0;
  std::size_t childrenStart = 0;
};

std::size_t Align4(std::size_t at) {
  return (at + 3) & ~static_cast<std::size_t>(3);
}

bool ReadNode(const std::vector<unsigned char>& data, std::size_t at, std::size_t limit,
              Node& node) {
  if (at + 6 > limit) return false;
  const std::size_t length = Le16(data.data() + at);
  if (length < 6) return false;
  node.start = at;
  node.end = std::min(at + length, limit);
  node.valueLength = Le16(data.data() + at + 2);
  node.type = Le16(data.data() + at + 4);
  std::size_t p = at + 6;
  std::size_t units = 0;
  while (p + 2 * units + 1 < node.end && Le16(data.data() + p + 2 * units) != 0) ++units;
  node.key = Utf16LeToUtf8(data.data() + p, units);
  node.valueStart = std::min(Align4(p + 2 * units + 2), node.end);
  const std::size_t valueBytes = node.type == 1 ? 2 * node.valueLength : node.valueLength;
  node.childrenStart = std::min(Align4(node.valueStart + valueBytes), node.end);
  return true;
}

template <typename Visit>
void ForEachChild(const std::vector<unsigned char>& data, const Node& parent, Visit visit) {
  std::size_t at = parent.childrenStart;
  Node child;
  // Every child is at least 6 bytes long, so this ends.
  while (at < parent.end && ReadNode(data, at, parent.end, child)) {
    visit(child);
    at = Align4(child.end);
  }
}

std::string StringValue(const std::vector<unsigned char>& data, const Node& node) {
  if (node.valueLength == 0) return {};
  const std::size_t units = (node.end - node.valueStart) / 2;
  return Utf16LeToUtf8(data.data() + node.valueStart, units);
}

std::uint16_t LanguageOfKey(const std::string& key) {
  if (key.size() < 4) return 0;
  std::uint16_t value = 0;
  for (int i = 0; i < 4; ++i) {
    const char c = key[i];
    int digit = 0;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return 0;
    }
    value = static_cast<std::uint16_t>(value * 16 + digit);
  }
  return value;
}

VersionStrings StringsOf(const std::vector<unsigned char>& data, std::uint16_t userLanguage) {
  Node root;
  if (!ReadNode(data, 0, data.size(), root) || root.key != "VS_VERSION_INFO") return {};
  struct Table {
    std::uint16_t language;
    std::map<std::string, std::string> strings;
  };
  std::vector<Table> tables;
  ForEachChild(data, root, [&](const Node& block) {
    if (block.key != "StringFileInfo") return;
    ForEachChild(data, block, [&](const Node& tableNode) {
      Table table{LanguageOfKey(tableNode.key), {}};
      ForEachChild(data, tableNode, [&](const Node& entry) {
        table.strings.emplace(entry.key, StringValue(data, entry));
      });
      tables.push_back(std::move(table));
    });
  });
  if (tables.empty()) return {};
  std::vector<std::uint16_t> languages;
  for (const Table& t : tables) languages.push_back(t.language);
  const Table& chosen = tables[PreferredLanguage(languages, userLanguage)];
  auto get = [&](const char* name) {
    const auto it = chosen.strings.find(name);
    return it == chosen.strings.end() ? std::string() : it->second;
  };
  return VersionStrings{get("CompanyName"), get("FileDescription"), get("FileVersion")};
}

}  // namespace

VersionStrings ReadVersionInfo(const ByteSource& source, std::uint16_t userLanguage) {
  PeImage image(source);
  std::uint32_t resourceRva = 0;
  if (!image.Load(resourceRva)) return {};
  std::uint64_t base = 0;
  if (!image.OffsetOf(resourceRva, 16, base)) return {};

  // Type, then name, then language: always three levels.
  std::vector<DirEntry> entries;
  if (!ReadDirectory(source, base, 0, entries)) return {};
  const auto type = std::find_if(entries.begin(), entries.end(), [](const DirEntry& e) {
    return e.name == kRtVersion && (e.target & 0x80000000u);
  });
  if (type == entries.end()) return {};
  if (!ReadDirectory(source, base, type->target & 0x7FFFFFFFu, entries)) return {};
  const auto name = std::find_if(entries.begin(), entries.end(),
                                 [](const DirEntry& e) { return (e.target & 0x80000000u) != 0; });
  if (name == entries.end()) return {};
  if (!ReadDirectory(source, base, name->target & 0x7FFFFFFFu, entries)) return {};
  std::vector<DirEntry> leaves;
  std::vector<std::uint16_t> languages;
  for (const DirEntry& e : entries) {
    if (e.target & 0x80000000u) continue;
    leaves.push_back(e);
    languages.push_back(static_cast<std::uint16_t>(e.name & 0xFFFF));
  }
  if (leaves.empty()) return {};
  const DirEntry& leaf = leaves[PreferredLanguage(languages, userLanguage)];

  unsigned char dataEntry[16];
  if (!source.ReadExact(base + leaf.target, dataEntry, sizeof dataEntry)) return {};
  const std::uint32_t size = std::min(Le32(dataEntry + 4), kMaxVersionResource);
  std::uint64_t offset = 0;
  if (size == 0 || !image.OffsetOf(Le32(dataEntry), size, offset)) return {};
  std::vector<unsigned char> data(size);
  if (!source.ReadExact(offset, data.data(), size)) return {};
  return StringsOf(data, userLanguage);
}

VersionStrings ReadVersionInfoFile(const std::string& fileName, std::uint16_t userLanguage) {
  RegularFile file;
  if (!file.Open(fileName)) return {};
  return ReadVersionInfo(FileSource(file), userLanguage);
}

std::uint16_t LanguageIdOfLocaleName(std::string_view name) {
  const std::size_t cut = name.find_first_of(".@");
  const std::string_view base = name.substr(0, cut);
  static constexpr struct {
    std::string_view name;
    std::uint16_t id;
  } kExact[] = {
      {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_CA", 0x1009}, {"en_NZ", 0x1409},
      {"en_IE", 0x1809}, {"de_AT", 0x0C07}, {"de_CH", 0x0807}, {"fr_BE", 0x080C},
      {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C}, {"pt_PT", 0x0816}, {"es_MX", 0x080A},
      {"zh_TW", 0x0404}, {"zh_HK", 0x0C04}, {"it_CH", 0x0810}, {"nl_BE", 0x0813},
  };
  for (const auto& e : kExact)
    if (base == e.name) return e.id;
  static constexpr struct {
    std::string_view code;
    std::uint16_t id;
  } kPrimary[] = {
      {"ar", 0x0401}, {"bg", 0x0402}, {"ca", 0x0403}, {"zh", 0x0804}, {"cs", 0x0405},
      {"da", 0x0406}, {"de", 0x0407}, {"el", 0x0408}, {"en", 0x0409}, {"es", 0x0C0A},
      {"fi", 0x040B}, {"fr", 0x040C}, {"he", 0x040D}, {"hu", 0x040E}, {"is", 0x040F},
      {"it", 0x0410}, {"ja", 0x0411}, {"ko", 0x0412}, {"nl", 0x0413}, {"nb", 0x0414},
      {"no", 0x0414}, {"pl", 0x0415}, {"pt", 0x0416}, {"ro", 0x0418}, {"ru", 0x0419},
      {"hr", 0x041A}, {"sk", 0x041B}, {"sv", 0x041D}, {"th", 0x041E}, {"tr", 0x041F},
      {"uk", 0x0422}, {"sl", 0x0424}, {"et", 0x0425}, {"lv", 0x0426}, {"lt", 0x0427},
  };
  const std::string_view code = base.substr(0, base.find('_'));
  for (const auto& e : kPrimary)
    if (code == e.code) return e.id;
  return 0;
}

}  // namespace tabulon
