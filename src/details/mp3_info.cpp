#include "details/mp3_info.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/regular_file.h"

namespace tabulon {

const GenreTable GenreNames = {"Blues",
                               "Classic Rock",
                               "Country",
                               "Dance",
                               "Disco",
                               "Funk",
                               "Grunge",
                               "Hip-Hop",
                               "Jazz",
                               "Metal",
                               "New Age",
                               "Oldies",
                               "Other",
                               "Pop",
                               "R&B",
                               "Rap",
                               "Reggae",
                               "Rock",
                               "Techno",
                               "Industrial",
                               "Alternative",
                               "Ska",
                               "Death Metal",
                               "Pranks",
                               "Soundtrack",
                               "Euro-Techno",
                               "Ambient",
                               "Trip-Hop",
                               "Vocal",
                               "Jazz+Funk",
                               "Fusion",
                               "Trance",
                               "Classical",
                               "Instrumental",
                               "Acid",
                               "House",
                               "Game",
                               "Sound Clip",
                               "Gospel",
                               "Noise",
                               "AlternRock",
                               "Bass",
                               "Soul",
                               "Punk",
                               "Space",
                               "Meditative",
                               "Instrumental Pop",
                               "Instrumental Rock",
                               "Ethnic",
                               "Gothic",
                               "Darkwave",
                               "Techno-Industrial",
                               "Electronic",
                               "Pop-Folk",
                               "Eurodance",
                               "Dream",
                               "Southern Rock",
                               "Comedy",
                               "Cult",
                               "Gangsta",
                               "Top 40",
                               "Christian Rap",
                               "Pop/Funk",
                               "Jungle",
                               "Native American",
                               "Cabaret",
                               "New Wave",
                               "Psychedelic",
                               "Rave",
                               "Showtunes",
                               "Trailer",
                               "Lo-Fi",
                               "Tribal",
                               "Acid Punk",
                               "Acid Jazz",
                               "Polka",
                               "Retro",
                               "Musical",
                               "Rock & Roll",
                               "Hard Rock",
                               "Folk",
                               "Folk/Rock",
                               "National Folk",
                               "Swing",
                               "Bebob",
                               "Latin",
                               "Revival",
                               "Celtic",
                               "Bluegrass",
                               "Avantgarde",
                               "Gothic Rock",
                               "Progressive Rock",
                               "Psychedelic Rock",
                               "Symphonic Rock",
                               "Slow Rock",
                               "Big Band",
                               "Chorus",
                               "Easy Listening",
                               "Acoustic",
                               "Humour",
                               "Speech",
                               "Chanson",
                               "Opera",
                               "Chamber Music",
                               "Sonata",
                               "Symphony",
                               "Booty Bass",
                               "Primus",
                               "Porn Groove",
                               "Satire",
                               "Slow Jam",
                               "Club",
                               "Tango",
                               "Samba",
                               "Folklore"};

namespace {

constexpr std::uint8_t kOtherGenre = 12;
constexpr std::size_t kTagSize = 128;
constexpr std::size_t kBlockSize = 64 * 1024;

// kbit/s by [row][index]: MPEG-1 Layers I, II, III, then the lower sampling
// frequencies of MPEG-2 (and 2.5) for Layer I and for Layers II and III.
constexpr std::int32_t kBitRates[5][16] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
};

constexpr std::int32_t kSampleRates[3][3] = {
    {44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};

constexpr std::uint32_t kSyncMask = 0xFFE00000u;

std::uint16_t DurationOf(std::int64_t fileSize, std::int64_t bitRate) {
  if (bitRate <= 0 || fileSize <= 0) return 0;
  const std::uint64_t seconds =
      static_cast<std::uint64_t>(fileSize) * 8u / (static_cast<std::uint64_t>(bitRate) * 1000u);
  // Beyond the 16-bit field the time stays at its largest value rather than
  // wrapping round to a short one.
  return static_cast<std::uint16_t>(std::min<std::uint64_t>(seconds, 0xFFFF));
}

// Reads the file in blocks so that the byte-by-byte slide costs no call per
// byte, and finds the next 0xFF quickly in long runs without one.
class BlockReader {
 public:
  explicit BlockReader(const ByteSource& source) : source_(source), buffer_(kBlockSize) {}

  // The byte at `pos`, or false at the end or on a read error.
  bool Byte(std::uint64_t pos, std::uint8_t& out) {
    if (!Load(pos)) return false;
    out = buffer_[pos - start_];
    return true;
  }

  // The first position at or after `pos` that holds 0xFF, or the end.
  std::uint64_t FindFF(std::uint64_t pos, std::uint64_t end) {
    while (pos < end && Load(pos)) {
      const unsigned char* base = buffer_.data() + (pos - start_);
      const std::size_t avail = static_cast<std::size_t>(length_ - (pos - start_));
      const void* hit = std::memchr(base, 0xFF, avail);
      if (hit) return pos + (static_cast<const unsigned char*>(hit) - base);
      pos += avail;
    }
    return end;
  }

 private:
  bool Load(std::uint64_t pos) {
    if (pos >= start_ && pos < start_ + length_) return true;
    const std::int64_t got = source_.ReadAt(pos, buffer_.data(), buffer_.size());
    if (got <= 0) {
      length_ = 0;
      return false;
    }
    start_ = pos;
    length_ = static_cast<std::uint64_t>(got);
    return true;
  }

  const ByteSource& source_;
  std::vector<unsigned char> buffer_;
  std::uint64_t start_ = 0;
  std::uint64_t length_ = 0;
};

}  // namespace

std::string TrimTrailingBlanks(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

std::string PlayingTimeText(std::uint16_t duration) {
  const int seconds = duration % 60;
  return std::to_string(duration / 60) + ":" + (seconds < 10 ? "0" : "") + std::to_string(seconds);
}

std::string DisplayText(const std::string& bytes) {
  // Valid UTF-8 stays as it is.
  std::size_t i = 0;
  bool valid = true;
  while (i < bytes.size() && valid) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    std::size_t extra = 0;
    std::uint32_t code = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
      code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      code = c & 0x07;
    } else {
      valid = false;
      break;
    }
    if (i + extra >= bytes.size()) {
      valid = false;
      break;
    }
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto cc = static_cast<unsigned char>(bytes[i + k]);
      if ((cc & 0xC0) != 0x80) valid = false;
      code = (code << 6) | (cc & 0x3F);
    }
    if (valid && ((extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000) ||
                  code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)))
      valid = false;
    i += extra + 1;
  }
  if (valid) return bytes;
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

