// The PE version resource reader over any bytes.
#include <cstddef>
#include <cstdint>

#include "details/version_info.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tabulon::MemorySource source(data, size);
  tabulon::ReadVersionInfo(source, 0x0407);
  tabulon::ReadVersionInfo(source, 0);
  return 0;
}
