#pragma once
// A loopback HTTP sink for upload benchmarks: reads each request's body and throws it
// away, then answers "302 Found" with a Location, so the server costs next to nothing
// and the client is what is measured. Serves on a thread of its own.
#include <httplib.h>

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

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
};

}  // namespace cvu::bench
