#include "sink_server.h"

#include <chrono>
#include <stdexcept>

namespace cvu::bench {
namespace {

// Takes the body as it comes; a form's parts are read through but not kept.
bool Discard(const httplib::Request& req, const httplib::ContentReader& reader) {
  const auto drop = [](const char*, std::size_t) { return true; };
  if (!req.is_multipart_form_data()) return reader(drop);
  return reader([](const httplib::MultipartFormData&) { return true; }, drop);
}

}  // namespace

SinkServer::SinkServer() {
  server_.Post(".*", [](const httplib::Request& req, httplib::Response& res, const httplib::ContentReader& reader) {
    if (!Discard(req, reader)) {
      res.status = 400;
      return;
    }
    res.status = 302;
    res.set_header("Location", "i-0123456789ab");
  });
  port_ = server_.bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("sink server: cannot listen");
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  // Serving starts on the new thread; wait for it (a few milliseconds at most).
  for (int i = 0; i < 2000 && !server_.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

SinkServer::~SinkServer() {
  server_.stop();
  thread_.join();
}

}  // namespace cvu::bench
