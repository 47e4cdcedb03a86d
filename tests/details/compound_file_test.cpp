#include "details/compound_file.h"

#include <gtest/gtest.h>

#include "support/fixture_compound.h"

namespace tabulon {
namespace {

using testing::BuildCompoundFile;
using testing::CompoundImage;
using testing::CompoundStream;

std::string Pattern(std::size_t size, int seed) {
  std::string out(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    out[i] = static_cast<char>((i * 31 + seed * 7 + i / 251) & 0xFF);
  return out;
}

bool ReadStream(const std::string& file, const std::string& name, std::string& out) {
  MemorySource source(file);
  CompoundFile storage;
  return storage.Open(source) && storage.ReadRootStream(name, out);
}

TEST(CompoundFile, ReadsMiniAndRegularStreamsOfBothVersions) {
  const std::vector<CompoundStream> streams = {
      {"small", Pattern(100, 1)},
      {"edge", Pattern(4095, 2)},
      {"cutoff", Pattern(4096, 3)},
      {"large", Pattern(70'000, 4)},
      {"empty", ""},
      {testing::kSummaryName, Pattern(300, 5)},
      {"WordDocument", Pattern(5000, 6)},
      {"1Table", Pattern(64, 7)},
  };
  for (const int version : {3, 4}) {
    const CompoundImage image = BuildCompoundFile(streams, version);
    MemorySource source(image.bytes);
    CompoundFile storage;
    ASSERT_TRUE(storage.Open(source)) << version;
    EXPECT_EQ(storage.MajorVersion(), version);
    for (const CompoundStream& s : streams) {
      std::string data = "stale";
      ASSERT_TRUE(storage.ReadRootStream(s.name, data)) << s.name << " v" << version;
      EXPECT_EQ(data, s.data) << s.name << " v" << version;
    }
    std::string data;
    EXPECT_TRUE(storage.ReadRootStream("WORDDOCUMENT", data));  // any ASCII case
    EXPECT_FALSE(storage.ReadRootStream("missing", data));
    EXPECT_FALSE(storage.ReadRootStream("Root Entry", data));   // not a stream
    EXPECT_FALSE(storage.ReadRootStream("large", data, 1000));  // over the limit
  }
}

TEST(CompoundFile, FatBeyondTheHeaderThroughDifatSectors) {
  // More than 109 FAT sectors of 512 bytes: the rest are listed in DIFAT
  // sectors.
  const std::string big = Pattern(8'000'000, 9);
  const CompoundImage image = BuildCompoundFile({{"big", big}, {"tail", Pattern(10, 1)}}, 3);
  ASSERT_GT(image.fatSectors.size(), 109u);
  std::string data;
  ASSERT_TRUE(ReadStream(image.bytes, "big", data));
  EXPECT_TRUE(data == big);
}

TEST(CompoundFile, BrokenChainsAreReadFailures) {
  const std::string payload = Pattern(20'000, 3);
  const CompoundImage good = BuildCompoundFile({{"data", payload}, {"small", Pattern(500, 1)}}, 3);
  const std::uint32_t start = good.streamStart.at("data");
  const struct {
    const char* name;
    std::uint32_t sector;
    std::uint32_t next;
  } cases[] = {
      {"cycle back to the start", start + 5, start},
      {"cycle onto itself", start, start},
      {"sector beyond the file", start + 2, 0x00FFFFFF},
      {"free sector in the chain", start + 1, 0xFFFFFFFF},
      {"chain ends early", start + 3, 0xFFFFFFFE},
      {"FAT marker in the chain", start + 3, 0xFFFFFFFD},
  };
  for (const auto& c : cases) {
    CompoundImage broken = good;
    broken.SetFatEntry(c.sector, c.next);
    std::string data;
    EXPECT_FALSE(ReadStream(broken.bytes, "data", data)) << c.name;
    EXPECT_TRUE(data.empty()) << c.name;
    // The small stream lives elsewhere and still reads.
    EXPECT_TRUE(ReadStream(broken.bytes, "small", data)) << c.name;
  }
}

TEST(CompoundFile, DamagedHeadersAndDirectories) {
  const CompoundImage good = BuildCompoundFile({{"s", Pattern(200, 1)}}, 3);
  auto patch = [&](std::size_t at, std::uint32_t value, int bytes) {
    std::string out = good.bytes;
    for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
  };
  const std::uint32_t dirStart = static_cast<unsigned char>(good.bytes[0x30]) |
                                 (static_cast<unsigned char>(good.bytes[0x31]) << 8);
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"plain text", "This is just a letter, saved with a Word name.\r\n"},
      {"empty", ""},
      {"header only", good.bytes.substr(0, 512)},
      {"cut in half", good.bytes.substr(0, good.bytes.size() / 2)},
      {"bad signature", patch(0, 0x12345678, 4)},
      {"version 5", patch(0x1A, 5, 2)},
      {"version 3 with 4096-byte sectors", patch(0x1E, 12, 2)},
      {"big-endian mark", patch(0x1C, 0xFEFF, 2)},
      {"directory beyond the file", patch(0x30, 0x7FFFFFF0, 4)},
      {"no FAT", patch(0x2C, 0, 4)},
  };
  for (const auto& c : cases) {
    std::string data;
    EXPECT_FALSE(ReadStream(c.bytes, "s", data)) << c.name;
  }

  // A directory chain that loops, and a root entry that is not one.
  CompoundImage looped = good;
  looped.SetFatEntry(dirStart, dirStart);
  std::string data;
  EXPECT_FALSE(ReadStream(looped.bytes, "s", data));
  std::string notRoot = good.bytes;
  notRoot[good.SectorOffset(dirStart) + 0x42] = 1;
  EXPECT_FALSE(ReadStream(notRoot, "s", data));
}

TEST(CompoundFile, SizesThatDoNotFit) {
  const CompoundImage good =
      BuildCompoundFile({{"s", Pattern(200, 1)}, {"r", Pattern(9000, 2)}}, 4);
  const std::uint32_t dirStart = static_cast<unsigned char>(good.bytes[0x30]);
  const std::size_t dir = good.SectorOffset(dirStart);
  for (std::uint32_t id = 1; id <= 2; ++id) {
    std::string bytes = good.bytes;
    const std::size_t sizeAt = dir + 128 * id + 0x78;
    // Huge 64-bit size: refused before anything is allocated for it.
    for (int i = 0; i < 8; ++i) bytes[sizeAt + i] = '\x7F';
    std::string data;
    EXPECT_FALSE(ReadStream(bytes, id == 1 ? "s" : "r", data)) << id;
    EXPECT_TRUE(ReadStream(bytes, id == 1 ? "r" : "s", data)) << id;
  }
  // A mini stream entry whose size runs past the mini stream.
  std::string bytes = good.bytes;
  bytes[dir + 128 + 0x78] = '\x00';
  bytes[dir + 128 + 0x79] = '\x0F';  // 3840 bytes: below the cutoff, beyond the mini stream
  std::string data;
  EXPECT_FALSE(ReadStream(bytes, "s", data));
}

}  // namespace
}  // namespace tabulon
