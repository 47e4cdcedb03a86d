// The command line, run as the program itself.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_tree.h"

namespace tabulon {
namespace {

using testing::TempTree;

constexpr std::int64_t kStamp = 1072883100;  // 2003-12-31 15:05 UTC

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string ProgramPath() {
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
  return (self.parent_path() / "../../src/app/tabulon").lexically_normal().string();
}

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

class CommandLineTest : public ::testing::Test {
 protected:
  CommandLineTest() {
    AddFile("data/a.txt", 1000);
    AddFile("data/b.txt", 2000);
    AddFile("data/Sub/c.txt", 500);
    AddFile("data/.hidden.txt", 5);
    tree_.AddFolder("cfg");
  }

  void AddFile(const std::string& relative, std::uint64_t size) {
    tree_.AddFileOfSize(relative, size);
    tree_.SetTimes(relative, kStamp, kStamp);
  }

  std::vector<std::string> Environment() const {
    return {"SOURCE_DATE_EPOCH=" + std::to_string(kStamp),
            "TZ=UTC",
            "LC_ALL=en_US.UTF-8",
            "XDG_CONFIG_HOME=" + tree_.Path("cfg"),
            "HOME=" + tree_.Root(),
            "QT_QPA_PLATFORM=offscreen",
            "XDG_RUNTIME_DIR=" + tree_.Root(),
            "PATH=/usr/bin:/bin"};
  }

  // Starts the program; its output goes to files in the tree.
  pid_t Start(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {ProgramPath()};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> env = Environment();
    const std::string outPath = tree_.Path("stdout"), errPath = tree_.Path("stderr");
    pid_t pid = fork();
    if (pid == 0) {
      int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(out, 1);
      dup2(err, 2);
      std::vector<char*> cargv, cenv;
      for (std::string& a : argv) cargv.push_back(a.data());
      for (std::string& e : env) cenv.push_back(e.data());
      cargv.push_back(nullptr);
      cenv.push_back(nullptr);
      execve(cargv[0], cargv.data(), cenv.data());
      _exit(127);
    }
    return pid;
  }

  Outcome Finish(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    Outcome outcome;
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    outcome.out = ReadFile(tree_.Path("stdout"));
    outcome.err = ReadFile(tree_.Path("stderr"));
    return outcome;
  }

  Outcome Run(const std::vector<std::string>& args) { return Finish(Start(args)); }

  // Exports the data folder and returns the file.
  std::string Export(std::vector<std::string> args, const std::string& file = "out.txt") {
    std::vector<std::string> all = {"--export", tree_.Path(file)};
    all.insert(all.end(), args.begin(), args.end());
    all.push_back(tree_.Path("data"));
    Outcome outcome = Run(all);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    return ReadFile(tree_.Path(file));
  }

  std::string Data() const { return tree_.Path("data"); }

