#include "search/find_file.h"

#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "support/fake_file_system.h"
#include "support/fake_locale.h"
#include "support/fake_time_zone.h"
#include "support/temp_tree.h"

namespace tabulon {
namespace {

using testing::FakeFileSystem;
using testing::FakeLocale;
using testing::FakeTimeZone;
using testing::TempTree;

std::string Join(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

// Records every event as a line; "+" for a match, ">" for a folder.
class Recorder {
 public:
  explicit Recorder(TFindFile& find) {
    find.OnSearchBegin = [this](TFindFile&) { lines.push_back("begin"); };
    find.OnSearchFinish = [this](TFindFile&) { lines.push_back("finish"); };
    find.OnSearchAbort = [this](TFindFile&) { lines.push_back("abort"); };
    find.OnFolderChange = [this](TFindFile& sender, const std::string& folder, TFolderIgnore&) {
      lines.push_back("> " + folder + " " + std::to_string(sender.Depth()));
    };
    find.OnFileMatch = [this](TFindFile&, const std::string& folder, const SearchRec& rec) {
      lines.push_back("+ " + folder + rec.name);
    };
  }
  std::string Text() const { return Join(lines); }
  std::vector<std::string> lines;
};

class FindFileTest : public ::testing::Test {
 protected:
  FindFileTest() : fs(zone), find(fs, zone, locale) {
    fs.AddFile("/data/a.txt");
    fs.AddFile("/data/b.doc");
    fs.AddFile("/data/c.txt");
    fs.AddFile("/data/sub/deep.txt");
    fs.AddFile("/data/sub/inner/deeper.txt");
    fs.AddFile("/data/other/x.txt");
  }

  // Only the matches, without folder events.
  std::vector<std::string> Matches() {
    std::vector<std::string> names;
    find.OnFileMatch = [&](TFindFile&, const std::string& folder, const SearchRec& rec) {
      names.push_back(folder + rec.name);
    };
    find.Start();
    return names;
  }

  FakeTimeZone zone;
  FakeLocale locale;
  FakeFileSystem fs;
  TFindFile find;
};

TEST_F(FindFileTest, WalksDepthFirstReportingTheLastMaskFirst) {
  Recorder rec(find);
  find.Criteria().Files().SetFileName("*.txt;*.doc");
  find.Criteria().Files().SetLocation("/data");
  find.Start();
  EXPECT_EQ(rec.Text(),
            "begin\n"
            "> /data/ 1\n"
            "+ /data/b.doc\n"
            "+ /data/a.txt\n"
            "+ /data/c.txt\n"
            "> /data/sub/ 2\n"
            "+ /data/sub/deep.txt\n"
            "> /data/sub/inner/ 3\n"
            "+ /data/sub/inner/deeper.txt\n"
            "> /data/other/ 2\n"
            "+ /data/other/x.txt\n"
            "finish\n");
  EXPECT_FALSE(find.Searching());
  EXPECT_FALSE(find.Cancelled());
}

TEST_F(FindFileTest, FileMatchingTwoMasksIsReportedOncePerMask) {
  find.Criteria().Files().SetFileName("a*;*.txt");
  find.Criteria().Files().SetLocation("</data");
  EXPECT_EQ(Join(Matches()), "/data/a.txt\n/data/c.txt\n/data/a.txt\n");
}

TEST_F(FindFileTest, FolderNamedTwiceIsWalkedOnceWithBothMasks) {
  Recorder rec(find);
  find.Criteria().Files().SetFileName("*.doc");
  find.Criteria().Files().SetLocation("/data/other/..");
  find.Criteria().Files().SetIncluded({"</data/a.*"});
  find.Criteria().Files().SetSubfolders(false);
  find.Start();
  // Included mask first, then FileName's; the last mask is searched first.
  EXPECT_EQ(rec.Text(), "begin\n> /data/ 1\n+ /data/b.doc\n+ /data/a.txt\nfinish\n");
}

TEST_F(FindFileTest, TargetsAreWalkedInTheOrderFirstNamedAndTheLastEntryWins) {
  Recorder rec(find);
  find.Criteria().Files().SetFileName("*.txt");
  // /data/sub is named first with subfolders, then again without them.
  find.Criteria().Files().SetIncluded({"/data/sub/deep.*", "/data/other/*.txt"});
  find.Criteria().Files().SetLocation("</data/sub;/data/other/");
  find.Start();
  EXPECT_EQ(rec.Text(),
            "begin\n"
            "> /data/sub/ 1\n"
            "+ /data/sub/deep.txt\n"
            "+ /data/sub/deep.txt\n"
            "> /data/other/ 1\n"
            "+ /data/other/x.txt\n"
            "+ /data/other/x.txt\n"
            "finish\n");
}

TEST_F(FindFileTest, PathIdentityIsCaseSensitive) {
  fs.AddFile("/Data/A.txt");
  find.Criteria().Files().SetFileName("*.txt");
  find.Criteria().Files().SetLocation("</data;</Data");
  EXPECT_EQ(Join(Matches()), "/data/a.txt\n/data/c.txt\n/Data/A.txt\n");
}

TEST_F(FindFileTest, LevelsInWalkOrder) {
  struct Case {
    std::uint16_t minLevel, maxLevel;
    const char* expected;
  };
  const Case cases[] = {
      {0, 0,
       "/data/a.txt\n/data/c.txt\n/data/sub/deep.txt\n/data/sub/inner/deeper.txt\n"
       "/data/other/x.txt\n"},
      {2, 0, "/data/sub/deep.txt\n/data/sub/inner/deeper.txt\n/data/other/x.txt\n"},
      {0, 1, "/data/a.txt\n/data/c.txt\n"},
      {0, 2, "/data/a.txt\n/data/c.txt\n/data/sub/deep.txt\n/data/other/x.txt\n"},
      {3, 0, "/data/sub/inner/deeper.txt\n"},
  };
  for (const Case& c : cases) {
    find.Criteria().Files().SetFileName("*.txt");
    find.Criteria().Files().SetLocation("/data");
    find.Criteria().Files().SetMinLevel(c.minLevel);
    find.Criteria().Files().SetMaxLevel(c.maxLevel);
    EXPECT_EQ(Join(Matches()), c.expected) << c.minLevel << "/" << c.maxLevel;
  }
}

TEST_F(FindFileTest, FolderIgnoreAnswers) {
  struct Case {
    TFolderIgnore answer;
    const char* expected;
  };
  const Case cases[] = {
      {fiSearchAll, "/data/a.txt\n/data/c.txt\n/data/sub/deep.txt\n/data/sub/inner/deeper.txt\n"},
      {fiSkipFiles, "/data/a.txt\n/data/c.txt\n/data/sub/inner/deeper.txt\n"},
      {fiSkipSubfolders, "/data/a.txt\n/data/c.txt\n/data/sub/deep.txt\n"},
      {fiSkipAll, "/data/a.txt\n/data/c.txt\n"},
  };
  for (const Case& c : cases) {
    find.Criteria().Files().SetFileName("*.txt");
    find.Criteria().Files().SetLocation("/data");
    find.OnFolderChange = [&](TFindFile&, const std::string& folder, TFolderIgnore& ignore) {
      EXPECT_EQ(ignore, fiSearchAll);
      if (folder == "/data/sub/") ignore = c.answer;
      if (folder == "/data/other/") ignore = fiSkipAll;
    };
    EXPECT_EQ(Join(Matches()), c.expected) << c.answer;
  }
}

// Records every entry that reaches the acceptance test.
class TestedFindFile : public TFindFile {
 public:
  using TFindFile::TFindFile;
  std::vector<std::string> tested;

 protected:
  bool AcceptFile(const std::string& folder, const SearchRec& rec) override {
    tested.push_back(folder + rec.name);
    return TFindFile::AcceptFile(folder, rec);
  }
};

TEST_F(FindFileTest, DotEntriesNeverReachTestsOrEvents) {
  TestedFindFile tested(fs, zone, locale);
  Recorder rec(tested);
  tested.Criteria().Files().SetFileName("*");
  tested.Criteria().Files().SetLocation("/data/sub");
  tested.Criteria().Attribute().SetAttributes({ffArchive, ffDirectory});
  tested.Start();
  EXPECT_EQ(Join(tested.tested),
            "/data/sub/deep.txt\n/data/sub/inner\n/data/sub/inner/deeper.txt\n");
  EXPECT_EQ(rec.Text(),
            "begin\n> /data/sub/ 1\n+ /data/sub/deep.txt\n+ /data/sub/inner\n"
            "> /data/sub/inner/ 2\n+ /data/sub/inner/deeper.txt\nfinish\n");
}

TEST_F(FindFileTest, DefaultAttributesWalkFoldersWithoutReportingThem) {
  Recorder rec(find);
  find.Criteria().Files().SetFileName("*.*");
  find.Criteria().Files().SetLocation("/data/sub");
  find.Start();
  EXPECT_EQ(rec.Text(),
            "begin\n> /data/sub/ 1\n+ /data/sub/deep.txt\n> /data/sub/inner/ 2\n"
            "+ /data/sub/inner/deeper.txt\nfinish\n");
}

TEST_F(FindFileTest, AcceptanceTests) {
  fs.AddFile("/t/small.bin", 10);
  fs.AddFile("/t/huge.bin", (std::uint64_t{1} << 32) + 10);  // low half 10
  fs.AddFile("/t/hidden.bin", 10, kAttrHidden | kAttrArchive);
  fs.AddFile("/t/skip/x.bin", 10);
  fs.AddFolder("/t/unread.bin/").readable = false;
  fs.AddFile("/t/unread.bin/y.bin", 10);
  find.Criteria().Files().SetFileName("*.bin");
  find.Criteria().Files().SetLocation("/t");
  find.Criteria().Files().SetExcluded({"skip/", "hidden.*"});
  find.Criteria().Size().SetMax(100);
  EXPECT_EQ(Join(Matches()), "/t/small.bin\n");
  find.Criteria().Size().SetMax(0);
  find.Criteria().Size().SetMin(100);
  EXPECT_EQ(Join(Matches()), "/t/huge.bin\n");
}

TEST_F(FindFileTest, CancelFromFileMatchStopsAtOnce) {
  Recorder rec(find);
  find.Criteria().Files().SetFileName("*.txt");
  find.Criteria().Files().SetLocation("/data");
  find.OnFileMatch = [&](TFindFile& sender, const std::string& folder, const SearchRec& r) {
    rec.lines.push_back("+ " + folder + r.name);
    sender.Cancel();
    rec.lines.push_back("cancelled " + std::to_string(sender.Cancelled()));
    sender.Cancel();  // a second call does nothing
  };
  find.Start();
  EXPECT_EQ(rec.Text(), "begin\n> /data/ 1\n+ /data/a.txt\nabort\ncancelled 1\nfinish\n");
  EXPECT_TRUE(find.Cancelled());  // until the next Start
  EXPECT_FALSE(find.Searching());
  find.OnFileMatch = nullptr;
  find.Start();
  EXPECT_FALSE(find.Cancelled());
  find.Cancel();  // idle: nothing fires
  EXPECT_EQ(std::count(rec.lines.begin(), rec.lines.end(), "abort"), 1);
}

TEST_F(FindFileTest, StartDuringASearchDoesNothing) {
  Recorder rec(find);
  find.Criteria().Files().SetFileName("a.txt");
  find.Criteria().Files().SetLocation("</data");
  find.OnFileMatch = [&](TFindFile& sender, const std::string&, const SearchRec& r) {
    rec.lines.push_back("+ " + r.name);
    sender.Criteria().Files().SetFileName("*.doc");  // no effect on this search
    sender.Start();
  };
  find.Start();
  EXPECT_EQ(rec.Text(), "begin\n> /data/ 1\n+ a.txt\nfinish\n");
}

TEST_F(FindFileTest, HandlerErrorLeavesStartAfterTheSearchFinished) {
  Recorder rec(find);
  find.Criteria().Files().SetFileName("*.txt");
  find.Criteria().Files().SetLocation("/data");
  find.OnFileMatch = [](TFindFile&, const std::string&, const SearchRec&) {
    throw std::runtime_error("boom");
  };
  EXPECT_THROW(find.Start(), std::runtime_error);
  EXPECT_EQ(rec.Text(), "begin\n> /data/ 1\nfinish\n");
  EXPECT_FALSE(find.Searching());
  EXPECT_EQ(find.Depth(), 0);
  // A failing finish handler still ends the search.
  find.OnFileMatch = nullptr;
  find.OnSearchFinish = [](TFindFile&) { throw std::runtime_error("finish"); };
  EXPECT_THROW(find.Start(), std::runtime_error);
  EXPECT_FALSE(find.Searching());
}

TEST_F(FindFileTest, ContentSearchNeverMatchesFolders) {
  find.Criteria().Files().SetFileName("*");
  find.Criteria().Files().SetLocation("/data");
  find.Criteria().Attribute().SetAttributes({ffArchive, ffDirectory});
  find.Criteria().Content().SetPhrase("x");
  // The fake's files do not exist on disk, so nothing holds the phrase.
  EXPECT_EQ(Join(Matches()), "");
}

// Waits, pumping the posted calls, until the search is over.
void WaitForEnd(TFindFile& find) {
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (find.Searching() && std::chrono::steady_clock::now() < until) {
    find.ProcessPending();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_FALSE(find.Searching());
}

TEST_F(FindFileTest, ThreadedSearchFinishesOnTheStartingThread) {
  for (TThreadPriority priority : {tpIdle, tpLower, tpNormal, tpHighest, tpTimeCritical}) {
    Recorder rec(find);
    const auto mainThread = std::this_thread::get_id();
    std::atomic<int> onWorker{0};
    std::thread::id finishThread;
    find.OnFileMatch = [&](TFindFile&, const std::string& folder, const SearchRec& r) {
      onWorker += std::this_thread::get_id() != mainThread;
      rec.lines.push_back("+ " + folder + r.name);
    };
    find.OnSearchFinish = [&](TFindFile&) {
      finishThread = std::this_thread::get_id();
      rec.lines.push_back("finish");
    };
    find.SetThreaded(true);
    find.SetThreadPriority(priority);
    find.Criteria().Files().SetFileName("*.txt");
    find.Criteria().Files().SetLocation("/data/sub");
    find.Start();
    EXPECT_TRUE(find.Searching());  // until this thread pumps the end
    WaitForEnd(find);
    EXPECT_EQ(rec.Text(),
              "begin\n> /data/sub/ 1\n+ /data/sub/deep.txt\n> /data/sub/inner/ 2\n"
              "+ /data/sub/inner/deeper.txt\nfinish\n")
        << priority;
    EXPECT_EQ(onWorker, 2);
    EXPECT_EQ(finishThread, mainThread);
  }
}

int ThreadCount() {
  int count = 0;
  if (DIR* dir = opendir("/proc/self/task")) {
    while (dirent* e = readdir(dir)) {
      if (e->d_name[0] != '.') ++count;
    }
    closedir(dir);
  }
  return count;
}

// A tree wide and deep enough that a threaded walk is still running when
// the main thread cancels it.
void AddWideTree(FakeFileSystem& fs) {
  for (int a = 0; a < 30; ++a)
    for (int b = 0; b < 30; ++b)
      fs.AddFile("/big/d" + std::to_string(a) + "/f" + std::to_string(b));
}

TEST(FindFileThreads, CancelAndDestroyUnderLoadLeaveNoThreadBehind) {
  FakeTimeZone zone;
  FakeLocale locale;
  FakeFileSystem fs(zone);
  AddWideTree(fs);
  const int threadsBefore = ThreadCount();
  int cutShort = 0;  // rounds whose walk the cancel really interrupted
  for (int round = 0; round < 300; ++round) {
    int begins = 0, finishes = 0, aborts = 0;
    std::atomic<int> matches{0};
    {
      auto find = std::make_unique<TFindFile>(fs, zone, locale);
      find->OnSearchBegin = [&](TFindFile&) { ++begins; };
      find->OnSearchFinish = [&](TFindFile&) { ++finishes; };
      find->OnSearchAbort = [&](TFindFile&) { ++aborts; };
      find->OnFileMatch = [&](TFindFile&, const std::string&, const SearchRec&) { ++matches; };
      find->SetThreaded(true);
      find->Criteria().Files().SetFileName("*");
      find->Criteria().Files().SetLocation("/big");
      find->Start();
      if (round % 3 == 1) std::this_thread::sleep_for(std::chrono::microseconds(round * 3));
      switch (round % 4) {
        case 0:  // cancel at once
          find->Cancel();
          cutShort += matches < 900;
          EXPECT_FALSE(find->Searching());
          EXPECT_EQ(aborts, 1);
          EXPECT_EQ(finishes, 1);
          break;
        case 1: {  // cancel, then start again and let it run out
          find->Cancel();
          int before = matches;
          find->Start();
          WaitForEnd(*find);
          EXPECT_EQ(matches - before, 900);
          EXPECT_EQ(begins, 2);
          EXPECT_EQ(finishes, 2);
          break;
        }
        case 2:  // destroy while searching: no events while being destroyed
          find.reset();
          EXPECT_EQ(begins, 1);
          EXPECT_EQ(finishes, 0);
          break;
        default:  // let the end be posted, then destroy before pumping
          while (matches < 900) std::this_thread::yield();
          std::this_thread::sleep_for(std::chrono::microseconds(100));
          find.reset();
          break;
      }
    }
    if (round % 4 == 0 || round % 4 == 1) {
      EXPECT_EQ(begins, finishes) << round;
    }
  }
  EXPECT_EQ(ThreadCount(), threadsBefore);
  EXPECT_GT(cutShort, 0);
}

TEST(FindFileThreads, CancelPumpsWhatAHandlerOnTheWorkerWaitsFor) {
  FakeTimeZone zone;
  FakeLocale locale;
  FakeFileSystem fs(zone);
  AddWideTree(fs);
  CallQueue queue;
  TFindFile find(fs, zone, locale, &queue);
  const auto mainThread = std::this_thread::get_id();
  std::atomic<bool> inHandler{false};
  std::vector<std::string> events;
  std::atomic<int> ranOnMain{0};
  find.OnFileMatch = [&](TFindFile&, const std::string&, const SearchRec&) {
    inHandler = true;
    // Hand work to the main thread and wait for it, as a window would.
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> ready = done->get_future();
    queue.Post([&, done] {
      ranOnMain += std::this_thread::get_id() == mainThread;
      done->set_value();
    });
    ready.wait();
  };
  find.OnSearchAbort = [&](TFindFile&) { events.push_back("abort"); };
  find.OnSearchFinish = [&](TFindFile&) { events.push_back("finish"); };
  find.SetThreaded(true);
  find.Criteria().Files().SetFileName("*");
  find.Criteria().Files().SetLocation("/big");
  find.Start();
  while (!inHandler) std::this_thread::yield();
  find.Cancel();  // would deadlock if it did not pump the queue
  EXPECT_FALSE(find.Searching());
  EXPECT_GE(ranOnMain, 1);
  EXPECT_EQ(Join(events), "abort\nfinish\n");
}

TEST(FindFileRealTree, FifoNamedLikeAMatchIsNeverOpened) {
  TempTree tree;
  tree.AddFile("notes.txt", "a needle here");
  tree.AddFile("other.txt", "nothing");
  tree.AddFifo("pipe.txt");
  tree.AddFile("sub/deep.txt", "needle");
  tree.AddFile(".hidden.txt", "needle");
  tree.AddLink("loop", ".");  // a link to a folder is never entered
  std::unique_ptr<TimeZone> zone = MakeSystemTimeZone();
  std::unique_ptr<FileSystem> fs = MakeRealFileSystem(*zone);
  FakeLocale locale;
  TFindFile find(*fs, *zone, locale);
  std::vector<std::string> names;
  find.OnFileMatch = [&](TFindFile&, const std::string& folder, const SearchRec& rec) {
    names.push_back(folder.substr(tree.Root().size()) + rec.name);
  };
  find.Criteria().Files().SetFileName("*.txt");
  find.Criteria().Files().SetLocation(tree.Root());
  find.Criteria().Content().SetPhrase("NEEDLE");
  find.Start();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(Join(names), "/.hidden.txt\n/notes.txt\n/sub/deep.txt\n");
  // Without the content test the fifo is reported like any other entry.
  find.Criteria().Content().SetPhrase("");
  find.Criteria().Files().SetSubfolders(false);
  names.clear();
  find.Start();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(Join(names), "/.hidden.txt\n/notes.txt\n/other.txt\n/pipe.txt\n");
}

}  // namespace
}  // namespace tabulon
