// Builds the benchmark tree: FOLDERS folders (the root, then groups of 99
// below 100 top folders) holding FILES files each, with fixed sizes (sparse)
// and fixed times, so every run lists the same data.
//   bench_make_tree DIR [FOLDERS=10000] [FILES_PER_FOLDER=20]
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char* const kExtensions[] = {"txt", "doc", "dat", "log", "csv", "html", "c", "h"};

void Die(const std::string& what) {
  std::fprintf(stderr, "make_tree: %s: %s\n", what.c_str(), std::strerror(errno));
  std::exit(1);
}

void MakeFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) Die(path);
}

void MakeFiles(const std::string& folder, int count, unsigned& serial) {
  for (int i = 0; i < count; ++i, ++serial) {
    char name[64];
    std::snprintf(name, sizeof name, "/file_%06u_%c%c.%s", serial, 'a' + serial % 26,
                  'a' + (serial / 26) % 26, kExtensions[serial % 8]);
    std::string path = folder + name;
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) Die(path);
    // Sizes from 0 to about 2 MB, sparse so the tree costs no disk space.
    off_t size = static_cast<off_t>((serial * 2654435761u) % 2000000u);
    if (ftruncate(fd, size) != 0) Die(path);
    // 2003-12-31 15:05 UTC plus a few minutes per file.
    timespec times[2];
    times[0].tv_sec = times[1].tv_sec = 1072883100 + static_cast<time_t>(serial % 5000) * 60;
    times[0].tv_nsec = times[1].tv_nsec = 0;
    if (futimens(fd, times) != 0) Die(path);
    close(fd);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s DIR [FOLDERS] [FILES_PER_FOLDER]\n", argv[0]);
    return 2;
  }
  std::string root = argv[1];
  int folders = argc > 2 ? std::atoi(argv[2]) : 10000;
  int filesPerFolder = argc > 3 ? std::atoi(argv[3]) : 20;
  MakeFolder(root);
  unsigned serial = 0;
  int made = 1;
  MakeFiles(root, filesPerFolder, serial);
  for (int top = 0; made < folders; ++top) {
    char name[32];
    std::snprintf(name, sizeof name, "/dir_%03d", top);
    std::string topPath = root + name;
    MakeFolder(topPath);
    MakeFiles(topPath, filesPerFolder, serial);
    ++made;
    for (int sub = 0; sub < 99 && made < folders; ++sub, ++made) {
      std::snprintf(name, sizeof name, "/sub_%02d", sub);
      std::string subPath = topPath + name;
      MakeFolder(subPath);
      MakeFiles(subPath, filesPerFolder, serial);
    }
  }
  std::printf("%d folders, %u files in %s\n", made, serial, root.c_str());
  return 0;
}
