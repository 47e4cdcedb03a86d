// The clock, regular files, the shell and volumes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/regular_file.h"
#include "platform/shell.h"
#include "platform/volumes.h"
#include "support/fake_shell.h"
#include "support/fake_volumes.h"
#include "support/temp_tree.h"

namespace tabulon {
namespace {

using testing::TempTree;

TEST(SystemClockTest, SourceDateEpochWhenValidElseTheSystemClock) {
  const char* old = std::getenv("SOURCE_DATE_EPOCH");
  const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
  const auto clock = MakeSystemClock();

  setenv("SOURCE_DATE_EPOCH", "1072883100", 1);
  EXPECT_EQ(clock->NowUtc(), FileTimeFromUnix(1'072'883'100));
  setenv("SOURCE_DATE_EPOCH", "0", 1);
  EXPECT_EQ(clock->NowUtc(), FileTimeFromUnix(0));

  const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
  for (const char* invalid : {"", "abc", "12x", "-5", " 12", "1.5", "99999999999999999999"}) {
    setenv("SOURCE_DATE_EPOCH", invalid, 1);
    EXPECT_NEAR(static_cast<double>(UnixFromFileTime(clock->NowUtc())), static_cast<double>(now),
                60.0)
        << '"' << invalid << '"';
  }
  unsetenv("SOURCE_DATE_EPOCH");
  EXPECT_NEAR(static_cast<double>(UnixFromFileTime(clock->NowUtc())), static_cast<double>(now),
              60.0);
  if (saved) setenv("SOURCE_DATE_EPOCH", saved->c_str(), 1);
}

TEST(RegularFileTest, OpensOnlyRegularFiles) {
  TempTree tree;
  const std::string file = tree.AddFile("data.bin", "0123456789");
  tree.AddLink("link", "data.bin");
  tree.AddLink("dangling", "nowhere");
  const std::string fifo = tree.AddFifo("fifo");  // opening it for reading would block
  tree.AddFolder("folder");

  RegularFile reader;
  for (const char* name : {"fifo", "folder", "dangling", "missing"}) {
    EXPECT_FALSE(reader.Open(tree.Path(name))) << name;
    EXPECT_FALSE(reader.IsOpen());
  }
  EXPECT_FALSE(reader.Open("/dev/null"));

  ASSERT_TRUE(reader.Open(tree.Path("link")));
  EXPECT_EQ(reader.Size(), 10u);
  char buffer[8] = {};
  EXPECT_EQ(reader.ReadAt(6, buffer, sizeof buffer), 4);
  EXPECT_EQ(std::string(buffer, 4), "6789");
  EXPECT_TRUE(reader.ReadExactAt(2, buffer, 3));
  EXPECT_EQ(std::string(buffer, 3), "234");
  EXPECT_FALSE(reader.ReadExactAt(8, buffer, 3));
  EXPECT_EQ(reader.ReadAt(100, buffer, 3), 0);

  RegularFile moved(std::move(reader));
  EXPECT_FALSE(reader.IsOpen());
  EXPECT_TRUE(moved.IsOpen());
  moved.Close();
  EXPECT_EQ(moved.ReadAt(0, buffer, 1), -1);

  EXPECT_TRUE(PathExists(tree.Path("dangling")));
  EXPECT_TRUE(PathExists(fifo));
  EXPECT_FALSE(PathExists(tree.Path("missing")));
}

TEST(DesktopShellTest, TypeNamesByExtension) {
  const auto shell = MakeDesktopShell();
  EXPECT_EQ(shell->TypeName("/nowhere/readme.txt"), "plain text document");
  EXPECT_EQ(shell->TypeName("/nowhere/PHOTO.JPG"), "JPEG image");
  // A name that tells nothing has no type name rather than "unknown".
  EXPECT_EQ(shell->TypeName("/nowhere/data.qqqzzz"), "");
  EXPECT_EQ(shell->TypeName("/nowhere/noextension"), "");
  EXPECT_LE(shell->TypeName("/nowhere/a.docx").size(), 80u * 4);
  EXPECT_FALSE(shell->Open(""));
}

TEST(FakeShellTest, NamesTypesAndRecordsOpens) {
  testing::FakeShell shell;
  shell.SetTypeName("TXT", "Text Document");
  EXPECT_EQ(shell.TypeName("/a/b.TxT"), "Text Document");
  EXPECT_EQ(shell.TypeName("/a.txt/b"), "");
  EXPECT_TRUE(shell.Open("/a/b.txt"));
  EXPECT_EQ(shell.OpenedPaths(), std::vector<std::string>{"/a/b.txt"});
}

TEST(SystemVolumesTest, TheRootIsAFixedDiskWithoutLabel) {
  const auto volumes = MakeSystemVolumes();
  TempTree tree;
  const VolumeInfo info = volumes->Query(tree.Root());
  EXPECT_NE(info.type, DriveType::Unknown);
  EXPECT_FALSE(info.mountPoint.empty());
  if (info.type == DriveType::Fixed) {
    EXPECT_EQ(info.label, "");
  }
  EXPECT_EQ(volumes->Query("/no/such/folder/anywhere").type, DriveType::Unknown);
}

TEST(FakeVolumesTest, TheLongestMountPointWins) {
  testing::FakeVolumes volumes;
  volumes.Add("/media/usb", DriveType::Removable, "HOLIDAY");
  volumes.Add("/media/usb/inner", DriveType::Network, "SHARE");
  EXPECT_EQ(volumes.Query("/media/usb/photos").label, "HOLIDAY");
  EXPECT_EQ(volumes.Query("/media/usb/inner/x").type, DriveType::Network);
  EXPECT_EQ(volumes.Query("/media/usbstick").type, DriveType::Fixed);
  EXPECT_EQ(volumes.Query("/home").mountPoint, "/");
}

}  // namespace
}  // namespace tabulon
