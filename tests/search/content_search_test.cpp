#include "search/content_search.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

#include "search/search_criteria.h"
#include "support/temp_tree.h"

namespace tabulon {
namespace {

using testing::TempTree;

// An in-memory file that counts what is read and can hand out short reads
// or fail from a given offset on.
class MemorySource : public ContentSource {
 public:
  explicit MemorySource(std::string data) : data_(std::move(data)) {}
  std::uint64_t Size() const override { return data_.size(); }
  std::int64_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) override {
    ++reads;
    if (offset >= failFrom) return -1;
    if (offset >= data_.size()) return 0;
    std::size_t n = std::min({count, data_.size() - static_cast<std::size_t>(offset), maxChunk});
    std::memcpy(buffer, data_.data() + offset, n);
    bytesRead += n;
    return static_cast<std::int64_t>(n);
  }
  int reads = 0;
  std::size_t bytesRead = 0;
  std::size_t maxChunk = static_cast<std::size_t>(-1);
  std::uint64_t failFrom = static_cast<std::uint64_t>(-1);

 private:
  std::string data_;
};

std::string Cased(const std::string& phrase, const ByteTable& table) {
  std::string out = phrase;
  for (char& c : out) c = static_cast<char>(table[static_cast<unsigned char>(c)]);
  return out;
}

bool Contains(const std::string& data, const std::string& phrase, bool wholeWord,
              bool ignoreCase = false, std::size_t bufferSize = ContentBufferSize) {
  const ByteTable& table = ignoreCase ? LowerCaseTable : IdentityTable;
  MemorySource source(data);
  return ContentContains(source, Cased(phrase, table), phrase.size(), wholeWord, table, bufferSize);
}

// Every position tried, the whole-word rule written out plainly.
bool ReferenceContains(const std::string& data, const std::string& phrase, bool wholeWord,
                       const ByteTable& table) {
  const std::string cased = Cased(phrase, table);
  if (phrase.empty()) return true;
  for (std::size_t p = 0; p + phrase.size() <= data.size(); ++p) {
    bool equal = true;
    for (std::size_t i = 0; i < phrase.size() && equal; ++i)
      equal =
          table[static_cast<unsigned char>(data[p + i])] == static_cast<unsigned char>(cased[i]);
    if (!equal) continue;
    if (!wholeWord) return true;
    unsigned char before = p > 0 ? static_cast<unsigned char>(data[p - 1]) : 0;
    std::size_t end = p + phrase.size();
    bool afterOk =
        end == data.size() || DelimiterSet.Contains(static_cast<unsigned char>(data[end]));
    if (DelimiterSet.Contains(before) && afterOk) return true;
  }
  return false;
}

TEST(ContentContains, PhrasesAndWholeWords) {
  struct Case {
    std::string data;
    std::string phrase;
    bool wholeWord;
    bool ignoreCase;
    bool expected;
  };
  const Case cases[] = {
      {"the quick brown fox", "quick", false, false, true},
      {"the quick brown fox", "QUICK", false, false, false},
      {"the quick brown fox", "QUICK", false, true, true},
      {"the Quick brown fox", "quick", false, true, true},
      {"the quick brown fox", "fox", true, false, true},     // ends the file
      {"the quick brown foxes", "fox", true, false, false},  // followed by a letter
      {"fox hunt", "fox", true, false, true},                // the very start
      {"afox hunt", "fox", true, false, false},
      {"fox1 fox_ fox", "fox", true, false, true},
      {"fox1 foxy", "fox", true, false, false},
      {"x-fox-x", "fox", true, false, true},
      {"caf\xC3\xA9s", "caf", true, false, false},  // bytes above 0x7F are word characters
      {"aaab", "aab", false, false, true},          // overlapping candidates
      {"abababac", "ababac", false, false, true},
      {"foxfox fox", "fox", true, false, true},  // a failed whole word, then a good one
      {"fo", "fox", false, false, false},
      {"fox", "fox", true, false, true},
      {std::string("a\0fox\0b", 7), "fox", true, false, true},  // NUL is a delimiter
  };
  for (const Case& c : cases)
    EXPECT_EQ(Contains(c.data, c.phrase, c.wholeWord, c.ignoreCase), c.expected)
        << '"' << c.data << "\" / \"" << c.phrase << '"';
}

TEST(ContentContains, PhraseAcrossTwoBuffers) {
  const std::size_t size = 2 * ContentBufferSize + 100;
  for (std::size_t start : {ContentBufferSize - 3, ContentBufferSize - 1, ContentBufferSize - 6}) {
    std::string data(size, '.');
    data.replace(start, 6, "Needle");
    EXPECT_TRUE(Contains(data, "needle", false, true)) << start;
    EXPECT_TRUE(Contains(data, "Needle", true, false)) << start;
    data[start + 6] = 'x';  // the word now goes on past the phrase
    EXPECT_FALSE(Contains(data, "Needle", true, false)) << start;
  }
  // A whole word that ends exactly at the buffer's end: the next buffer decides.
  std::string data(2 * ContentBufferSize, ' ');
  data.replace(ContentBufferSize - 6, 6, "Needle");
  EXPECT_TRUE(Contains(data, "Needle", true));
  data[ContentBufferSize] = 'Z';
  EXPECT_FALSE(Contains(data, "Needle", true));
  // ... and one that ends a file larger than one buffer.
  std::string tail(ContentBufferSize + 10, ' ');
  tail.replace(tail.size() - 6, 6, "Needle");
  EXPECT_TRUE(Contains(tail, "Needle", true));
}

TEST(ContentContains, PhraseLongerThanTheBuffer) {
  std::string phrase(ContentBufferSize + 50, 'q');
  phrase.back() = 'z';
  std::string data(ContentBufferSize * 3, 'q');
  EXPECT_FALSE(Contains(data, phrase, false));
  data.replace(ContentBufferSize + 7, phrase.size(), phrase);
  EXPECT_TRUE(Contains(data, phrase, false));
}

TEST(ContentContains, AgreesWithEveryPositionTried) {
  std::mt19937 random(20240601);
  const std::string alphabet = "aAbB -x\xC3";
  auto text = [&](std::size_t length) {
    std::string s(length, ' ');
    for (char& c : s) c = alphabet[random() % alphabet.size()];
    return s;
  };
  // Short texts through tiny buffers, and longer ones through buffers wide
  // enough for the sixteen-at-a-time scan.
  struct Shape {
    std::size_t maxData, maxPhrase, minBuffer, maxBuffer;
  };
  int found = 0;
  for (const Shape shape : {Shape{40, 4, 1, 9}, Shape{400, 7, 16, 90}}) {
    for (int round = 0; round < 3000; ++round) {
      const std::string data = text(random() % shape.maxData);
      std::string phrase = text(1 + random() % shape.maxPhrase);
      if (!data.empty() && random() % 2) {  // often a phrase that is there
        std::size_t at = random() % data.size();
        phrase = data.substr(at, 1 + random() % shape.maxPhrase);
      }
      const bool wholeWord = random() % 2;
      const bool ignoreCase = random() % 2;
      const std::size_t bufferSize =
          shape.minBuffer + random() % (shape.maxBuffer - shape.minBuffer + 1);
      const ByteTable& table = ignoreCase ? LowerCaseTable : IdentityTable;
      MemorySource source(data);
      source.maxChunk = 1 + random() % (2 * shape.maxBuffer);  // short reads too
      bool expected = ReferenceContains(data, phrase, wholeWord, table);
      found += expected;
      ASSERT_EQ(ContentContains(source, Cased(phrase, table), phrase.size(), wholeWord, table,
                                bufferSize),
                expected)
          << '"' << data << "\" / \"" << phrase << "\" whole " << wholeWord << " case "
          << ignoreCase << " buffer " << bufferSize;
    }
  }
  EXPECT_GT(found, 1000);  // the table really exercised matches
}

TEST(ContentContains, ShortFileRejectedWithoutReading) {
  MemorySource source("abc");
  EXPECT_FALSE(ContentContains(source, "abcd", 4, false, IdentityTable));
  EXPECT_EQ(source.reads, 0);
}

TEST(ContentContains, SmallFileReadInOneBufferAndStopsAtTheMatch) {
  std::string data(ContentBufferSize * 4, 'x');
  data.replace(10, 6, "needle");
  MemorySource source(data);
  EXPECT_TRUE(ContentContains(source, "needle", 6, false, IdentityTable));
  EXPECT_EQ(source.bytesRead, ContentBufferSize);
}

TEST(ContentContains, ReadErrorMeansNoMatch) {
  std::string data(ContentBufferSize * 2, 'x');
  data.replace(ContentBufferSize + 10, 6, "needle");
  MemorySource source(data);
  source.failFrom = ContentBufferSize;
  EXPECT_FALSE(ContentContains(source, "needle", 6, false, IdentityTable));
}

TEST(ContentCriteria, EmptyPhraseAcceptsWithoutOpening) {
  TContentCriteria c;
  EXPECT_TRUE(c.Matches("/no/such/file"));
  c.SetPhrase("x");
  EXPECT_FALSE(c.Matches("/no/such/file"));
}

TEST(ContentCriteria, RealFiles) {
  TempTree tree;
  const std::string hit = tree.AddFile("hit.txt", "Some text with a Needle in it.\n");
  const std::string miss = tree.AddFile("miss.txt", "Some text without one.\n");
  const std::string fifo = tree.AddFifo("fifo.txt");
  const std::string folder = tree.AddFolder("needle");
  TContentCriteria c;
  c.SetPhrase("needle");
  EXPECT_TRUE(c.Matches(hit));
  EXPECT_FALSE(c.Matches(miss));
  EXPECT_FALSE(c.Matches(fifo));  // never opened: opening it for reading would block
  EXPECT_FALSE(c.Matches(folder));
  c.SetIgnoreCase(false);
  EXPECT_FALSE(c.Matches(hit));
  c.SetPhrase("Needle");
  c.SetWholeWord(true);
  EXPECT_TRUE(c.Matches(hit));
  const std::string link = tree.AddLink("link.txt", hit);
  EXPECT_TRUE(c.Matches(link));  // a link to a file is that file
}

TEST(ContentCriteria, UnreadableFileRejected) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  TempTree tree;
  const std::string path = tree.AddFile("locked.txt", "needle");
  tree.SetMode("locked.txt", 0);
  TContentCriteria c;
  c.SetPhrase("needle");
  EXPECT_FALSE(c.Matches(path));
}

}  // namespace
}  // namespace tabulon
