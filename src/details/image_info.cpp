#include "details/image_info.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/regular_file.h"

namespace tabulon {

namespace {

constexpr int kMaxIfdEntries = 4096;
constexpr std::size_t kMaxAscii = 256;
constexpr int kMaxJpegSegments = 100000;
constexpr int kMaxPngChunks = 100000;

int ClampInt(double value) {
  if (!(value > 0)) return 0;
  if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  return static_cast<int>(std::lround(value));
}

int ClampInt(std::int64_t value) {
  if (value < 0) value = -value;
  return static_cast<int>(std::min<std::int64_t>(value, std::numeric_limits<int>::max()));
}

// Pixels per metre to dots per inch.
int DpiOfPerMetre(double perMetre) {
  return ClampInt(perMetre * 0.0254);
}

class TiffReader {
 public:
  explicit TiffReader(const ByteSource& source) : source_(source) {}

  bool Read(TiffValues& out) {
    unsigned char head[8];
    if (!source_.ReadExact(0, head, sizeof head)) return false;
    if (std::memcmp(head, "II*\0", 4) == 0) {
      bigEndian_ = false;
    } else if (std::memcmp(head, "MM\0*", 4) == 0) {
      bigEndian_ = true;
    } else {
      return false;
    }
    std::uint32_t exifIfd = 0;
    if (!ReadIfd(U32(head + 4), false, out, exifIfd)) return false;
    if (exifIfd != 0) {
      std::uint32_t unused = 0;
      out.hasExifIfd = ReadIfd(exifIfd, true, out, unused);
    }
    return true;
  }

 private:
  std::uint16_t U16(const unsigned char* p) const { return bigEndian_ ? Be16(p) : Le16(p); }
  std::uint32_t U32(const unsigned char* p) const { return bigEndian_ ? Be32(p) : Le32(p); }

  static std::uint32_t TypeSize(std::uint16_t type) {
    switch (type) {
      case 1:
      case 2:
      case 6:
      case 7:
        return 1;
      case 3:
      case 8:
        return 2;
      case 4:
      case 9:
      case 11:
        return 4;
      case 5:
      case 10:
      case 12:
        return 8;
      default:
        return 0;
    }
  }

  // The bytes of an entry's value, at most `limit` of them.
  bool Value(const unsigned char* entry, std::size_t limit, std::string& out) const {
    const std::uint16_t type = U16(entry + 2);
    const std::uint64_t total = static_cast<std::uint64_t>(TypeSize(type)) * U32(entry + 4);
    if (total == 0) return false;
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(total, limit));
    out.assign(n, '\0');
    if (total <= 4) {
      std::memcpy(out.data(), entry + 8, n);
      return true;
    }
    return source_.ReadExact(U32(entry + 8), out.data(), n);
  }

  bool Integer(const unsigned char* entry, std::uint32_t& out) const {
    const std::uint16_t type = U16(entry + 2);
    if (type == 3) {
      out = U16(entry + 8);
      return true;
    }
    if (type == 4) {
      out = U32(entry + 8);
      return true;
    }
    return false;
  }

  double Rational(const unsigned char* entry) const {
    const std::uint16_t type = U16(entry + 2);
    if (type != 5 && type != 10) return 0;
    std::string v;
    if (!Value(entry, 8, v) || v.size() < 8) return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(v.data());
    double num = U32(p), den = U32(p + 4);
    if (type == 10) {
      num = static_cast<std::int32_t>(U32(p));
      den = static_cast<std::int32_t>(U32(p + 4));
    }
    return den == 0 ? 0 : num / den;
  }

  std::string Ascii(const unsigned char* entry) const {
    if (U16(entry + 2) != 2) return {};
    std::string v;
    if (!Value(entry, kMaxAscii, v)) return {};
    return v.substr(0, v.find('\0'));
  }

