// Writes the seed corpora of the fuzz targets: make_seeds DIR makes
// DIR/mp3, DIR/office, DIR/version and DIR/image.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "support/fixture_compound.h"
#include "support/fixture_image.h"
#include "support/fixture_mp3.h"
#include "support/fixture_pe.h"

using namespace tabulon::testing;

namespace {

void Write(const std::filesystem::path& dir, const std::string& name, const std::string& bytes) {
  std::filesystem::create_directories(dir);
  std::ofstream(dir / name, std::ios::binary) << bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_seeds DIR\n";
    return 2;
  }
  const std::filesystem::path root = argv[1];

  const std::uint32_t h = Mpeg1Layer3Header(9);
  const std::string tag = Id3v1Tag(Id3v1{"Title", "Artist", "Album", "2001", "Note", 17});
  Write(root / "mp3", "cbr", FramesOfSize(h, 4000) + tag);
  Write(root / "mp3", "id3v2", Id3v2Block(200) + FramesOfSize(h, 3000));
  Write(root / "mp3", "xing", XingFrame(h, 15, 10) + FramesOfSize(h, 2000));
  Write(root / "mp3", "mpeg2",
        FramesOfSize(0xFFF39000u, 10) + FrameHeaderBytes(0xFFF39000u) + std::string(600, '\0'));
  Write(root / "mp3", "tag-only", tag);

  const std::string summary = BuildSummaryStream(
      {TextProperty(2, "Title"), TextProperty(3, "Subject"), TextProperty(4, "Author"),
       FileTimeProperty(10, 600'000'000ull * 95), FileTimeProperty(12, 127'000'000'000'000'000ull),
       IntProperty(14, 3), IntProperty(15, 400)});
  // The office target reads a whole file after a 0 byte, a stream after a 1.
  Write(root / "office", "stream", "\1" + summary);
  Write(root / "office", "v3",
        "\0" + BuildCompoundFile(
                   {{kSummaryName, summary}, {"WordDocument", std::string(5000, 'w')}}, 3)
                   .bytes);
  Write(root / "office", "v4",
        std::string(1, '\0') + BuildCompoundFile({{kSummaryName, summary}}, 4).bytes);

  const VersionTable table{
      "040904b0", {{"CompanyName", "Veltro"}, {"FileDescription", "Tool"}, {"FileVersion", "1.0"}}};
  const VersionTable german{"040704b0", {{"CompanyName", "Veltro GmbH"}}};
  Write(root / "version", "pe32", BuildPeFile(false, {{0x0409, VersionResourceBlob({table})}}));
  Write(root / "version", "pe64",
        BuildPeFile(true, {{0x0407, VersionResourceBlob({german, table})},
                           {0x0409, VersionResourceBlob({table})}}));

  TiffFields exif;
  exif.dateTime = "2005:01:01 00:00:00";
  exif.dateTimeOriginal = "2004:07:15 09:30:00";
  exif.fNumberNum = 28;
  exif.fNumberDen = 10;
  exif.exposureNum = 1;
  exif.exposureDen = 125;
  exif.xResNum = 72;
  exif.resolutionUnit = 2;
  const std::string tiff = BuildTiff(exif);
  exif.width = 30;
  exif.height = 20;
  Write(root / "image", "jpeg", BuildJpeg(64, 48, true, {1, 300, 300}, tiff));
  Write(root / "image", "png", BuildPng(30, 20, 3780, tiff));
  Write(root / "image", "tiff", BuildTiff(exif, true));
  Write(root / "image", "gif", BuildGif(3, 4));
  Write(root / "image", "bmp", BuildBmp(5, 6, 2835));
  Write(root / "image", "ico", BuildIco(16, 16));
  Write(root / "image", "pcx", BuildPcx(8, 8, 72));
  Write(root / "image", "tga", BuildTga(2, 2));
  Write(root / "image", "wmf", BuildWmf(0, 0, 100, 50, 1440));
  Write(root / "image", "emf", BuildEmf(0, 0, 9, 9, 1920, 508));
  return 0;
}
