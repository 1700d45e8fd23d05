#include "common/queue_ui_thread.h"

#include <exception>
#include <future>

namespace cvu {

QueueUiThread::QueueUiThread(PostWake wake) : owner_(std::this_thread::get_id()), postWake_(wake) {}

bool QueueUiThread::isUiThread() const { return std::this_thread::get_id() == owner_; }

void QueueUiThread::enqueue(std::function<void()> fn, bool wakeOwner) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(fn));
  }
  if (wakeOwner) arrived_.notify_all();
}

void QueueUiThread::post(std::function<void()> fn) { enqueue(std::move(fn), postWake_ == PostWake::AtOnce); }

void QueueUiThread::wake() {
  {
    std::lock_guard lock(mutex_);
    woken_ = true;
  }
  arrived_.notify_all();
}

void QueueUiThread::invoke(std::function<void()> fn) {
  if (isUiThread()) {
    fn();
    return;
  }
  ++blockingHandOvers_;
  std::promise<void> finished;
  auto result = finished.get_future();
  enqueue(
      [&fn, &finished] {
        try {
          fn();
          finished.set_value();
        } catch (...) {
          finished.set_exception(std::current_exception());
        }
      },
      true);
  result.get();
}

int QueueUiThread::drain() {
  int ran = 0;
  for (;;) {
    std::function<void()> next;
    {
      std::lock_guard lock(mutex_);
      if (queue_.empty()) return ran;
      next = std::move(queue_.front());
      queue_.pop_front();
    }
    next();
    ++ran;
  }
}

bool QueueUiThread::runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    drain();
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    // Wakes on new work, when told to look, and now and then for conditions that change
    // without either.
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, kLookInterval, [this] { return !queue_.empty() || woken_; });
    woken_ = false;
  }
}

}  // namespace cvu
