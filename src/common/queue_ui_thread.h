#pragma once
// A UI thread without windows: work handed over waits in a queue until the owning
// thread drains it. Used by tests, benchmarks and headless runs.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "common/ui_thread.h"

namespace cvu {

class QueueUiThread : public UiThread {
 public:
  // The constructing thread becomes the UI thread.
  QueueUiThread();

  void post(std::function<void()> fn) override;
  void invoke(std::function<void()> fn) override;
  bool isUiThread() const override;

  // Runs every queued call, including calls queued while draining. Returns how many ran.
  int drain();
  // Drains and waits for more work until done() holds or the time-out passes.
  // Returns done() at the end.
  bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(10));

  // How many times another thread handed work over and waited for it (invoke).
  int blockingHandOvers() const { return blockingHandOvers_.load(); }

 private:
  std::thread::id owner_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::function<void()>> queue_;
  std::atomic<int> blockingHandOvers_{0};
};

}  // namespace cvu
