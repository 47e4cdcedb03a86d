// The one writer of listing files: every piece goes to the file as soon as it
// is written, lines end with CR LF, and a failed write becomes an exception
// that names the file and gives the system's reason.
#pragma once

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
  explicit LineWriter(std::string fileName);
  ~LineWriter();  // closes the file if Close() was not reached; never throws
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;

  // Writes the text without a line end; it is in the file on return.
  void Write(std::string_view text);
  // Writes the text and CR LF in one piece.
  void WriteLine(std::string_view text = {});
  // Closes the file; a failure to close throws OutputError.
  void Close();

  const std::string& FileName() const { return fileName_; }

 private:
  [[noreturn]] void Fail(int error, const char* what) const;
  void WriteAll(const char* data, std::size_t size);

  std::string fileName_;
  int fd_ = -1;
  std::string line_;  // reused buffer for a line and its end
};

}  // namespace tabulon
