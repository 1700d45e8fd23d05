#include "support/test_server.h"

#include <strings.h>
#include <algorithm>
#include <chrono>
#include <stdexcept>

namespace cvu::test {
namespace {

RecordedRequest Record(const httplib::Request& req) {
  RecordedRequest r;
  r.method = req.method;
  r.target = req.target;
  r.requestLine = req.method + " " + req.target + " " + req.version;
  for (const auto& [name, value] : req.headers) {
    // The server adds these itself; they were not on the wire.
    if (name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" || name == "LOCAL_PORT") continue;
    r.headers.emplace_back(name, value);
  }
  return r;
}

void ReadContent(RecordedRequest& r, const httplib::Request& req, const httplib::ContentReader& reader) {
  if (req.is_multipart_form_data()) {
    reader(
        [&](const httplib::MultipartFormData& part) {
          r.parts.push_back({part.name, part.filename, part.content_type, {}});
          return true;
        },
        [&](const char* data, std::size_t size) {
          r.parts.back().content.append(data, size);
          return true;
        });
  } else {
    reader([&](const char* data, std::size_t size) {
      r.body.append(data, size);
      return true;
    });
  }
}

}  // namespace

std::string RecordedRequest::header(const std::string& name) const {
  for (const auto& [n, v] : headers) {
    if (strcasecmp(n.c_str(), name.c_str()) == 0) return v;
  }
  return {};
}

std::size_t RecordedRequest::headerCount(const std::string& name) const {
  return static_cast<std::size_t>(std::count_if(
      headers.begin(), headers.end(), [&](const auto& h) { return strcasecmp(h.first.c_str(), name.c_str()) == 0; }));
}

TestServer::TestServer() = default;

TestServer::~TestServer() {
  server_.stop();
  if (thread_.joinable()) thread_.join();
}

void TestServer::get(const std::string& pattern, Handler handler) {
  server_.Get(pattern, [this, handler](const httplib::Request& req, httplib::Response& res) {
    const RecordedRequest r = Record(req);
    record(r);
    handler(r, res);
  });
}

void TestServer::post(const std::string& pattern, Handler handler) {
  server_.Post(pattern, [this, handler](const httplib::Request& req, httplib::Response& res,
                                        const httplib::ContentReader& reader) {
    RecordedRequest r = Record(req);
    ReadContent(r, req, reader);
    record(r);
    handler(r, res);
  });
}

void TestServer::start() {
  port_ = server_.bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("test server could not bind a port");
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  // Serving starts on the new thread; wait for it (a few milliseconds at most).
  for (int i = 0; i < 2000 && !server_.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void TestServer::record(const RecordedRequest& request) {
  std::lock_guard lock(mutex_);
  requests_.push_back(request);
}

std::vector<RecordedRequest> TestServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

RecordedRequest TestServer::last() const {
  std::lock_guard lock(mutex_);
  if (requests_.empty()) throw std::runtime_error("the test server received no request");
  return requests_.back();
}

RawListener::RawListener(std::string answer) { listener_.serve({{std::move(answer), true}}); }

std::string RawListener::received() {
  const auto requests = listener_.waitFor(1, std::chrono::seconds(10));
  return requests.empty() ? std::string() : requests.front().bytes;
}

}  // namespace cvu::test