  TempTree tree_;
};

TEST_F(CommandLineTest, ExportsTheFolderAsPlainText) {
  const std::string text = Export({});
  EXPECT_EQ(text.substr(0, text.find("\r\n")), "Directory of: " + Data() + "/*.*");
  EXPECT_NE(text.find("12/31/2003  3:05pm      Sorted by Long Name\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nTotal: 2 directories;  4 files;  3,505 bytes\r\n"), std::string::npos)
      << text;
}

TEST_F(CommandLineTest, EveryFlagReachesTheListing) {
  struct Case {
    std::vector<std::string> args;
    std::string file;
    std::string present;
    std::string absent;
  };
  const std::string d = Data();
  const std::vector<Case> cases = {
      {{"--type", "csv"}, "out.txt", "\"a.txt\",1000,\"12/31/2003\",\"3:05pm\",\"\",\r\n", ""},
      {{}, "out.csv", "\"a.txt\",1000,", "<HTML>"},
      {{}, "out.HTML", "<HTML>\r\n", ""},
      {{"--type", "txt"}, "out.htm", "Directory of: ", "<HTML>"},
      {{"--include", "*.doc"}, "out.txt", "Directory of: " + d + "/*.doc\r\n", "a.txt"},
      {{"--exclude", "b.*"}, "out.txt", "(Excluding b.*)", "b.txt"},
      {{"--type", "csv", "--show", "short,size"}, "out.txt", "\"a.txt\",1000,\r\n", "\"3:05pm\""},
      {{"--date", "created"}, "out.txt", "Date: Created", ""},
      {{"--sort", "size"}, "out.txt", "Sorted by Size", ""},
      {{"--descending", "--csv-no-totals"},
       "out.csv",
       "\"b.txt\"",
       "\"a.txt\",1000,\"12/31/2003\",\"3:05pm\",\"\",\r\n\"b.txt\""},
      {{"--levels", "1"}, "out.txt", "Levels: 1      ", ""},
      {{"--from", "2003-12-01", "--to", "12/31/2003"},
       "out.txt",
       "Files dated from 12/01/2003 to 12/31/2003\r\n",
       ""},
      {{"--from", "2004-01-01", "--to", "2004-01-31"},
       "out.txt",
       "Total: 2 directories;  0 files",
       "a.txt"},
      {{"--page-header", "Quarterly report"}, "out.txt", "\r\nQuarterly report\r\n", ""},
      {{"--csv-path", "separate"}, "out.csv", "\"" + d + "/Sub\",\"c.txt\",500,", ""},
      {{"--csv-path", "combined"}, "out.csv", "\"" + d + "/Sub/c.txt\",500,", ""},
      {{"--no-subdirs"}, "out.txt", "Total: 3 files;  3,005 bytes\r\n", "Sub"},
      {{"--dirs-only"}, "out.txt", "Directories only", "a.txt"},
      {{"--dirs-only", "--tree"}, "out.txt", "\r\n   Sub   ", ""},
      {{"--exclude-empty"}, "out.txt", "Empty subdirectories excluded", ""},
      {{"--no-hidden"}, "out.txt", "Hidden excluded", ".hidden.txt"},
      {{"--hidden"}, "out.txt", ".hidden.txt", "Hidden excluded"},
      {{"--csv-no-totals"}, "out.csv", "", "Total"},
      {{"--no-html-borders"}, "out.html", "<TABLE CELLSPACING=3", "<STYLE"},
      {{"--html-borders"}, "out.html", "<TABLE CELLPADDING=3", ""},
      {{"--no-html-shade"}, "out.html", "<TR>", "BGCOLOR"},
      {{"--no-subdirs", "--subdirs"}, "out.txt", "Levels: All", ""},
  };
  for (const Case& c : cases) {
    std::string args;
    for (const std::string& arg : c.args) args += arg + " ";
    SCOPED_TRACE(args + c.file);
    const std::string text = Export(c.args, c.file);
    EXPECT_NE(text.find(c.present), std::string::npos) << text;
    if (!c.absent.empty()) {
      EXPECT_EQ(text.find(c.absent), std::string::npos) << text;
    }
  }
}

TEST_F(CommandLineTest, SavedOptionsApplyUnlessDefaultsAreAsked) {
  tree_.AddFile("cfg/Veltro/Tabulon.conf", "[General]\nDirOnly=1\nSortField=4\n");
  EXPECT_NE(Export({}).find("Directories only"), std::string::npos);
  const std::string text = Export({"--defaults"});
  EXPECT_NE(text.find("Sorted by Long Name"), std::string::npos) << text;
  EXPECT_NE(Export({"--no-dirs-only"}).find("Sorted by Size"), std::string::npos);
  // The command line never saves what it was given.
  EXPECT_EQ(ReadFile(tree_.Path("cfg/Veltro/Tabulon.conf")), "[General]\nDirOnly=1\nSortField=4\n");
}

TEST_F(CommandLineTest, AFailedWriteExitsOneNamingFileAndReason) {
  Outcome outcome = Run({"--export", "/dev/full", Data()});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find("\"/dev/full\": No space left on device"), std::string::npos)
      << outcome.err;

