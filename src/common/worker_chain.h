#pragma once
// A chain of short-lived worker threads of which at most one runs at a time: each
// worker starts its successor as its last act, and the successor first joins it.
// Closing stops new starts and waits for the running worker, so the program never
// ends with a thread that still touches its state.
#include <atomic>
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

  // Starts body on a new thread; false (nothing started) once closing has begun.
  bool start(std::function<void()> body);

  // No worker is running.
  bool idle() const { return running_.load() == 0; }
  bool closing() const;

  // Refuses new starts, then waits for the running worker, calling pump meanwhile so
  // the worker's hand-overs to the UI thread can run.
  void close(const std::function<void()>& pump);

 private:
  mutable std::mutex mutex_;
  std::thread last_;      // the newest worker; it has joined every earlier one
  bool closing_ = false;  // guarded by mutex_
  std::atomic<int> running_{0};
};

}  // namespace cvu
