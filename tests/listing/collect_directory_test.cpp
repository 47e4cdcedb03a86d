#include "listing/collect_directory.h"

#include <gtest/gtest.h>

#include "support/fake_file_system.h"
#include "support/fake_locale.h"
#include "support/fake_shell.h"
#include "support/fake_time_zone.h"

namespace tabulon {
namespace {

using testing::FakeFileSystem;
using testing::FakeLocale;
using testing::FakeShell;
using testing::FakeTimeZone;

// Records each heading with the number of entries collected at that moment.
class RecordingWriter : public SectionWriter {
 public:
  explicit RecordingWriter(const ListingSession*& session) : session_(session) {}
  void WriteDirectoryHeading(const std::string& folderText) override {
    headings.push_back(folderText + "@" + std::to_string(session_->lstFiles.size()));
  }
  std::vector<std::string> headings;

 private:
  const ListingSession*& session_;
};

struct Fixture {
  FakeTimeZone timeZone;
  FakeLocale locale;
  FakeShell shell;
  FakeFileSystem fs{timeZone};
  ListingSession session{fs, timeZone, locale, shell};
  const ListingSession* self = &session;
  RecordingWriter writer{self};

  void Configure(const ListingOptions& options,
                 std::function<std::string(const std::string&)> fit = {}) {
    CollectorJob job;
    job.options = options;
    job.sectionWriter = &writer;
    job.fitTypeName = std::move(fit);
    session.ConfigureSearch(std::move(job));
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const FileEntry& e : session.lstFiles) names.push_back(e.LongName);
    return names;
  }
};

TEST(CollectDirectory, ImmediateHeadingForEveryDirectory) {
  Fixture f;
  f.fs.AddFolder("/data/empty");
  f.fs.AddFile("/data/b.txt", 20);
  f.fs.AddFile("/data/a.txt", 10);
  ListingOptions options;
  f.Configure(options);

  f.session.CollectDirectory("/data/empty/");
  EXPECT_EQ(f.writer.headings, (std::vector<std::string>{"/data/empty@0"}));
  EXPECT_EQ(f.session.Totals.DirFileCount, 0u);
  EXPECT_TRUE(f.session.lstFiles.empty());

  f.session.CollectDirectory("/data/");
  EXPECT_EQ(f.writer.headings.back(), "/data@0");
  EXPECT_EQ(f.Names(), (std::vector<std::string>{"a.txt", "b.txt"}));
  EXPECT_EQ(f.session.Totals.DirFileCount, 2u);
  EXPECT_EQ(f.session.Totals.DirByteCount, 30u);
}

TEST(CollectDirectory, DeferredHeadingAtTheFirstMatchOnly) {
  Fixture f;
  f.fs.AddFile("/data/notes.doc");
  f.fs.AddFile("/data/b.txt");
  f.fs.AddFile("/data/a.txt");
  f.fs.AddFile("/other/x.doc");
  f.fs.AddFile("/x.txt");
  ListingOptions options;
  options.txtFilespec = " *.txt ";  // trimmed: deferred, since it is not "*.*"
  f.Configure(options);

  f.session.CollectDirectory("/other/");
  EXPECT_TRUE(f.writer.headings.empty());
  EXPECT_EQ(f.session.Totals.DirFileCount, 0u);

  f.session.CollectDirectory("/data/");
  EXPECT_EQ(f.writer.headings, (std::vector<std::string>{"/data@0"}));
  EXPECT_FALSE(f.session.FirstMatchPending);
  EXPECT_EQ(f.Names(), (std::vector<std::string>{"a.txt", "b.txt"}));

  f.session.CollectDirectory("/");
  EXPECT_EQ(f.writer.headings.back(), "/@0");  // the root keeps its separator
}

TEST(CollectDirectory, ExcludeEmptyDefersEvenForAllFiles) {
  Fixture f;
  f.fs.AddFolder("/data/empty");
  ListingOptions options;
  options.chkExcludeEmpty = true;
  f.Configure(options);
  f.session.CollectDirectory("/data/empty/");
  EXPECT_TRUE(f.writer.headings.empty());
  EXPECT_TRUE(f.session.FirstMatchPending);
}

TEST(CollectDirectory, HiddenAndSystemFilesWithoutChkHidden) {
  Fixture f;
  f.fs.AddFile("/d/hidden", 1, kAttrArchive | kAttrHidden);
  f.fs.AddFile("/d/ro-hidden", 1, kAttrReadOnly | kAttrHidden);
  f.fs.AddFile("/d/system", 1, kAttrArchive | kAttrSystem);
  f.fs.AddFile("/d/ro-archive", 1, kAttrReadOnly | kAttrArchive);
  f.fs.AddFile("/d/plain", 1, 0);
  ListingOptions options;
  options.chkHidden = false;
  f.Configure(options);
  f.session.CollectDirectory("/d/");
  EXPECT_EQ(f.Names(), (std::vector<std::string>{"plain", "ro-archive"}));

  options.chkHidden = true;
  f.Configure(options);
  f.session.CollectDirectory("/d/");
  EXPECT_EQ(f.session.lstFiles.size(), 5u);
}

TEST(CollectDirectory, ExcludeBoxes) {
  struct Case {
    const char* exclude;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"*.bak; *.tmp", {"a.tmp", "c.txt"}},  // the blank starts the second mask
      {"*.bak;*.tmp", {"c.txt"}},
      {"*.bak;;*.tmp", {}},  // the empty middle mask matches everything
  };
  for (const Case& c : cases) {
    Fixture f;
    f.fs.AddFile("/d/a.tmp");
    f.fs.AddFile("/d/b.bak");
    f.fs.AddFile("/d/c.txt");
    ListingOptions options;
    options.txtExclude = c.exclude;
    f.Configure(options);
    f.session.CollectDirectory("/d/");
    EXPECT_EQ(f.Names(), c.names) << c.exclude;
  }
}

