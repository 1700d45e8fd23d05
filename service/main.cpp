// corvane-service --port N --data DIR [--version V] [--max-file-size SIZE]: the local photo-hosting service.
#include <cctype>
#include <csignal>
#include <cstdint>
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
  std::uint64_t maxFileSize = cvu::service::kDefaultMaxFileSize;
};

// A size in bytes, or with the suffix K, M or G (binary units): "64M". False when it is none.
bool ParseSize(const std::string& text, std::uint64_t& size) {
  std::size_t digits = 0;
  while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) ++digits;
  const std::string suffix = text.substr(digits);
  const int shift = suffix.empty() ? 0 : suffix == "K" ? 10 : suffix == "M" ? 20 : suffix == "G" ? 30 : -1;
  if (digits == 0 || digits > 12 || shift < 0) return false;
  size = std::stoull(text.substr(0, digits)) << shift;
  return size > 0;
}

bool Parse(int argc, char** argv, Arguments& args) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i], value = argv[i + 1];
    if (name == "--port") {
      args.port = std::atoi(value.c_str());
    } else if (name == "--data") {
      args.data = value;
    } else if (name == "--version") {
      args.version = value;
    } else if (name == "--max-file-size") {
      if (!ParseSize(value, args.maxFileSize)) return false;
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
    std::cerr << "usage: corvane-service --port N --data DIR [--version V] [--max-file-size SIZE]\n"
                 "  port 0: any free port; SIZE: bytes, or with K, M or G (default 2G)\n";
    return 2;
  }
  // SIGINT and SIGTERM end the service cleanly; they are taken by a waiting thread.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  cvu::service::PhotoService service({args.data, args.version, args.maxFileSize});
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
