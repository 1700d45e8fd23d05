#pragma once
// UiThread over the Qt event loop of the GUI thread.
#include <QObject>
#include <functional>
#include <string>

#include "common/ui_thread.h"

namespace cvu {

class QtUiThread : public UiThread {
 public:
  // reportError shows an error that escapes a posted call (the program goes on).
  explicit QtUiThread(std::function<void(const std::string&)> reportError = {});

  // Queued to the GUI thread; calls posted from one thread run in posting order.
  void post(std::function<void()> fn) override;
  // Blocking queued call from another thread; runs at once on the GUI thread.
  // An exception thrown by fn is carried back to the caller.
  void invoke(std::function<void()> fn) override;
  bool isUiThread() const override;

 private:
  QObject receiver_;  // lives in the GUI thread; queued calls are delivered to it
  std::function<void(const std::string&)> reportError_;
};

}  // namespace cvu
