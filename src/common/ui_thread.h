#pragma once
// Hands work to the thread that owns the windows, the database and the history.
#include <functional>

namespace cvu {

class UiThread {
 public:
  virtual ~UiThread() = default;
  // Queues fn to run on the UI thread; calls run in the order they were posted.
  virtual void post(std::function<void()> fn) = 0;
  // Runs fn on the UI thread and waits for it; on the UI thread itself fn runs at once.
  // An exception thrown by fn reaches the caller.
  virtual void invoke(std::function<void()> fn) = 0;
  virtual bool isUiThread() const = 0;
};

}  // namespace cvu
