#pragma once
// A forwarding port in front of the in-process service that notes, per connection, the
// request line and when its first byte came and its last answer byte left: the GUI
// program cannot be told where to send its requests, so the tap takes the port of its
// built-in host and passes everything on. One request per connection (the program and
// the libcurl loop make a fresh connection per request); a reused connection would be
// counted once and show up as missing requests.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace cvu::bench {

struct Exchange {
  std::string method;  // "POST", "GET", ...
  std::string path;    // as in the request line
  std::chrono::steady_clock::time_point firstByte;
  std::chrono::steady_clock::time_point lastReply;  // the last byte passed back to the client
  std::uint64_t sent = 0;                           // bytes the client sent on the connection
  std::uint64_t received = 0;                       // bytes passed back to it
};

// True for the upload form's POST and for the GET of the result page its Location names.
bool IsUploadPost(const Exchange& e);
bool IsResultGet(const Exchange& e);

struct RunSpan {
  int posts = 0;
  int results = 0;
  double seconds = 0;  // first upload POST's first byte to the last result GET's last answer byte
};
RunSpan SpanOf(const std::vector<Exchange>& exchanges);

// Where a run's time goes, medians in seconds: an upload POST from its first byte to its
// answer's last, the same for a result GET, from a POST's answer to the GET of its page,
// and from a result page to the next POST (the client's own work between requests).
struct RunPhases {
  double post = 0, get = 0, postToGet = 0, getToNextPost = 0;
};
RunPhases PhasesOf(std::vector<Exchange> exchanges);

// A run's exchanges with their span and phases.
struct Measured {
  RunSpan span;
  RunPhases phases;
  std::vector<Exchange> exchanges;
};
Measured Measure(std::vector<Exchange> exchanges);

class RequestTap {
 public:
  // Listens on 127.0.0.1:port and passes each connection on to 127.0.0.1:target.
  // Throws when the port is taken.
  RequestTap(int port, int target);
  ~RequestTap();
  RequestTap(const RequestTap&) = delete;
  RequestTap& operator=(const RequestTap&) = delete;

  // The exchanges whose connection has ended, and forgets them.
  std::vector<Exchange> take();
  int resultGets();  // result GETs ended since the last take()

 private:
  void acceptLoop();
  void pass(int client);

  int target_;
  int listen_ = -1;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<Exchange> done_;
  int resultGets_ = 0;  // among done_
  struct Connection {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  void joinEnded();

  std::vector<Connection> connections_;  // the accepting thread's only
  std::thread acceptor_;
};

}  // namespace cvu::bench
