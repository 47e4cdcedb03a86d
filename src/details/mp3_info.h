// The per-file detail reader: the ID3v1 tag and first MPEG audio frame of an
// MP3 file (here), the summary of a Word or Excel file (doc_info.cpp).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "details/byte_source.h"
#include "details/detail_sources.h"
#include "details/doc_info.h"

namespace tabulon {

class TimeZone;

inline constexpr int kGenreCount = 115;
using GenreTable = std::array<std::string_view, kGenreCount>;
extern const GenreTable GenreNames;

struct TMP3Info {
  std::string TagId;
  std::string Artist;
  std::string Title;
  std::string Album;
  std::string Comment;
  std::string Year;
  std::string GenreName;
  const GenreTable* GenreList = nullptr;
  std::uint8_t GenreIndex = 0;
  bool HasTag = false;
  // -1 tag read; 0 file does not exist; 1 no tag; 5 cannot be opened or read.
  std::int32_t Status = 0;
};

struct MP3FrameInfo {
  std::uint16_t Duration = 0;  // whole seconds, 65535 at most
  std::int64_t FileSize = 0;   // 64-bit: files beyond 2 GiB are common enough
  std::uint8_t Version = 0;    // 1 MPEG-1, 2 MPEG-2, 3 MPEG-2.5, 0 invalid
  std::uint8_t Layer = 0;      // 1, 2, 3; 0 invalid
  std::int32_t SampleRate = 0;
  std::int32_t BitRate = 0;  // kbit/s
  std::uint8_t ChannelMode = 0;
  std::uint8_t FlagBit3 = 0;
  std::uint8_t FlagBit2 = 0;
  std::uint8_t ProtectionBit = 0;  // as stored: 1 = no CRC follows
  std::uint8_t Padding = 0;
  std::uint16_t FrameLength = 0;
  // -1 frame found (or 5 bytes or less); 0 file does not exist; 1 cannot be
  // opened; 2 no usable frame header before the end of the file.
  std::int32_t Status = 0;
};

class TFileInfo {
 public:
  // The time zone turns the summary's UTC times into local ones; without one
  // they are taken as they are.
  explicit TFileInfo(std::string fileName, const TimeZone* timeZone = nullptr);

  const std::string& FileName() const { return fileName_; }

  TMP3Info ReadMP3Info();
  MP3FrameInfo ReadFrameInfo();
  TDocInfo ReadDocInfo();

  // The same reads over bytes already at hand (a memory buffer or an open
  // file); the status "does not exist" cannot arise.
  TMP3Info ReadMP3Info(const ByteSource& source);
  MP3FrameInfo ReadFrameInfo(const ByteSource& source);

  // Decodes a frame header (four file bytes read big-endian) into the frame
  // record; true when version, layer, bit rate and sample rate are all set.
  bool DecodeFrameHeader(std::uint32_t value);
  static std::uint16_t FrameLengthOf(std::int32_t sampleRate, std::int32_t bitRate,
                                     std::int32_t padding);

  const TMP3Info& MP3Info() const { return mp3Info_; }
  const MP3FrameInfo& FrameInfo() const { return frameInfo_; }
  const TDocInfo& DocInfo() const { return docInfo_; }

 private:
  void ClearHeaderFields();
  void ScanFrames(const ByteSource& source);
  void ReadXingHeader(const ByteSource& source, std::uint64_t headerPosition);

  std::string fileName_;
  const TimeZone* timeZone_ = nullptr;
  TMP3Info mp3Info_;
  MP3FrameInfo frameInfo_;
  TDocInfo docInfo_;
};

// Blanks (code 32 only) removed from the end.
std::string TrimTrailingBlanks(std::string text);

// Artist, title and playing time (m:ss) of an MP3 file; empty texts and 0:00
// for whatever cannot be read.
Mp3Texts Mp3Detail(const std::string& fileName);

// The playing-time text: minutes without leading zeros, two-digit seconds.
std::string PlayingTimeText(std::uint16_t duration);

}  // namespace tabulon
