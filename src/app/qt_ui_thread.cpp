#include "app/qt_ui_thread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <exception>
#include <future>
#include <memory>
#include <stdexcept>
#include <utility>

namespace cvu {
namespace {

const QEvent::Type kCallEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// One handed-over call. An event that is dropped undelivered (the program ends) still
// releases a caller that waits for it.
class CallEvent : public QEvent {
 public:
  explicit CallEvent(std::function<void()> fn, std::promise<void>* done = nullptr)
      : QEvent(kCallEvent), fn_(std::move(fn)), done_(done) {}
  CallEvent(const CallEvent&) = delete;
  CallEvent& operator=(const CallEvent&) = delete;
  ~CallEvent() override {
    if (done_) done_->set_value();
  }
  void run() { std::exchange(fn_, {})(); }

 private:
  std::function<void()> fn_;
  std::promise<void>* done_;
};

// Above the normal priority of repaints and queued slots; equal among the calls, which
// Qt keeps in posting order.
constexpr int kCallPriority = Qt::HighEventPriority;

}  // namespace

bool QtUiThread::Receiver::event(QEvent* event) {
  if (event->type() != kCallEvent) return QObject::event(event);
  static_cast<CallEvent*>(event)->run();
  return true;
}

QtUiThread::QtUiThread(std::function<void(const std::string&)> reportError) : reportError_(std::move(reportError)) {}

void QtUiThread::post(std::function<void()> fn) {
  auto call = std::make_unique<CallEvent>([this, fn = std::move(fn)] {
    try {
      fn();
    } catch (const std::exception& e) {
      if (reportError_) reportError_(e.what());
    }
  });
  QCoreApplication::postEvent(&receiver_, call.release(), kCallPriority);  // Qt owns the event
}

void QtUiThread::invoke(std::function<void()> fn) {
  if (isUiThread()) {
    fn();
    return;
  }
  std::exception_ptr failure;
  std::promise<void> done;
  std::future<void> finished = done.get_future();
  auto call = std::make_unique<CallEvent>(
      [&] {
        try {
          fn();
        } catch (...) {
          failure = std::current_exception();
        }
      },
      &done);
  QCoreApplication::postEvent(&receiver_, call.release(), kCallPriority);  // Qt owns the event
  finished.wait();
  if (failure) std::rethrow_exception(failure);
}

bool QtUiThread::isUiThread() const { return QThread::currentThread() == receiver_.thread(); }

}  // namespace cvu