TFileInfo::TFileInfo(std::string fileName, const TimeZone* timeZone)
    : fileName_(std::move(fileName)), timeZone_(timeZone) {}

TMP3Info TFileInfo::ReadMP3Info() {
  if (!PathExists(fileName_)) {
    mp3Info_ = TMP3Info{};
    mp3Info_.GenreIndex = kOtherGenre;
    mp3Info_.GenreList = &GenreNames;
    mp3Info_.HasTag = false;
    mp3Info_.Status = 0;
    return mp3Info_;
  }
  RegularFile file;
  if (!file.Open(fileName_)) {
    mp3Info_ = TMP3Info{};
    mp3Info_.GenreIndex = kOtherGenre;
    mp3Info_.GenreList = &GenreNames;
    mp3Info_.Status = 5;
    return mp3Info_;
  }
  return ReadMP3Info(FileSource(file));
}

TMP3Info TFileInfo::ReadMP3Info(const ByteSource& source) {
  mp3Info_ = TMP3Info{};
  mp3Info_.Status = -1;
  mp3Info_.GenreIndex = kOtherGenre;
  mp3Info_.GenreList = &GenreNames;
  mp3Info_.HasTag = true;

  unsigned char block[kTagSize];
  const std::uint64_t size = source.Size();
  if (size < kTagSize || !source.ReadExact(size - kTagSize, block, kTagSize)) {
    // A file too short to hold a tag, or unreadable, has none.
    mp3Info_.HasTag = false;
    mp3Info_.Status = 5;
    return mp3Info_;
  }
  // The genre is a number, not text: it is taken before NULs become blanks,
  // so that genre 0 stays "Blues".
  const std::uint8_t genre = block[127];
  std::string text(reinterpret_cast<const char*>(block), kTagSize);
  std::replace(text.begin(), text.end(), '\0', ' ');
  mp3Info_.TagId = text.substr(0, 3);
  if (mp3Info_.TagId != "TAG") {
    mp3Info_.HasTag = false;
    mp3Info_.GenreIndex = kOtherGenre;
    mp3Info_.Status = 1;
    return mp3Info_;
  }
  mp3Info_.Title = TrimTrailingBlanks(text.substr(3, 30));
  mp3Info_.Artist = TrimTrailingBlanks(text.substr(33, 30));
  mp3Info_.Album = TrimTrailingBlanks(text.substr(63, 30));
  mp3Info_.Year = TrimTrailingBlanks(text.substr(93, 4));
  mp3Info_.Comment = TrimTrailingBlanks(text.substr(97, 30));
  mp3Info_.GenreIndex = genre < kGenreCount ? genre : kOtherGenre;
  mp3Info_.GenreName = std::string(GenreNames[mp3Info_.GenreIndex]);
  return mp3Info_;
}

