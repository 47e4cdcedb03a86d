// A clock that reads whatever the test set.
#pragma once

#include "platform/clock.h"

namespace tabulon::testing {

class FakeClock : public Clock {
 public:
  explicit FakeClock(FileTime nowUtc = 0) : now_(nowUtc) {}
  void Set(FileTime nowUtc) { now_ = nowUtc; }
  // Sets the time from calendar fields in UTC; false when they are invalid.
  bool SetUtc(const CalendarTime& utc) { return CalendarToFileTime(utc, now_); }
  FileTime NowUtc() const override { return now_; }

 private:
  FileTime now_;
};

}  // namespace tabulon::testing
