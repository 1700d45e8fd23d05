#include "support/test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <strings.h>

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
  return static_cast<std::size_t>(std::count_if(headers.begin(), headers.end(), [&](const auto& h) {
    return strcasecmp(h.first.c_str(), name.c_str()) == 0;
  }));
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

RawListener::RawListener(std::string answer) : answer_(std::move(answer)) {
  listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), len) != 0 ||
      ::listen(listenFd_, 4) != 0 || ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    throw std::runtime_error("raw listener could not bind a port");
  }
  port_ = ntohs(addr.sin_port);
  thread_ = std::thread([this] { serve(); });
}

RawListener::~RawListener() {
  ::shutdown(listenFd_, SHUT_RDWR);
  ::close(listenFd_);
  if (thread_.joinable()) thread_.join();
}

std::string RawListener::url(const std::string& target) const {
  return "http://127.0.0.1:" + std::to_string(port_) + target;
}

// The bytes read so far hold a whole request: the header block and its announced body.
static bool Complete(const std::string& bytes) {
  const auto end = bytes.find("\r\n\r\n");
  if (end == std::string::npos) return false;
  const std::string head = bytes.substr(0, end);
  std::size_t length = 0;
  const auto at = head.find("Content-Length: ");
  if (at != std::string::npos) length = std::stoul(head.substr(at + 16));
  return bytes.size() >= end + 4 + length;
}

void RawListener::serve() {
  const int fd = ::accept(listenFd_, nullptr, nullptr);
  if (fd < 0) return;
  std::string bytes;
  char buffer[65536];
  while (!Complete(bytes)) {
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  {
    std::lock_guard lock(mutex_);
    received_ = bytes;
    done_ = true;
  }
  ::send(fd, answer_.data(), answer_.size(), MSG_NOSIGNAL);
  ::shutdown(fd, SHUT_WR);
  ::close(fd);
}

std::string RawListener::received() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (;;) {
    {
      std::lock_guard lock(mutex_);
      if (done_) return received_;
    }
    if (std::chrono::steady_clock::now() > deadline) return {};
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace cvu::test
