// The link emulator on its own, for trying a client by hand over an emulated internet link,
// e.g. the window against the local service on another port:
//
//   corvane-service --port 8471 --data /tmp/photos &
//   bench_link_emulator --port 8470 --target 8471 [--delay-ms 25] [--up-mbit 20] [--down-mbit 100]
//                       [--seconds 600]
//
// It ends after --seconds, or at SIGINT or SIGTERM.
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>

#include "bench_support.h"
#include "link_emulator.h"

int main(int argc, char** argv) {
  using namespace cvu::bench;
  int port = 0, target = 0, delayMs = 25, upMbit = 20, downMbit = 100, seconds = 600;
  ParseIntOptions(argc, argv,
                  {{"--port", &port},
                   {"--target", &target},
                   {"--delay-ms", &delayMs},
                   {"--up-mbit", &upMbit},
                   {"--down-mbit", &downMbit},
                   {"--seconds", &seconds}});
  if (target <= 0 || delayMs < 0 || upMbit <= 0 || downMbit <= 0) {
    std::fprintf(stderr, "usage: bench_link_emulator --target PORT [--port PORT] [--delay-ms 25] ...\n");
    return 2;
  }
  // The signals are taken by sigtimedwait below, not by handlers.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  try {
    const LinkSettings settings{std::chrono::milliseconds(delayMs), double(upMbit), double(downMbit)};
    const LinkEmulator link(target, settings, port);
    std::printf("127.0.0.1:%d -> 127.0.0.1:%d, %d ms each way, %d Mbit/s up, %d Mbit/s down, for %d s\n", link.port(),
                target, delayMs, upMbit, downMbit, seconds);
    std::fflush(stdout);
    const timespec limit{seconds, 0};
    sigtimedwait(&signals, nullptr, &limit);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
