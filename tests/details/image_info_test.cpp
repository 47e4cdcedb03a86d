#include "details/image_info.h"

#include <gtest/gtest.h>

#include "support/fixture_image.h"
#include "support/temp_tree.h"

namespace tabulon {
namespace {

using namespace tabulon::testing;

ImageParams Read(const std::string& bytes, bool tga = false) {
  return ReadImageParams(MemorySource(bytes), tga);
}

std::string Exif(const std::string& original, const std::string& plain, std::uint32_t fNum,
                 std::uint32_t fDen, std::uint32_t expNum, std::uint32_t expDen,
                 bool bigEndian = false) {
  TiffFields f;
  f.dateTime = plain;
  f.dateTimeOriginal = original;
  f.fNumberNum = fNum;
  f.fNumberDen = fDen;
  f.exposureNum = expNum;
  f.exposureDen = expDen;
  f.xResNum = 180;
  f.resolutionUnit = 2;
  return BuildTiff(f, bigEndian);
}

TEST(ImageInfo, SizeAndResolutionOfEachFormat) {
  TiffFields tiffCm;
  tiffCm.width = 1200;
  tiffCm.height = 800;
  tiffCm.xResNum = 118;
  tiffCm.resolutionUnit = 3;
  tiffCm.exifIfd = false;
  const struct {
    const char* name;
    std::string bytes;
    bool tga;
    int width, height, dpi;
  } cases[] = {
      {"JPEG, JFIF in inches", BuildJpeg(640, 480, true, {1, 300, 300}, ""), false, 640, 480, 300},
      {"JPEG, JFIF in cm", BuildJpeg(64, 48, true, {2, 118, 118}, ""), false, 64, 48, 300},
      {"JPEG, aspect only", BuildJpeg(64, 48, true, {0, 1, 1}, ""), false, 64, 48, 1},
      {"JPEG, EXIF resolution", BuildJpeg(10, 20, false, {}, Exif("", "", 0, 1, 0, 1)), false, 10,
       20, 180},
      {"PNG", BuildPng(300, 200, 3780, ""), false, 300, 200, 96},
      {"PNG without pHYs", BuildPng(1, 2, 0, ""), false, 1, 2, 0},
      {"GIF", BuildGif(33, 44), false, 33, 44, 0},
      {"BMP", BuildBmp(800, 600, 2835), false, 800, 600, 72},
      {"BMP top-down", BuildBmp(8, -6, 0), false, 8, 6, 0},
      {"BMP core header", BuildBmp(17, 19, 0, true), false, 17, 19, 0},
      {"TIFF in cm", BuildTiff(tiffCm), false, 1200, 800, 300},
      {"TIFF big-endian", BuildTiff(tiffCm, true), false, 1200, 800, 300},
      {"ICO", BuildIco(32, 32), false, 32, 32, 0},
      {"ICO of 256", BuildIco(256, 256), false, 256, 256, 0},
      {"PCX", BuildPcx(320, 200, 150), false, 320, 200, 150},
      {"TGA", BuildTga(4, 3), true, 4, 3, 0},
      {"WMF", BuildWmf(0, 0, 2880, 1440, 1440), false, 2880, 1440, 1440},
      {"EMF", BuildEmf(0, 0, 99, 49, 1920, 508), false, 100, 50, 96},
  };
  for (const auto& c : cases) {
    const ImageParams p = Read(c.bytes, c.tga);
    EXPECT_EQ(p.width, c.width) << c.name;
    EXPECT_EQ(p.height, c.height) << c.name;
    EXPECT_EQ(p.dpi, c.dpi) << c.name;
    EXPECT_FALSE(p.hasExif && std::string(c.name).find("EXIF") == std::string::npos) << c.name;
  }
}

TEST(ImageInfo, ExifValues) {
  const struct {
    const char* name;
    std::string bytes;
    std::string date;
    double fNumber, exposure;
  } cases[] = {
      {"JPEG",
       BuildJpeg(8, 8, true, {},
                 Exif("2004:07:15 09:30:00", "2005:01:01 00:00:00", 28, 10, 1, 125)),
       "2004:07:15 09:30:00", 2.8, 0.008},
      {"JPEG big-endian EXIF",
       BuildJpeg(8, 8, true, {}, Exif("2004:07:15 09:30:00", "", 56, 10, 1, 60, true)),
       "2004:07:15 09:30:00", 5.6, 1.0 / 60},
      {"DateTime when there is no original",
       BuildJpeg(8, 8, false, {}, Exif("", "2005:01:01 10:00:00", 4, 1, 0, 1)),
       "2005:01:01 10:00:00", 4, 0},
      {"PNG eXIf", BuildPng(8, 8, 0, Exif("2010:10:10 10:10:10", "", 8, 1, 1, 2)),
       "2010:10:10 10:10:10", 8, 0.5},
      {"zero denominators", BuildJpeg(8, 8, true, {}, Exif("2004:07:15 09:30:00", "", 28, 0, 1, 0)),
       "2004:07:15 09:30:00", 0, 0},
  };
  for (const auto& c : cases) {
    const ImageParams p = Read(c.bytes);
    EXPECT_TRUE(p.hasExif) << c.name;
    EXPECT_EQ(p.exifDateTime, c.date) << c.name;
    EXPECT_DOUBLE_EQ(p.fNumber, c.fNumber) << c.name;
    EXPECT_DOUBLE_EQ(p.exposureTime, c.exposure) << c.name;
    EXPECT_EQ(p.width, 8) << c.name;
  }

  TiffFields camera;
  camera.width = 100;
  camera.height = 50;
  camera.dateTimeOriginal = "2001:02:03 04:05:06";
  camera.fNumberNum = 2;
  const ImageParams tiff = Read(BuildTiff(camera));
  EXPECT_TRUE(tiff.hasExif);
  EXPECT_EQ(tiff.exifDateTime, "2001:02:03 04:05:06");
  EXPECT_EQ(tiff.fNumber, 2);
  camera.exifIfd = false;
  EXPECT_FALSE(Read(BuildTiff(camera)).hasExif);
}

TEST(ImageInfo, WhatIsNotAnImageGivesZeros) {
  const std::string jpeg =
      BuildJpeg(640, 480, true, {}, Exif("2004:07:15 09:30:00", "", 28, 10, 1, 125));
  const struct {
    const char* name;
    std::string bytes;
    bool tga;
  } cases[] = {
      {"text", "Hello, this is not a picture at all.", false},
      {"text named .tga", "Hello, this is not a picture at all.", true},
      {"empty", "", true},
      {"JPEG cut before its frame header", jpeg.substr(0, 40), false},
      {"PNG without IHDR", std::string("\x89PNG\r\n\x1A\n", 8), false},
      {"PCX-like text", "\nlines of text\n", false},
  };
  for (const auto& c : cases) {
    const ImageParams p = Read(c.bytes, c.tga);
    EXPECT_EQ(p.width, 0) << c.name;
    EXPECT_EQ(p.height, 0) << c.name;
    EXPECT_EQ(p.dpi, 0) << c.name;
    EXPECT_FALSE(p.hasExif) << c.name;
  }
  // Any cut of a JPEG with EXIF, and any single damaged byte, is read safely.
  for (std::size_t size = 0; size <= jpeg.size(); ++size) Read(jpeg.substr(0, size));
  for (std::size_t at = 0; at < jpeg.size(); ++at) {
    std::string damaged = jpeg;
    damaged[at] = static_cast<char>(damaged[at] ^ 0xA5);
    Read(damaged);
  }
}

TEST(ImageInfo, FilesOnDisk) {
  TempTree tree;
  ImageReader reader;
  EXPECT_EQ(reader.ReadImage(tree.AddFile("shot.TGA", BuildTga(5, 6))).width, 5);
  EXPECT_EQ(reader.ReadImage(tree.AddFile("shot.bin", BuildTga(5, 6))).width, 0);
  EXPECT_EQ(reader.ReadImage(tree.AddFile("photo.jpe", BuildJpeg(7, 9, true, {}, ""))).height, 9);
  EXPECT_EQ(reader.ReadImage(tree.AddFile("fake.png", "no picture")).width, 0);
  EXPECT_EQ(reader.ReadImage(tree.AddFifo("pipe.jpg")).width, 0);
  EXPECT_EQ(reader.ReadImage(tree.Path("missing.gif")).width, 0);
}

}  // namespace
}  // namespace tabulon
