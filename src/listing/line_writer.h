// The one writer of listing files: lines end with CR LF, and a failed write
// becomes an exception that names the file and gives the system's reason.
// Unbuffered, every piece is in the file as soon as it is written; with a
// buffer, pieces reach the file when it fills, at Flush and at Close, and
// the destructor still hands what is left to the file, so nothing written
// before a cancel or an error elsewhere is lost.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tabulon {

// A listing file could not be created, written or closed.
class OutputError : public std::runtime_error {
 public:
  OutputError(std::string fileName, std::string reason, const std::string& message);
  const std::string& FileName() const { return fileName_; }
  // The system's reason, e.g. "No space left on device".
  const std::string& Reason() const { return reason_; }

 private:
  std::string fileName_;
  std::string reason_;
};

class LineWriter {
 public:
  // Creates the file, replacing an existing one. Throws OutputError.
  // `bufferSize` 0 writes every piece through at once.
  explicit LineWriter(std::string fileName, std::size_t bufferSize = 0);
  // Writes what is buffered and closes the file if Close() was not reached;
  // never throws.
  ~LineWriter();
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;

  // Writes the text without a line end.
  void Write(std::string_view text);
  // Writes the text and CR LF in one piece.
  void WriteLine(std::string_view text = {});
  // Hands everything buffered to the file. Throws OutputError.
  void Flush();
  // Flushes and closes the file; a failure throws OutputError, and the file
  // is closed all the same.
  void Close();

  const std::string& FileName() const { return fileName_; }

 private:
  [[noreturn]] void Fail(int error, const char* what) const;
  // The system's error of a failed write, or 0.
  int TryWriteAll(const char* data, std::size_t size);
  void WriteAll(const char* data, std::size_t size);
  void Append(std::string_view text);

  std::string fileName_;
  int fd_ = -1;
  std::size_t bufferSize_ = 0;
  std::string buffer_;  // pieces not yet in the file; a line and its end when unbuffered
};

}  // namespace tabulon
