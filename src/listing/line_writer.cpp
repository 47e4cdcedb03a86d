#include "listing/line_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace tabulon {

OutputError::OutputError(std::string fileName, std::string reason, const std::string& message)
    : std::runtime_error(message), fileName_(std::move(fileName)), reason_(std::move(reason)) {}

LineWriter::LineWriter(std::string fileName) : fileName_(std::move(fileName)) {
  do {
    fd_ = ::open(fileName_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  } while (fd_ < 0 && errno == EINTR);
  if (fd_ < 0) Fail(errno, "Cannot create");
}

LineWriter::~LineWriter() {
  if (fd_ >= 0) ::close(fd_);
}

void LineWriter::Fail(int error, const char* what) const {
  std::string reason = std::strerror(error);
  throw OutputError(fileName_, reason, std::string(what) + " \"" + fileName_ + "\": " + reason);
}

void LineWriter::WriteAll(const char* data, std::size_t size) {
  if (fd_ < 0) Fail(EBADF, "Cannot write to");
  while (size > 0) {
    ssize_t written = ::write(fd_, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      Fail(errno, "Cannot write to");
    }
    if (written == 0) Fail(ENOSPC, "Cannot write to");
    data += written;
    size -= static_cast<std::size_t>(written);
  }
}

void LineWriter::Write(std::string_view text) {
  if (!text.empty()) WriteAll(text.data(), text.size());
}

void LineWriter::WriteLine(std::string_view text) {
  line_.assign(text);
  line_ += "\r\n";
  WriteAll(line_.data(), line_.size());
}

void LineWriter::Close() {
  if (fd_ < 0) return;
  int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0 && errno != EINTR) Fail(errno, "Cannot close");
}

}  // namespace tabulon
