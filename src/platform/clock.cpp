#include "platform/clock.h"

#include <cstdlib>
#include <ctime>
#include <limits>

namespace tabulon {
namespace {

// SOURCE_DATE_EPOCH holds whole seconds since 1970 in decimal digits; any
// other text is ignored, as the reproducible-builds convention asks.
bool ReadSourceDateEpoch(std::int64_t& seconds) {
  const char* text = std::getenv("SOURCE_DATE_EPOCH");
  if (!text || !*text) return false;
  std::int64_t value = 0;
  for (const char* p = text; *p; ++p) {
    if (*p < '0' || *p > '9') return false;
    const int digit = *p - '0';
    if (value > (std::numeric_limits<std::int64_t>::max() - digit) / 10) return false;
    value = value * 10 + digit;
  }
  // Beyond the year 30827 no file time holds it.
  if (value > 910'692'730'085LL) return false;
  seconds = value;
  return true;
}

class SystemClock : public Clock {
 public:
  FileTime NowUtc() const override {
    std::int64_t seconds = 0;
    if (ReadSourceDateEpoch(seconds)) return FileTimeFromUnix(seconds);
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return FileTimeFromUnix(now.tv_sec, now.tv_nsec);
  }
};

}  // namespace

std::unique_ptr<Clock> MakeSystemClock() {
  return std::make_unique<SystemClock>();
}

}  // namespace tabulon
