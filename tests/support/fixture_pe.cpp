#include "support/fixture_pe.h"

namespace tabulon::testing {

namespace {

void PutLe(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void SetLe(std::string& out, std::size_t at, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void Pad4(std::string& out) {
  while (out.size() % 4 != 0) out += '\0';
}

// ASCII and two-byte UTF-8 are enough for the fixtures.
std::string Utf16(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t c = static_cast<unsigned char>(text[i]);
    if (c >= 0xC0 && i + 1 < text.size()) {
      c = ((c & 0x1F) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F);
    }
    PutLe(out, c, 2);
  }
  return out;
}

std::string Node(const std::string& key, const std::string& value, std::uint16_t valueLength,
                 std::uint16_t type, const std::vector<std::string>& children) {
  std::string out(6, '\0');
  out += Utf16(key);
  out += std::string(2, '\0');
  Pad4(out);
  out += value;
  for (const std::string& child : children) {
    Pad4(out);
    out += child;
  }
  SetLe(out, 0, out.size(), 2);
  SetLe(out, 2, valueLength, 2);
  SetLe(out, 4, type, 2);
  return out;
}

}  // namespace

std::string VersionResourceBlob(const std::vector<VersionTable>& tables) {
  std::string fixed;
  PutLe(fixed, 0xFEEF04BD, 4);
  PutLe(fixed, 0x00010000, 4);
  for (int i = 0; i < 11; ++i) PutLe(fixed, i == 0 ? 0x00010002 : 0, 4);
  std::vector<std::string> tableNodes;
  for (const VersionTable& t : tables) {
    std::vector<std::string> strings;
    for (const auto& [name, text] : t.strings) {
      const std::string value = Utf16(text) + std::string(2, '\0');
      strings.push_back(Node(name, value, static_cast<std::uint16_t>(value.size() / 2), 1, {}));
    }
    tableNodes.push_back(Node(t.key, {}, 0, 1, strings));
  }
  std::string translation;
  PutLe(translation, 0x04B00409, 4);
  const std::string var = Node("Translation", translation, 4, 0, {});
  return Node("VS_VERSION_INFO", fixed, 52, 0,
              {Node("StringFileInfo", {}, 0, 1, tableNodes), Node("VarFileInfo", {}, 0, 1, {var})});
}

std::string BuildPeFile(bool pe32plus, const std::vector<PeVersionResource>& resources) {
  constexpr std::uint32_t kSectionRva = 0x1000;
  constexpr std::uint32_t kRawPointer = 0x200;

  // The resource tree: type 16, name 1, one leaf per language.
  std::string rsrc;
  auto directory = [&](std::uint16_t idEntries) {
    PutLe(rsrc, 0, 12);
    PutLe(rsrc, 0, 2);
    PutLe(rsrc, idEntries, 2);
  };
  const std::size_t n = resources.size();
  directory(1);
  PutLe(rsrc, 16, 4);
  PutLe(rsrc, 0x80000000u | 24, 4);
  directory(1);
  PutLe(rsrc, 1, 4);
  PutLe(rsrc, 0x80000000u | 48, 4);
  directory(static_cast<std::uint16_t>(n));
  const std::size_t leaves = 48 + 16 + 8 * n;
  for (std::size_t i = 0; i < n; ++i) {
    PutLe(rsrc, resources[i].language, 4);
    PutLe(rsrc, leaves + 16 * i, 4);
  }
  std::size_t blobAt = leaves + 16 * n;
  std::string blobs;
  for (std::size_t i = 0; i < n; ++i) {
    PutLe(rsrc, kSectionRva + blobAt + blobs.size(), 4);
    PutLe(rsrc, resources[i].blob.size(), 4);
    PutLe(rsrc, 1200, 4);
    PutLe(rsrc, 0, 4);
    blobs += resources[i].blob;
    Pad4(blobs);
  }
  rsrc += blobs;
  const std::uint32_t virtualSize = static_cast<std::uint32_t>(rsrc.size());
  while (rsrc.size() % 0x200 != 0) rsrc += '\0';

  std::string out(kRawPointer, '\0');
  out[0] = 'M';
  out[1] = 'Z';
  SetLe(out, 0x3C, 0x40, 4);
  std::size_t at = 0x40;
  out.replace(at, 4, std::string("PE\0\0", 4));
  const std::uint16_t optionalSize = pe32plus ? 240 : 224;
  const bool withSection = !resources.empty();
  SetLe(out, at + 4, pe32plus ? 0x8664 : 0x14C, 2);
  SetLe(out, at + 6, withSection ? 1 : 0, 2);
  SetLe(out, at + 20, optionalSize, 2);
  SetLe(out, at + 22, pe32plus ? 0x2022 : 0x2102, 2);
  const std::size_t opt = at + 24;
  SetLe(out, opt, pe32plus ? 0x20B : 0x10B, 2);
  if (pe32plus) {
    SetLe(out, opt + 24, 0x180000000ull, 8);
  } else {
    SetLe(out, opt + 28, 0x10000000, 4);
  }
  SetLe(out, opt + 32, 0x1000, 4);
  SetLe(out, opt + 36, 0x200, 4);
  SetLe(out, opt + 40, 4, 2);  // operating system version
  SetLe(out, opt + 48, 4, 2);  // subsystem version
  SetLe(out, opt + 56, kSectionRva + ((virtualSize + 0xFFF) & ~0xFFFu), 4);
  SetLe(out, opt + 60, kRawPointer, 4);
  SetLe(out, opt + 68, 2, 2);  // GUI
  const std::size_t count = opt + (pe32plus ? 108 : 92);
  SetLe(out, count, 16, 4);
  if (withSection) {
    SetLe(out, count + 4 + 16, kSectionRva, 4);
    SetLe(out, count + 4 + 20, virtualSize, 4);
    const std::size_t section = opt + optionalSize;
    out.replace(section, 8, std::string(".rsrc\0\0\0", 8));
    SetLe(out, section + 8, virtualSize, 4);
    SetLe(out, section + 12, kSectionRva, 4);
    SetLe(out, section + 16, rsrc.size(), 4);
    SetLe(out, section + 20, kRawPointer, 4);
    SetLe(out, section + 36, 0x40000040, 4);
    out += rsrc;
  }
  return out;
}

}  // namespace tabulon::testing
