// Image headers built by code: the bytes a header reader looks at, with
// placeholder pixel data. EXIF blocks are TIFF structures.
#pragma once

#include <cstdint>
#include <string>

namespace tabulon::testing {

struct TiffFields {
  std::uint32_t width = 0, height = 0;     // left out when 0
  std::uint32_t xResNum = 0, xResDen = 1;  // left out when 0
  std::uint16_t resolutionUnit = 0;        // left out when 0
  std::string dateTime;                    // IFD0, left out when empty
  bool exifIfd = true;
  std::string dateTimeOriginal;  // EXIF IFD, left out when empty
  std::uint32_t fNumberNum = 0, fNumberDen = 1;
  std::uint32_t exposureNum = 0, exposureDen = 1;
};
std::string BuildTiff(const TiffFields& fields, bool bigEndian = false);

struct JfifDensity {
  std::uint8_t units = 1;
  std::uint16_t x = 72, y = 72;
};
// `exifTiff` empty: no APP1. `withJfif` false: no APP0.
std::string BuildJpeg(int width, int height, bool withJfif, JfifDensity density,
                      const std::string& exifTiff);
// `pixelsPerMetre` 0: no pHYs.
std::string BuildPng(int width, int height, std::uint32_t pixelsPerMetre,
                     const std::string& exifTiff);
std::string BuildGif(int width, int height);
std::string BuildBmp(int width, int height, std::int32_t pixelsPerMetre, bool coreHeader = false);
std::string BuildIco(int width, int height);
std::string BuildPcx(int width, int height, int dpi);
std::string BuildTga(int width, int height);
std::string BuildWmf(int left, int top, int right, int bottom, int unitsPerInch);
std::string BuildEmf(int left, int top, int right, int bottom, int devicePixelsX,
                     int deviceMillimetresX);

}  // namespace tabulon::testing
