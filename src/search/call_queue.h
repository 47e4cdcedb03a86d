// Calls handed from a worker thread to the thread that owns the queue: other
// threads post, the owning thread runs what was posted when it pumps.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

namespace tabulon {

class CallDispatcher {
 public:
  virtual ~CallDispatcher() = default;
  // Queues a call to run on the owning thread; safe from any thread.
  virtual void Post(std::function<void()> call) = 0;
  // Runs one pending call on the owning thread; false when none was waiting.
  virtual bool ProcessOne() = 0;
};

// The plain dispatcher: a mutex-guarded queue that the owning thread drains.
class CallQueue : public CallDispatcher {
 public:
  void Post(std::function<void()> call) override;
  bool ProcessOne() override;
  // Runs calls until none is waiting; returns how many ran.
  std::size_t ProcessAll();
  std::size_t PendingCount() const;

 private:
  mutable std::mutex mutex_;
  std::deque<std::function<void()>> calls_;
};

}  // namespace tabulon
