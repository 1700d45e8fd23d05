#include "app/signal_exit.h"

#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>
#include <QSessionManager>

namespace cvu {
namespace {

sigset_t EndSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : kEndSignals) sigaddset(&set, signal);
  return set;
}

}  // namespace

void HoldEndSignals() {
  const sigset_t set = EndSignalSet();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

SignalExit::SignalExit(std::function<void(int)> onEnd) : onEnd_(std::move(onEnd)) {
  const sigset_t set = EndSignalSet();
  fd_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
  if (fd_ < 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { readSignal(); });
}

SignalExit::~SignalExit() {
  notifier_.reset();
  if (fd_ >= 0) close(fd_);
}

void SignalExit::readSignal() {
  signalfd_siginfo info{};
  while (read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
    if (onEnd_) onEnd_(static_cast<int>(info.ssi_signo));
  }
}

void OnSessionEnd(QGuiApplication& app, const std::function<void()>& onEnd) {
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &app, [onEnd](QSessionManager& manager) {
    manager.setRestartHint(QSessionManager::RestartNever);
    onEnd();
  });
}

}  // namespace cvu
