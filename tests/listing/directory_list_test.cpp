#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "listing/directory_list.h"
#include "listing/listing_options.h"
#include "platform/file_system.h"
#include "support/fake_file_system.h"
#include "support/fake_locale.h"
#include "support/fake_time_zone.h"
#include "support/recording_job_host.h"
#include "support/temp_tree.h"

namespace tabulon {
namespace {

using testing::FakeFileSystem;
using testing::FakeLocale;
using testing::FakeTimeZone;
using testing::RecordingJobHost;
using testing::TempTree;

// A collation that orders letters before case, as the user's locale does
// ("a" < "B" < "b"), unlike byte order; it counts the keys it builds.
class CollatingLocale : public FakeLocale {
 public:
  std::string SortKeyCaseSensitive(std::string_view text) const override {
    ++keysBuilt;
    return ToLower(text) + '\x01' + std::string(text);
  }
  mutable int keysBuilt = 0;
};

std::string Lines(const std::vector<std::string>& list) {
  std::string text;
  for (const std::string& line : list) text += line + "\n";
  return text;
}

ListingOptions WalkOptions(bool includeHidden, int levels) {
  ListingOptions options;
  options.chkHidden = includeHidden;
  options.cboLevels = levels;
  return options;
}

class DirectoryListTest : public ::testing::Test {
 protected:
  DirectoryListTest() : fs_(timeZone_) {}

  // /data holds folders in no useful order, a file, a folder named like a
  // hidden one, one with the hidden and one with the system attribute.
  void AddDataTree() {
    fs_.AddFolder("/data/Music/Rock");
    fs_.AddFolder("/data/Music/jazz");
    fs_.AddFile("/data/readme.txt", 10);
    fs_.AddFolder("/data/docs");
    fs_.AddFolder("/data/.cache/fonts");
    fs_.AddFolder("/data/Private", kAttrHidden);
    fs_.AddFolder("/data/Private/Letters");
    fs_.AddFolder("/data/Apps");
    fs_.AddFolder("/data/Boot", kAttrSystem);
  }

  DirectoryList Build(const std::string& root, const ListingOptions& options,
                      bool expectComplete = true) {
    DirectoryList list = {"left over from the last job"};
    EXPECT_EQ(BuildDirectoryList(root, options, fs_, locale_, host_, list), expectComplete);
    return list;
  }

