#include "support/fixture_image.h"

#include <vector>

namespace tabulon::testing {

namespace {

void PutLe(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}
void PutBe(std::string& out, std::uint64_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

struct IfdEntry {
  std::uint16_t tag, type;
  std::uint32_t count;
  std::string data;  // the value bytes in file order
};

class TiffWriter {
 public:
  explicit TiffWriter(bool bigEndian) : big_(bigEndian) {}
  void Put(std::string& out, std::uint64_t value, int bytes) const {
    big_ ? PutBe(out, value, bytes) : PutLe(out, value, bytes);
  }
  IfdEntry Short(std::uint16_t tag, std::uint16_t v) const {
    std::string d;
    Put(d, v, 2);
    return {tag, 3, 1, d};
  }
  IfdEntry Long(std::uint16_t tag, std::uint32_t v) const {
    std::string d;
    Put(d, v, 4);
    return {tag, 4, 1, d};
  }
  IfdEntry Rational(std::uint16_t tag, std::uint32_t num, std::uint32_t den) const {
    std::string d;
    Put(d, num, 4);
    Put(d, den, 4);
    return {tag, 5, 1, d};
  }
  IfdEntry Ascii(std::uint16_t tag, const std::string& text) const {
    return {tag, 2, static_cast<std::uint32_t>(text.size() + 1), text + '\0'};
  }
  // An IFD at `offset` with out-of-line values right after it.
  std::string Ifd(const std::vector<IfdEntry>& entries, std::uint32_t offset) const {
    std::string head, tail;
    Put(head, entries.size(), 2);
    const std::uint32_t tailAt = offset + 2 + 12 * static_cast<std::uint32_t>(entries.size()) + 4;
    for (const IfdEntry& e : entries) {
      Put(head, e.tag, 2);
      Put(head, e.type, 2);
      Put(head, e.count, 4);
      if (e.data.size() <= 4) {
        std::string v = e.data;
        v.resize(4, '\0');
        head += v;
      } else {
        Put(head, tailAt + tail.size(), 4);
        tail += e.data;
        if (tail.size() % 2) tail += '\0';
      }
    }
    Put(head, 0, 4);  // no next IFD
    return head + tail;
  }

 private:
  bool big_;
};

std::string JpegSegment(unsigned char marker, const std::string& data) {
  std::string out{'\xFF', static_cast<char>(marker)};
  PutBe(out, data.size() + 2, 2);
  return out + data;
}

std::uint32_t Crc32(const std::string& bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (const char ch : bytes) {
    crc ^= static_cast<unsigned char>(ch);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

std::string PngChunk(const std::string& type, const std::string& data) {
  std::string out;
  PutBe(out, data.size(), 4);
  out += type + data;
  PutBe(out, Crc32(type + data), 4);
  return out;
}

}  // namespace

std::string BuildTiff(const TiffFields& f, bool bigEndian) {
  TiffWriter w(bigEndian);
  std::vector<IfdEntry> ifd0;
  if (f.width) ifd0.push_back(w.Long(256, f.width));
  if (f.height) ifd0.push_back(w.Long(257, f.height));
  if (f.xResNum) ifd0.push_back(w.Rational(282, f.xResNum, f.xResDen));
  if (f.resolutionUnit) ifd0.push_back(w.Short(296, f.resolutionUnit));
  if (!f.dateTime.empty()) ifd0.push_back(w.Ascii(306, f.dateTime));
  std::vector<IfdEntry> exif;
  if (f.exposureNum) exif.push_back(w.Rational(33434, f.exposureNum, f.exposureDen));
  if (f.fNumberNum) exif.push_back(w.Rational(33437, f.fNumberNum, f.fNumberDen));
  if (!f.dateTimeOriginal.empty()) exif.push_back(w.Ascii(36867, f.dateTimeOriginal));
  if (f.exifIfd) ifd0.push_back(w.Long(34665, 0));  // patched below

  std::string out = bigEndian ? std::string("MM\0*", 4) : std::string("II*\0", 4);
  w.Put(out, 8, 4);
  std::string first = w.Ifd(ifd0, 8);
  if (f.exifIfd) {
    const std::uint32_t exifAt = 8 + static_cast<std::uint32_t>(first.size());
    ifd0.back() = w.Long(34665, exifAt);
    first = w.Ifd(ifd0, 8);
    out += first + w.Ifd(exif, exifAt);
  } else {
    out += first;
  }
  return out;
}

std::string BuildJpeg(int width, int height, bool withJfif, JfifDensity d,
                      const std::string& exifTiff) {
  std::string out{'\xFF', '\xD8'};
  if (withJfif) {
    std::string app0("JFIF\0\1\2", 7);
    app0 += static_cast<char>(d.units);
    PutBe(app0, d.x, 2);
    PutBe(app0, d.y, 2);
    app0 += std::string(2, '\0');
    out += JpegSegment(0xE0, app0);
  }
  if (!exifTiff.empty()) out += JpegSegment(0xE1, std::string("Exif\0\0", 6) + exifTiff);
  std::string sof{'\x08'};
  PutBe(sof, height, 2);
  PutBe(sof, width, 2);
  sof += std::string("\x01\x01\x11\x00", 4);
  out += JpegSegment(0xC0, sof);
  out += JpegSegment(0xDA, std::string("\x01\x01\x00\x00\x3F\x00", 6));
  out += std::string(16, '\x55');
  out += "\xFF\xD9";
  return out;
}

std::string BuildPng(int width, int height, std::uint32_t pixelsPerMetre,
                     const std::string& exifTiff) {
  std::string out("\x89PNG\r\n\x1A\n", 8);
  std::string ihdr;
  PutBe(ihdr, width, 4);
  PutBe(ihdr, height, 4);
  ihdr += std::string("\x08\x02\x00\x00\x00", 5);
  out += PngChunk("IHDR", ihdr);
  if (pixelsPerMetre) {
    std::string phys;
    PutBe(phys, pixelsPerMetre, 4);
    PutBe(phys, pixelsPerMetre, 4);
    phys += '\x01';
    out += PngChunk("pHYs", phys);
  }
  if (!exifTiff.empty()) out += PngChunk("eXIf", exifTiff);
  out += PngChunk("IDAT", std::string(8, '\0'));
  out += PngChunk("IEND", "");
  return out;
}

std::string BuildGif(int width, int height) {
  std::string out = "GIF89a";
  PutLe(out, width, 2);
  PutLe(out, height, 2);
  out += std::string("\x00\x00\x00", 3);
  out += ";";
  return out;
}

std::string BuildBmp(int width, int height, std::int32_t pixelsPerMetre, bool coreHeader) {
  std::string out = "BM";
  PutLe(out, 0, 4);
  PutLe(out, 0, 4);
  PutLe(out, 14 + (coreHeader ? 12 : 40), 4);
  if (coreHeader) {
    PutLe(out, 12, 4);
    PutLe(out, width, 2);
    PutLe(out, height, 2);
    PutLe(out, 1, 2);
    PutLe(out, 24, 2);
  } else {
    PutLe(out, 40, 4);
    PutLe(out, static_cast<std::uint32_t>(width), 4);
    PutLe(out, static_cast<std::uint32_t>(height), 4);
    PutLe(out, 1, 2);
    PutLe(out, 24, 2);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    PutLe(out, static_cast<std::uint32_t>(pixelsPerMetre), 4);
    PutLe(out, static_cast<std::uint32_t>(pixelsPerMetre), 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
  }
  return out;
}

std::string BuildIco(int width, int height) {
  std::string out;
  PutLe(out, 0, 2);
  PutLe(out, 1, 2);
  PutLe(out, 1, 2);
  out += static_cast<char>(width >= 256 ? 0 : width);
  out += static_cast<char>(height >= 256 ? 0 : height);
  out += std::string(6, '\0');
  PutLe(out, 40, 4);
  PutLe(out, 22, 4);
  out += std::string(40, '\0');
  return out;
}

std::string BuildPcx(int width, int height, int dpi) {
  std::string out{'\x0A', '\x05', '\x01', '\x08'};
  PutLe(out, 0, 2);
  PutLe(out, 0, 2);
  PutLe(out, width - 1, 2);
  PutLe(out, height - 1, 2);
  PutLe(out, dpi, 2);
  PutLe(out, dpi, 2);
  out += std::string(128 - out.size(), '\0');
  return out;
}

std::string BuildTga(int width, int height) {
  std::string out{'\0', '\0', '\x02'};
  out += std::string(9, '\0');
  PutLe(out, width, 2);
  PutLe(out, height, 2);
  out += '\x18';
  out += '\0';
  out += std::string(static_cast<std::size_t>(width) * height * 3, '\0');
  return out;
}

std::string BuildWmf(int left, int top, int right, int bottom, int unitsPerInch) {
  std::string out;
  PutLe(out, 0x9AC6CDD7u, 4);
  PutLe(out, 0, 2);
  PutLe(out, static_cast<std::uint16_t>(left), 2);
  PutLe(out, static_cast<std::uint16_t>(top), 2);
  PutLe(out, static_cast<std::uint16_t>(right), 2);
  PutLe(out, static_cast<std::uint16_t>(bottom), 2);
  PutLe(out, unitsPerInch, 2);
  PutLe(out, 0, 4);
  PutLe(out, 0, 2);
  out += std::string(18, '\0');  // the metafile header proper
  return out;
}

std::string BuildEmf(int left, int top, int right, int bottom, int devicePixelsX,
                     int deviceMillimetresX) {
  std::string out;
  PutLe(out, 1, 4);
  PutLe(out, 108, 4);
  for (const int v : {left, top, right, bottom}) PutLe(out, static_cast<std::uint32_t>(v), 4);
  for (int i = 0; i < 4; ++i) PutLe(out, 0, 4);  // frame
  PutLe(out, 0x464D4520u, 4);
  PutLe(out, 0x10000, 4);
  PutLe(out, 108, 4);
  PutLe(out, 1, 4);
  PutLe(out, 0, 2);
  PutLe(out, 0, 2);
  PutLe(out, 0, 4);
  PutLe(out, 0, 4);
  PutLe(out, 0, 4);
  PutLe(out, static_cast<std::uint32_t>(devicePixelsX), 4);
  PutLe(out, static_cast<std::uint32_t>(devicePixelsX), 4);
  PutLe(out, static_cast<std::uint32_t>(deviceMillimetresX), 4);
  PutLe(out, static_cast<std::uint32_t>(deviceMillimetresX), 4);
  out += std::string(108 - out.size(), '\0');
  return out;
}

}  // namespace tabulon::testing
