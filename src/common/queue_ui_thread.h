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
  // How a post reaches the owning thread while it waits in runUntil: at once, or with
  // its next wake-up, at the latest after one look interval (Batched). Batched suits a
  // loop whose posted work only reports, like the command line's log and progress: the
  // posting worker is spared a wake-up of the other thread per call. invoke(), whose
  // caller waits for the answer, and wake() still wake it at once.
  enum class PostWake { AtOnce, Batched };
  static constexpr std::chrono::milliseconds kLookInterval{5};

  // The constructing thread becomes the UI thread.
  explicit QueueUiThread(PostWake wake = PostWake::AtOnce);

  void post(std::function<void()> fn) override;
  void invoke(std::function<void()> fn) override;
  bool isUiThread() const override;
  // Any thread: runUntil looks at its condition now, as something it waits for changed
  // without work being posted.
  void wake();

  // Runs every queued call, including calls queued while draining. Returns how many ran.
  int drain();
  // Drains and waits for more work until done() holds or the time-out passes.
  // Returns done() at the end.
  bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(10));

  // How many times another thread handed work over and waited for it (invoke).
  int blockingHandOvers() const { return blockingHandOvers_.load(); }

 private:
  void enqueue(std::function<void()> fn, bool wakeOwner);

  std::thread::id owner_;
  PostWake postWake_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::function<void()>> queue_;  // guarded by mutex_
  bool woken_ = false;                       // guarded by mutex_
  std::atomic<int> blockingHandOvers_{0};
};

}  // namespace cvu
