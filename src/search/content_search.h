// The content test: whether a file holds a phrase, optionally as a whole word,
// compared through a case table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "search/search_criteria.h"

namespace tabulon {

// The read buffer of the content test.
constexpr std::size_t ContentBufferSize = 61440;

// Where the content test reads from.
class ContentSource {
 public:
  virtual ~ContentSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Up to `count` bytes at `offset`; the count read, or -1 on an error.
  virtual std::int64_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) = 0;
};

// `searchPhrase` is already passed through `caseTable`. A file that cannot be
// opened or read, or is not a regular file, holds nothing.
bool ContentContains(const std::string& path, const std::string& searchPhrase,
                     std::size_t phraseLength, bool wholeWord, const ByteTable& caseTable);

// The same over any source, with the buffer size as a parameter for tests.
bool ContentContains(ContentSource& source, const std::string& searchPhrase,
                     std::size_t phraseLength, bool wholeWord, const ByteTable& caseTable,
                     std::size_t bufferSize = ContentBufferSize);

}  // namespace tabulon
