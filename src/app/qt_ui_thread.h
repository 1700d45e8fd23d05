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

  // Queued to the GUI thread; calls posted or invoked from one thread run in that order.
  // They go ahead of the window's own queued work (repaints, batched list updates), so
  // a worker waiting for an answer does not wait for a repaint of the whole window.
  void post(std::function<void()> fn) override;
  // Blocking queued call from another thread; runs at once on the GUI thread.
  // An exception thrown by fn is carried back to the caller.
  void invoke(std::function<void()> fn) override;
  bool isUiThread() const override;

 private:
  // Lives in the GUI thread; runs the calls delivered to it.
  class Receiver : public QObject {
   protected:
    bool event(QEvent* event) override;
  };

  Receiver receiver_;
  std::function<void(const std::string&)> reportError_;
};

}  // namespace cvu
