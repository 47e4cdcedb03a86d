// The content test on one large file, timed: `bench_content_search generate
// <file> <megabytes> [phrase]` writes the data, `bench_content_search run <file>
// <phrase> <repeats> [ignore-case]` prints the median wall time and the result.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "search/content_search.h"
#include "search/search_criteria.h"

namespace {

// Lower-case English-like text: words of a fixed vocabulary, lines of about
// 70 bytes, the same for every run.
int Generate(const char* path, long megabytes, const char* phrase) {
  static const char* const kWords[] = {
      "the",     "of",      "and",     "to",     "in",      "is",     "that",   "for",
      "it",      "as",      "was",     "with",   "be",      "by",     "on",     "not",
      "he",      "this",    "are",     "or",     "his",     "from",   "at",     "which",
      "but",     "have",    "an",      "had",    "they",    "you",    "were",   "their",
      "one",     "all",     "we",      "can",    "her",     "has",    "there",  "been",
      "if",      "more",    "when",    "will",   "would",   "who",    "so",     "no",
      "listing", "folder",  "printer", "search", "entries", "totals", "column", "export",
      "quickly", "between", "under",   "page",   "number",  "format", "value",  "system"};
  std::FILE* out = std::fopen(path, "wb");
  if (!out) {
    std::perror(path);
    return 1;
  }
  std::mt19937 random(12345);
  std::string chunk;
  const std::size_t total = static_cast<std::size_t>(megabytes) << 20;
  std::size_t written = 0, line = 0;
  while (written < total) {
    chunk.clear();
    while (chunk.size() < (1u << 20)) {
      const char* word = kWords[random() % std::size(kWords)];
      chunk += word;
      line += std::strlen(word) + 1;
      if (line > 70) {
        chunk += '\n';
        line = 0;
      } else {
        chunk += ' ';
      }
    }
    std::size_t n = std::min(chunk.size(), total - written);
    std::fwrite(chunk.data(), 1, n, out);
    written += n;
  }
  if (phrase && *phrase) std::fprintf(out, "\n%s\n", phrase);
  return std::fclose(out) == 0 ? 0 : 1;
}

int Run(const char* path, const char* phrase, int repeats, bool ignoreCase) {
  tabulon::TContentCriteria criteria;
  criteria.SetIgnoreCase(ignoreCase);
  criteria.SetPhrase(phrase);
  std::vector<double> times;
  bool found = false;
  for (int i = 0; i < repeats; ++i) {
    auto start = std::chrono::steady_clock::now();
    found = tabulon::ContentContains(path, criteria.SearchPhrase(), criteria.PhraseLength(),
                                     criteria.WholeWord(), criteria.CaseTable());
    times.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  std::printf("%.4f %s\n", times[times.size() / 2], found ? "found" : "absent");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && std::strcmp(argv[1], "generate") == 0)
    return Generate(argv[2], std::atol(argv[3]), argc >= 5 ? argv[4] : nullptr);
  if (argc >= 5 && std::strcmp(argv[1], "run") == 0)
    return Run(argv[2], argv[3], std::max(1, std::atoi(argv[4])),
               argc >= 6 && std::strcmp(argv[5], "ignore-case") == 0);
  std::fprintf(stderr,
               "usage: %s generate <file> <megabytes> [phrase]\n"
               "       %s run <file> <phrase> <repeats> [ignore-case]\n",
               argv[0], argv[0]);
  return 2;
}
