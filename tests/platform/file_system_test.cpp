#include "platform/file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/fake_file_system.h"
#include "support/fake_time_zone.h"
#include "support/temp_tree.h"

namespace tabulon {
namespace {

using testing::FakeFileSystem;
using testing::FakeTimeZone;
using testing::TempTree;

constexpr std::uint32_t kAll =
    kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrDirectory | kAttrArchive;

TEST(MatchFindMaskTest, FollowsTheEnumerationRules) {
  struct Case {
    const char* name;
    const char* mask;
    bool match;
  };
  const Case cases[] = {
      {"readme.txt", "*.*", true},
      {"readme", "*.*", true},
      {".", "*.*", true},
      {"..", "*", true},
      {"README.TXT", "*.txt", true},
      {"a.txt", "*.TXT", true},
      {"a.txt", "*.tx", false},
      {"x.tar.gz", "*.gz", true},
      {"abc", "a?c", true},
      {"ac", "a?c", false},
      {"abc", "abc??", true},
      {"abcd", "abc??", true},
      {"abcde", "abc??", true},
      {"abcdef", "abc??", false},
      {"readme", "*.", true},
      {"readme.txt", "*.", false},
      {"abc", "abc.", true},
      {"abd", "abc.", false},
      {"a", "a.*", true},
      {"a.txt", "a.*", true},
      {"ab", "a.*", false},
      {"report 2003.doc", "*2003*", true},
      {"mississippi", "*ss*pi", true},
      {"mississippi", "*ss*px", false},
      {"\xc3\xa4.txt", "?.txt", true},  // one code point is one character
      {"\xc3\xa4.txt", "??.txt", false},
      {"\xff.txt", "?.txt", true},  // so is one stray byte
      {"\xff.txt", "\xfe.txt", false},
      {"\xc3\x84.txt", "\xc3\xa4.txt", false},  // only ASCII letters fold
      {"abc", "", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchFindMask(c.name, c.mask), c.match) << c.name << " / " << c.mask;
  }
}

TEST(IsRootPathTest, OnlyTheRoot) {
  EXPECT_TRUE(IsRootPath("/"));
  EXPECT_TRUE(IsRootPath("//"));
  EXPECT_FALSE(IsRootPath(""));
  EXPECT_FALSE(IsRootPath("/home"));
  EXPECT_FALSE(IsRootPath("/home/"));
}

// One line per record, every field, so a failing comparison shows the
// difference.
std::string Describe(const SearchRec& r, bool withCreation = true) {
  std::ostringstream out;
  out << "time=" << std::hex << r.time << std::dec << " size=" << r.size << " attr=" << r.attr
      << " name=" << r.name << " | attributes=" << r.findData.attributes;
  if (withCreation) out << " created=" << r.findData.creationTime;
  out << " accessed=" << r.findData.lastAccessTime << " written=" << r.findData.lastWriteTime
      << " high=" << r.findData.sizeHigh << " low=" << r.findData.sizeLow
      << " long=" << r.findData.fileName << " alt=" << r.findData.alternateName;
  return out.str();
}

std::map<std::string, SearchRec> Search(FileSystem& fs, const std::string& spec,
                                        std::uint32_t filter) {
  std::map<std::string, SearchRec> found;
  auto search = fs.FindFirst(spec, filter);
  EXPECT_NE(search, nullptr);
  SearchRec rec;
  while (search->Next(rec)) {
    EXPECT_EQ(found.count(rec.name), 0u) << "reported twice: " << rec.name;
    found[rec.name] = rec;
  }
  return found;
}

std::vector<std::string> Names(const std::map<std::string, SearchRec>& found) {
  std::vector<std::string> names;
  for (const auto& [name, rec] : found) names.push_back(name);
  return names;
}

constexpr std::int64_t kAfternoon = 1'072'883'100;            // 2003-12-31 15:05:00 UTC
constexpr std::uint64_t kBig = (std::uint64_t{1} << 32) + 3;  // 4 GiB and 3 bytes

class RealSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tree_.AddFile("plain.txt", "hello");
    tree_.SetTimes("plain.txt", kAfternoon - 60, kAfternoon, 123'456'700);
    tree_.AddFile(".hidden", "h");
    tree_.AddFile("readonly.txt", "ro");
    tree_.SetMode("readonly.txt", 0444);
    tree_.AddFolder("folder");
    tree_.AddFile("folder/inside.txt");
    tree_.AddFolder(".config");
    tree_.AddLink("link-to-file", "plain.txt");
    tree_.AddLink("link-to-folder", "folder");
    tree_.AddLink("dangling", "nowhere");
    tree_.AddFifo("fifo");
    tree_.AddFileOfSize("big.bin", kBig);
    tree_.AddFile("\xff\xfe.bin", "raw");
  }