  bool ReadIfd(std::uint32_t offset, bool exif, TiffValues& out, std::uint32_t& exifIfd) const {
    unsigned char countBytes[2];
    if (!source_.ReadExact(offset, countBytes, 2)) return false;
    const int count = std::min<int>(U16(countBytes), kMaxIfdEntries);
    std::string raw(static_cast<std::size_t>(count) * 12, '\0');
    if (!source_.ReadExact(offset + 2ull, raw.data(), raw.size())) return false;
    for (int i = 0; i < count; ++i) {
      const auto* e = reinterpret_cast<const unsigned char*>(raw.data()) + 12 * i;
      const std::uint16_t tag = U16(e);
      std::uint32_t n = 0;
      if (!exif) {
        switch (tag) {
          case 256:
            if (Integer(e, n)) out.width = ClampInt(static_cast<std::int64_t>(n));
            break;
          case 257:
            if (Integer(e, n)) out.height = ClampInt(static_cast<std::int64_t>(n));
            break;
          case 282:
            out.xResolution = Rational(e);
            break;
          case 296:
            if (Integer(e, n)) out.resolutionUnit = static_cast<int>(n);
            break;
          case 306:
            out.dateTime = Ascii(e);
            break;
          case 34665:
            if (Integer(e, n)) exifIfd = n;
            break;
          default:
            break;
        }
      } else {
        switch (tag) {
          case 33434:
            out.exposureTime = Rational(e);
            break;
          case 33437:
            out.fNumber = Rational(e);
            break;
          case 36867:
            out.dateTimeOriginal = Ascii(e);
            break;
          default:
            break;
        }
      }
    }
    return true;
  }

  const ByteSource& source_;
  bool bigEndian_ = false;
};

int DpiOfTiff(const TiffValues& t) {
  return ClampInt(t.resolutionUnit == 3 ? t.xResolution * 2.54 : t.xResolution);
}

void TakeExif(const TiffValues& t, ImageParams& p) {
  p.hasExif = true;
  p.exifDateTime = !t.dateTimeOriginal.empty() ? t.dateTimeOriginal : t.dateTime;
  p.fNumber = std::isfinite(t.fNumber) && t.fNumber > 0 ? t.fNumber : 0;
  p.exposureTime = std::isfinite(t.exposureTime) && t.exposureTime > 0 ? t.exposureTime : 0;
}

bool ReadJpeg(const ByteSource& s, ImageParams& p) {
  const std::uint64_t size = s.Size();
  std::uint64_t pos = 2;
  int jfifDpi = -1;
  int exifDpi = 0;
  bool haveSize = false;
  for (int segments = 0; segments < kMaxJpegSegments && pos + 4 <= size; ++segments) {
    unsigned char m[4];
    if (!s.ReadExact(pos, m, 2) || m[0] != 0xFF) break;
    if (m[1] == 0xFF) {  // fill byte
      ++pos;
      continue;
    }
    const unsigned char marker = m[1];
    if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
      pos += 2;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) break;  // the image data begins
    if (!s.ReadExact(pos + 2, m + 2, 2)) break;
    const std::uint32_t length = Be16(m + 2);
    if (length < 2) break;
    const std::uint64_t data = pos + 4;
    const std::uint32_t dataLength = length - 2;
    if (marker == 0xE0 && dataLength >= 12) {
      unsigned char j[12];
      if (s.ReadExact(data, j, sizeof j) && std::memcmp(j, "JFIF\0", 5) == 0) {
        const unsigned units = j[7];
        const double x = Be16(j + 8);
        jfifDpi = units == 2 ? ClampInt(x * 2.54) : ClampInt(x);
      }
    } else if (marker == 0xE1 && dataLength >= 14 && !p.hasExif) {
      unsigned char e[6];
      if (s.ReadExact(data, e, 6) && std::memcmp(e, "Exif\0\0", 6) == 0) {
        SubSource block(s, data + 6, dataLength - 6);
        TiffValues t;
        if (ReadTiffValues(block, t)) {
          TakeExif(t, p);
          exifDpi = DpiOfTiff(t);
        }
      }
    } else if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
               marker != 0xCC && dataLength >= 5 && !haveSize) {
      unsigned char f[5];
      if (s.ReadExact(data, f, sizeof f)) {
        p.height = Be16(f + 1);
        p.width = Be16(f + 3);
        haveSize = true;
      }
    }
    pos = data + dataLength;
  }
  p.dpi = jfifDpi >= 0 ? jfifDpi : exifDpi;
  return haveSize;
}

