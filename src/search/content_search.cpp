#include "search/content_search.h"

#include <algorithm>
#include <cstring>
#include <memory>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "platform/regular_file.h"

namespace tabulon {

namespace {

class RegularFileSource : public ContentSource {
 public:
  explicit RegularFileSource(const RegularFile& file) : file_(file) {}
  std::uint64_t Size() const override { return file_.Size(); }
  std::int64_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) override {
    return file_.ReadAt(offset, buffer, count);
  }

 private:
  const RegularFile& file_;
};

// Finds the next byte that the case table maps onto one byte of the phrase,
// with memchr for each byte that does (both case forms when folding). The
// next position of each form is kept, so a frequent form never makes the
// search for a rare one go over the same bytes again.
class CandidateFinder {
 public:
  CandidateFinder(unsigned char anchor, const ByteTable& table) {
    for (int b = 0; b < 256; ++b)
      if (table[b] == anchor) {
        if (count_ < 2) forms_[count_] = static_cast<unsigned char>(b);
        ++count_;
        isForm_[b] = true;
      }
  }
  // Forgets the cached positions; the buffer's contents changed.
  void Reset() { next_[0] = next_[1] = kUnknown; }

  // The first occurrence in [from, len), or len when there is none.
  std::size_t Find(const unsigned char* data, std::size_t from, std::size_t len) {
    if (count_ == 1) return Next(0, data, from, len);
    if (count_ == 2) return std::min(Next(0, data, from, len), Next(1, data, from, len));
    for (std::size_t i = from; i < len; ++i)
      if (isForm_[data[i]]) return i;
    return len;
  }

 private:
  static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);
  std::size_t Next(int k, const unsigned char* data, std::size_t from, std::size_t len) {
    if (next_[k] == kUnknown || next_[k] < from) {
      const void* hit = from < len ? std::memchr(data + from, forms_[k], len - from) : nullptr;
      next_[k] =
          hit ? static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - data) : len;
    }
    return next_[k];
  }
  unsigned char forms_[2] = {0, 0};
  int count_ = 0;
  bool isForm_[256] = {};
  std::size_t next_[2] = {kUnknown, kUnknown};
};

// How often a byte turns up in ordinary text, roughly: spaces and common
// letters high, rare letters, capitals and control bytes low.
int ByteFrequency(unsigned char b) {
  static constexpr const char* kLetters = "etaoinshrdlcumwfgypbvkjxqz";
  if (b == ' ') return 255;
  if (b >= 'a' && b <= 'z') return 250 - 6 * static_cast<int>(std::strchr(kLetters, b) - kLetters);
  if (b >= 'A' && b <= 'Z')
    return 60 + (ByteFrequency(static_cast<unsigned char>(b + 32)) - 100) / 4;
  if (b >= '0' && b <= '9') return 110;
  if (b == '\n' || b == '.' || b == ',') return 170;
  if (b == '\r' || b == '\t' || b == '-' || b == '\'' || b == '"') return 130;
  if (b >= 0x80) return 70;
  if (b < 0x20) return 30;
  return 80;
}

// The position in the phrase whose byte (in all its case forms) is expected
// to be rarest, other than `skip`: candidates are found by such bytes, so the
// scan stops seldom.
std::size_t RarestPosition(const unsigned char* phrase, std::size_t length, const ByteTable& table,
                           std::size_t skip) {
  std::size_t best = 0;
  int bestScore = 1 << 30;
  for (std::size_t i = 0; i < length; ++i) {
    if (i == skip) continue;
    int score = 0;
    for (int b = 0; b < 256; ++b)
      if (table[b] == phrase[i]) score += ByteFrequency(static_cast<unsigned char>(b));
    if (score < bestScore) {
      bestScore = score;
      best = i;
    }
  }
  return best;
}

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Finds the starts worth comparing. With SSE2, sixteen starts at a time are
// tested on the two rarest bytes of the phrase (every case form of each);
// otherwise memchr finds the rarest byte. Either way no start is skipped that
// could hold the phrase, and starts are offered in order.
class StartFinder {
 public:
  StartFinder(const unsigned char* phrase, std::size_t length, const ByteTable& table)
      : first_(RarestPosition(phrase, length, table, kNone)),
        second_(length > 1 ? RarestPosition(phrase, length, table, first_) : first_),
        memchrFinder_(phrase[first_], table) {
    int forms1 = 0, forms2 = 0;
    for (int b = 0; b < 256; ++b) {
      if (table[b] == phrase[first_]) {
        isFirst_[b] = true;
        if (forms1 < 2) first16_[forms1] = static_cast<unsigned char>(b);
        ++forms1;
      }
      if (table[b] == phrase[second_]) {
        isSecond_[b] = true;
        if (forms2 < 2) second16_[forms2] = static_cast<unsigned char>(b);
        ++forms2;
      }
    }
    if (forms1 == 1) first16_[1] = first16_[0];
    if (forms2 == 1) second16_[1] = second16_[0];
#ifdef __SSE2__
    simd_ = forms1 <= 2 && forms2 <= 2;
#endif
  }

  // How far past a start the finder looks: starts closer than this to the end
  // of the data are left undecided.
  std::size_t Reach() const {
    return simd_ ? std::max(first_, second_) : first_;
  }
  // The buffer's contents changed.
  void Reset() {
    memchrFinder_.Reset();
  }

