#include "common/worker_chain.h"

#include <chrono>

namespace cvu {

bool WorkerChain::start(std::function<void()> body) {
  std::lock_guard lock(mutex_);
  if (closing_) return false;
  ++running_;
  std::thread previous = std::move(last_);
  last_ = std::thread([this, previous = std::move(previous), body = std::move(body)]() mutable {
    if (previous.joinable()) previous.join();
    body();
    --running_;
  });
  return true;
}

bool WorkerChain::closing() const {
  std::lock_guard lock(mutex_);
  return closing_;
}

void WorkerChain::close(const std::function<void()>& pump) {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
  }
  while (running_.load() > 0) {
    if (pump) pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  std::thread last;
  {
    std::lock_guard lock(mutex_);
    last = std::move(last_);
  }
  if (last.joinable()) last.join();
}

}  // namespace cvu
