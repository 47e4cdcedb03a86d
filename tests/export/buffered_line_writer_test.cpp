#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "listing/line_writer.h"
#include "support/temp_tree.h"

namespace tabulon {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(BufferedLineWriterTest, PiecesReachTheFileWhenTheBufferFillsAndAtFlushAndClose) {
  testing::TempTree tree;
  const std::string path = tree.Path("out.txt");
  LineWriter writer(path, 16);
  writer.Write("0123456789");
  writer.WriteLine("ab");  // 14 bytes: still gathered
  EXPECT_EQ(ReadFile(path), "");
  writer.Write("xyz");  // would pass 16: the gathered bytes go first
  EXPECT_EQ(ReadFile(path), "0123456789ab\r\n");
  writer.Flush();
  EXPECT_EQ(ReadFile(path), "0123456789ab\r\nxyz");
  // A piece larger than the buffer goes straight through, after what waits.
  writer.Write("-");
  writer.WriteLine("a piece longer than the whole buffer");
  EXPECT_EQ(ReadFile(path), "0123456789ab\r\nxyz-a piece longer than the whole buffer");
  writer.Close();
  EXPECT_EQ(ReadFile(path), "0123456789ab\r\nxyz-a piece longer than the whole buffer\r\n");
  EXPECT_THROW(writer.WriteLine("after the close"), OutputError);
}

TEST(BufferedLineWriterTest, ALeftWriterKeepsWhatWasWritten) {
  // An exception elsewhere unwinds past the writer: nothing gathered is lost.
  testing::TempTree tree;
  const std::string path = tree.Path("out.txt");
  try {
    LineWriter writer(path, 4096);
    writer.WriteLine("first line");
    writer.Write("half a line");
    throw std::runtime_error("a failure elsewhere");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(ReadFile(path), "first line\r\nhalf a line");
}

TEST(BufferedLineWriterTest, AFailedWriteIsReportedOnceWithTheFileAndTheReason) {
  for (const bool byClose : {false, true}) {
    SCOPED_TRACE(byClose ? "at close" : "at flush");
    LineWriter writer("/dev/full", 4096);
    writer.WriteLine("x");  // gathered: no error yet
    try {
      if (byClose) {
        writer.Close();
      } else {
        writer.Flush();
      }
      FAIL() << "writing to /dev/full succeeded";
    } catch (const OutputError& error) {
      EXPECT_EQ(error.FileName(), "/dev/full");
      EXPECT_EQ(error.Reason(), "No space left on device");
      EXPECT_STREQ(error.what(), "Cannot write to \"/dev/full\": No space left on device");
    }
    // The failed bytes are dropped, not offered again.
    if (!byClose) {
      EXPECT_NO_THROW(writer.Close());
    }
  }
}

}  // namespace
}  // namespace tabulon
