#pragma once
// A stop request for work in flight, e.g. HTTP requests when the program closes during
// an upload. abort() may be called from any thread; every waiter that registered a
// wake-up is woken at once, and work started later sees the stop at once.
#include <atomic>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

namespace cvu {

class AbortSignal {
 public:
  void abort();
  bool aborted() const { return aborted_.load(); }

  // A waiting request registers how to wake it, under a key of its own (its handle),
  // and removes it with the same key when it stops waiting.
  void attach(const void* waiter, std::function<void()> wake);
  void detach(const void* waiter);

 private:
  std::atomic<bool> aborted_{false};
  std::mutex mutex_;
  std::vector<std::pair<const void*, std::function<void()>>> waiters_;  // guarded by mutex_
};

}  // namespace cvu
