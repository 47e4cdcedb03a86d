#include "listing/line_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace tabulon {

OutputError::OutputError(std::string fileName, std::string reason, const std::string& message)
    : std::runtime_error(message), fileName_(std::move(fileName)), reason_(std::move(reason)) {}

LineWriter::LineWriter(std::string fileName, std::size_t bufferSize)
    : fileName_(std::move(fileName)), bufferSize_(bufferSize) {
  do {
    fd_ = ::open(fileName_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  } while (fd_ < 0 && errno == EINTR);
  if (fd_ < 0) Fail(errno, "Cannot create");
  buffer_.reserve(bufferSize_);
}

LineWriter::~LineWriter() {
  if (fd_ < 0) return;
  // Best effort: an error has nobody to go to here.
  TryWriteAll(buffer_.data(), buffer_.size());
  ::close(fd_);
}

void LineWriter::Fail(int error, const char* what) const {
  std::string reason = std::strerror(error);
  throw OutputError(fileName_, reason, std::string(what) + " \"" + fileName_ + "\": " + reason);
}

int LineWriter::TryWriteAll(const char* data, std::size_t size) {
  if (fd_ < 0) return EBADF;
  while (size > 0) {
    ssize_t written = ::write(fd_, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (written == 0) return ENOSPC;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return 0;
}

void LineWriter::WriteAll(const char* data, std::size_t size) {
  if (const int error = TryWriteAll(data, size)) Fail(error, "Cannot write to");
}

void LineWriter::Flush() {
  if (buffer_.empty()) return;
  // The buffer is emptied even when the write fails, so the same bytes are
  // not offered twice (by a later Flush or the destructor).
  const int error = TryWriteAll(buffer_.data(), buffer_.size());
  buffer_.clear();
  if (error != 0) Fail(error, "Cannot write to");
}

void LineWriter::Append(std::string_view text) {
  if (buffer_.size() + text.size() > bufferSize_) {
    Flush();
    // A piece larger than the whole buffer goes straight through.
    if (text.size() > bufferSize_) {
      WriteAll(text.data(), text.size());
      return;
    }
  }
  buffer_.append(text);
}

void LineWriter::Write(std::string_view text) {
  if (text.empty()) return;
  if (bufferSize_ == 0) {
    WriteAll(text.data(), text.size());
    return;
  }
  if (fd_ < 0) Fail(EBADF, "Cannot write to");
  Append(text);
}

void LineWriter::WriteLine(std::string_view text) {
  if (bufferSize_ == 0) {
    buffer_.assign(text);
    buffer_ += "\r\n";
    const int error = TryWriteAll(buffer_.data(), buffer_.size());
    buffer_.clear();
    if (error != 0) Fail(error, "Cannot write to");
    return;
  }
  if (fd_ < 0) Fail(EBADF, "Cannot write to");
  Append(text);
  Append("\r\n");
}

void LineWriter::Close() {
  if (fd_ < 0) return;
  const int writeError = TryWriteAll(buffer_.data(), buffer_.size());
  buffer_.clear();
  const int fd = std::exchange(fd_, -1);
  const int closeError = ::close(fd) != 0 && errno != EINTR ? errno : 0;
  if (writeError != 0) Fail(writeError, "Cannot write to");
  if (closeError != 0) Fail(closeError, "Cannot close");
}

}  // namespace tabulon
