#include "common/abort_signal.h"

#include <algorithm>

namespace cvu {

void AbortSignal::abort() {
  aborted_.store(true);
  std::lock_guard lock(mutex_);
  for (const auto& waiter : waiters_) waiter.second();
}

void AbortSignal::attach(const void* waiter, std::function<void()> wake) {
  std::lock_guard lock(mutex_);
  waiters_.emplace_back(waiter, std::move(wake));
}

void AbortSignal::detach(const void* waiter) {
  std::lock_guard lock(mutex_);
  std::erase_if(waiters_, [waiter](const auto& w) { return w.first == waiter; });
}

}  // namespace cvu
