// A time zone with one fixed offset from UTC, settable, and a mode in which
// every conversion fails.
#pragma once

#include <cstdint>

#include "platform/file_time.h"

namespace tabulon::testing {

class FakeTimeZone : public TimeZone {
 public:
  explicit FakeTimeZone(std::int64_t offsetSeconds = 0) : offsetSeconds_(offsetSeconds) {}

  // Local time = UTC + offset (east of Greenwich positive).
  void SetOffsetSeconds(std::int64_t offsetSeconds) { offsetSeconds_ = offsetSeconds; }
  std::int64_t OffsetSeconds() const { return offsetSeconds_; }
  void SetFailing(bool failing) { failing_ = failing; }

  bool UtcToLocal(FileTime utc, FileTime& local) const override {
    return Shift(utc, offsetSeconds_, local);
  }
  bool LocalToUtc(FileTime local, FileTime& utc) const override {
    return Shift(local, -offsetSeconds_, utc);
  }

 private:
  bool Shift(FileTime in, std::int64_t seconds, FileTime& out) const {
    if (failing_) return false;
    const std::int64_t ticks = seconds * kFileTimeTicksPerSecond;
    if (ticks < 0 && in < static_cast<FileTime>(-ticks)) return false;
    out = in + static_cast<FileTime>(ticks);  // wraps back for negative ticks
    return true;
  }

  std::int64_t offsetSeconds_;
  bool failing_ = false;
};

}  // namespace tabulon::testing
