// MP3 bytes built by code: frame headers, frames, Xing headers, ID3 tags and
// WAV files for an encoder.
#pragma once

#include <cstdint>
#include <string>

namespace tabulon::testing {

// The four bytes of a frame header, most significant first.
std::string FrameHeaderBytes(std::uint32_t header);

// An MPEG-1 Layer III header: sync, no CRC, the bit-rate and sample-rate
// indexes given, stereo.
std::uint32_t Mpeg1Layer3Header(unsigned bitRateIndex, unsigned sampleRateIndex = 0,
                                bool padding = false);

// Frames of `header` (each its full frame length, zero-filled) up to exactly
// `size` bytes; the last frame may be cut short.
std::string FramesOfSize(std::uint32_t header, std::size_t size);

// A first frame carrying a Xing header with the given flags and frame count.
std::string XingFrame(std::uint32_t header, std::uint8_t flags, std::uint32_t frameCount);

struct Id3v1 {
  std::string title, artist, album, year, comment;
  std::uint8_t genre = 255;
  char padding = '\0';  // what fills the fields after their text
};
std::string Id3v1Tag(const Id3v1& tag);

// An ID3v2 block of `bodySize` zero bytes (syncsafe size).
std::string Id3v2Block(std::uint32_t bodySize);

// A 16-bit PCM WAV file: a quiet sine of `seconds` at `sampleRate`, stereo.
std::string WavFile(int seconds, int sampleRate = 44100);

}  // namespace tabulon::testing
