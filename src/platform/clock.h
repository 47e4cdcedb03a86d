// The current date and time.
#pragma once

#include <memory>

#include "platform/file_time.h"

namespace tabulon {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual FileTime NowUtc() const = 0;
};

// The system clock, or SOURCE_DATE_EPOCH (seconds since 1970, UTC) when set.
std::unique_ptr<Clock> MakeSystemClock();

}  // namespace tabulon
