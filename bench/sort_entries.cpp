// Sorting the entries of one folder of 100,000 files: Tabulon's way (one
// collation key per entry, byte-wise comparisons) against a sort that
// collates per comparison, and against `sort -f` on the same names; then
// both ways of sorting on many small folders.
//
//   bench_sort_entries [count]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "listing/file_entry.h"
#include "listing/listing_options.h"
#include "platform/file_time.h"
#include "platform/locale.h"

namespace {

using namespace tabulon;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

class UtcZone : public TimeZone {
 public:
  bool UtcToLocal(FileTime utc, FileTime& local) const override {
    local = utc;
    return true;
  }
  bool LocalToUtc(FileTime local, FileTime& utc) const override {
    utc = local;
    return true;
  }
};

std::vector<SearchRec> MakeRecords(std::size_t count) {
  static const char* const kWords[] = {"report", "Budget",  "photo",       "IMG",
                                       "draft",  "Notes",   "caf\xc3\xa9", "summary",
                                       "Backup", "invoice", "x",           "\xc3\x89t\xc3\xa9"};
  static const char* const kExtensions[] = {".txt", ".doc", ".JPG", ".png", "", ".tar.gz", ".mp3"};
  std::mt19937_64 random(20031231);
  std::vector<SearchRec> records(count);
  for (std::size_t i = 0; i < count; ++i) {
    SearchRec& rec = records[i];
    rec.name = std::string(kWords[random() % std::size(kWords)]) + " " +
               std::to_string(random() % 100000) + kExtensions[random() % std::size(kExtensions)];
    const std::uint64_t size = random() % 5'000'000'000ULL;
    rec.findData.sizeHigh = static_cast<std::uint32_t>(size >> 32);
    rec.findData.sizeLow = static_cast<std::uint32_t>(size);
    rec.size = rec.findData.sizeLow;
    rec.attr = kAttrArchive;
    rec.time = static_cast<DosDateTime>(((23 + random() % 20) << 25) | ((1 + random() % 12) << 21) |
                                        ((1 + random() % 28) << 16) | ((random() % 24) << 11) |
                                        ((random() % 60) << 5));
  }
  return records;
}

void Run(const char* caption, int sortField, const std::vector<SearchRec>& records,
         const Locale& locale) {
  UtcZone zone;
  EntryFormat format;
  format.grpSortField = sortField;

  // Tabulon: the entries are built as they are collected, then sorted; a
  // folder this large takes the keyed sort (one collation key per entry).
  auto start = Clock::now();
  std::vector<FileEntry> entries;
  entries.reserve(records.size());
  for (const SearchRec& rec : records) entries.push_back(MakeFileEntry(rec, "", format, zone));
  const double build = Seconds(start);
  start = Clock::now();
  SortEntries(entries, 1, locale);
  const double sort = Seconds(start);

  // The naive peer: the same entries, collated at every comparison.
  std::vector<FileEntry> naive;
  naive.reserve(records.size());
  for (const SearchRec& rec : records) naive.push_back(MakeFileEntry(rec, "", format, zone));
  start = Clock::now();
  std::sort(naive.begin(), naive.end(), [&locale](const FileEntry& a, const FileEntry& b) {
    return locale.CompareCaseInsensitive(a.SortKey, b.SortKey) < 0;
  });
  const double naiveSort = Seconds(start);

  std::size_t disorder = 0;
  for (std::size_t i = 1; i < entries.size(); ++i) {
    if (locale.CompareCaseInsensitive(entries[i - 1].SortKey, entries[i].SortKey) > 0) ++disorder;
  }
  std::printf(
      "%-10s entries %.3f s | keyed sort %.3f s | per-comparison collation %.3f s "
      "| pairs out of order: %zu\n",
      caption, build, sort, naiveSort, disorder);
}

// Many small folders, the usual tree: each way of sorting on folders of
// `size` entries, to place the point where keys start to pay.
void RunSmallFolders(std::size_t size, const std::vector<SearchRec>& records,
                     const Locale& locale) {
  UtcZone zone;
  EntryFormat format;
  std::vector<std::vector<FileEntry>> folders;
  for (std::size_t first = 0; first + size <= records.size(); first += size) {
    std::vector<FileEntry>& folder = folders.emplace_back();
    for (std::size_t i = first; i < first + size; ++i)
      folder.push_back(MakeFileEntry(records[i], "", format, zone));
  }
  double seconds[2] = {0, 0};
  for (int keyed = 0; keyed < 2; ++keyed) {
    std::vector<std::vector<FileEntry>> copy = folders;
    const auto start = Clock::now();
    for (std::vector<FileEntry>& folder : copy)
      SortEntries(folder, 1, locale, keyed ? 0 : SIZE_MAX);
    seconds[keyed] = Seconds(start);
  }
  std::printf("%zu folders of %4zu: by comparisons %.3f s | by keys %.3f s\n", folders.size(), size,
              seconds[0], seconds[1]);
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
  const std::vector<SearchRec> records = MakeRecords(count);
  const std::unique_ptr<Locale> locale = MakeSystemLocale();
  std::printf("%zu entries of one folder\n", count);
  Run("Long Name", kSortLongName, records, *locale);
  Run("Size", kSortSize, records, *locale);
  Run("Date/Time", kSortDateTime, records, *locale);
  for (std::size_t size : {20, 64, 256, 1024}) RunSmallFolders(size, records, *locale);

  // `sort -f` over the same names, for scale (includes its start-up).
  const char* path = "/tmp/tabulon_bench_sort_names.txt";
  {
    std::ofstream out(path, std::ios::binary);
    for (const SearchRec& rec : records) out << rec.name << '\n';
  }
  const auto start = Clock::now();
  const std::string command = std::string("sort -f ") + path + " > /dev/null";
  const int rc = std::system(command.c_str());
  std::printf("sort -f    %.3f s (exit %d)\n", Seconds(start), rc);
  std::remove(path);
  return 0;
}
