// corvane-service --port N --data DIR [--version V] [--max-file-size SIZE]: the local photo-hosting service.
#include <cctype>
#include <csignal>
#include <cstdint>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "common/long_options.h"
#include "common/text.h"
#include "service/bind_failure.h"
#include "service/photo_service.h"

namespace {

constexpr const char* kAddress = "127.0.0.1";

struct Arguments {
  int port = CVU_SERVICE_DEFAULT_PORT;
  std::string data;
  std::string version = cvu::VersionText;
  std::uint64_t maxFileSize = cvu::service::kDefaultMaxFileSize;
};

int ParsePort(const std::string& text) {
  long long port = -1;
  try {
    port = cvu::TextToInt(text);
  } catch (const cvu::ConvertError&) {
  }
  if (port < 0 || port > 65535) throw cvu::UsageError("--port: '" + text + "' is no port (0..65535)");
  return static_cast<int>(port);
}

// A size in bytes, or with the suffix K, M or G (binary units): "64M".
std::uint64_t ParseSize(const std::string& text) {
  std::size_t digits = 0;
  while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) ++digits;
  const std::string suffix = text.substr(digits);
  const int shift = suffix.empty() ? 0 : suffix == "K" ? 10 : suffix == "M" ? 20 : suffix == "G" ? 30 : -1;
  const std::uint64_t size = digits == 0 || digits > 12 || shift < 0 ? 0 : std::stoull(text.substr(0, digits)) << shift;
  if (size == 0) throw cvu::UsageError("--max-file-size: '" + text + "' is no size");
  return size;
}

Arguments Parse(const std::vector<std::string>& argv) {
  Arguments a;
  cvu::ParseLongOptions(argv,
                        {
                            {"port", true, [&a](const std::string& v) { a.port = ParsePort(v); }},
                            {"data", true, [&a](const std::string& v) { a.data = v; }},
                            {"version", true, [&a](const std::string& v) { a.version = v; }},
                            {"max-file-size", true, [&a](const std::string& v) { a.maxFileSize = ParseSize(v); }},
                        },
                        [](const std::string& arg) { throw cvu::UsageError("unexpected argument '" + arg + "'"); });
  if (a.data.empty()) throw cvu::UsageError("--data is missing");
  return a;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  try {
    args = Parse(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const cvu::UsageError& e) {
    std::cerr << "corvane-service: " << e.what() << "\n"
              << "usage: corvane-service --port N --data DIR [--version V] [--max-file-size SIZE]\n"
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
  const int port = service.bind(args.port, kAddress);
  if (port < 0) {
    const std::string why = cvu::service::BindFailure(kAddress, args.port);
    std::cerr << "corvane-service: cannot listen on " << kAddress << ":" << args.port << ": "
              << (why.empty() ? "the port was taken meanwhile" : why) << "\n";
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
