// The image header and EXIF reader over any bytes, TGA included.
#include <cstddef>
#include <cstdint>

#include "details/image_info.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tabulon::MemorySource source(data, size);
  tabulon::ReadImageParams(source, true);
  tabulon::TiffValues values;
  tabulon::ReadTiffValues(source, values);
  return 0;
}
