// Image parameters read from file headers (pixels are never decoded): size,
// resolution and the EXIF date, F-number and exposure time.
#pragma once

#include <string>

#include "details/byte_source.h"
#include "details/detail_sources.h"

namespace tabulon {

// JPEG, PNG, GIF, BMP, TIFF, ICO, PCX, placeable WMF and EMF are told by
// their content; TGA has no signature, so it is tried only when `maybeTga`
// (the name ends in .tga). Anything else gives zeros and no EXIF.
ImageParams ReadImageParams(const ByteSource& source, bool maybeTga);
ImageParams ReadImageFile(const std::string& fileName);

// The EXIF values of a TIFF structure (a TIFF file, or the EXIF block of a
// JPEG or PNG file). False when it is not one.
struct TiffValues {
  int width = 0;
  int height = 0;
  double xResolution = 0;
  int resolutionUnit = 2;  // 1 none, 2 inch, 3 centimetre
  bool hasExifIfd = false;
  std::string dateTime;          // IFD0 DateTime
  std::string dateTimeOriginal;  // EXIF DateTimeOriginal
  double fNumber = 0;
  double exposureTime = 0;
};
bool ReadTiffValues(const ByteSource& source, TiffValues& out);

class ImageReader : public ImageSource {
 public:
  ImageParams ReadImage(const std::string& path) const override { return ReadImageFile(path); }
};

}  // namespace tabulon