void TFileInfo::ClearHeaderFields() {
  frameInfo_.Version = 0;
  frameInfo_.Layer = 0;
  frameInfo_.SampleRate = 0;
  frameInfo_.BitRate = 0;
  frameInfo_.ChannelMode = 0;
  frameInfo_.FlagBit3 = 0;
  frameInfo_.FlagBit2 = 0;
  frameInfo_.ProtectionBit = 0;
  frameInfo_.Padding = 0;
  frameInfo_.FrameLength = 0;
}

std::uint16_t TFileInfo::FrameLengthOf(std::int32_t sampleRate, std::int32_t bitRate,
                                       std::int32_t padding) {
  if (sampleRate < 1) return 0;
  const double length = static_cast<double>(bitRate) * 144000.0 / sampleRate + padding;
  if (!(length > 0)) return 0;
  return static_cast<std::uint16_t>(std::min(length, 65535.0));
}

bool TFileInfo::DecodeFrameHeader(std::uint32_t value) {
  ClearHeaderFields();
  if ((value & kSyncMask) != kSyncMask) return false;
  static constexpr std::uint8_t kVersionOf[4] = {3, 0, 2, 1};
  MP3FrameInfo& f = frameInfo_;
  f.Version = kVersionOf[(value >> 19) & 3];
  if (f.Version != 0) {
    f.Layer = static_cast<std::uint8_t>(4 - ((value >> 17) & 3));
    if (f.Layer == 4) f.Layer = 0;
    const unsigned rateIndex = (value >> 10) & 3;
    f.SampleRate = rateIndex < 3 ? kSampleRates[f.Version - 1][rateIndex] : 0;
    f.ProtectionBit = (value >> 16) & 1;
    f.FlagBit3 = (value >> 3) & 1;
    f.FlagBit2 = (value >> 2) & 1;
    f.ChannelMode = (value >> 6) & 3;
    f.Padding = (value >> 9) & 1;
    if (f.Layer >= 1 && f.Layer <= 3) {
      const int row = f.Version == 1 ? f.Layer - 1 : (f.Layer == 1 ? 3 : 4);
      f.BitRate = kBitRates[row][(value >> 12) & 15];
    }
    f.Duration = DurationOf(f.FileSize, f.BitRate);
    f.FrameLength = FrameLengthOf(f.SampleRate, f.BitRate, f.Padding);
  }
  return f.Version > 0 && f.Layer > 0 && f.BitRate > 0 && f.SampleRate > 0;
}

MP3FrameInfo TFileInfo::ReadFrameInfo() {
  frameInfo_ = MP3FrameInfo{};
  frameInfo_.Status = -1;
  if (!PathExists(fileName_)) {
    frameInfo_.Status = 0;
    return frameInfo_;
  }
  RegularFile file;
  if (!file.Open(fileName_)) {
    frameInfo_.Status = 1;
    return frameInfo_;
  }
  return ReadFrameInfo(FileSource(file));
}