  FakeTimeZone timeZone_;
  FakeFileSystem fs_;
  CollatingLocale locale_;
  RecordingJobHost host_;
};

TEST_F(DirectoryListTest, SortedListWithProgressAndNoDotFolders) {
  AddDataTree();
  const DirectoryList list = Build("/data/", WalkOptions(true, 0));
  EXPECT_EQ(Lines(list),
            "/data/\n/data/Apps\n/data/Boot\n/data/docs\n/data/Music\n/data/Music/jazz\n"
            "/data/Music/Rock\n/data/Private\n/data/Private/Letters\n");
  // One key per entry, the root aside.
  EXPECT_EQ(locale_.keysBuilt, 8);
  std::vector<std::string> expectedStatus;
  for (int n = 1; n <= 8; ++n) {
    expectedStatus.push_back(" Retrieving directory names: " + std::to_string(n));
  }
  EXPECT_EQ(host_.Texts(0), expectedStatus);
  EXPECT_TRUE(host_.Texts(1).empty());
  // The .cache folder is never even searched.
  for (const std::string& folder : fs_.SearchedFolders()) {
    EXPECT_EQ(folder.find(".cache"), std::string::npos) << folder;
  }
}

TEST_F(DirectoryListTest, HiddenAndSystemFoldersGoWithTheirSubtrees) {
  AddDataTree();
  const DirectoryList list = Build("/data/", WalkOptions(false, 0));
  EXPECT_EQ(Lines(list),
            "/data/\n/data/Apps\n/data/docs\n/data/Music\n/data/Music/jazz\n/data/Music/Rock\n");
  for (const std::string& folder : fs_.SearchedFolders()) {
    EXPECT_EQ(folder.find("Private"), std::string::npos) << folder;
  }
}

TEST_F(DirectoryListTest, LevelLimit) {
  fs_.AddFolder("/r/a/b/c/d");
  fs_.AddFolder("/r/e");
  struct Case {
    int levels;
    const char* expected;
  };
  const Case cases[] = {
      {0, "/r/\n/r/a\n/r/a/b\n/r/a/b/c\n/r/a/b/c/d\n/r/e\n"},
      {1, "/r/\n/r/a\n/r/e\n"},
      {2, "/r/\n/r/a\n/r/a/b\n/r/e\n"},
      {3, "/r/\n/r/a\n/r/a/b\n/r/a/b/c\n/r/e\n"},
      {10, "/r/\n/r/a\n/r/a/b\n/r/a/b/c\n/r/a/b/c/d\n/r/e\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Lines(Build("/r/", WalkOptions(true, c.levels))), c.expected) << c.levels;
  }
}

TEST_F(DirectoryListTest, BelowTheFileSystemRootNoSeparatorIsDoubled) {
  fs_.AddFolder("/B/x");
  fs_.AddFolder("/A");
  EXPECT_EQ(Lines(Build("/", WalkOptions(true, 0))), "/\n/A\n/B\n/B/x\n");
  EXPECT_EQ(Lines(Build("/", WalkOptions(true, 1))), "/\n/A\n/B\n");
}

TEST_F(DirectoryListTest, UnreadableFolderIsListedButYieldsNothingBelowIt) {
  fs_.AddFolder("/r/open/inner");
  fs_.AddFolder("/r/locked/inner").readable = true;
  fs_.Find("/r/locked")->readable = false;
  EXPECT_EQ(Lines(Build("/r/", WalkOptions(true, 0))), "/r/\n/r/locked\n/r/open\n/r/open/inner\n");
}

TEST_F(DirectoryListTest, UnreadableRootGivesTheRootAlone) {
  fs_.AddFolder("/r/a");
  fs_.Find("/r")->readable = false;
  EXPECT_EQ(Lines(Build("/r/", WalkOptions(true, 0))), "/r/\n");
}

TEST_F(DirectoryListTest, CancelStopsWithinOneEntryAtEveryLevel) {
  // Walk order: a, a/a1, a/a1/deep, a/a2, b, c; one ProcessEvents call each.
  fs_.AddFolder("/r/a/a1/deep");
  fs_.AddFolder("/r/a/a2");
  fs_.AddFolder("/r/b");
  fs_.AddFolder("/r/c");
  struct Case {
    int cancelAt;
    const char* expected;
  };
  const Case cases[] = {
      {1, "/r/\n"},
      {2, "/r/\n/r/a\n"},
      {3, "/r/\n/r/a\n/r/a/a1\n"},
      {5, "/r/\n/r/a\n/r/a/a1\n/r/a/a1/deep\n/r/a/a2\n"},
      {6, "/r/\n/r/a\n/r/a/a1\n/r/a/a1/deep\n/r/a/a2\n/r/b\n"},
  };
  for (const Case& c : cases) {
    host_ = RecordingJobHost();
    host_.CancelAtCall(c.cancelAt);
    EXPECT_EQ(Lines(Build("/r/", WalkOptions(true, 0), false)), c.expected) << c.cancelAt;
    // Nothing runs past the entry at which the cancel came, at any level.
    EXPECT_EQ(host_.ProcessEventsCalls(), c.cancelAt);
    EXPECT_EQ(host_.Texts(0).size(), static_cast<std::size_t>(c.cancelAt - 1));
  }
  host_ = RecordingJobHost();
  EXPECT_EQ(Build("/r/", WalkOptions(true, 0), true).size(), 7u);
  EXPECT_EQ(host_.ProcessEventsCalls(), 6);
}

TEST(DirectoryListRealTree, OrderLevelsDotFoldersAndLinks) {
  TempTree tree;
  tree.AddFolder("Music/Rock");
  tree.AddFolder("Music/jazz");
  tree.AddFolder("docs");
  tree.AddFile("docs/notes.txt", "x");
  tree.AddFolder(".cache/fonts");
  tree.AddFolder(".hidden/inside");
  tree.AddLink("Music/up", "..");                  // a link to a parent folder
  tree.AddLink("docs/music", tree.Path("Music"));  // a link to a sibling folder
  tree.AddLink("dangling", "nowhere");

  const std::unique_ptr<TimeZone> timeZone = MakeSystemTimeZone();
  const std::unique_ptr<FileSystem> fs = MakeRealFileSystem(*timeZone);
  CollatingLocale locale;
  const std::string root = tree.Root() + "/";
  const std::string all = root + "\n" + root + "docs\n" + root + "Music\n" + root + "Music/jazz\n" +
                          root + "Music/Rock\n";
  for (bool includeHidden : {true, false}) {
    RecordingJobHost host;
    DirectoryList list;
    ASSERT_TRUE(BuildDirectoryList(root, WalkOptions(includeHidden, 0), *fs, locale, host, list));
    EXPECT_EQ(Lines(list), all) << includeHidden;
  }
  RecordingJobHost host;
  DirectoryList list;
  ASSERT_TRUE(BuildDirectoryList(root, WalkOptions(true, 1), *fs, locale, host, list));
  EXPECT_EQ(Lines(list), root + "\n" + root + "docs\n" + root + "Music\n");

  // A cancel during the walk (here as soon as the first folder is counted,
  // whatever order the folder gives) leaves what was found before it.
  struct CancelOnFirstFolder : RecordingJobHost {
    void SetStatus(int panel, const std::string& text) override {
      RecordingJobHost::SetStatus(panel, text);
      SetCancelRequested(true);
    }
  } cancelling;
  ASSERT_FALSE(BuildDirectoryList(root, WalkOptions(true, 0), *fs, locale, cancelling, list));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list.front(), root);
  EXPECT_TRUE(list.back() == root + "docs" || list.back() == root + "Music") << list.back();
  EXPECT_EQ(cancelling.Texts(0), std::vector<std::string>{" Retrieving directory names: 1"});
}

TEST(DirectoryListRealTree, UnreadableFolderIsListedButYieldsNothingBelowIt) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads a mode-000 folder; the fake shows this case";
  TempTree tree;
  tree.AddFolder("locked/inner");
  tree.AddFolder("open");
  tree.SetMode("locked", 0);
  const std::unique_ptr<TimeZone> timeZone = MakeSystemTimeZone();
  const std::unique_ptr<FileSystem> fs = MakeRealFileSystem(*timeZone);
  CollatingLocale locale;
  RecordingJobHost host;
  DirectoryList list;
  const std::string root = tree.Root() + "/";
  ASSERT_TRUE(BuildDirectoryList(root, WalkOptions(true, 0), *fs, locale, host, list));
  EXPECT_EQ(Lines(list), root + "\n" + root + "locked\n" + root + "open\n");
}

}  // namespace
}  // namespace tabulon
