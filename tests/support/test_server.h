#pragma once
// An in-process HTTP server on 127.0.0.1 (a free port) that records every request it
// receives and answers with the handlers a test gives it.
#include <httplib.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/scripted_listener.h"

namespace cvu::test {

struct RecordedPart {
  std::string name;
  std::string filename;
  std::string contentType;  // empty when the part had no Content-Type line
  std::string content;
};

struct RecordedRequest {
  std::string requestLine;  // e.g. "POST //upload.html HTTP/1.1"
  std::string method;
  std::string target;  // as on the request line
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;                 // empty for multipart bodies
  std::vector<RecordedPart> parts;  // multipart bodies, in order

  std::string header(const std::string& name) const;  // first value, "" if none
  std::size_t headerCount(const std::string& name) const;
};

class TestServer {
 public:
  using Handler = std::function<void(const RecordedRequest&, httplib::Response&)>;

  TestServer();
  ~TestServer();
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  // Register handlers before start(). pattern is a regular expression on the path.
  void get(const std::string& pattern, Handler handler);
  void post(const std::string& pattern, Handler handler);
  // Binds a free port and serves on a thread of its own.
  void start();

  int port() const { return port_; }
  std::string host() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string url(const std::string& target) const { return "http://" + host() + target; }

  std::vector<RecordedRequest> requests() const;
  RecordedRequest last() const;

 private:
  void record(const RecordedRequest& request);

  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  mutable std::mutex mutex_;
  std::vector<RecordedRequest> requests_;
};

// A listener that answers one request with canned bytes and closes the connection,
// keeping the request's exact bytes. For checks of the wire form; tests/wire plays
// longer scripts on the ScriptedListener beneath it.
class RawListener {
 public:
  explicit RawListener(std::string answer);

  int port() const { return listener_.port(); }
  std::string url(const std::string& target) const { return listener_.url(target); }
  // Waits for the request to be read (up to 10 s) and returns its bytes.
  std::string received();

 private:
  ScriptedListener listener_;
};

}  // namespace cvu::test
