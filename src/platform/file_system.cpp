#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/locale.h"

namespace tabulon {
namespace {

constexpr std::uint32_t kFilteredBits = kAttrHidden | kAttrSystem | kAttrDirectory | kAttrVolumeId;
constexpr unsigned kStatxMask =
    STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_ATIME | STATX_MTIME | STATX_BTIME;

// One character of a name or mask: a code point, or one byte of an
// ill-formed sequence; ASCII letters folded to lower case.
std::vector<char32_t> Characters(std::string_view text) {
  std::vector<char32_t> out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    std::size_t length =
        b < 0x80 ? 1
                 : (b >= 0xC2 && b <= 0xDF
                        ? 2
                        : (b >= 0xE0 && b <= 0xEF ? 3 : (b >= 0xF0 && b <= 0xF4 ? 4 : 0)));
    if (length > 1 && i + length <= text.size() && IsValidUtf8(text.substr(i, length))) {
      char32_t cp = b & (0xFF >> (length + 1));
      for (std::size_t k = 1; k < length; ++k) cp = (cp << 6) | (text[i + k] & 0x3F);
      out.push_back(cp);
      i += length;
      continue;
    }
    // Ill-formed bytes map above the code point range so they match only
    // themselves.
    char32_t c = b;
    if (b >= 0x80) c = 0x110000 + b;
    if (c >= 'A' && c <= 'Z') c = c - 'A' + 'a';
    out.push_back(c);
    ++i;
  }
  return out;
}

using Chars = std::vector<char32_t>;

// "*" any run, "?" exactly one character.
bool MatchCore(const Chars& name, std::size_t nameEnd, const Chars& mask, std::size_t maskEnd) {
  std::size_t n = 0, m = 0;
  std::size_t starMask = std::string::npos, starName = 0;
  while (n < nameEnd) {
    if (m < maskEnd && (mask[m] == U'?' || mask[m] == name[n])) {
      ++n;
      ++m;
    } else if (m < maskEnd && mask[m] == U'*') {
      starMask = m++;
      starName = n;
    } else if (starMask != std::string::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < maskEnd && mask[m] == U'*') ++m;
  return m == maskEnd;
}

// Adds the trailing "?" rule: a run of "?" at the end may match fewer.
bool MatchWithTrailing(const Chars& name, const Chars& mask, std::size_t maskEnd) {
  std::size_t core = maskEnd;
  while (core > 0 && mask[core - 1] == U'?') --core;
  const std::size_t optional = maskEnd - core;
  for (std::size_t extra = 0; extra <= optional; ++extra) {
    if (MatchCore(name, name.size(), mask, maskEnd - extra)) return true;
  }
  return false;
}

// statx, or fstatat where the kernel has no statx (no birth time and no
// mount-root attribute then).
int StatAt(int dirFd, const char* name, int flags, struct statx* out, unsigned mask = kStatxMask) {
  static std::atomic<bool> haveStatx{true};  // learnt once per process
  if (haveStatx.load(std::memory_order_relaxed)) {
    if (statx(dirFd, name, flags | AT_STATX_SYNC_AS_STAT, mask, out) == 0) return 0;
    if (errno != ENOSYS) return -1;
    haveStatx.store(false, std::memory_order_relaxed);
  }
  struct stat st {};
  if (fstatat(dirFd, name, &st, flags) != 0) return -1;
  *out = {};
  out->stx_mask = STATX_BASIC_STATS;
  out->stx_mode = static_cast<std::uint16_t>(st.st_mode);
  out->stx_nlink = static_cast<std::uint32_t>(st.st_nlink);
  out->stx_size = static_cast<std::uint64_t>(st.st_size);
  out->stx_atime.tv_sec = st.st_atim.tv_sec;
  out->stx_atime.tv_nsec = static_cast<std::uint32_t>(st.st_atim.tv_nsec);
  out->stx_mtime.tv_sec = st.st_mtim.tv_sec;
  out->stx_mtime.tv_nsec = static_cast<std::uint32_t>(st.st_mtim.tv_nsec);
  return 0;
}

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

int OpenFolder(const char* path) {
  int fd = -1;
  do {
    fd = ::open(path, O_RDONLY | O_NONBLOCK | O_DIRECTORY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// A folder's entries read with getdents64 into a buffer of its own: what a
// directory stream does, without the stream's extra status call per folder.
class FolderReader {
 public:
  explicit FolderReader(int fd) : fd_(fd) {}
  ~FolderReader() {
    if (fd_ >= 0) ::close(fd_);
  }
  FolderReader(const FolderReader&) = delete;
  FolderReader& operator=(const FolderReader&) = delete;

  int Fd() const { return fd_; }

  // The next entry; null at the end or on an error.
  const struct dirent64* Next() {
    if (position_ >= filled_) {
      if (fd_ < 0 || ended_) return nullptr;
      if (!buffer_) buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
      ssize_t got = 0;
      do {
        got = getdents64(fd_, buffer_.get(), kBufferSize);
      } while (got < 0 && errno == EINTR);
      if (got <= 0) {
        ended_ = true;
        return nullptr;
      }
      position_ = 0;
      filled_ = static_cast<std::size_t>(got);
    }
    const auto* entry = reinterpret_cast<const struct dirent64*>(buffer_.get() + position_);
    position_ += entry->d_reclen;
    return entry;
  }

  void Close() {
    if (fd_ >= 0) ::close(std::exchange(fd_, -1));
    ended_ = true;
  }

 private:
  static constexpr std::size_t kBufferSize = 32 * 1024;
  int fd_;
  std::unique_ptr<char[]> buffer_;
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
  bool ended_ = false;
};

// File systems whose folders count a link for every subfolder (the ".." of
// each), so that a link count of exactly 2 means there is none. Others
// (btrfs, network and FUSE file systems, overlays) give counts that say
// nothing, and their folders are always read.
bool TypeCountsSubfolderLinks(long type) {
  switch (type) {
    case EXT4_SUPER_MAGIC:  // ext2, ext3 and ext4 share it
    case XFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
      return true;
    default:
      return false;
  }
}

// The record is reused from entry to entry, so its strings keep their storage.
void FillRecord(const struct statx& st, const char* name, bool dotEntry, const TimeZone& timeZone,
                SearchRec& rec) {
  std::uint32_t attr = 0;
  const bool directory = S_ISDIR(st.stx_mode);
  if (directory) attr |= kAttrDirectory;
  if ((st.stx_mode & S_IWUSR) == 0) attr |= kAttrReadOnly;
  if (!dotEntry && name[0] == '.') attr |= kAttrHidden;

  // Folders carry no size, as in the search record of other systems; fifos,
  // sockets and devices report 0 too.
  const std::uint64_t size = directory ? 0 : st.stx_size;
  FindData& data = rec.findData;
  data.attributes = attr;
  data.creationTime =
      (st.stx_mask & STATX_BTIME) ? FileTimeFromUnix(st.stx_btime.tv_sec, st.stx_btime.tv_nsec) : 0;
  data.lastAccessTime = FileTimeFromUnix(st.stx_atime.tv_sec, st.stx_atime.tv_nsec);
  data.lastWriteTime = FileTimeFromUnix(st.stx_mtime.tv_sec, st.stx_mtime.tv_nsec);
  data.sizeHigh = static_cast<std::uint32_t>(size >> 32);
  data.sizeLow = static_cast<std::uint32_t>(size);
  data.fileName.assign(name);
  data.alternateName.clear();

  rec.attr = attr;
  rec.size = data.sizeLow;
  rec.name.assign(name);
  rec.time = 0;
  FileTime local = 0;
  DosDateTime dos = 0;
  if (timeZone.UtcToLocal(data.lastWriteTime, local) && FileTimeToDosDateTime(local, dos)) {
    rec.time = dos;
  }
}

class RealSearch : public DirectorySearch {
 public:
  RealSearch(int dirFd, std::string mask, std::uint32_t attrFilter, const TimeZone& timeZone)
      : dir_(dirFd), mask_(std::move(mask)), attrFilter_(attrFilter), timeZone_(timeZone) {}

  bool Next(SearchRec& rec) override {
    while (const struct dirent64* entry = dir_.Next()) {
      const char* name = entry->d_name;
      // The name alone decides the mask; the entry is read only if it matches.
      if (!MatchFindMask(name, mask_)) continue;
      const bool dotEntry = IsDotOrDotDot(name);
      // So do the name and the kind the folder tells for the filter: a
      // hidden name or a folder the filter leaves out is not read.
      if (!dotEntry && name[0] == '.' && (attrFilter_ & kAttrHidden) == 0) continue;
      if (entry->d_type == DT_DIR && (attrFilter_ & kAttrDirectory) == 0) continue;
      struct statx st {};
      if (!Stat(name, entry->d_type, st)) continue;
      FillRecord(st, name, dotEntry, timeZone_, rec);
      if ((rec.attr & kFilteredBits & ~attrFilter_) != 0) continue;
      return true;
    }
    dir_.Close();
    return false;
  }

 private:
  // One statx per entry; a link costs a second one for what it points to. A
  // link that points nowhere keeps its own data. False for an entry to
  // leave out (a link to a folder, or one that vanished).
  bool Stat(const char* name, unsigned char type, struct statx& st) {
    const int fd = dir_.Fd();
    if (type == DT_LNK) {
      if (StatAt(fd, name, 0, &st) == 0) {
        return !S_ISDIR(st.stx_mode);
      }
      return StatAt(fd, name, AT_SYMLINK_NOFOLLOW, &st) == 0;
    }
    if (StatAt(fd, name, AT_SYMLINK_NOFOLLOW, &st) != 0) {
      return false;
    }
    if (!S_ISLNK(st.stx_mode)) return true;
    struct statx target {};
    if (StatAt(fd, name, 0, &target) != 0) return true;
    if (S_ISDIR(target.stx_mode)) return false;
    st = target;
    return true;
  }

  FolderReader dir_;
  std::string mask_;
  std::uint32_t attrFilter_;
  const TimeZone& timeZone_;
};

class EmptySearch : public DirectorySearch {
 public:
  bool Next(SearchRec&) override { return false; }
};

class RealFileSystem : public FileSystem {
 public:
  explicit RealFileSystem(const TimeZone& timeZone) : timeZone_(timeZone) {}

  std::unique_ptr<DirectorySearch> FindFirst(const std::string& spec,
                                             std::uint32_t attrFilter) override {
    const auto slash = spec.rfind(kPathDelim);
    std::string folder;
    std::string mask;
    if (slash == std::string::npos) {
      folder = ".";
      mask = spec;
    } else {
      folder = slash == 0 ? std::string(1, kPathDelim) : spec.substr(0, slash);
      mask = spec.substr(slash + 1);
    }
    if (mask.empty()) return std::make_unique<EmptySearch>();
    const int dirFd = OpenFolder(folder.c_str());
    if (dirFd < 0) return std::make_unique<EmptySearch>();
    return std::make_unique<RealSearch>(dirFd, std::move(mask), attrFilter, timeZone_);
  }

  std::vector<SubdirectoryEntry> ListSubdirectories(const std::string& folder) override {
    std::vector<SubdirectoryEntry> result;
    const int dirFd = OpenFolder(folder.c_str());
    if (dirFd < 0) return result;
    FolderReader dir(dirFd);
    while (const struct dirent64* entry = dir.Next()) {
      const char* name = entry->d_name;
      if (IsDotOrDotDot(name)) continue;
      // Only a file system that does not tell the kind costs a stat for a
      // file; a link is never a subdirectory to walk.
      if (entry->d_type != DT_DIR && entry->d_type != DT_UNKNOWN) continue;
      struct statx st {};
      const bool known =
          StatAt(dirFd, name, AT_SYMLINK_NOFOLLOW, &st, STATX_TYPE | STATX_NLINK) == 0;
      if (entry->d_type == DT_UNKNOWN && !(known && S_ISDIR(st.stx_mode))) continue;
      SubdirectoryEntry sub{name, kAttrDirectory};
      if (name[0] == '.') sub.attributes |= kAttrHidden;
      sub.mayHaveSubfolders = !(known && S_ISDIR(st.stx_mode) && IsLeafFolder(dirFd, st));
      result.push_back(std::move(sub));
    }
    return result;
  }

  bool IsDirectory(const std::string& path) override {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }

  bool Exists(const std::string& path) override {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
  }

 private:
  // True when a subfolder's own status shows it has no subfolders: a link
  // count of 2 on a file system that counts one for each, and the same file
  // system as its parent (a mount point's count is the mounted root's).
  bool IsLeafFolder(int parentFd, const struct statx& st) {
    if ((st.stx_mask & STATX_NLINK) == 0 || st.stx_nlink != 2) return false;
    if ((st.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) == 0 ||
        (st.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0) {
      return false;
    }
    return CountsSubfolderLinks(parentFd, makedev(st.stx_dev_major, st.stx_dev_minor));
  }

  // Whether the file system of a device counts subfolder links, asked once
  // per device; a walk may run on a worker thread.
  bool CountsSubfolderLinks(int dirFd, dev_t device) {
    std::lock_guard<std::mutex> lock(deviceLock_);
    for (const auto& [known, counts] : devices_) {
      if (known == device) return counts;
    }
    struct statfs info {};
    const bool counts =
        fstatfs(dirFd, &info) == 0 && TypeCountsSubfolderLinks(static_cast<long>(info.f_type));
    devices_.emplace_back(device, counts);
    return counts;
  }

  const TimeZone& timeZone_;
  std::mutex deviceLock_;
  std::vector<std::pair<dev_t, bool>> devices_;
};

}  // namespace

bool IsRootPath(std::string_view path) {
  return !path.empty() && path.find_first_not_of(kPathDelim) == std::string_view::npos;
}

bool MatchFindMask(std::string_view name, std::string_view mask) {
  if (mask.empty() || name.empty()) return false;
  // The masks of nearly every search take every name.
  if (mask == "*" || mask == "*.*") return true;
  // A mask ending in "." takes only names without a dot.
  if (mask.back() == '.') {
    if (name.find('.') != std::string_view::npos) return false;
    while (!mask.empty() && mask.back() == '.') mask.remove_suffix(1);
    if (mask.empty()) return false;
  }
  const Chars n = Characters(name);
  const Chars m = Characters(mask);
  if (MatchWithTrailing(n, m, m.size())) return true;
  // A trailing ".*" also takes a name without an extension: "*.*" is every name.
  if (m.size() >= 2 && m[m.size() - 2] == U'.' && m.back() == U'*') {
    return MatchWithTrailing(n, m, m.size() - 2);
  }
  return false;
}

std::unique_ptr<FileSystem> MakeRealFileSystem(const TimeZone& timeZone) {
  return std::make_unique<RealFileSystem>(timeZone);
}

}  // namespace tabulon