TEST(CollectDirectory, ByteCountsStayExactBeyondFourGiB) {
  Fixture f;
  const std::uint64_t big = (std::uint64_t{1} << 32) + 1;
  f.fs.AddFile("/d/a", big);
  f.fs.AddFile("/d/b", big);
  f.fs.AddFile("/d/c", (1u << 24) + 1);
  f.fs.AddFile("/d/d", 1);
  ListingOptions options;
  f.Configure(options);
  f.session.CollectDirectory("/d/");
  EXPECT_EQ(f.session.Totals.DirByteCount, 2 * big + (1u << 24) + 2);
  f.session.Totals.EndDirectory();
  f.session.CollectDirectory("/d/");
  f.session.Totals.EndDirectory();
  EXPECT_EQ(f.session.Totals.FileCount, 8u);
  EXPECT_EQ(f.session.Totals.ByteCount, 2 * (2 * big + (1u << 24) + 2));
}

TEST(CollectDirectory, SortOrderAndDirectoriesOnly) {
  Fixture f;
  f.fs.AddFile("/d/b", 2);
  f.fs.AddFile("/d/c", 30);
  f.fs.AddFile("/d/a", 100);
  ListingOptions options;
  options.grpSortField = kSortSize;
  options.grpSortOrder = 1;
  f.Configure(options);
  f.session.CollectDirectory("/d/");
  EXPECT_EQ(f.Names(), (std::vector<std::string>{"a", "c", "b"}));

  options.chkDirOnly = true;
  f.Configure(options);
  f.session.CollectDirectory("/d/");
  EXPECT_EQ(f.Names(), (std::vector<std::string>{"b", "c", "a"}));  // as found
  EXPECT_EQ(f.session.Totals.DirByteCount, 132u);
}

TEST(CollectDirectory, TypeNamesFittedOnPaperAndKeyedFromTheFittedText) {
  Fixture f;
  f.shell.SetTypeName("txt", "Text Document");
  f.shell.SetTypeName("png", "Portable Network Graphics");
  f.fs.AddFile("/d/b.txt");
  f.fs.AddFile("/d/a.png");
  ListingOptions options;
  options.grpSortField = kSortFileType;
  // A type column of four characters.
  f.Configure(options, [](const std::string& text) { return text.substr(0, 4); });
  f.session.CollectDirectory("/d/");
  ASSERT_EQ(f.session.lstFiles.size(), 2u);
  EXPECT_EQ(f.session.lstFiles[0].TypeName, "Port");
  EXPECT_EQ(f.session.lstFiles[0].SortKey, "Port" + std::string(36, ' ') + "a.png");
  EXPECT_EQ(f.session.lstFiles[1].TypeName, "Text");

  // Neither the column nor the sort field wants the type: the shell is not asked.
  options.grpSortField = kSortLongName;
  options.chkFileType = false;
  f.Configure(options);
  f.session.CollectDirectory("/d/");
  EXPECT_EQ(f.session.lstFiles[0].TypeName, "");
  options.chkFileType = true;
  f.Configure(options);
  f.session.CollectDirectory("/d/");
  EXPECT_EQ(f.session.lstFiles[0].TypeName, "Portable Network Graphics");
}

}  // namespace
}  // namespace tabulon