bool ReadPng(const ByteSource& s, ImageParams& p) {
  std::uint64_t pos = 8;
  bool haveHeader = false;
  for (int chunks = 0; chunks < kMaxPngChunks; ++chunks) {
    unsigned char c[8];
    if (!s.ReadExact(pos, c, sizeof c)) break;
    const std::uint64_t length = Be32(c);
    const std::uint64_t data = pos + 8;
    if (std::memcmp(c + 4, "IHDR", 4) == 0 && length >= 8) {
      unsigned char h[8];
      if (!s.ReadExact(data, h, sizeof h)) return false;
      p.width = ClampInt(static_cast<std::int64_t>(Be32(h)));
      p.height = ClampInt(static_cast<std::int64_t>(Be32(h + 4)));
      haveHeader = true;
    } else if (!haveHeader) {
      return false;  // IHDR comes first
    } else if (std::memcmp(c + 4, "pHYs", 4) == 0 && length >= 9) {
      unsigned char h[9];
      if (s.ReadExact(data, h, sizeof h)) {
        const double x = Be32(h);
        p.dpi = h[8] == 1 ? DpiOfPerMetre(x) : ClampInt(x);
      }
    } else if (std::memcmp(c + 4, "eXIf", 4) == 0 && !p.hasExif) {
      SubSource block(s, data, length);
      TiffValues t;
      if (ReadTiffValues(block, t)) TakeExif(t, p);
    } else if (std::memcmp(c + 4, "IEND", 4) == 0 || std::memcmp(c + 4, "IDAT", 4) == 0) {
      // Image data; what comes after it rarely matters, but eXIf may follow.
      if (c[4] == 'I' && c[5] == 'E') break;
    }
    pos = data + length + 4;  // data and CRC
  }
  return haveHeader;
}

bool ReadBmp(const ByteSource& s, ImageParams& p) {
  unsigned char h[42];
  if (!s.ReadExact(0, h, 18)) return false;
  const std::uint32_t headerSize = Le32(h + 14);
  if (headerSize == 12) {
    if (!s.ReadExact(18, h + 18, 4)) return false;
    p.width = Le16(h + 18);
    p.height = Le16(h + 20);
    return true;
  }
  if (headerSize < 40 || !s.ReadExact(18, h + 18, 24)) return false;
  p.width = ClampInt(static_cast<std::int64_t>(static_cast<std::int32_t>(Le32(h + 18))));
  // A negative height marks rows stored top-down.
  p.height = ClampInt(static_cast<std::int64_t>(static_cast<std::int32_t>(Le32(h + 22))));
  p.dpi = DpiOfPerMetre(static_cast<std::int32_t>(Le32(h + 38)));
  return true;
}

bool ReadPcx(const ByteSource& s, ImageParams& p) {
  unsigned char h[16];
  if (!s.ReadExact(0, h, sizeof h)) return false;
  const unsigned version = h[1], encoding = h[2], bits = h[3];
  if (h[0] != 0x0A || !(version == 0 || (version >= 2 && version <= 5)) || encoding > 1 ||
      !(bits == 1 || bits == 2 || bits == 4 || bits == 8))
    return false;
  const int xMin = Le16(h + 4), yMin = Le16(h + 6), xMax = Le16(h + 8), yMax = Le16(h + 10);
  if (xMax < xMin || yMax < yMin) return false;
  p.width = xMax - xMin + 1;
  p.height = yMax - yMin + 1;
  p.dpi = Le16(h + 12);
  return true;
}

bool ReadTga(const ByteSource& s, ImageParams& p) {
  unsigned char h[18];
  if (!s.ReadExact(0, h, sizeof h)) return false;
  const unsigned mapType = h[1], type = h[2], depth = h[16];
  const bool knownType =
      type == 1 || type == 2 || type == 3 || type == 9 || type == 10 || type == 11;
  const bool knownDepth = depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
  if (mapType > 1 || !knownType || !knownDepth) return false;
  p.width = Le16(h + 12);
  p.height = Le16(h + 14);
  return p.width > 0 && p.height > 0;
}

bool ReadIco(const ByteSource& s, ImageParams& p) {
  unsigned char h[8];
  if (!s.ReadExact(0, h, sizeof h) || Le16(h + 4) == 0) return false;
  // The first image of the directory; 0 stands for 256.
  p.width = h[6] == 0 ? 256 : h[6];
  p.height = h[7] == 0 ? 256 : h[7];
  return true;
}