  outcome = Run({"--export", tree_.Path("missing/out.txt"), Data()});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find(tree_.Path("missing/out.txt") + "\": No such file or directory"),
            std::string::npos)
      << outcome.err;
}

TEST_F(CommandLineTest, BadCommandLinesExitTwoWithTheUsage) {
  const std::string out = tree_.Path("out.txt");
  const std::vector<std::vector<std::string>> cases = {
      {"--export", out, tree_.Path("no-such-folder")},
      {"--export", out, tree_.Path("data/a.txt")},
      {"--export", out},
      {"--export", out, Data(), Data()},
      {"--export"},
      {"--export", out, "--bogus", Data()},
      {"--export", out, "--type", "pdf", Data()},
      {"--export", out, "--levels", "11", Data()},
      {"--export", out, "--sort", "colour", Data()},
      {"--export", out, "--show", "long,colour", Data()},
      {"--export", out, "--date", "yesterday", Data()},
      {"--export", out, "--from", "2003-02-30", Data()},
      {"--export", out, "--from", "soon", Data()},
      {"--export", out, "--csv-path", "both", Data()},
      {"--export", out, "--font-size", "13", Data()},
      {"--export", out, "--print-columns", "3", Data()},
      {"--export", out, "--subdirs=yes", Data()},
      {"--export", out, "--pdf", tree_.Path("out.pdf"), Data()},
      {Data()},
  };
  for (const auto& args : cases) {
    std::string joined;
    for (const std::string& arg : args) joined += arg + " ";
    SCOPED_TRACE(joined);
    Outcome outcome = Run(args);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("Usage: tabulon --export FILE"), std::string::npos) << outcome.err;
  }
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(CommandLineTest, HelpDocumentsBothJobs) {
  Outcome outcome = Run({"--help"});
  EXPECT_EQ(outcome.status, 0);
  for (const char* piece :
       {"--export FILE", "--pdf FILE", "--type txt|csv|html", "--defaults", "--show LIST",
        "--csv-path none|separate|combined", "--html-shade", "--font NAME", "--font-size N",
        "--print-columns 1|2|4", "--landscape", "--no-shade", "--open", "130", "SOURCE_DATE_EPOCH",
        "XDG_CONFIG_HOME"}) {
    EXPECT_NE(outcome.out.find(piece), std::string::npos) << piece;
  }
}

// Ctrl+C while the export waits on a full pipe: the job stops as the Cancel
// panel stops it, and what arrived is exactly the start of the full listing.
TEST_F(CommandLineTest, InterruptCancelsAndKeepsWhatWasWritten) {
  for (int folder = 0; folder < 40; ++folder) {
    for (int file = 0; file < 50; ++file) {
      AddFile("data/Sub/f" + std::to_string(folder) + "/file" + std::to_string(file) + ".txt", 1);
    }
  }
  const std::string complete = Export({});
  ASSERT_GT(complete.size(), 200000u);

  const std::string fifo = tree_.Path("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  pid_t pid = Start({"--export", fifo, Data()});
  int fd = open(fifo.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  std::string received(4096, '\0');
  ssize_t got = read(fd, received.data(), received.size());
  ASSERT_GT(got, 0);
  received.resize(static_cast<std::size_t>(got));
  // Let the writer fill the pipe and block, then interrupt it.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  kill(pid, SIGINT);
  char buffer[65536];
  while ((got = read(fd, buffer, sizeof buffer)) > 0) received.append(buffer, got);
  close(fd);
  Outcome outcome = Finish(pid);
  EXPECT_EQ(outcome.status, 130) << outcome.err;
  EXPECT_NE(outcome.err.find("canceled"), std::string::npos) << outcome.err;
  ASSERT_LT(received.size(), complete.size());
  EXPECT_EQ(received, complete.substr(0, received.size()));
  EXPECT_EQ(received.find("Total:"), std::string::npos);
}

}  // namespace
}  // namespace tabulon
