// The floor of every listing: reads each folder of a tree once and stats each
// entry, nothing more. Prints the counts so the work cannot be optimised away.
//   bench_bare_walk DIR
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Counts {
  std::uint64_t folders = 0;
  std::uint64_t files = 0;
  std::uint64_t bytes = 0;
};

void Walk(const std::string& folder, Counts& counts) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  ++counts.folders;
  int dirFd = dirfd(dir);
  while (dirent* entry = readdir(dir)) {
    const char* name = entry->d_name;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
    struct stat st;
    if (fstatat(dirFd, name, &st, 0) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      Walk(folder + "/" + name, counts);
    } else {
      ++counts.files;
      counts.bytes += static_cast<std::uint64_t>(st.st_size);
    }
  }
  closedir(dir);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  Counts counts;
  Walk(argv[1], counts);
  std::printf(
      "%llu folders, %llu files, %llu bytes\n", static_cast<unsigned long long>(counts.folders),
      static_cast<unsigned long long>(counts.files), static_cast<unsigned long long>(counts.bytes));
  return 0;
}
