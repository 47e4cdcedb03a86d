// Directory search: first/next/close over a folder and a mask with an
// attribute filter, yielding the search record the listing works on.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_time.h"

namespace tabulon {

constexpr char kPathDelim = '/';

// The file-system root "/" stands where the design has a drive root such as
// C:\; it keeps its trailing separator.
bool IsRootPath(std::string_view path);

// Attribute bits of the search record.
enum FileAttribute : std::uint32_t {
  kAttrReadOnly = 0x01,   // the owner has no write permission
  kAttrHidden = 0x02,     // the name begins with "."
  kAttrSystem = 0x04,     // only where the file system keeps it
  kAttrVolumeId = 0x08,   // never set on Linux
  kAttrDirectory = 0x10,  // the entry is a directory
  kAttrArchive = 0x20,    // only where the file system keeps it
};

// The platform's raw find data of one entry.
struct FindData {
  std::uint32_t attributes = 0;
  FileTime creationTime = 0;  // UTC; 0 when the file system keeps no birth time
  FileTime lastAccessTime = 0;
  FileTime lastWriteTime = 0;
  std::uint32_t sizeHigh = 0;
  std::uint32_t sizeLow = 0;
  std::string fileName;       // the long name
  std::string alternateName;  // the 8.3 name (at most 13 bytes), empty when none
};

// The search record of one found entry.
struct SearchRec {
  DosDateTime time = 0;    // last-write time as a local DOS date-time; 0 if it has none
  std::uint32_t size = 0;  // low 32 bits of the size
  std::uint32_t attr = 0;
  std::string name;  // without folder
  FindData findData;

  std::uint64_t Size64() const {
    return (std::uint64_t{findData.sizeHigh} << 32) | findData.sizeLow;
  }
};

// One open directory search; closing is destruction.
class DirectorySearch {
 public:
  virtual ~DirectorySearch() = default;
  // The next entry, the first one included; false when there are no more.
  virtual bool Next(SearchRec& rec) = 0;
};

// A subdirectory as the directory walk needs it.
struct SubdirectoryEntry {
  std::string name;
  std::uint32_t attributes = kAttrDirectory;  // kAttrHidden / kAttrSystem as found
  // False only when the file system tells, without reading the folder, that
  // it holds no subdirectory; a walk need not list it then.
  bool mayHaveSubfolders = true;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Starts a search on folder + "/" + mask (`spec` is the two joined, e.g.
  // "/home/ann/Data/*.*"). Entries whose hidden, system, directory or volume
  // bits are not in `attrFilter` are not returned; other entries always are.
  // "." and ".." are returned as directories when the mask matches them.
  // The mask is matched case-insensitively against the name and the
  // alternate name (MatchFindMask). A folder that cannot be read gives a
  // search without entries; never null. Entries the filter leaves out by
  // their name or kind alone cost no read of their data.
  virtual std::unique_ptr<DirectorySearch> FindFirst(const std::string& spec,
                                                     std::uint32_t attrFilter) = 0;

  // The subdirectories of a folder, without "." and "..", in the order the
  // folder gives them; links to directories are left out. The same as
  // FindFirst(folder + "/*", kAttrDirectory | kAttrHidden | kAttrSystem)
  // restricted to directories, but without reading each entry's data where
  // the file system tells the kind by itself. A folder that cannot be read
  // gives none. Where the file system counts a link for every subfolder, each
  // entry's mayHaveSubfolders says whether it has any.
  virtual std::vector<SubdirectoryEntry> ListSubdirectories(const std::string& folder) = 0;

  // True when the path names an existing directory (a link to one counts).
  virtual bool IsDirectory(const std::string& path) = 0;
  // True when the path names an existing entry of any kind.
  virtual bool Exists(const std::string& path) = 0;
};

// The host's file system: one directory read and one stat per entry.
std::unique_ptr<FileSystem> MakeRealFileSystem(const TimeZone& timeZone);

// The platform's wildcard rule for enumeration masks: case-insensitive over
// ASCII letters, "*" any run, "?" one character (a run of trailing "?" may
// match fewer), "*.*" every name, a mask ending in "." only names without a
// dot.
bool MatchFindMask(std::string_view name, std::string_view mask);

}  // namespace tabulon