MP3FrameInfo TFileInfo::ReadFrameInfo(const ByteSource& source) {
  frameInfo_ = MP3FrameInfo{};
  frameInfo_.Status = -1;
  const std::uint64_t size = source.Size();
  if (size <= 5) return frameInfo_;
  frameInfo_.FileSize = static_cast<std::int64_t>(std::min<std::uint64_t>(size, INT64_MAX));
  ScanFrames(source);
  return frameInfo_;
}

void TFileInfo::ScanFrames(const ByteSource& source) {
  const std::uint64_t size = source.Size();
  BlockReader reader(source);
  std::uint64_t pos = 0;
  for (;;) {
    // Four fresh bytes start each search.
    std::uint32_t value = 0;
    bool complete = true;
    for (int k = 0; k < 4; ++k) {
      std::uint8_t b = 0;
      if (!reader.Byte(pos, b)) {
        complete = false;
        break;
      }
      value = (value << 8) | b;
      ++pos;
    }
    if (!complete) break;

    bool valid = (value & kSyncMask) == kSyncMask && DecodeFrameHeader(value);
    while (!valid && pos < size) {
      // No window that starts before the next 0xFF can hold a sync: jump to it.
      if ((value & 0xFF) != 0xFF && ((value >> 8) & 0xFF) != 0xFF &&
          ((value >> 16) & 0xFF) != 0xFF) {
        const std::uint64_t next = reader.FindFF(pos, size);
        if (next >= size) {
          pos = size;
          break;
        }
        pos = next;
        value = 0;
      }
      std::uint8_t b = 0;
      if (!reader.Byte(pos, b)) {
        pos = size;  // a read error ends the scan like the end of the file
        break;
      }
      value = (value << 8) | b;
      ++pos;
      valid = (value & kSyncMask) == kSyncMask && DecodeFrameHeader(value);
    }
    const std::uint64_t headerPosition = pos - 4;
    if (valid) {
      const std::int64_t rest = static_cast<std::int64_t>(size - headerPosition) -
                                frameInfo_.FrameLength + 2 * frameInfo_.ProtectionBit;
      if (rest > 0) {
        ReadXingHeader(source, headerPosition);
        return;
      }
    }
    ClearHeaderFields();
    if (pos >= size) break;
  }
  // No usable frame: no playing time either, whatever an earlier candidate
  // left behind.
  ClearHeaderFields();
  frameInfo_.Duration = 0;
  frameInfo_.Status = 2;
}

void TFileInfo::ReadXingHeader(const ByteSource& source, std::uint64_t headerPosition) {
  unsigned char xing[256];
  const std::int64_t got = source.ReadAt(headerPosition + 36, xing, sizeof xing);
  if (got < 12 || std::memcmp(xing, "Xing", 4) != 0 || xing[7] != 15) return;
  const std::uint32_t frameCount = Be32(xing + 8);
  MP3FrameInfo& f = frameInfo_;
  if (frameCount == 0) {
    f.FrameLength = 0;
    f.BitRate = 0;
    f.Duration = 0;
    return;
  }
  const std::int64_t average = f.FileSize / frameCount;
  const std::int64_t bitRate =
      static_cast<std::int64_t>(static_cast<double>(average) * f.SampleRate / 144000.0) - f.Padding;
  if (bitRate <= 0 || bitRate > INT32_MAX) {
    f.FrameLength = 0;
    f.BitRate = 0;
    f.Duration = 0;
    return;
  }
  f.FrameLength = static_cast<std::uint16_t>(std::min<std::int64_t>(average, 0xFFFF));
  f.BitRate = static_cast<std::int32_t>(bitRate);
  f.Duration = DurationOf(f.FileSize, bitRate);
}

Mp3Texts Mp3Detail(const std::string& fileName) {
  TFileInfo info(fileName);
  const TMP3Info tag = info.ReadMP3Info();
  const MP3FrameInfo frame = info.ReadFrameInfo();
  return Mp3Texts{DisplayText(tag.Artist), DisplayText(tag.Title), PlayingTimeText(frame.Duration)};
}

}  // namespace tabulon