  TempTree tree_;
  FakeTimeZone zone_{3600};
  std::unique_ptr<FileSystem> fs_ = MakeRealFileSystem(zone_);
};

TEST_F(RealSearchTest, ReportsEachEntryAsThePlatformRulesSay) {
  const auto found = Search(*fs_, tree_.Path("*.*"), kAll);
  EXPECT_EQ(Names(found), (std::vector<std::string>{".", "..", ".config", ".hidden", "big.bin",
                                                    "dangling", "fifo", "folder", "link-to-file",
                                                    "plain.txt", "readonly.txt", "\xff\xfe.bin"}));

  const SearchRec& plain = found.at("plain.txt");
  EXPECT_EQ(plain.attr, 0u);  // archive and system are never invented
  EXPECT_EQ(plain.size, 5u);
  EXPECT_EQ(plain.findData.lastWriteTime, FileTimeFromUnix(kAfternoon, 123'456'700));
  EXPECT_EQ(plain.findData.lastAccessTime, FileTimeFromUnix(kAfternoon - 60, 123'456'700));
  EXPECT_EQ(plain.time, 0x2F9F80A0u);  // 16:05 local, one hour east
  EXPECT_EQ(plain.findData.fileName, "plain.txt");
  EXPECT_EQ(plain.findData.alternateName, "");
  EXPECT_EQ(plain.findData.attributes, plain.attr);

  EXPECT_EQ(found.at(".hidden").attr, static_cast<std::uint32_t>(kAttrHidden));
  EXPECT_EQ(found.at(".config").attr, kAttrHidden | kAttrDirectory);
  EXPECT_EQ(found.at("readonly.txt").attr, static_cast<std::uint32_t>(kAttrReadOnly));
  EXPECT_EQ(found.at("folder").attr, static_cast<std::uint32_t>(kAttrDirectory));
  EXPECT_EQ(found.at("folder").size, 0u);  // folders carry no size
  EXPECT_EQ(found.at(".").attr, static_cast<std::uint32_t>(kAttrDirectory));
  EXPECT_EQ(found.at("..").attr, static_cast<std::uint32_t>(kAttrDirectory));

  // A link to a file is that file, under the link's name.
  const SearchRec& link = found.at("link-to-file");
  EXPECT_EQ(Describe(link).substr(0, Describe(link).find(" name=")),
            Describe(plain).substr(0, Describe(plain).find(" name=")));
  EXPECT_EQ(link.findData.lastWriteTime, plain.findData.lastWriteTime);
  // A dangling link is reported with its own data: the length of its target.
  EXPECT_EQ(found.at("dangling").size, 7u);
  EXPECT_EQ(found.at("dangling").attr & kAttrDirectory, 0u);
  EXPECT_EQ(found.at("fifo").size, 0u);

  const SearchRec& big = found.at("big.bin");
  EXPECT_EQ(big.size, 3u);  // the low half only
  EXPECT_EQ(big.findData.sizeHigh, 1u);
  EXPECT_EQ(big.Size64(), kBig);
  EXPECT_EQ(found.at("\xff\xfe.bin").size, 3u);  // a name that is not UTF-8 keeps its bytes
}

TEST_F(RealSearchTest, AttributeFilterAndMaskSelect) {
  EXPECT_EQ(Names(Search(*fs_, tree_.Path("*.*"), 0)),
            (std::vector<std::string>{"big.bin", "dangling", "fifo", "link-to-file", "plain.txt",
                                      "readonly.txt", "\xff\xfe.bin"}));
  // Read-only and archive bits never keep an entry out.
  EXPECT_EQ(Names(Search(*fs_, tree_.Path("*.TXT"), 0)),
            (std::vector<std::string>{"plain.txt", "readonly.txt"}));
  EXPECT_EQ(
      Names(Search(*fs_, tree_.Path("*"), kAttrDirectory)),
      (std::vector<std::string>{".", "..", "big.bin", "dangling", "fifo", "folder", "link-to-file",
                                "plain.txt", "readonly.txt", "\xff\xfe.bin"}));
  EXPECT_EQ(Names(Search(*fs_, tree_.Path(".*"), kAttrHidden)),
            (std::vector<std::string>{".hidden"}));
  EXPECT_EQ(Names(Search(*fs_, tree_.Path("?????.txt"), kAll)),
            (std::vector<std::string>{"plain.txt"}));
}

