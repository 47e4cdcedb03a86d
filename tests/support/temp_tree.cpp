#include "support/temp_tree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace tabulon::testing {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
  throw std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

// Removes a folder and everything below it. Permissions are given back on
// the way down so that a mode-000 folder can be listed and emptied.
void RemoveAll(const std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return;
  if (!S_ISDIR(st.st_mode)) {
    unlink(path.c_str());
    return;
  }
  chmod(path.c_str(), 0700);
  std::vector<std::string> names;
  if (DIR* dir = opendir(path.c_str())) {
    while (dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
  }
  for (const std::string& name : names) RemoveAll(path + "/" + name);
  rmdir(path.c_str());
}

}  // namespace

TempTree::TempTree() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern =
      (base && *base ? std::string(base) : std::string("/tmp")) + "/tabulon-test-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) Fail("cannot create", pattern);
  root_ = buffer.data();
}

TempTree::~TempTree() {
  RemoveAll(root_);
}

std::string TempTree::Path(std::string_view relative) const {
  if (relative.empty()) return root_;
  return root_ + "/" + std::string(relative);
}

void TempTree::MakeParents(std::string_view relative) {
  std::size_t slash = 0;
  while ((slash = relative.find('/', slash)) != std::string_view::npos) {
    const std::string folder = Path(relative.substr(0, slash));
    if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) Fail("cannot create", folder);
    ++slash;
  }
}

std::string TempTree::AddFile(std::string_view relative, std::string_view content) {
  MakeParents(relative);
  const std::string path = Path(relative);
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) Fail("cannot create", path);
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      close(fd);
      Fail("cannot write", path);
    }
    done += static_cast<std::size_t>(n);
  }
  close(fd);
  return path;
}

std::string TempTree::AddFileOfSize(std::string_view relative, std::uint64_t size) {
  const std::string path = AddFile(relative);
  if (truncate(path.c_str(), static_cast<off_t>(size)) != 0) Fail("cannot size", path);
  return path;
}

std::string TempTree::AddFolder(std::string_view relative) {
  MakeParents(relative);
  const std::string path = Path(relative);
  if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) Fail("cannot create", path);
  return path;
}

std::string TempTree::AddLink(std::string_view relative, std::string_view target) {
  MakeParents(relative);
  const std::string path = Path(relative);
  if (symlink(std::string(target).c_str(), path.c_str()) != 0) Fail("cannot link", path);
  return path;
}

std::string TempTree::AddFifo(std::string_view relative) {
  MakeParents(relative);
  const std::string path = Path(relative);
  if (mkfifo(path.c_str(), 0644) != 0) Fail("cannot create fifo", path);
  return path;
}

void TempTree::SetTimes(std::string_view relative, std::int64_t accessSeconds,
                        std::int64_t writeSeconds, std::int64_t nanoseconds, bool ofLink) {
  const std::string path = Path(relative);
  timespec times[2];
  times[0].tv_sec = static_cast<time_t>(accessSeconds);
  times[0].tv_nsec = static_cast<long>(nanoseconds);
  times[1].tv_sec = static_cast<time_t>(writeSeconds);
  times[1].tv_nsec = static_cast<long>(nanoseconds);
  if (utimensat(AT_FDCWD, path.c_str(), times, ofLink ? AT_SYMLINK_NOFOLLOW : 0) != 0) {
    Fail("cannot set times of", path);
  }
}

void TempTree::SetModificationTime(std::string_view relative, std::int64_t seconds,
                                   std::int64_t nanoseconds) {
  SetTimes(relative, seconds, seconds, nanoseconds);
}

void TempTree::SetMode(std::string_view relative, unsigned mode) {
  const std::string path = Path(relative);
  if (chmod(path.c_str(), static_cast<mode_t>(mode)) != 0) Fail("cannot change mode of", path);
}

}  // namespace tabulon::testing
