#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "listing/folder_selection.h"
#include "support/fake_volumes.h"

namespace tabulon {
namespace {

using testing::FakeVolumes;

TEST(ValidateFolderSelection, OnlyAFolderBelowTheTopNodeMayStartAJob) {
  struct Case {
    FolderSelection selection;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {{"/home/ann", false, "ann"}, std::nullopt},
      {{"/", false, "File System"}, std::nullopt},
      {{"", false, "Trash"}, "A directory must be selected - You cannot select Trash"},
      {{"", true, "Computer"}, "A directory must be selected - You cannot select Computer"},
      // The top node is refused even when it has a path.
      {{"/", true, "Computer"}, "A directory must be selected - You cannot select Computer"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ValidateFolderSelection(c.selection), c.expected) << c.selection.caption;
  }
}

TEST(SetSortFieldCaption, CaptionByIndexAndOthersLeaveItAsItIs) {
  const char* const captions[] = {"Short Name", "Long Name", "Extension", "File Type",
                                  "Size",       "Date/Time", "Attributes"};
  for (int index = 0; index < 7; ++index) {
    std::string caption = "before";
    SetSortFieldCaption(index, caption);
    EXPECT_EQ(caption, captions[index]);
  }
  for (int index : {-1, 7, 100}) {
    std::string caption = "Size";
    SetSortFieldCaption(index, caption);
    EXPECT_EQ(caption, "Size") << index;
  }
}

TEST(QueryDiskLabel, OnlyRemovableNetworkAndOpticalVolumesGiveTheirLabel) {
  FakeVolumes volumes;
  volumes.Add("/", DriveType::Fixed, "rootfs");
  volumes.Add("/home", DriveType::Fixed, "HOME");
  volumes.Add("/media/ann/USB", DriveType::Removable, "HOLIDAY2003");
  volumes.Add("/media/ann/BIG", DriveType::Removable, "BACKUP_DISK_2004");
  volumes.Add("/media/ann/ZERO", DriveType::Removable, std::string("AB\0CD", 5));
  volumes.Add("/media/ann/UTF8", DriveType::Removable,
              "\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6"
              "\xC3\xBC\xC3\x9F\xC3\x84\xC3\x96\xC3\x9C"
              "\xC3\xA4\xC3\xB6\xC3\xBC");
  volumes.Add("/mnt/share", DriveType::Network, "public");
  volumes.Add("/media/cdrom", DriveType::Optical, "AUDIO CD");
  volumes.Add("/mnt/odd", DriveType::Unknown, "ODD");
  struct Case {
    const char* root;
    std::string expected;
  };
  const Case cases[] = {
      {"/", ""},
      {"/home/ann/", ""},
      {"/media/ann/USB/", "HOLIDAY2003"},
      {"/media/ann/USB/Photos/", "HOLIDAY2003"},
      {"/media/ann/BIG/", "BACKUP_DISK"},
      {"/media/ann/ZERO/", "AB"},
      // Eleven characters, not eleven bytes, and no sequence cut in two.
      {"/media/ann/UTF8/",
       "\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4"},
      {"/mnt/share/docs/", "public"},
      {"/media/cdrom/", "AUDIO CD"},
      {"/mnt/odd/", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(QueryDiskLabel(volumes, c.root), c.expected) << c.root;
}

TEST(RootPath, TrailingSeparatorRules) {
  struct Case {
    const char* in;
    const char* ensured;  // EnsureTrailingBackslash
    const char* root;     // FormRootPath
  };
  const Case cases[] = {
      {"", "", ""},
      {"/", "/", "/"},
      {"//", "//", "/"},
      {"/home/ann", "/home/ann/", "/home/ann/"},
      {"/home/ann/", "/home/ann/", "/home/ann/"},
      {"/home/ann//", "/home/ann//", "/home/ann/"},
      {"/home/ann/Data Files", "/home/ann/Data Files/", "/home/ann/Data Files/"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EnsureTrailingBackslash(c.in), c.ensured) << c.in;
    EXPECT_EQ(FormRootPath(c.in), c.root) << c.in;
  }
  EXPECT_EQ(FormRootSpec("/home/ann/Data/", "*.*"), "/home/ann/Data/*.*");
}

}  // namespace
}  // namespace tabulon
