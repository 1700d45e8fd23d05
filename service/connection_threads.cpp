#include "service/connection_threads.h"

namespace cvu::service {

ConnectionThreads::ConnectionThreads(std::size_t maxThreads) : maxThreads_(maxThreads) {}

ConnectionThreads::~ConnectionThreads() { shutdown(); }

void ConnectionThreads::enqueue(std::function<void()> fn) {
  std::unique_lock lock(mutex_);
  if (stopping_) {
    lock.unlock();
    fn();  // the connection is served and closed rather than dropped with its socket open
    return;
  }
  jobs_.push_back(std::move(fn));
  if (jobs_.size() > idle_ && threads_.size() < maxThreads_) threads_.emplace_back([this] { work(); });
  ready_.notify_one();
}

void ConnectionThreads::shutdown() {
  std::vector<std::thread> threads;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    threads.swap(threads_);
  }
  ready_.notify_all();
  for (auto& t : threads) t.join();
}

void ConnectionThreads::work() {
  for (;;) {
    std::function<void()> job;
    {
      std::unique_lock lock(mutex_);
      ++idle_;
      ready_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      --idle_;
      if (jobs_.empty()) return;  // stopping, and nothing is left to serve
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    job();
  }
}

}  // namespace cvu::service
