#pragma once
// A clean end on request from outside: SIGTERM, SIGINT and SIGHUP, and the end of
// the desktop session, take the path of closing the main window, so the settings row
// is written and the database closed.
#include <QGuiApplication>
#include <QSocketNotifier>
#include <csignal>
#include <functional>
#include <memory>

namespace cvu {

// The signals that end the program.
inline constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Holds the end signals back in the calling thread and every thread it starts later,
// so they wait for SignalExit. Call first thing in main(), before any thread exists.
void HoldEndSignals();

// Reads the held-back end signals on the event loop (a signal file descriptor) and
// runs onEnd for each.
class SignalExit {
 public:
  explicit SignalExit(std::function<void(int signal)> onEnd);
  ~SignalExit();
  SignalExit(const SignalExit&) = delete;
  SignalExit& operator=(const SignalExit&) = delete;

  bool active() const { return fd_ >= 0; }

 private:
  void readSignal();

  std::function<void(int)> onEnd_;
  int fd_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
};

// The session manager's request to save before the session ends runs onEnd.
void OnSessionEnd(QGuiApplication& app, const std::function<void()>& onEnd);

}  // namespace cvu
