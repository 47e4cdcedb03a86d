// PE files with version resources, built by code.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tabulon::testing {

struct VersionTable {
  std::string key;  // language and code page in hex, e.g. "040904b0"
  std::vector<std::pair<std::string, std::string>> strings;
};

// A VS_VERSIONINFO block with a fixed file info, a StringFileInfo holding
// the tables, and a VarFileInfo.
std::string VersionResourceBlob(const std::vector<VersionTable>& tables);

struct PeVersionResource {
  std::uint16_t language = 0x0409;
  std::string blob;
};

// A PE image (PE32, or PE32+ when `pe32plus`) with one .rsrc section holding
// the version resources, one per language. No resources: no .rsrc at all.
std::string BuildPeFile(bool pe32plus, const std::vector<PeVersionResource>& resources);

}  // namespace tabulon::testing
