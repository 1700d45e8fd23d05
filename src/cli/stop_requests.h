#pragma once
// Requests to stop a run from outside it (Ctrl+C, a termination signal): counted, and
// told to whoever listens, on the requesting thread.
#include <functional>
#include <mutex>

namespace cvu::cli {

class StopRequests {
 public:
  // Any thread.
  void request() {
    std::lock_guard lock(mutex_);
    ++count_;
    if (listener_) listener_(count_);
  }
  // The listener hears each request with how many there were so far (requests made
  // before it listened are told at once); it is called under a lock, so once
  // stopListening() returns it is never called again.
  void listen(std::function<void(int count)> listener) {
    std::lock_guard lock(mutex_);
    listener_ = std::move(listener);
    for (int i = 1; i <= count_; ++i) listener_(i);
  }
  void stopListening() {
    std::lock_guard lock(mutex_);
    listener_ = nullptr;
  }

 private:
  std::mutex mutex_;
  int count_ = 0;
  std::function<void(int)> listener_;
};

}  // namespace cvu::cli
