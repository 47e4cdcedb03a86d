#include "search/call_queue.h"

#include <utility>

namespace tabulon {

void CallQueue::Post(std::function<void()> call) {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.push_back(std::move(call));
}

bool CallQueue::ProcessOne() {
  std::function<void()> call;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (calls_.empty()) return false;
    call = std::move(calls_.front());
    calls_.pop_front();
  }
  // Run outside the lock: the call may post again.
  if (call) call();
  return true;
}

std::size_t CallQueue::ProcessAll() {
  std::size_t count = 0;
  while (ProcessOne()) ++count;
  return count;
}

std::size_t CallQueue::PendingCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_.size();
}

}  // namespace tabulon
