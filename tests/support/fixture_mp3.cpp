#include "support/fixture_mp3.h"

#include <cmath>

namespace tabulon::testing {

namespace {

void PutLe(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string Field(const std::string& text, std::size_t width, char padding) {
  std::string out = text.substr(0, width);
  out.resize(width, padding);
  return out;
}

}  // namespace

std::string FrameHeaderBytes(std::uint32_t header) {
  std::string out;
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((header >> shift) & 0xFF);
  return out;
}

std::uint32_t Mpeg1Layer3Header(unsigned bitRateIndex, unsigned sampleRateIndex, bool padding) {
  return 0xFFFB0000u | (bitRateIndex << 12) | (sampleRateIndex << 10) | (padding ? 0x200u : 0u);
}

std::string FramesOfSize(std::uint32_t header, std::size_t size) {
  static constexpr int kRates[] = {0,   32,  40,  48,  56,  64,  80, 96,
                                   112, 128, 160, 192, 224, 256, 320};
  static constexpr int kSampleRates[] = {44100, 48000, 32000};
  const int bitRate = kRates[(header >> 12) & 15];
  const int sampleRate = kSampleRates[(header >> 10) & 3];
  const std::size_t length = bitRate * 144000 / sampleRate + ((header >> 9) & 1);
  std::string frame = FrameHeaderBytes(header);
  frame.resize(length, '\0');
  std::string out;
  while (out.size() < size) out += frame;
  out.resize(size);
  return out;
}

std::string XingFrame(std::uint32_t header, std::uint8_t flags, std::uint32_t frameCount) {
  std::string frame = FramesOfSize(header, 417);
  std::string xing = "Xing";
  xing += std::string{'\0', '\0', '\0', static_cast<char>(flags)};
  xing += FrameHeaderBytes(frameCount);  // big-endian like the header
  frame.replace(36, xing.size(), xing);
  return frame;
}

std::string Id3v1Tag(const Id3v1& tag) {
  std::string out = "TAG";
  out += Field(tag.title, 30, tag.padding);
  out += Field(tag.artist, 30, tag.padding);
  out += Field(tag.album, 30, tag.padding);
  out += Field(tag.year, 4, tag.padding);
  out += Field(tag.comment, 30, tag.padding);
  out += static_cast<char>(tag.genre);
  return out;
}

std::string Id3v2Block(std::uint32_t bodySize) {
  std::string out = "ID3";
  out += std::string{'\x03', '\0', '\0'};
  for (int shift = 21; shift >= 0; shift -= 7) out += static_cast<char>((bodySize >> shift) & 0x7F);
  out += std::string(bodySize, '\0');
  return out;
}

std::string WavFile(int seconds, int sampleRate) {
  const std::uint32_t frames = static_cast<std::uint32_t>(seconds * sampleRate);
  const std::uint32_t dataSize = frames * 4;
  std::string out = "RIFF";
  PutLe(out, 36 + dataSize, 4);
  out += "WAVEfmt ";
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);  // PCM
  PutLe(out, 2, 2);  // stereo
  PutLe(out, sampleRate, 4);
  PutLe(out, sampleRate * 4, 4);
  PutLe(out, 4, 2);
  PutLe(out, 16, 2);
  out += "data";
  PutLe(out, dataSize, 4);
  out.reserve(out.size() + dataSize);
  for (std::uint32_t i = 0; i < frames; ++i) {
    const auto sample =
        static_cast<std::int16_t>(3000 * std::sin(2 * M_PI * 440.0 * i / sampleRate));
    PutLe(out, static_cast<std::uint16_t>(sample), 2);
    PutLe(out, static_cast<std::uint16_t>(sample), 2);
  }
  return out;
}

}  // namespace tabulon::testing