TEST_F(RealSearchTest, FoldersThatCannotBeReadGiveNothing) {
  EXPECT_TRUE(Search(*fs_, tree_.Path("missing/*.*"), kAll).empty());
  EXPECT_TRUE(Search(*fs_, tree_.Path("plain.txt/*.*"), kAll).empty());
  EXPECT_TRUE(Search(*fs_, tree_.Path("folder/"), kAll).empty());  // no mask
  EXPECT_TRUE(fs_->ListSubdirectories(tree_.Path("missing")).empty());

  tree_.SetMode("folder", 0);
  if (geteuid() == 0) GTEST_SKIP() << "root reads a mode-000 folder; the fake shows this case";
  EXPECT_TRUE(Search(*fs_, tree_.Path("folder/*.*"), kAll).empty());
  EXPECT_TRUE(fs_->ListSubdirectories(tree_.Path("folder")).empty());
}

TEST_F(RealSearchTest, SubdirectoriesLeaveOutLinksAndDots) {
  tree_.AddFolder("folder/deeper");
  std::map<std::string, std::uint32_t> subdirectories;
  for (const SubdirectoryEntry& entry : fs_->ListSubdirectories(tree_.Root())) {
    subdirectories[entry.name] = entry.attributes;
  }
  EXPECT_EQ(subdirectories,
            (std::map<std::string, std::uint32_t>{{".config", kAttrDirectory | kAttrHidden},
                                                  {"folder", kAttrDirectory}}));
  EXPECT_EQ(fs_->ListSubdirectories(tree_.Path("folder")).size(), 1u);

  EXPECT_TRUE(fs_->IsDirectory(tree_.Path("folder")));
  EXPECT_TRUE(fs_->IsDirectory(tree_.Path("link-to-folder")));
  EXPECT_FALSE(fs_->IsDirectory(tree_.Path("plain.txt")));
  EXPECT_FALSE(fs_->IsDirectory(tree_.Path("dangling")));
  EXPECT_TRUE(fs_->Exists(tree_.Path("dangling")));
  EXPECT_TRUE(fs_->Exists(tree_.Path("fifo")));
  EXPECT_FALSE(fs_->Exists(tree_.Path("missing")));
}

// Where the file system counts a link per subfolder, a folder without any is
// marked so that a walk need not read it; a folder with one never is, and a
// link to a folder is no subfolder.
TEST_F(RealSearchTest, SubfolderHintNeverHidesASubfolder) {
  tree_.AddFolder("parent/child/grandchild");
  tree_.AddFolder("leaf");
  tree_.AddFile("leaf/inside.txt");
  tree_.AddFolder("only-links");
  tree_.AddLink("only-links/to-parent", tree_.Path("parent"));
  struct statfs info {};
  ASSERT_EQ(statfs(tree_.Root().c_str(), &info), 0);
  // A kernel that cannot tell a mount point (before 5.8) gets no hint.
  struct statx self {};
  ASSERT_EQ(statx(AT_FDCWD, tree_.Root().c_str(), 0, STATX_BASIC_STATS, &self), 0);
  const bool countsLinks = (info.f_type == EXT4_SUPER_MAGIC || info.f_type == XFS_SUPER_MAGIC ||
                            info.f_type == TMPFS_MAGIC) &&
                           (self.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) != 0;

  std::map<std::string, bool> hints;
  for (const SubdirectoryEntry& entry : fs_->ListSubdirectories(tree_.Root())) {
    hints[entry.name] = entry.mayHaveSubfolders;
  }
  EXPECT_TRUE(hints.at("parent"));
  EXPECT_EQ(hints.at("leaf"), !countsLinks);
  EXPECT_EQ(hints.at("only-links"), !countsLinks);
  EXPECT_EQ(hints.at("folder"), !countsLinks);
  const auto below = fs_->ListSubdirectories(tree_.Path("parent"));
  ASSERT_EQ(below.size(), 1u);
  EXPECT_TRUE(below[0].mayHaveSubfolders);
  const auto deepest = fs_->ListSubdirectories(tree_.Path("parent/child"));
  ASSERT_EQ(deepest.size(), 1u);
  EXPECT_EQ(deepest[0].mayHaveSubfolders, !countsLinks);
}

TEST(RealSearchRootTest, SearchesTheRootFolder) {
  FakeTimeZone zone;
  auto fs = MakeRealFileSystem(zone);
  const auto found = Search(*fs, "/*", kAll);
  ASSERT_TRUE(found.count("."));
  EXPECT_TRUE(found.count("tmp") || found.count("usr"));
}

