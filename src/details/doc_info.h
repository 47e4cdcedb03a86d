// The summary information of a Word or Excel compound file: the standard
// summary properties, read from the property set stream.
#pragma once

#include <cstdint>
#include <string>

#include "details/byte_source.h"
#include "details/detail_sources.h"
#include "platform/file_time.h"

namespace tabulon {

class TimeZone;

struct TDocInfo {
  std::string Title;
  std::string Subject;
  std::string Author;
  std::string Keywords;
  std::string Comments;
  std::string Template;
  std::string LastAuthor;
  std::string RevNumber;
  std::int32_t EditMinutes = 0;
  DateTimeValue LastPrinted = 0;
  DateTimeValue Created = 0;
  DateTimeValue LastSaved = 0;
  std::int32_t PageCount = 0;
  std::int32_t WordCount = 0;
  std::int32_t CharCount = 0;
  // -1 read; 0 the file does not exist; 1 the summary cannot be read.
  std::int32_t Status = 0;
};

// The name of the summary stream: the character of code 5, then the words.
inline const std::string kSummaryStreamName = std::string("\x05") + "SummaryInformation";

// Reads the summary of a compound file held by `source` into `info`; fields
// read before a failure keep their values. Sets Status to -1 or 1.
void ReadDocInfoFrom(const ByteSource& source, const TimeZone* timeZone, TDocInfo& info);

// Parses a summary property set stream; false on a short read.
bool ReadSummaryProperties(const ByteSource& stream, const TimeZone* timeZone, TDocInfo& info);

// Title, subject and author; all empty unless the summary was read.
OfficeTexts OfficeSummary(const std::string& fileName);

}  // namespace tabulon