  // The first start at or after `from` to compare, or kNone.
  std::size_t Find(const unsigned char* data, std::size_t from, std::size_t len) {
    if (!simd_) {
      std::size_t hit = memchrFinder_.Find(data, from + first_, len);
      return hit >= len ? kNone : hit - first_;
    }
    const std::size_t reach = Reach();
    if (len <= reach) return kNone;
    const std::size_t end = len - reach;  // starts before `end` can be tested
    std::size_t q = from;
#ifdef __SSE2__
    const __m128i a0 = _mm_set1_epi8(static_cast<char>(first16_[0]));
    const __m128i a1 = _mm_set1_epi8(static_cast<char>(first16_[1]));
    const __m128i b0 = _mm_set1_epi8(static_cast<char>(second16_[0]));
    const __m128i b1 = _mm_set1_epi8(static_cast<char>(second16_[1]));
    for (; q + 16 <= end; q += 16) {
      const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + q + first_));
      const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + q + second_));
      const __m128i hit = _mm_and_si128(_mm_or_si128(_mm_cmpeq_epi8(x, a0), _mm_cmpeq_epi8(x, a1)),
                                        _mm_or_si128(_mm_cmpeq_epi8(y, b0), _mm_cmpeq_epi8(y, b1)));
      const int mask = _mm_movemask_epi8(hit);
      if (mask != 0)
        return q + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#endif
    for (; q < end; ++q)
      if (isFirst_[data[q + first_]] && isSecond_[data[q + second_]]) return q;
    return kNone;
  }

 private:
  std::size_t first_;
  std::size_t second_;
  CandidateFinder memchrFinder_;
  bool isFirst_[256] = {};
  bool isSecond_[256] = {};
  unsigned char first16_[2] = {0, 0};
  unsigned char second16_[2] = {0, 0};
  bool simd_ = false;
};

class Scanner {
 public:
  Scanner(ContentSource& source, std::size_t bufferSize)
      : source_(source), buffer_(new unsigned char[bufferSize]), capacity_(bufferSize) {}

  // Appends from the file until the buffer is full or the file ends; the
  // count read, or -1 on an error.
  std::int64_t Fill() {
    std::size_t got = 0;
    while (len_ < capacity_) {
      std::int64_t n = source_.ReadAt(offset_, buffer_.get() + len_, capacity_ - len_);
      if (n < 0) return -1;
      if (n == 0) break;
      offset_ += static_cast<std::uint64_t>(n);
      len_ += static_cast<std::size_t>(n);
      got += static_cast<std::size_t>(n);
    }
    return static_cast<std::int64_t>(got);
  }
  // Drops the bytes before `from`, keeping the rest at the buffer's start.
  void Shift(std::size_t from) {
    std::memmove(buffer_.get(), buffer_.get() + from, len_ - from);
    len_ -= from;
  }

  ContentSource& source_;
  std::unique_ptr<unsigned char[]> buffer_;
  std::size_t capacity_;
  std::size_t len_ = 0;
  std::uint64_t offset_ = 0;
};

}  // namespace

bool ContentContains(const std::string& path, const std::string& searchPhrase,
                     std::size_t phraseLength, bool wholeWord, const ByteTable& caseTable) {
  if (phraseLength < 1) return true;
  RegularFile file;
  if (!file.Open(path)) return false;
  RegularFileSource source(file);
  return ContentContains(source, searchPhrase, phraseLength, wholeWord, caseTable);
}

bool ContentContains(ContentSource& source, const std::string& searchPhrase,
                     std::size_t phraseLength, bool wholeWord, const ByteTable& caseTable,
                     std::size_t bufferSize) {
  const std::size_t L = std::min(phraseLength, searchPhrase.size());
  if (L < 1) return true;
  const std::uint64_t size = source.Size();
  if (size < L) return false;
  if (bufferSize < 1) bufferSize = 1;
  const std::size_t capacity =
      size <= bufferSize ? static_cast<std::size_t>(size) : std::max(bufferSize, L + 1);

  const auto* phrase = reinterpret_cast<const unsigned char*>(searchPhrase.data());
  StartFinder finder(phrase, L, caseTable);
  Scanner s(source, capacity);
  if (s.Fill() < 0) return false;

  // The byte before the buffer's first byte; 0 counts as a delimiter.
  unsigned char prev = 0;
  std::size_t p = 0;  // the first start not yet tried
  const unsigned char* data = s.buffer_.get();
  for (;;) {
    std::size_t q = finder.Find(data, p, s.len_);
    if (q == kNone) {
      // The starts left are too close to the end to be decided here: keep
      // them (fewer bytes than the phrase) and read on behind them.
      const std::size_t reach = finder.Reach();
      std::size_t keep = std::max(p, s.len_ > reach ? s.len_ - reach : 0);
      keep = std::min(keep, s.len_);
      if (keep > 0) prev = data[keep - 1];
      s.Shift(keep);
      finder.Reset();
      p = 0;
      std::int64_t n = s.Fill();
      if (n <= 0) return false;  // a read error, or the end of the file
      continue;
    }
    if (caseTable[data[q]] != phrase[0] ||
        (wholeWord && !DelimiterSet.Contains(q > 0 ? data[q - 1] : prev))) {
      p = q + 1;
      continue;
    }
    // Moves the candidate to the buffer's start and reads on behind it.
    auto refill = [&]() -> std::int64_t {
      if (q > 0) {
        prev = data[q - 1];
        s.Shift(q);
        q = 0;
      }
      finder.Reset();
      return s.Fill();
    };
    std::size_t i = 1;
    for (; i < L; ++i) {
      if (q + i == s.len_) {
        if (refill() < 0) return false;
        if (s.len_ < L) return false;  // the file ends inside the phrase
      }
      if (caseTable[data[q + i]] != phrase[i]) break;
    }
    if (i == L) {
      if (!wholeWord) return true;
      if (q + L == s.len_) {
        std::int64_t n = refill();
        if (n < 0) return false;
        if (n == 0) return true;  // the match ends the file
      }
      if (DelimiterSet.Contains(data[q + L])) return true;
    }
    p = q + 1;
  }
}

}  // namespace tabulon