bool ReadWmf(const ByteSource& s, ImageParams& p) {
  unsigned char h[16];
  if (!s.ReadExact(0, h, sizeof h)) return false;
  const auto left = static_cast<std::int16_t>(Le16(h + 6));
  const auto top = static_cast<std::int16_t>(Le16(h + 8));
  const auto right = static_cast<std::int16_t>(Le16(h + 10));
  const auto bottom = static_cast<std::int16_t>(Le16(h + 12));
  // The picture in its own units, with the units per inch as its resolution.
  p.width = ClampInt(static_cast<std::int64_t>(right) - left);
  p.height = ClampInt(static_cast<std::int64_t>(bottom) - top);
  p.dpi = Le16(h + 14);
  return true;
}

bool ReadEmf(const ByteSource& s, ImageParams& p) {
  unsigned char h[88];
  if (!s.ReadExact(0, h, sizeof h)) return false;
  const auto at = [&](int offset) {
    return static_cast<std::int64_t>(static_cast<std::int32_t>(Le32(h + offset)));
  };
  // The bounds, inclusive, in device pixels of the reference device.
  if (at(16) >= at(8)) p.width = ClampInt(at(16) - at(8) + 1);
  if (at(20) >= at(12)) p.height = ClampInt(at(20) - at(12) + 1);
  const std::int64_t devicePixels = at(72), deviceMillimetres = at(80);
  if (devicePixels > 0 && deviceMillimetres > 0)
    p.dpi =
        ClampInt(static_cast<double>(devicePixels) * 25.4 / static_cast<double>(deviceMillimetres));
  return true;
}

}  // namespace

bool ReadTiffValues(const ByteSource& source, TiffValues& out) {
  return TiffReader(source).Read(out);
}

ImageParams ReadImageParams(const ByteSource& s, bool maybeTga) {
  unsigned char m[44] = {};
  const std::int64_t got = s.ReadAt(0, m, sizeof m);
  const std::size_t n = got > 0 ? static_cast<std::size_t>(got) : 0;
  auto starts = [&](const void* magic, std::size_t len) {
    return n >= len && std::memcmp(m, magic, len) == 0;
  };
  ImageParams p;
  bool ok = false;
  if (starts("\xFF\xD8\xFF", 3)) {
    ok = ReadJpeg(s, p);
  } else if (starts("\x89PNG\r\n\x1A\n", 8)) {
    ok = ReadPng(s, p);
  } else if (starts("GIF87a", 6) || starts("GIF89a", 6)) {
    if (n >= 10) {
      p.width = Le16(m + 6);
      p.height = Le16(m + 8);
      ok = true;
    }
  } else if (starts("BM", 2)) {
    ok = ReadBmp(s, p);
  } else if (starts("II*\0", 4) || starts("MM\0*", 4)) {
    TiffValues t;
    ok = ReadTiffValues(s, t);
    if (ok) {
      p.width = t.width;
      p.height = t.height;
      p.dpi = DpiOfTiff(t);
      if (t.hasExifIfd) TakeExif(t, p);
    }
  } else if (starts("\0\0\1\0", 4)) {
    ok = ReadIco(s, p);
  } else if (starts("\xD7\xCD\xC6\x9A", 4)) {
    ok = ReadWmf(s, p);
  } else if (n >= 44 && Le32(m) == 1 && std::memcmp(m + 40, " EMF", 4) == 0) {
    ok = ReadEmf(s, p);
  } else if (starts("\x0A", 1)) {
    ok = ReadPcx(s, p);
  }
  if (!ok && maybeTga) {
    p = ImageParams{};
    ok = ReadTga(s, p);
  }
  // Whatever could not be read as a picture gives zeros and no EXIF.
  return ok ? p : ImageParams{};
}

ImageParams ReadImageFile(const std::string& fileName) {
  RegularFile file;
  if (!file.Open(fileName)) return {};
  const std::size_t dot = fileName.rfind('.');
  std::string ext = dot == std::string::npos ? std::string() : fileName.substr(dot);
  for (char& c : ext)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return ReadImageParams(FileSource(file), ext == ".TGA");
}

}  // namespace tabulon
