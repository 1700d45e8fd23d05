#include "app/qt_ui_thread.h"

#include <QThread>
#include <exception>
#include <stdexcept>

namespace cvu {

QtUiThread::QtUiThread(std::function<void(const std::string&)> reportError) : reportError_(std::move(reportError)) {}

void QtUiThread::post(std::function<void()> fn) {
  QMetaObject::invokeMethod(
      &receiver_,
      [this, fn = std::move(fn)] {
        try {
          fn();
        } catch (const std::exception& e) {
          if (reportError_) reportError_(e.what());
        }
      },
      Qt::QueuedConnection);
}

void QtUiThread::invoke(std::function<void()> fn) {
  if (isUiThread()) {
    fn();
    return;
  }
  std::exception_ptr failure;
  QMetaObject::invokeMethod(
      &receiver_,
      [&] {
        try {
          fn();
        } catch (...) {
          failure = std::current_exception();
        }
      },
      Qt::BlockingQueuedConnection);
  if (failure) std::rethrow_exception(failure);
}

bool QtUiThread::isUiThread() const { return QThread::currentThread() == receiver_.thread(); }

}  // namespace cvu
