// corvane-upload: the command-line uploader on the program's core.
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <exception>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "cli/upload_command.h"

namespace {

// Ctrl+C, a hang-up and a termination request are taken by a thread of their own and
// become stop requests, so the run records what was uploaded before it ends. They are
// held back before any other thread starts, so every thread inherits that.
class StopSignals {
 public:
  explicit StopSignals(cvu::cli::StopRequests& stops) {
    sigemptyset(&set_);
    for (const int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&set_, s);
    pthread_sigmask(SIG_BLOCK, &set_, nullptr);
    thread_ = std::thread([this, &stops] {
      const timespec look{0, 100'000'000};
      while (!ending_) {
        if (sigtimedwait(&set_, nullptr, &look) > 0) stops.request();
      }
    });
  }
  ~StopSignals() {
    ending_ = true;
    thread_.join();
  }
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

 private:
  sigset_t set_{};
  std::atomic<bool> ending_{false};
  std::thread thread_;
};

int TerminalColumns() {
  winsize size{};
  return ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    cvu::cli::StopRequests stops;
    const StopSignals signals(stops);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const bool terminal = isatty(STDERR_FILENO) == 1;
    return cvu::cli::CorvaneUploadMain(args, {std::cin, std::cout, std::cerr, terminal, &TerminalColumns}, stops);
  } catch (const std::exception& e) {
    std::cerr << "corvane-upload: " << e.what() << '\n';
    return 1;
  }
}
