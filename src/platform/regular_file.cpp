#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace tabulon {

RegularFile::~RegularFile() {
  Close();
}

RegularFile::RegularFile(RegularFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(std::exchange(other.size_, 0)) {}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

bool RegularFile::Open(const std::string& path) {
  Close();
  // Look before opening, so that a fifo or a device is never opened at all;
  // O_NONBLOCK and the second check cover an entry swapped in between.
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return false;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return false;
  }
  fd_ = fd;
  size_ = static_cast<std::uint64_t>(st.st_size);
  return true;
}

void RegularFile::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  size_ = 0;
}

std::int64_t RegularFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const {
  if (fd_ < 0) return -1;
  auto* out = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return done > 0 ? static_cast<std::int64_t>(done) : -1;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return static_cast<std::int64_t>(done);
}

bool RegularFile::ReadExactAt(std::uint64_t offset, void* buffer, std::size_t count) const {
  return ReadAt(offset, buffer, count) == static_cast<std::int64_t>(count);
}

bool PathExists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

}  // namespace tabulon
