// The compound file reader and the summary property set over any bytes; the
// first byte picks whether the input is a whole file or a summary stream.
#include <cstddef>
#include <cstdint>
#include <string>

#include "details/compound_file.h"
#include "details/doc_info.h"

namespace {

class OffsetZone : public tabulon::TimeZone {
 public:
  bool UtcToLocal(tabulon::FileTime utc, tabulon::FileTime& local) const override {
    local = utc + 36'000'000'000ull;
    return local >= utc;
  }
  bool LocalToUtc(tabulon::FileTime local, tabulon::FileTime& utc) const override {
    utc = local;
    return true;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const OffsetZone zone;
  tabulon::MemorySource source(data + 1, size - 1);
  tabulon::TDocInfo info;
  if (data[0] & 1) {
    tabulon::ReadSummaryProperties(source, &zone, info);
  } else {
    tabulon::ReadDocInfoFrom(source, &zone, info);
    tabulon::CompoundFile storage;
    std::string stream;
    if (storage.Open(source)) storage.ReadRootStream("WordDocument", stream, 1 << 20);
  }
  return 0;
}