// The same small tree, built on disk and in memory, searched both ways.
TEST(FakeAndRealSearchTest, AgreeOnTheSameTree) {
  TempTree tree;
  FakeTimeZone zone(-5 * 3600);
  FakeFileSystem fake(zone);
  const std::string root = tree.Root();

  struct File {
    const char* name;
    std::uint64_t size;
    std::int64_t written;
    std::uint32_t attributes;
  };
  const File files[] = {
      {"notes.txt", 12, kAfternoon, 0},
      {".profile", 3, kAfternoon - 86'400 * 400, kAttrHidden},
      {"locked.doc", 0, 315'532'800 + 5 * 3600, kAttrReadOnly},  // 1980-01-01 00:00 local
      {"old.txt", 1, 315'532'799 + 5 * 3600, 0},                 // before 1980: no DOS time
      {"huge.iso", kBig, kAfternoon + 1, 0},
  };
  for (const File& f : files) {
    tree.AddFileOfSize(f.name, f.size);
    if (f.attributes & kAttrReadOnly) tree.SetMode(f.name, 0444);
    tree.SetTimes(f.name, f.written + 7, f.written);
    auto& entry = fake.AddFile(root + "/" + f.name, f.size, f.attributes);
    entry.lastWriteTime = FileTimeFromUnix(f.written);
    entry.lastAccessTime = FileTimeFromUnix(f.written + 7);
  }
  for (const char* folder : {"sub", ".cache"}) {
    tree.AddFolder(folder);
    tree.SetTimes(folder, kAfternoon, kAfternoon);
    auto& entry =
        fake.AddFolder(root + "/" + folder, folder[0] == '.' ? std::uint32_t{kAttrHidden} : 0u);
    entry.lastWriteTime = FileTimeFromUnix(kAfternoon);
    entry.lastAccessTime = FileTimeFromUnix(kAfternoon);
  }

  auto real = MakeRealFileSystem(zone);
  for (const char* mask : {"*.*", "*.txt", "*.", "?????.*"}) {
    for (std::uint32_t filter : {kAll, std::uint32_t{0}, std::uint32_t{kAttrDirectory}}) {
      SCOPED_TRACE(std::string(mask) + " filter " + std::to_string(filter));
      auto describeAll = [](const std::map<std::string, SearchRec>& found) {
        std::map<std::string, std::string> out;
        // "." and ".." carry the folders' own times; creation times cannot
        // be set on disk.
        for (const auto& [name, rec] : found) {
          if (name != "." && name != "..") out[name] = Describe(rec, false);
        }
        return out;
      };
      const auto fromDisk = describeAll(Search(*real, root + "/" + mask, filter));
      EXPECT_EQ(fromDisk, describeAll(Search(fake, root + "/" + mask, filter)));
      if (filter == kAll && std::string(mask) == "*.*") {
        EXPECT_EQ(fromDisk.size(), 7u);
      }
    }
  }
  auto sorted = [](std::vector<SubdirectoryEntry> entries) {
    std::map<std::string, std::uint32_t> out;
    for (const auto& e : entries) out[e.name] = e.attributes;
    return out;
  };
  EXPECT_EQ(sorted(real->ListSubdirectories(root)), sorted(fake.ListSubdirectories(root)));
}

TEST(FakeSearchTest, AlternateNamesFiltersAndUnreadableFolders) {
  FakeTimeZone zone;
  FakeFileSystem fs(zone);
  fs.AddFile("/data/Quarterly Report.docx", 10).alternateName = "QUARTE~1.DOC";
  fs.AddFile("/data/boot.ini", 1, kAttrSystem | kAttrHidden);
  fs.AddFolder("/data/locked").readable = false;
  fs.AddFile("/data/locked/secret.txt");

  EXPECT_EQ(Names(Search(fs, "/data/*.doc", kAll)),
            (std::vector<std::string>{"Quarterly Report.docx"}));
  EXPECT_EQ(Names(Search(fs, "/data/*.ini", kAttrHidden)), std::vector<std::string>{});
  EXPECT_EQ(Names(Search(fs, "/data/*.ini", kAttrHidden | kAttrSystem)),
            (std::vector<std::string>{"boot.ini"}));
  EXPECT_TRUE(Search(fs, "/data/locked/*.*", kAll).empty());
  EXPECT_TRUE(fs.ListSubdirectories("/data/locked").empty());
  EXPECT_EQ(fs.ListSubdirectories("/data").size(), 1u);
  EXPECT_EQ(fs.SearchedFolders(),
            (std::vector<std::string>{"/data", "/data", "/data", "/data/locked", "/data/locked",
                                      "/data"}));

  // A time the zone cannot convert leaves the record without a DOS time.
  fs.Find("/data/boot.ini")->lastWriteTime = FileTimeFromUnix(kAfternoon);
  zone.SetFailing(true);
  EXPECT_EQ(Search(fs, "/data/boot.ini", kAll).at("boot.ini").time, 0u);
}

}  // namespace
}  // namespace tabulon
