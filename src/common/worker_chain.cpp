#include "common/worker_chain.h"

#include <chrono>
#include <utility>

namespace cvu {

bool WorkerChain::start(std::function<void()> body) {
  {
    std::lock_guard lock(mutex_);
    if (closing_) return false;
    ++unfinished_;
    waiting_.push_back(std::move(body));
    if (!thread_.joinable()) thread_ = std::thread([this] { runWorkers(); });
  }
  arrived_.notify_one();
  return true;
}

bool WorkerChain::closing() const {
  std::lock_guard lock(mutex_);
  return closing_;
}

// Runs the workers in the order they were started; ends once the chain is closing
// and no worker waits.
void WorkerChain::runWorkers() {
  for (;;) {
    std::function<void()> body;
    {
      std::unique_lock lock(mutex_);
      arrived_.wait(lock, [this] { return !waiting_.empty() || closing_; });
      if (waiting_.empty()) return;
      body = std::move(waiting_.front());
      waiting_.pop_front();
    }
    body();
    body = nullptr;  // what the worker holds goes before it counts as ended
    --unfinished_;
  }
}

std::thread WorkerChain::takeThread() {
  std::lock_guard lock(mutex_);
  return std::move(thread_);
}

void WorkerChain::close(const std::function<void()>& pump) {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
  }
  arrived_.notify_one();
  while (unfinished_.load() > 0) {
    if (pump) pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  std::thread thread = takeThread();
  if (thread.joinable()) thread.join();
}

}  // namespace cvu
