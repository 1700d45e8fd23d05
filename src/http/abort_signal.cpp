#include "http/abort_signal.h"

#include <algorithm>

namespace cvu {

void AbortSignal::abort() {
  aborted_.store(true);
  std::lock_guard lock(mutex_);
  for (CURLM* waiter : waiters_) curl_multi_wakeup(waiter);
}

void AbortSignal::attach(CURLM* waiter) {
  std::lock_guard lock(mutex_);
  waiters_.push_back(waiter);
}

void AbortSignal::detach(CURLM* waiter) {
  std::lock_guard lock(mutex_);
  waiters_.erase(std::remove(waiters_.begin(), waiters_.end(), waiter), waiters_.end());
}

}  // namespace cvu
