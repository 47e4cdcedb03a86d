// The tag and frame scan over any bytes.
#include <cstddef>
#include <cstdint>

#include "details/mp3_info.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tabulon::MemorySource source(data, size);
  tabulon::TFileInfo info("fuzz.mp3");
  info.ReadMP3Info(source);
  info.ReadFrameInfo(source);
  return 0;
}
