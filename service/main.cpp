// corvane-service --port N --data DIR [--version V]: the local photo-hosting service.
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>

#include "service/photo_service.h"

namespace {

struct Arguments {
  int port = CVU_SERVICE_DEFAULT_PORT;
  std::string data;
  std::string version = cvu::VersionText;
};

bool Parse(int argc, char** argv, Arguments& args) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i], value = argv[i + 1];
    if (name == "--port") {
      args.port = std::atoi(value.c_str());
    } else if (name == "--data") {
      args.data = value;
    } else if (name == "--version") {
      args.version = value;
    } else {
      return false;
    }
  }
  return argc % 2 == 1 && !args.data.empty() && args.port >= 0;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  if (!Parse(argc, argv, args)) {
    std::cerr << "usage: corvane-service --port N --data DIR [--version V]   (port 0: any free port)\n";
    return 2;
  }
  // SIGINT and SIGTERM end the service cleanly; they are taken by a waiting thread.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  cvu::service::PhotoService service({args.data, args.version});
  const int port = service.bind(args.port);
  if (port < 0) {
    std::cerr << "corvane-service: cannot listen on port " << args.port << "\n";
    return 1;
  }
  std::cout << "port " << port << std::endl;
  std::thread stopper([&] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    service.stop();
  });
  stopper.detach();
  service.serve();
  return 0;
}
