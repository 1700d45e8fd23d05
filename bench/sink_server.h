#pragma once
// A loopback HTTP sink for upload benchmarks: reads each request's body and throws it
// away, then answers "302 Found" with a Location, so the server costs next to nothing
// and the client is what is measured. One connection at a time, on a thread of its own.
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace cvu::bench {

class SinkServer {
 public:
  // Listens on 127.0.0.1, on a free port.
  SinkServer();
  ~SinkServer();
  SinkServer(const SinkServer&) = delete;
  SinkServer& operator=(const SinkServer&) = delete;

  int port() const { return port_; }
  // Body bytes of the last request served completely.
  std::uint64_t lastBodyBytes() const { return lastBody_.load(); }

 private:
  void acceptLoop();
  void serve(int fd);

  int listenFd_ = -1;
  int port_ = 0;
  std::atomic<std::uint64_t> lastBody_{0};
  std::thread thread_;
};

}  // namespace cvu::bench
