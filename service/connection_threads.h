#pragma once
// The server's task queue: every open connection gets a thread of its own, so a client that
// trickles its request (or idles) holds only its own thread and new clients are answered at
// once. A thread is made when all existing ones are busy, up to a limit; beyond it connections
// wait for a free thread. Threads that become free wait for later connections.
#include <httplib.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace cvu::service {

class ConnectionThreads : public httplib::TaskQueue {
 public:
  explicit ConnectionThreads(std::size_t maxThreads);
  ~ConnectionThreads() override;
  ConnectionThreads(const ConnectionThreads&) = delete;
  ConnectionThreads& operator=(const ConnectionThreads&) = delete;

  void enqueue(std::function<void()> fn) override;
  // Runs the connections still waiting, then joins every thread.
  void shutdown() override;

 private:
  void work();

  const std::size_t maxThreads_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> jobs_;  // guarded by mutex_, like the three below
  std::vector<std::thread> threads_;
  std::size_t idle_ = 0;
  bool stopping_ = false;
};

}  // namespace cvu::service
