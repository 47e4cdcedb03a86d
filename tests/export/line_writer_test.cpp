#include "listing/line_writer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/temp_tree.h"

namespace tabulon {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(LineWriterTest, EveryPieceIsInTheFileAsSoonAsItIsWritten) {
  testing::TempTree tree;
  const std::string path = tree.AddFile("out.txt", "old content that is replaced");
  LineWriter writer(path);
  EXPECT_EQ(ReadFile(path), "");
  writer.Write("start ");
  EXPECT_EQ(ReadFile(path), "start ");
  writer.WriteLine("of a line");
  writer.WriteLine();
  EXPECT_EQ(ReadFile(path), "start of a line\r\n\r\n");
  writer.Close();
  writer.Close();  // a second close does nothing
  EXPECT_EQ(ReadFile(path), "start of a line\r\n\r\n");
}

TEST(LineWriterTest, FailuresNameTheFileAndTheSystemsReason) {
  {
    LineWriter writer("/dev/full");
    try {
      writer.WriteLine("x");
      FAIL() << "writing to /dev/full succeeded";
    } catch (const OutputError& error) {
      EXPECT_EQ(error.FileName(), "/dev/full");
      EXPECT_EQ(error.Reason(), "No space left on device");
      EXPECT_STREQ(error.what(), "Cannot write to \"/dev/full\": No space left on device");
    }
  }
  testing::TempTree tree;
  const std::string missing = tree.Path("no/such/folder/out.txt");
  try {
    LineWriter writer(missing);
    FAIL() << "created a file in a missing folder";
  } catch (const OutputError& error) {
    EXPECT_EQ(error.FileName(), missing);
    EXPECT_EQ(error.Reason(), "No such file or directory");
  }
}

}  // namespace
}  // namespace tabulon
