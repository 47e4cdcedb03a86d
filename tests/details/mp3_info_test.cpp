#include "details/mp3_info.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <random>

#include "support/fixture_mp3.h"
#include "support/temp_tree.h"

namespace tabulon {
namespace {

using testing::FrameHeaderBytes;
using testing::FramesOfSize;
using testing::Id3v1;
using testing::Id3v1Tag;
using testing::Mpeg1Layer3Header;

const std::uint32_t k128 = Mpeg1Layer3Header(9);  // 128 kbit/s, 44100 Hz

TMP3Info TagOf(const std::string& bytes) {
  TFileInfo info("memory");
  return info.ReadMP3Info(MemorySource(bytes));
}

MP3FrameInfo FrameOf(const std::string& bytes) {
  TFileInfo info("memory");
  return info.ReadFrameInfo(MemorySource(bytes));
}

TEST(Mp3Tag, FieldsAreCutAtTheirPositionsAndTrimmed) {
  Id3v1 tag{"Title", "Artist", "Album", "1999", "Comment", 17, '\0'};
  const TMP3Info nulPadded = TagOf(std::string(500, 'x') + Id3v1Tag(tag));
  EXPECT_EQ(nulPadded.Status, -1);
  EXPECT_TRUE(nulPadded.HasTag);
  EXPECT_EQ(nulPadded.TagId, "TAG");
  EXPECT_EQ(nulPadded.Title, "Title");
  EXPECT_EQ(nulPadded.Artist, "Artist");
  EXPECT_EQ(nulPadded.Album, "Album");
  EXPECT_EQ(nulPadded.Year, "1999");
  EXPECT_EQ(nulPadded.Comment, "Comment");
  EXPECT_EQ(nulPadded.GenreName, "Rock");
  EXPECT_EQ(nulPadded.GenreList, &GenreNames);

  tag.padding = ' ';
  tag.artist = "  Two  Words";
  EXPECT_EQ(TagOf(Id3v1Tag(tag)).Artist, "  Two  Words");

  // A NUL inside a field becomes a blank; a track number in the last comment
  // byte is read as a character.
  std::string block = Id3v1Tag(Id3v1{"A", "B", "C", "2000", "", 0, '\0'});
  block[3 + 1] = '\0';
  block[3 + 2] = 'Z';
  block[126] = 'T';
  const TMP3Info odd = TagOf(block);
  EXPECT_EQ(odd.Title, "A Z");
  EXPECT_EQ(odd.Comment, std::string(29, ' ') + "T");
}

TEST(Mp3Tag, GenreIndexes) {
  const struct {
    int byte;
    int index;
    const char* name;
  } cases[] = {{0, 0, "Blues"},        {12, 12, "Other"},  {79, 79, "Hard Rock"},
               {114, 114, "Folklore"}, {115, 12, "Other"}, {255, 12, "Other"},
               {32, 32, "Classical"}};
  for (const auto& c : cases) {
    const TMP3Info info = TagOf(Id3v1Tag(Id3v1{"t", "a", "", "", "", std::uint8_t(c.byte)}));
    EXPECT_EQ(info.GenreIndex, c.index) << c.byte;
    EXPECT_EQ(info.GenreName, c.name) << c.byte;
  }
  EXPECT_EQ(GenreNames.size(), 115u);
  EXPECT_EQ(GenreNames[80], "Folk");
}

TEST(Mp3Tag, MissingShortAndUntaggedFiles) {
  const TMP3Info untagged = TagOf(std::string(300, 'x'));
  EXPECT_EQ(untagged.Status, 1);
  EXPECT_FALSE(untagged.HasTag);
  EXPECT_EQ(untagged.GenreIndex, 12);
  EXPECT_EQ(untagged.TagId, "xxx");
  EXPECT_EQ(untagged.Artist, "");

  const TMP3Info shortFile = TagOf(std::string(100, 'T'));
  EXPECT_EQ(shortFile.Status, 5);
  EXPECT_FALSE(shortFile.HasTag);

  testing::TempTree tree;
  TFileInfo missing(tree.Path("none.mp3"));
  EXPECT_EQ(missing.ReadMP3Info().Status, 0);
  EXPECT_FALSE(missing.MP3Info().HasTag);
  EXPECT_EQ(missing.ReadFrameInfo().Status, 0);
}

TEST(Mp3Frame, DecodeFrameHeaderTable) {
  const struct {
    std::uint32_t header;
    bool valid;
    int version, layer, sampleRate, bitRate, frameLength;
  } cases[] = {
      {Mpeg1Layer3Header(9), true, 1, 3, 44100, 128, 417},
      {Mpeg1Layer3Header(9, 0, true), true, 1, 3, 44100, 128, 418},
      {Mpeg1Layer3Header(14, 1), true, 1, 3, 48000, 320, 960},
      {Mpeg1Layer3Header(1, 2), true, 1, 3, 32000, 32, 144},
      {0xFFFD9000u, true, 1, 2, 44100, 160, 522},         // MPEG-1 Layer II
      {0xFFFF9000u, true, 1, 1, 44100, 288, 940},         // MPEG-1 Layer I
      {0xFFF39000u, true, 2, 3, 22050, 80, 522},          // MPEG-2 Layer III
      {0xFFE39000u, true, 3, 3, 11025, 80, 1044},         // MPEG-2.5 Layer III
      {0xFFEB9000u, false, 0, 0, 0, 0, 0},                // version bits 01
      {Mpeg1Layer3Header(0), false, 1, 3, 44100, 0, 0},   // free format
      {Mpeg1Layer3Header(15), false, 1, 3, 44100, 0, 0},  // bad index
      {Mpeg1Layer3Header(9, 3), false, 1, 3, 0, 128, 0},  // sample rate index 3
      {0xFFF99000u, false, 1, 0, 44100, 0, 0},            // layer bits 00
      {0xFFDB9000u, false, 0, 0, 0, 0, 0},                // sync incomplete
  };
  for (const auto& c : cases) {
    TFileInfo info("memory");
    EXPECT_EQ(info.DecodeFrameHeader(c.header), c.valid) << std::hex << c.header;
    const MP3FrameInfo& f = info.FrameInfo();
    EXPECT_EQ(f.Version, c.version) << std::hex << c.header;
    EXPECT_EQ(f.Layer, c.layer) << std::hex << c.header;
    EXPECT_EQ(f.SampleRate, c.sampleRate) << std::hex << c.header;
    EXPECT_EQ(f.BitRate, c.bitRate) << std::hex << c.header;
    EXPECT_EQ(f.FrameLength, c.frameLength) << std::hex << c.header;
  }
  EXPECT_EQ(TFileInfo::FrameLengthOf(0, 128, 1), 0);
  EXPECT_EQ(TFileInfo::FrameLengthOf(48000, 128, 0), 384);
}

TEST(Mp3Frame, HeaderFlagsAsRead) {
  TFileInfo info("memory");
  // No-CRC bit clear, padding, joint stereo (01), copyright and original.
  ASSERT_TRUE(info.DecodeFrameHeader(0xFFFA926Cu));
  const MP3FrameInfo& f = info.FrameInfo();
  EXPECT_EQ(f.ProtectionBit, 0);
  EXPECT_EQ(f.Padding, 1);
  EXPECT_EQ(f.ChannelMode, 1);
  EXPECT_EQ(f.FlagBit3, 1);
  EXPECT_EQ(f.FlagBit2, 1);
}

TEST(Mp3Frame, ConstantBitRateFileOfTwoMinutes) {
  const std::string bytes = FramesOfSize(k128, 1'920'000);
  const MP3FrameInfo f = FrameOf(bytes);
  EXPECT_EQ(f.Status, -1);
  EXPECT_EQ(f.FileSize, 1'920'000);
  EXPECT_EQ(f.BitRate, 128);
  EXPECT_EQ(f.Duration, 120);
  EXPECT_EQ(PlayingTimeText(f.Duration), "2:00");
}

TEST(Mp3Frame, SkipsWhatIsNotAUsableHeader) {
  const std::string frames = FramesOfSize(k128, 200'000);
  const struct {
    const char* name;
    std::string prefix;
  } cases[] = {
      {"ID3v2 block", testing::Id3v2Block(3000)},
      {"text", "some leading junk \xFF\x12 bytes"},
      {"version 01", FrameHeaderBytes(0xFFEB9000u) + "...."},
      {"bit-rate index 0", FrameHeaderBytes(Mpeg1Layer3Header(0)) + "...."},
      {"bit-rate index 15", FrameHeaderBytes(Mpeg1Layer3Header(15)) + "...."},
  };
  for (const auto& c : cases) {
    const std::string bytes = c.prefix + frames;
    const MP3FrameInfo f = FrameOf(bytes);
    EXPECT_EQ(f.Status, -1) << c.name;
    EXPECT_EQ(f.BitRate, 128) << c.name;
    EXPECT_EQ(f.Layer, 3) << c.name;
    EXPECT_EQ(f.Duration, bytes.size() * 8 / 128000) << c.name;
  }
}

TEST(Mp3Frame, ShortFilesAndFilesWithoutFrames) {
  const MP3FrameInfo four = FrameOf("\xFF\xFB\x90\x00");
  EXPECT_EQ(four.Status, -1);
  EXPECT_EQ(four.Duration, 0);
  EXPECT_EQ(four.FileSize, 0);
  EXPECT_EQ(FrameOf("12345").Status, -1);

  const MP3FrameInfo hundred = FrameOf(std::string(100, 'a'));
  EXPECT_EQ(hundred.Status, 2);
  EXPECT_EQ(hundred.Duration, 0);

  // A valid header whose frame does not fit in the rest of the file is not
  // usable, and leaves no playing time behind.
  const MP3FrameInfo cut = FrameOf(std::string(50, 'a') + FrameHeaderBytes(k128) + "abcdefgh");
  EXPECT_EQ(cut.Status, 2);
  EXPECT_EQ(cut.Duration, 0);
  EXPECT_EQ(cut.BitRate, 0);

  // A header with a bad sample rate carries a bit rate, but must not leave
  // a playing time either.
  const MP3FrameInfo badRate =
      FrameOf(FrameHeaderBytes(Mpeg1Layer3Header(9, 3)) + std::string(2000, 'a'));
  EXPECT_EQ(badRate.Status, 2);
  EXPECT_EQ(badRate.Duration, 0);
}

TEST(Mp3Frame, XingHeader) {
  const std::uint32_t frames = 500;
  const std::string body = FramesOfSize(k128, 417 * 1000);
  const struct {
    std::uint8_t flags;
    bool used;
  } cases[] = {{15, true}, {7, false}, {14, false}, {0x1F, false}};
  for (const auto& c : cases) {
    const std::string bytes = testing::XingFrame(k128, c.flags, frames) + body;
    const MP3FrameInfo f = FrameOf(bytes);
    ASSERT_EQ(f.Status, -1);
    if (c.used) {
      const std::int64_t average = static_cast<std::int64_t>(bytes.size()) / frames;
      const int bitRate = static_cast<int>(average * 44100 / 144000.0);
      EXPECT_EQ(f.FrameLength, average);
      EXPECT_EQ(f.BitRate, bitRate);
      EXPECT_EQ(f.Duration, bytes.size() * 8 / (bitRate * 1000));
    } else {
      EXPECT_EQ(f.BitRate, 128) << int(c.flags);
      EXPECT_EQ(f.FrameLength, 417);
    }
  }
  // A frame count of 0 fails the arithmetic: everything 0.
  const MP3FrameInfo zero = FrameOf(testing::XingFrame(k128, 15, 0) + body);
  EXPECT_EQ(zero.Status, -1);
  EXPECT_EQ(zero.BitRate, 0);
  EXPECT_EQ(zero.Duration, 0);
  EXPECT_EQ(zero.FrameLength, 0);
}

// The frame scan as the byte-by-byte slide describes it, one byte per step.
struct SlideResult {
  bool found = false;
  std::uint32_t header = 0;
};
SlideResult ReferenceSlide(const std::string& bytes) {
  const std::uint64_t size = bytes.size();
  TFileInfo decoder("reference");
  std::uint64_t pos = 0;
  while (pos + 4 <= size) {
    std::uint32_t value = 0;
    for (int k = 0; k < 4; ++k) value = (value << 8) | static_cast<unsigned char>(bytes[pos++]);
    bool valid = decoder.DecodeFrameHeader(value);
    while (!valid && pos < size) {
      value = (value << 8) | static_cast<unsigned char>(bytes[pos++]);
      valid = decoder.DecodeFrameHeader(value);
    }
    const std::uint64_t at = pos - 4;
    if (valid && static_cast<std::int64_t>(size - at) - decoder.FrameInfo().FrameLength +
                         2 * decoder.FrameInfo().ProtectionBit >
                     0)
      return {true, value};
    if (pos >= size) break;
  }
  return {};
}

TEST(Mp3Frame, BlockScanMatchesTheByteSlide) {
  std::mt19937 random(12345);
  for (int round = 0; round < 300; ++round) {
    // Mostly 0xFF and sync-like bytes, some real headers, across 64 KiB
    // block boundaries.
    const std::size_t size = round < 30 ? 65536 * 2 + random() % 64 : 6 + random() % 3000;
    std::string bytes(size, '\0');
    for (char& c : bytes) {
      const unsigned pick = random() % 8;
      c = static_cast<char>(pick < 3 ? 0xFF : pick < 5 ? 0xE0 | (random() % 32) : random() % 256);
    }
    if (round % 3 == 0) {
      const std::size_t at = random() % size;
      bytes.replace(at, 4, FrameHeaderBytes(Mpeg1Layer3Header(1 + random() % 14)));
      bytes.resize(size);
    }
    const SlideResult expected = ReferenceSlide(bytes);
    const MP3FrameInfo got = FrameOf(bytes);
    ASSERT_EQ(got.Status, expected.found ? -1 : 2) << "round " << round;
    if (expected.found) {
      TFileInfo decoder("reference");
      decoder.DecodeFrameHeader(expected.header);
      EXPECT_EQ(got.Version, decoder.FrameInfo().Version) << round;
      EXPECT_EQ(got.Layer, decoder.FrameInfo().Layer) << round;
      EXPECT_EQ(got.SampleRate, decoder.FrameInfo().SampleRate) << round;
      EXPECT_EQ(got.ChannelMode, decoder.FrameInfo().ChannelMode) << round;
      EXPECT_EQ(got.Padding, decoder.FrameInfo().Padding) << round;
    }
  }
}

TEST(Mp3Detail, TextsFromARealFile) {
  testing::TempTree tree;
  const std::string song =
      tree.AddFile("song.mp3", FramesOfSize(k128, 1'920'000 - 128) +
                                   Id3v1Tag(Id3v1{"Caf\xE9", "Band", "", "", "", 1}));
  const Mp3Texts texts = Mp3Detail(song);
  EXPECT_EQ(texts.artist, "Band");
  EXPECT_EQ(texts.title, "Caf\xC3\xA9");  // Latin-1 shown as UTF-8
  EXPECT_EQ(texts.playingTime, "2:00");

  const Mp3Texts untagged = Mp3Detail(tree.AddFile("plain.mp3", std::string(64, 'x')));
  EXPECT_EQ(untagged.artist, "");
  EXPECT_EQ(untagged.playingTime, "0:00");

  // A fifo is never opened for reading, so nothing blocks.
  const std::string fifo = tree.AddFifo("pipe.mp3");
  TFileInfo info(fifo);
  EXPECT_EQ(info.ReadMP3Info().Status, 5);
  EXPECT_EQ(info.ReadFrameInfo().Status, 1);
  EXPECT_EQ(Mp3Detail(fifo).playingTime, "0:00");
}

TEST(Mp3Detail, PlayingTimeText) {
  const struct {
    int seconds;
    const char* text;
  } cases[] = {{0, "0:00"}, {9, "0:09"}, {75, "1:15"}, {3600, "60:00"}, {65535, "1092:15"}};
  for (const auto& c : cases) EXPECT_EQ(PlayingTimeText(std::uint16_t(c.seconds)), c.text);
}

TEST(Mp3Detail, FourGibibyteFilesScanInSeconds) {
  testing::TempTree tree;
  const std::uint64_t size = 4ull << 30;
  const std::string empty = tree.AddFileOfSize("silence.mp3", size);
  const auto start = std::chrono::steady_clock::now();
  TFileInfo info(empty);
  const MP3FrameInfo f = info.ReadFrameInfo();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(f.Status, 2);
  EXPECT_EQ(f.Duration, 0);
  // How long the scan takes is for the benchmarks to show; here it is only recorded.
  RecordProperty("scan_seconds", std::to_string(seconds));

  // A frame at the start of such a file: the time stays at the 16-bit limit
  // instead of wrapping round.
  const std::string big = tree.AddFileOfSize("big.mp3", size);
  const int fd = ::open(big.c_str(), O_WRONLY);
  ASSERT_GE(fd, 0);
  const std::string header = FrameHeaderBytes(k128);
  ASSERT_EQ(::pwrite(fd, header.data(), 4, 0), 4);
  ::close(fd);
  TFileInfo bigInfo(big);
  const MP3FrameInfo g = bigInfo.ReadFrameInfo();
  EXPECT_EQ(g.Status, -1);
  EXPECT_EQ(g.FileSize, static_cast<std::int64_t>(size));
  EXPECT_EQ(g.Duration, 65535);
}

}  // namespace
}  // namespace tabulon
