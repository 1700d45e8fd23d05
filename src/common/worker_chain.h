#pragma once
// A chain of workers of which at most one runs at a time: each worker starts its
// successor as its last act, and the successor runs once it has ended. The workers
// run one after another on one thread, started with the first worker and kept until
// the chain closes, so a long run costs no thread per worker. Closing stops new
// starts and waits for the started workers, so the program never ends with a thread
// that still touches its state.
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace cvu {

class WorkerChain {
 public:
  WorkerChain() = default;
  WorkerChain(const WorkerChain&) = delete;
  WorkerChain& operator=(const WorkerChain&) = delete;
  ~WorkerChain() { close({}); }

  // Queues body to run after the workers started before it; false (nothing started)
  // once closing has begun.
  bool start(std::function<void()> body);

  // No worker is running or waiting to run.
  bool idle() const { return unfinished_.load() == 0; }
  bool closing() const;

  // Refuses new starts, then waits for the started workers, calling pump meanwhile so
  // their hand-overs to the UI thread can run.
  void close(const std::function<void()>& pump);

 private:
  void runWorkers();  // the chain's thread
  std::thread takeThread();

  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::function<void()>> waiting_;  // guarded by mutex_
  bool closing_ = false;                       // guarded by mutex_
  std::thread thread_;                         // guarded by mutex_
  std::atomic<int> unfinished_{0};             // started and not yet ended
};

}  // namespace cvu
